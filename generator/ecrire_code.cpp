// generator/ecrire_code.cpp: EcrireCode, which picks the routines to write and hands them to the module.
#include "generator/ecrire_code.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <string>

#include "generator/builders.h"
#include "generator/declaration_lines.h"
#include "generator/property_bag.h"
#include "host/code_pane.h"
#include "host/error_trap.h"
#include "host/host_error.h"
#include "host/vb_code/code_lines.h"
#include "host/vb_code/declarations_section.h"
#include "host/vb_errors.h"

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

// Adds the generation's first text ahead of the module's first routine, as AddFromString does, unless
// that routine stands in an #If block: the text then goes ahead of the outermost such block, so that
// every build of the module compiles it. Whatever is added after it goes ahead of it, outside too.
void AddFirst(host::CodeModule& module, std::string_view text) {
  const long declarations = module.CountOfDeclarationLines();
  const long line =
      declarations > 0 ? host::ReadDeclarationsSection(module.Lines(1, declarations)).beforeOpenBlock : 0;
  if (line != 0) {
    module.InsertLines(line, text);
  } else {
    module.AddFromString(text);
  }
}

// Declaration line, CR, header, CR, body: built in this order.
std::string RoutineText(const Request& request, ProcedureKind kind, const host::Platform& platform) {
  const std::string declared = request.bCacher ? request.sNom_Propriete + "_Hide" : request.sNom_Propriete;
  std::string text = CreerEntete(request, kind, platform.ui);
  text += '\r';
  text += Description(request, platform);
  text += '\r';
  text += CreerCorps(request, kind, {request.sNom_Propriete, declared}, platform.ui);
  return text;
}

// Header and body for the routine under the caret, named after that routine. The text goes above
// the caret line, or right after the declaration when the caret is on it or above it, so that it
// always lands inside the routine, and above a continued statement rather than in it.
void InsertComments(const Request& request, host::CodeModule& module, const host::Platform& platform) {
  const std::shared_ptr<host::CodePane> pane = module.CodePane();
  if (!pane) throw host::VbError(host::kErrObjectNotSet);
  const long caret = pane->GetSelection().startLine;
  const host::ProcAtLine routine = module.ProcOfLine(caret);
  if (routine.name.empty()) {
    platform.ui.MsgBox("The caret is not inside a routine.", "EcrireCode");
    return;
  }
  const DeclarationLines declaration =
      ReadDeclaration(module, module.ProcBodyLine(routine.name, routine.kind));
  const ProcedureKind kind = KindAtCaret(routine.kind, declaration.text);
  if (request.bProp_Changed && (kind == pkPropertyLet || kind == pkPropertySet) &&
      !PropertyBagObject(module)) {
    platform.ui.MsgBox(kNoPropertyBag, "EcrireCode");
    return;
  }
  std::string text = Description(request, platform);
  text += '\r';
  text += CreerCorps(request, kind, {routine.name, routine.name}, platform.ui);
  module.InsertLines(InsertionLine(module, caret, declaration.last), text);
}

}  // namespace

void EcrireCode(const Request& request, host::CodeModule& UnLien, const host::Platform& platform) noexcept {
  try {
    if (request.bComment) {
      InsertComments(request, UnLien, platform);
    } else if (request.bCreerProcedure) {
      AddFirst(UnLien, RoutineText(request, pkSub, platform));
    } else if (request.bCreerFonction) {
      AddFirst(UnLien, RoutineText(request, pkFunction, platform));
    } else {
      // PropertyChanged and the bag lines exist only where VB can run them: elsewhere nothing is
      // written, not even the Get, so that the module still compiles.
      std::optional<std::string_view> bag;
      if (request.bProp_Changed && !request.bLectureSeule) {
        bag = PropertyBagObject(UnLien);
        if (!bag) {
          platform.ui.MsgBox(kNoPropertyBag, "EcrireCode");
          return;
        }
      }
      AddFirst(UnLien, RoutineText(request, pkPropertyGet, platform));
      if (request.bLectureSeule) {
        // The Get reads m_ + variable, so the variable is declared; there is nothing to persist.
        CreerVariable_Module(request, UnLien, {}, platform.ui);
        return;
      }
      UnLien.AddFromString(RoutineText(request, request.bProp_Set ? pkPropertySet : pkPropertyLet, platform));
      CreerVariable_Module(request, UnLien, bag.value_or(std::string_view{}), platform.ui);
    }
  } catch (...) {
    host::ShowCaughtFailure(platform.ui, "EcrireCode");
  }
}

}  // namespace generator
