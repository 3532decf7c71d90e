// generator/creer_corps.cpp: CreerCorps, the body that follows a routine's comment header.
#include "generator/builders.h"
#include "host/error_trap.h"

namespace generator {
namespace {

std::string_view KindWord(ProcedureKind kind) {
  switch (kind) {
    case pkPropertySet:
    case pkPropertyGet:
    case pkPropertyLet:
      return "Property";
    case pkFunction:
      return "Function";
    case pkSub:
      return "Sub";
  }
  return {};
}

}  // namespace

// Banners, the error trap, the property statement, the exit and error sections (labelled trap only),
// the closing banner and the End line (left out in comments-only mode, where the routine has one).
// Lines are separated by a single CR; the last has none.
std::string CreerCorps(const Request& request, ProcedureKind kind, const RoutineNames& names, host::Ui& ui) {
  try {
    const std::string_view word = KindWord(kind);
    const std::string_view name = names.routine;
    const std::string_view variable = request.sNomVariable;
    std::string body = CreerEtoiles(35, "-", ui);
    body += '\r';
    body += "'Local variables definition \r\r\r\r\r";
    body += CreerEtoiles(35, "-", ui);
    body += '\r';
    body += "' Start \r";
    if (request.bResumeNext) {
      body += "On Error Resume Next";
    } else {
      body += "On Error Goto Error";
      body += name;
    }
    body += "\r\r\r\r";

    // In comments-only mode the variable box is not used; without a name the statement would
    // read "m_ = " and is left out.
    const bool withStatement = !(request.bComment && variable.empty());
    if (withStatement && (kind == pkPropertySet || kind == pkPropertyLet)) {
      if (kind == pkPropertySet) body += "Set ";
      body += "m_";
      body += variable;
      body += " = ";
      body += variable;
      body += '\r';
      if (request.bProp_Changed) {
        body += "PropertyChanged \"";
        body += name;
        body += "\"\r";
      }
    } else if (withStatement && kind == pkPropertyGet) {
      if (request.bProp_Set) body += "Set ";
      body += names.declared;
      body += " = m_";
      body += variable;
      body += '\r';
    }

    if (!request.bResumeNext) {
      body += CreerEtoiles(35, "-", ui);
      body += '\r';
      body += "'- End and exit\r";
      body += name;
      body += "Next:\rExit ";
      body += word;
      body += "\r\r\r";
      body += CreerEtoiles(35, "-", ui);
      body += '\r';
      body += "'Error local traitment\rError";
      body += name;
      body += ":\rMsgbox Err.Description, , \"";
      body += name;
      body += "\"\r       '-Resume\rResume ";
      body += name;
      body += "Next\r";
    }

    body += CreerEtoiles(35, "-", ui);
    body += '\r';
    body += "'End";
    if (!request.bComment) {
      body += "\rEnd ";
      body += word;
    }
    return body;
  } catch (...) {
    host::ShowCaughtFailure(ui, "CreerCorps");
    return {};
  }
}

}  // namespace generator
