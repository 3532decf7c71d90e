// generator/ecrire_code.cpp: EcrireCode, which picks the routines to write and hands them to the module.
#include <algorithm>

#include "generator/c_ecrire_code.h"
#include "generator/declaration_lines.h"
#include "generator/text_pieces.h"
#include "host/code_pane.h"
#include "host/error_trap.h"
#include "host/host_error.h"
#include "host/vb_code/code_lines.h"

namespace generator {
namespace {

// The kind to write for the routine at the caret. The host reports a Sub and a Function alike, so
// its declaration tells them apart: a Sub must get "Exit Sub".
ProcedureKind KindAtCaret(host::ProcKind hostKind, std::string_view declaration) {
  switch (hostKind) {
    case host::ProcKind::kProc: {
      const auto parsed = host::ParseDeclaration(declaration);
      return parsed && parsed->isSub ? pkSub : pkFunction;
    }
    case host::ProcKind::kLet:
      return pkPropertyLet;
    case host::ProcKind::kSet:
      return pkPropertySet;
    case host::ProcKind::kGet:
      return pkPropertyGet;
  }
  return static_cast<ProcedureKind>(hostKind);
}

// Where comments for a caret on `caret` go: above the caret line, but never above the body's first
// line, and never between two lines of one continued statement.
long InsertionLine(const host::CodeModule& module, long caret, long declarationEnd) {
  long line = std::max(caret, declarationEnd + 1);
  while (line - 1 > declarationEnd && host::ContinuesOnNextLine(module.Lines(line - 1, 1))) --line;
  return line;
}

}  // namespace

std::string CEcrireCode::RoutineText(ProcedureKind kind) const {
  const std::string declared = f_.bCacher ? f_.sNom_Propriete + "_Hide" : f_.sNom_Propriete;
  std::string text = CreerEntete(kind);
  text += kCr;
  text += Description();
  text += kCr;
  text += CreerCorps(kind, {f_.sNom_Propriete, declared});
  return text;
}

// Header and body for the routine under the caret, named after that routine. The text goes above
// the caret line, or right after the declaration when the caret is on it or above it, so that it
// always lands inside the routine, and above a continued statement rather than in it.
void CEcrireCode::InsertComments(host::CodeModule& module) const {
  const std::shared_ptr<host::CodePane> pane = module.CodePane();
  if (!pane) throw host::HostError{host::kErrObjectNotSet, std::string{host::kObjectNotSet}};
  const long caret = pane->GetSelection().startLine;
  const host::ProcAtLine routine = module.ProcOfLine(caret);
  if (routine.name.empty()) {
    platform_.ui.MsgBox("The caret is not inside a routine.", "EcrireCode");
    return;
  }
  const DeclarationLines declaration =
      ReadDeclaration(module, module.ProcBodyLine(routine.name, routine.kind));
  const ProcedureKind kind = KindAtCaret(routine.kind, declaration.text);
  std::string text = Description();
  text += kCr;
  text += CreerCorps(kind, {routine.name, routine.name});
  module.InsertLines(InsertionLine(module, caret, declaration.last), text);
}

void CEcrireCode::EcrireCode(host::CodeModule& UnLien) const noexcept {
  try {
    if (f_.bComment) {
      InsertComments(UnLien);
    } else if (f_.bCreerProcedure) {
      UnLien.AddFromString(RoutineText(pkSub));
    } else if (f_.bCreerFonction) {
      UnLien.AddFromString(RoutineText(pkFunction));
    } else {
      UnLien.AddFromString(RoutineText(pkPropertyGet));
      if (f_.bLectureSeule) {
        // The Get reads m_ + variable, so the variable is declared; there is nothing to persist.
        CreerVariable_Module(UnLien, false);
        return;
      }
      UnLien.AddFromString(RoutineText(f_.bProp_Set ? pkPropertySet : pkPropertyLet));
      CreerVariable_Module(UnLien, f_.bProp_Changed);
    }
  } catch (...) {
    host::ShowCaughtFailure(platform_.ui, "EcrireCode");
  }
}

}  // namespace generator
