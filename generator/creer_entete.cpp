// generator/creer_entete.cpp: CreerEntete, the declaration line of a generated routine.
#include "generator/builders.h"
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
std::string CreerEntete(const Request& request, ProcedureKind kind, host::Ui& ui) {
  try {
    std::string line = request.bProp_Prive ? "Private " : "";
    if (request.bProp_Friend) line += "Friend ";
    if (request.bVariableLoc_Static) line += "Static ";
    line += KindWord(kind);
    line += request.sNom_Propriete;
    if (request.bCacher) line += "_Hide ";
    if (kind == pkPropertyGet) {
      line += "( )AS ";
      line += request.sTypeVariable;
      return line;
    }
    if (request.sNomVariable.empty()) {
      line += "( )";
    } else {
      line += '(';
      line += request.sNomVariable;
      line += " as ";
      line += request.sTypeVariable;
      line += ')';
    }
    if (kind == pkFunction) {
      line += "AS ";
      line += request.sFuncReturn;
    }
    return line;
  } catch (...) {
    host::ShowCaughtFailure(ui, "CreerEntete");
    return {};
  }
}

}  // namespace generator
