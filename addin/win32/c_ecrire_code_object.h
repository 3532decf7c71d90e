// addin/win32/c_ecrire_code_object.h: the COM class CEcrireCode over the generator's request.
#pragma once

#include "addin/win32/dispatch_object.h"
#include "addin/win32/penwright.h"
#include "generator/request.h"

namespace addin::com {

// Options arrive by reference, as VB passes them, and are read, never written back. Texts are
// copied from the BSTR into the request (UTF-16 to UTF-8, losslessly). EcrireCode wraps the module
// it is given in the late-bound code-module adapter and runs one generation of the request.
class CEcrireCodeObject final : public DispatchObject<_CEcrireCode> {
 public:
  // Throws std::bad_alloc.
  static CEcrireCodeObject* Create() { return new CEcrireCodeObject(); }

  HRESULT STDMETHODCALLTYPE put_Cacher(VARIANT_BOOL* bCacher) override;
  HRESULT STDMETHODCALLTYPE put_Comment(VARIANT_BOOL* bComment) override;
  HRESULT STDMETHODCALLTYPE put_CreerFonction(VARIANT_BOOL* bCreerFonction) override;
  HRESULT STDMETHODCALLTYPE put_CreerProcedure(VARIANT_BOOL* bCreerProcedure) override;
  HRESULT STDMETHODCALLTYPE put_LectureSeule(VARIANT_BOOL* bLectureSeule) override;
  HRESULT STDMETHODCALLTYPE put_FunctionReturn(BSTR* sFuncReturn) override;
  HRESULT STDMETHODCALLTYPE put_Prop_Changed(VARIANT_BOOL* bProp_Changed) override;
  HRESULT STDMETHODCALLTYPE put_Prop_Friend(VARIANT_BOOL* bProp_Friend) override;
  HRESULT STDMETHODCALLTYPE put_Prop_Prive(VARIANT_BOOL* bProp_Prive) override;
  HRESULT STDMETHODCALLTYPE put_ResumeNext(VARIANT_BOOL* bResumeNext) override;
  HRESULT STDMETHODCALLTYPE put_VariableLoc_Static(VARIANT_BOOL* bVariableLoc_Static) override;
  HRESULT STDMETHODCALLTYPE put_AideId(BSTR* sAideId) override;
  HRESULT STDMETHODCALLTYPE put_Nom_Propriete(BSTR* sNom_Propriete) override;
  HRESULT STDMETHODCALLTYPE put_NomUtilisateur(BSTR* sNomutilisateur) override;
  HRESULT STDMETHODCALLTYPE put_NomVariable(BSTR* sNomVariable) override;
  HRESULT STDMETHODCALLTYPE put_TypeVariable(BSTR* sTypeVariable) override;
  HRESULT STDMETHODCALLTYPE put_Usage(BSTR* sUsage) override;
  HRESULT STDMETHODCALLTYPE EcrireCode(IDispatch** UnLien) override;
  HRESULT STDMETHODCALLTYPE put_Prop_Set(VARIANT_BOOL* bProp_Set) override;

 private:
  CEcrireCodeObject();

  HRESULT AssignBoolean(bool generator::Request::*field, const VARIANT_BOOL* value) noexcept;
  HRESULT AssignText(std::string generator::Request::*field, const BSTR* value) noexcept;

  generator::Request request_;
};

}  // namespace addin::com
