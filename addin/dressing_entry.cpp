// addin/dressing_entry.cpp: headers and traps for a module or a project, from the Add-Ins menu.
#include "addin/dressing_entry.h"

#include <string>
#include <utility>
#include <vector>

#include "generator/headers_and_traps.h"
#include "generator/programmer_setting.h"
#include "generator/template_loading.h"
#include "host/code_module.h"
#include "host/code_pane.h"
#include "host/date_formatter.h"
#include "host/error_trap.h"
#include "host/host_error.h"
#include "host/vb_component.h"
#include "host/vb_errors.h"

namespace addin {
namespace {

struct ModulePlan {
  std::shared_ptr<host::CodeModule> module;
  generator::DressingPlan plan;
};

}  // namespace

DressingEntry::~DressingEntry() {
  if (events_) events_->Unsubscribe(*this);
}

void DressingEntry::Attach(const std::shared_ptr<host::CommandBarControls>& controls, host::Events& events) {
  control_ = controls->Add(host::kControlButton);
  if (!control_) throw host::VbError(host::kErrObjectNotSet);
  control_->Caption(scope_ == DressingScope::kModule ? kModuleEntryCaption : kProjectEntryCaption);
  events_ = events.CommandBarEvents(control_);
  if (!events_) throw host::VbError(host::kErrObjectNotSet);
  events_->Subscribe(*this);
}

void DressingEntry::Detach() noexcept {
  if (events_) events_->Unsubscribe(*this);
  events_.reset();
  try {
    if (control_) control_->Delete();
  } catch (...) {
    // The host took the entry away already.
  }
  control_.reset();
}

void DressingEntry::Click(const std::shared_ptr<host::CommandBarControl>& /*control*/, bool& /*handled*/,
                          bool& /*CancelDefault*/) noexcept {
  Run();
}

void DressingEntry::Run() noexcept {
  try {
    if (!VBInstance) throw host::VbError(host::kErrObjectNotSet);
    std::vector<std::shared_ptr<host::CodeModule>> modules;
    if (scope_ == DressingScope::kModule) {
      const std::shared_ptr<host::CodePane> pane = VBInstance->ActiveCodePane();
      if (!pane) {
        platform_.ui.MsgBox("Open the module's code window first.", host::kProgramTitle);
        return;
      }
      modules.push_back(pane->CodeModule());
    } else {
      modules = VBInstance->ActiveProjectCodeModules();
    }
    const generator::LoadedTemplates templates =
        generator::LoadProjectTemplates(platform_, VBInstance->ActiveProjectFileName());
    generator::DressingOptions options;
    options.programmer = generator::StoredProgrammer(platform_.settings);
    options.date = platform_.dates.Format(platform_.clock.Today(), host::kCreationDatePattern);
    std::vector<ModulePlan> plans;
    long routines = 0;
    for (const std::shared_ptr<host::CodeModule>& module : modules) {
      if (!module) continue;
      try {
        const std::shared_ptr<host::VBComponent> component = module->Parent();
        options.module = component->Name();
        options.project = component->ProjectName();
      } catch (const host::HostError&) {
        options.module.clear();
        options.project.clear();
      }
      generator::DressingPlan plan =
          generator::PlanDressing(generator::CodeLinesOf(*module), templates.set, options);
      for (const generator::RoutineDressing& routine : plan.routines) routines += routine.Changed() ? 1 : 0;
      if (!plan.edits.empty()) plans.push_back({module, std::move(plan)});
    }
    const std::string where = scope_ == DressingScope::kModule ? "this module" : "this project";
    if (routines == 0) {
      platform_.ui.MsgBox("Every routine of " + where + " has a header and an error trap already.",
                          host::kProgramTitle);
      return;
    }
    const std::string question = "Add headers and error traps to " + std::to_string(routines) +
                                 (routines == 1 ? " routine" : " routines") + " of " + where + " (" +
                                 generator::DescribeTemplates(templates) + ")?";
    if (!platform_.ui.Confirm(question, host::kProgramTitle)) return;
    for (ModulePlan& each : plans) generator::ApplyDressing(*each.module, std::move(each.plan));
  } catch (...) {
    host::ShowCaughtFailure(platform_.ui, host::kProgramTitle);
  }
}

}  // namespace addin
