// generator/creer_entete.cpp: CreerEntete, the declaration line of a generated routine.
#include "generator/c_ecrire_code.h"
#include "host/error_trap.h"

namespace generator {
namespace {

std::string_view KindWord(ProcedureKind kind) {
  switch (kind) {
    case pkPropertySet:
      return "Property Set ";
    case pkPropertyGet:
      return "Property Get ";
    case pkPropertyLet:
      return "Property Let ";
    case pkFunction:
      return "Function ";
    case pkSub:
      return "Sub ";
  }
  return {};
}

}  // namespace

// Visibility, Static, the kind word, the name, "_Hide ", the parameter list and the return type.
// A Property Get takes no parameter and returns the variable's type, so that it matches its Let or Set.
std::string CEcrireCode::CreerEntete(ProcedureKind kind) const {
  try {
    std::string line = f_.bProp_Prive ? "Private " : "";
    if (f_.bProp_Friend) line += "Friend ";
    if (f_.bVariableLoc_Static) line += "Static ";
    line += KindWord(kind);
    line += f_.sNom_Propriete;
    if (f_.bCacher) line += "_Hide ";
    if (kind == pkPropertyGet) {
      line += "( )AS ";
      line += f_.sTypeVariable;
      return line;
    }
    if (f_.sNomVariable.empty()) {
      line += "( )";
    } else {
      line += '(';
      line += f_.sNomVariable;
      line += " as ";
      line += f_.sTypeVariable;
      line += ')';
    }
    if (kind == pkFunction) {
      line += "AS ";
      line += f_.sFuncReturn;
    }
    return line;
  } catch (...) {
    host::ShowCaughtFailure(platform_.ui, "CreerEntete");
    return {};
  }
}

}  // namespace generator
