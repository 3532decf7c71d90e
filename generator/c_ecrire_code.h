// generator/c_ecrire_code.h: CEcrireCode, one generation request and the generation it performs.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "generator/procedure_kind.h"
#include "generator/request_fields.h"
#include "host/code_module.h"
#include "host/platform.h"

namespace generator {

// The options are assign-only: a request cannot be read back. EcrireCode reads them and changes none,
// so a second call repeats the same generation. Each builder traps its own failures, shows the
// failure's description in a box titled with its own name and returns its fallback text.
class CEcrireCode {
 public:
  explicit CEcrireCode(const host::Platform& platform) : platform_(platform) {}

  void Cacher(bool bCacher) noexcept { f_.bCacher = bCacher; }
  void Comment(bool bComment) noexcept { f_.bComment = bComment; }
  void CreerFonction(bool bCreerFonction) noexcept { f_.bCreerFonction = bCreerFonction; }
  void CreerProcedure(bool bCreerProcedure) noexcept { f_.bCreerProcedure = bCreerProcedure; }
  void LectureSeule(bool bLectureSeule) noexcept { f_.bLectureSeule = bLectureSeule; }
  void FunctionReturn(std::string sFuncReturn) noexcept { f_.sFuncReturn = std::move(sFuncReturn); }
  void Prop_Changed(bool bProp_Changed) noexcept { f_.bProp_Changed = bProp_Changed; }
  void Prop_Friend(bool bProp_Friend) noexcept { f_.bProp_Friend = bProp_Friend; }
  void Prop_Prive(bool bProp_Prive) noexcept { f_.bProp_Prive = bProp_Prive; }
  void Prop_Set(bool bProp_Set) noexcept { f_.bProp_Set = bProp_Set; }
  void ResumeNext(bool bResumeNext) noexcept { f_.bResumeNext = bResumeNext; }
  void VariableLoc_Static(bool bVariableLoc_Static) noexcept { f_.bVariableLoc_Static = bVariableLoc_Static; }
  void AideId(std::string sAideId) noexcept { f_.sAideId = std::move(sAideId); }
  void Nom_Propriete(std::string sNom_Propriete) noexcept { f_.sNom_Propriete = std::move(sNom_Propriete); }
  void NomUtilisateur(std::string sNomutilisateur) noexcept {
    f_.sNomutilisateur = std::move(sNomutilisateur);
  }
  void NomVariable(std::string sNomVariable) noexcept { f_.sNomVariable = std::move(sNomVariable); }
  void TypeVariable(std::string sTypeVariable) noexcept { f_.sTypeVariable = std::move(sTypeVariable); }
  void Usage(std::string sUsage) noexcept { f_.sUsage = std::move(sUsage); }

  // Writes the routine the options describe into `UnLien`. Never throws: any failure is shown in a
  // box titled "EcrireCode" and ends the generation; what was already added stays in the module.
  void EcrireCode(host::CodeModule& UnLien) const noexcept;

 private:
  friend class CEcrireCodeProbe;  // lets the tests call the builders one by one

  // The name the labels and the message box use, and the name the routine is declared with (they
  // differ when "_Hide" is appended).
  struct RoutineNames {
    std::string_view routine;
    std::string_view declared;
  };

  std::string CreerEntete(ProcedureKind kind) const;
  std::string Description() const;
  std::string CreerCorps(ProcedureKind kind, const RoutineNames& names) const;
  void CreerVariable_Module(host::CodeModule& module, bool propertyBag) const;
  std::string CreerEtoiles(std::int16_t count, std::string_view filler) const;

  // Declaration line, CR, header, CR, body: built in this order.
  std::string RoutineText(ProcedureKind kind) const;
  void InsertComments(host::CodeModule& module) const;
  void AddPersistenceLine(host::CodeModule& module, std::string_view procedure, std::string_view skeleton,
                          std::string_view line) const;

  RequestFields f_;
  host::Platform platform_;
};

}  // namespace generator
