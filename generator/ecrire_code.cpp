// generator/ecrire_code.cpp: EcrireCode, which picks the routines to write and hands them to the module.
#include "generator/ecrire_code.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "generator/builders.h"
#include "generator/declaration_lines.h"
#include "generator/headers_and_traps.h"
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

// The header and the trap for the routine under the caret, around its own statements: what it lacks of
// them, named after the name field or, when that is empty, after the routine itself.
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
  const TemplateSet& set = context.Set();
  DressingOptions options;
  options.resumeNext = request.bResumeNext;
  options.usage = request.sUsage;
  options.programmer = request.sNomutilisateur;
  options.module = context.module;
  options.project = context.project;
  options.name = request.sNom_Propriete;
  options.only = {routine.name};
  if (set.header.Uses(TemplateVariable::kDate)) {
    options.date = platform.dates.Format(platform.clock.Today(), host::kCreationDatePattern);
  } else {
    options.date = context.date;
  }
  const ModuleLines lines = CodeLinesOf(module);
  DressingPlan plan = PlanDressing(lines, set, options, caret);
  const auto changed = std::find_if(plan.routines.begin(), plan.routines.end(),
                                    [](const RoutineDressing& dressing) { return dressing.Changed(); });
  if (changed == plan.routines.end()) {
    platform.ui.MsgBox(routine.name + " has a header and an error trap already.", "EcrireCode");
    return;
  }
  ApplyDressing(module, std::move(plan));
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
