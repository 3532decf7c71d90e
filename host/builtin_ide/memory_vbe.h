// host/builtin_ide/memory_vbe.h: the built-in IDE's root object, whose active code pane and menus a test
// chooses.
#pragma once

#include <memory>

#include "host/builtin_ide/fault_plan.h"
#include "host/builtin_ide/memory_code_module.h"
#include "host/builtin_ide/memory_command_bars.h"
#include "host/vbe.h"

namespace host {

// The name of the add-ins menu, and the entry the IDE itself keeps on it.
inline constexpr std::string_view kAddInsBar = "Add-Ins";
inline constexpr std::string_view kAddInManagerEntry = "Add-In Manager...";

// Starts with an "Add-Ins" menu that holds the IDE's own "Add-In Manager..." entry, and no code
// window. Records "ActiveCodePane", "CommandBars" and "Events", and its menus record their calls too.
class MemoryVbe final : public Vbe {
 public:
  MemoryVbe() { bars_->AddBar(std::string{kAddInsBar})->AddEntry(kAddInManagerEntry); }

  // The module whose pane has the focus; nullptr leaves no code window open.
  void SetActiveModule(std::shared_ptr<MemoryCodeModule> module) { active_ = std::move(module); }
  // Every later call of this object and of the menus and events it hands out enters `plan`.
  void AttachFaults(FaultPlan* plan) noexcept { *faults_ = plan; }

  MemoryCommandBars& commandBars() noexcept { return *bars_; }

  std::shared_ptr<CodePane> ActiveCodePane() override {
    Enter("ActiveCodePane");
    if (!active_) return nullptr;
    return active_->CodePane();
  }

  std::shared_ptr<host::CommandBars> CommandBars() override {
    Enter("CommandBars");
    return bars_;
  }

  std::shared_ptr<host::Events> Events() override {
    Enter("Events");
    return events_;
  }

 private:
  void Enter(std::string_view operation) const {
    if (*faults_ != nullptr) (*faults_)->Enter(operation);
  }

  std::shared_ptr<MemoryCodeModule> active_;
  FaultLink faults_ = std::make_shared<FaultPlan*>(nullptr);
  std::shared_ptr<MemoryCommandBars> bars_ = std::make_shared<MemoryCommandBars>(faults_);
  std::shared_ptr<MemoryEvents> events_ = std::make_shared<MemoryEvents>(faults_);
};

}  // namespace host
