// addin/win32/c_ecrire_code_object.cpp: each option to its request field, and EcrireCode to the generator.
#include "addin/win32/c_ecrire_code_object.h"

#include "addin/win32/com_boundary.h"
#include "addin/win32/process_platform.h"
#include "generator/ecrire_code.h"
#include "generator/request_rules.h"
#include "host/win32/dispatch_code_module.h"
#include "platform/win32/wide.h"

namespace addin::com {
namespace {

constexpr std::wstring_view kSource = L"Penwright.CEcrireCode";

}  // namespace

CEcrireCodeObject::CEcrireCodeObject() : DispatchObject(IID__CEcrireCode) {}

HRESULT CEcrireCodeObject::AssignBoolean(bool generator::Request::*field,
                                         const VARIANT_BOOL* value) noexcept {
  if (value == nullptr) return E_POINTER;
  request_.*field = *value != VARIANT_FALSE;
  return S_OK;
}

HRESULT CEcrireCodeObject::AssignText(std::string generator::Request::*field, const BSTR* value) noexcept {
  if (value == nullptr) return E_POINTER;
  // The copy is made before the request is touched: a failure leaves the earlier value in place.
  return ComBoundary(iid(), kSource, [&] { request_.*field = platform::win32::Utf8FromBstr(*value); });
}

HRESULT CEcrireCodeObject::put_Cacher(VARIANT_BOOL* bCacher) {
  return AssignBoolean(&generator::Request::bCacher, bCacher);
}
HRESULT CEcrireCodeObject::put_Comment(VARIANT_BOOL* bComment) {
  return AssignBoolean(&generator::Request::bComment, bComment);
}
HRESULT CEcrireCodeObject::put_CreerFonction(VARIANT_BOOL* bCreerFonction) {
  return AssignBoolean(&generator::Request::bCreerFonction, bCreerFonction);
}
HRESULT CEcrireCodeObject::put_CreerProcedure(VARIANT_BOOL* bCreerProcedure) {
  return AssignBoolean(&generator::Request::bCreerProcedure, bCreerProcedure);
}
HRESULT CEcrireCodeObject::put_LectureSeule(VARIANT_BOOL* bLectureSeule) {
  return AssignBoolean(&generator::Request::bLectureSeule, bLectureSeule);
}
HRESULT CEcrireCodeObject::put_FunctionReturn(BSTR* sFuncReturn) {
  return AssignText(&generator::Request::sFuncReturn, sFuncReturn);
}
HRESULT CEcrireCodeObject::put_Prop_Changed(VARIANT_BOOL* bProp_Changed) {
  return AssignBoolean(&generator::Request::bProp_Changed, bProp_Changed);
}
HRESULT CEcrireCodeObject::put_Prop_Friend(VARIANT_BOOL* bProp_Friend) {
  return AssignBoolean(&generator::Request::bProp_Friend, bProp_Friend);
}
HRESULT CEcrireCodeObject::put_Prop_Prive(VARIANT_BOOL* bProp_Prive) {
  return AssignBoolean(&generator::Request::bProp_Prive, bProp_Prive);
}
HRESULT CEcrireCodeObject::put_ResumeNext(VARIANT_BOOL* bResumeNext) {
  return AssignBoolean(&generator::Request::bResumeNext, bResumeNext);
}
HRESULT CEcrireCodeObject::put_VariableLoc_Static(VARIANT_BOOL* bVariableLoc_Static) {
  return AssignBoolean(&generator::Request::bVariableLoc_Static, bVariableLoc_Static);
}
HRESULT CEcrireCodeObject::put_AideId(BSTR* sAideId) {
  return AssignText(&generator::Request::sAideId, sAideId);
}
HRESULT CEcrireCodeObject::put_Nom_Propriete(BSTR* sNom_Propriete) {
  return AssignText(&generator::Request::sNom_Propriete, sNom_Propriete);
}
HRESULT CEcrireCodeObject::put_NomUtilisateur(BSTR* sNomutilisateur) {
  return AssignText(&generator::Request::sNomutilisateur, sNomutilisateur);
}
HRESULT CEcrireCodeObject::put_NomVariable(BSTR* sNomVariable) {
  return AssignText(&generator::Request::sNomVariable, sNomVariable);
}
HRESULT CEcrireCodeObject::put_TypeVariable(BSTR* sTypeVariable) {
  return AssignText(&generator::Request::sTypeVariable, sTypeVariable);
}
HRESULT CEcrireCodeObject::put_Usage(BSTR* sUsage) {
  return AssignText(&generator::Request::sUsage, sUsage);
}
HRESULT CEcrireCodeObject::put_Prop_Set(VARIANT_BOOL* bProp_Set) {
  return AssignBoolean(&generator::Request::bProp_Set, bProp_Set);
}

// The generator traps every failure of the module itself and shows it; a module of Nothing reaches
// it as an adapter whose every call fails with error 91, and is reported the same way. A request VB
// would refuse writes nothing and says why, as the dialog's does.
HRESULT CEcrireCodeObject::EcrireCode(IDispatch** UnLien) {
  if (UnLien == nullptr) return E_POINTER;
  return ComBoundary(iid(), kSource, [&] {
    host::win32::DispatchCodeModule module{platform::win32::ComPtr<IDispatch>{*UnLien}};
    const host::Platform& platform = ProcessPlatform();
    if (generator::RefuseUnwritable(request_, module, platform)) return;
    generator::EcrireCode(request_, module, platform);
  });
}

}  // namespace addin::com
