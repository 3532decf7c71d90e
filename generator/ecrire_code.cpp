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
#include "host/vb_component.h"
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

bool SetUses(const TemplateSet& set, TemplateVariable variable) {
  return set.header.Uses(variable) || set.trap.Uses(variable) || set.resumeNextTrap.Uses(variable);
}

// What the set names of the module, its project and today, asked for only when it names them: the
// built-in set asks the module nothing. A module that cannot tell gives an empty name.
struct ContextValues {
  std::string module;
  std::string project;
  std::string date;
};

ContextValues ValuesOfContext(const TemplateSet& set, const host::CodeModule& module,
                              const host::Platform& platform) {
  ContextValues values;
  const bool wantsModule = SetUses(set, TemplateVariable::kModule);
  const bool wantsProject = SetUses(set, TemplateVariable::kProject);
  if (wantsModule || wantsProject) {
    try {
      const std::shared_ptr<host::VBComponent> component = module.Parent();
      if (component && wantsModule) values.module = component->Name();
      if (component && wantsProject) values.project = component->ProjectName();
    } catch (const host::HostError&) {
      // Where unknown, the name is empty.
    }
  }
  if (set.trap.Uses(TemplateVariable::kDate) || set.resumeNextTrap.Uses(TemplateVariable::kDate)) {
    values.date = platform.dates.Format(platform.clock.Today(), host::kCreationDatePattern);
  }
  return values;
}

// Declaration line, CR, header, CR, body: built in this order.
std::string RoutineText(const Request& request, ProcedureKind kind, const host::Platform& platform,
                        const TemplateContext& context) {
  const std::string declared = request.bCacher ? request.sNom_Propriete + "_Hide" : request.sNom_Propriete;
  const RoutineNames names{request.sNom_Propriete, declared};
  std::string text = CreerEntete(request, kind, platform.ui);
  text += '\r';
  text += Description(request, kind, names, platform, context);
  text += '\r';
  text += CreerCorps(request, kind, names, platform.ui, context);
  return text;
}

// Header and body for the routine under the caret, named after that routine. The text goes above
// the caret line, or right after the declaration when the caret is on it or above it, so that it
// always lands inside the routine, and above a continued statement rather than in it.
void InsertComments(const Request& request, host::CodeModule& module, const host::Platform& platform,
                    const TemplateContext& context) {
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
  const RoutineNames names{routine.name, routine.name};
  std::string text = Description(request, kind, names, platform, context);
  text += '\r';
  text += CreerCorps(request, kind, names, platform.ui, context);
  module.InsertLines(InsertionLine(module, caret, declaration.last), text);
}

}  // namespace

void EcrireCode(const Request& request, host::CodeModule& UnLien, const host::Platform& platform,
                const TemplateSet* templates) noexcept {
  try {
    const TemplateSet& set = templates != nullptr ? *templates : BuiltInTemplates();
    const ContextValues values = ValuesOfContext(set, UnLien, platform);
    const TemplateContext context{&set, values.module, values.project, values.date};
    if (request.bComment) {
      InsertComments(request, UnLien, platform, context);
    } else if (request.bCreerProcedure) {
      AddFirst(UnLien, RoutineText(request, pkSub, platform, context));
    } else if (request.bCreerFonction) {
      AddFirst(UnLien, RoutineText(request, pkFunction, platform, context));
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
      AddFirst(UnLien, RoutineText(request, pkPropertyGet, platform, context));
      if (request.bLectureSeule) {
        // The Get reads m_ + variable, so the variable is declared; there is nothing to persist.
        CreerVariable_Module(request, UnLien, {}, platform.ui, set.variablePrefix);
        return;
      }
      UnLien.AddFromString(
          RoutineText(request, request.bProp_Set ? pkPropertySet : pkPropertyLet, platform, context));
      CreerVariable_Module(request, UnLien, bag.value_or(std::string_view{}), platform.ui,
                           set.variablePrefix);
    }
  } catch (...) {
    host::ShowCaughtFailure(platform.ui, "EcrireCode");
  }
}

}  // namespace generator
