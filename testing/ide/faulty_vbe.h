// testing/ide/faulty_vbe.h: a root object, menus and event sources that enter every call in a fault
// plan and then pass it on, so that a test can make any host's calls fail.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <utility>

#include "host/command_bars.h"
#include "host/vbe.h"
#include "testing/ide/fault_plan.h"
#include "testing/ide/faulty_code_module.h"

namespace host {

// Enters "ActiveCodePane", "CommandBars" and "Events"; everything it hands out is decorated with the
// same plan, down to the code module of the active pane and the entries of its menus.
class FaultyVbe final : public Vbe {
 public:
  FaultyVbe(std::shared_ptr<Vbe> inner, FaultPlan& plan) : inner_(std::move(inner)), plan_(&plan) {}

  std::shared_ptr<CodePane> ActiveCodePane() override;
  std::shared_ptr<host::CommandBars> CommandBars() override;
  std::shared_ptr<host::Events> Events() override;
  bool HoldsUserControls() override { return inner_->HoldsUserControls(); }
  std::string ActiveProjectFileName() override { return inner_->ActiveProjectFileName(); }
  std::vector<std::shared_ptr<CodeModule>> ActiveProjectCodeModules() override {
    plan_->Enter("ActiveProjectCodeModules", {});
    return inner_->ActiveProjectCodeModules();
  }

 private:
  std::shared_ptr<Vbe> inner_;
  FaultPlan* plan_;
};

// Enters "Item Name".
class FaultyCommandBars final : public CommandBars {
 public:
  FaultyCommandBars(std::shared_ptr<CommandBars> inner, FaultPlan& plan)
      : inner_(std::move(inner)), plan_(&plan) {}
  std::shared_ptr<CommandBar> Item(std::string_view name) override;

 private:
  std::shared_ptr<CommandBars> inner_;
  FaultPlan* plan_;
};

// Enters "Controls".
class FaultyCommandBar final : public CommandBar {
 public:
  FaultyCommandBar(std::shared_ptr<CommandBar> inner, FaultPlan& plan)
      : inner_(std::move(inner)), plan_(&plan) {}
  std::shared_ptr<CommandBarControls> Controls() override;

 private:
  std::shared_ptr<CommandBar> inner_;
  FaultPlan* plan_;
};

// Enters "Add Type" and "Item Caption".
class FaultyCommandBarControls final : public CommandBarControls {
 public:
  FaultyCommandBarControls(std::shared_ptr<CommandBarControls> inner, FaultPlan& plan)
      : inner_(std::move(inner)), plan_(&plan) {}
  std::shared_ptr<CommandBarControl> Add(long type) override;
  std::shared_ptr<CommandBarControl> Item(std::string_view caption) override;

 private:
  std::shared_ptr<CommandBarControls> inner_;
  FaultPlan* plan_;
};

// Enters "Caption", "Caption Text", "Delete" and "Controls".
class FaultyCommandBarControl final : public CommandBarControl {
 public:
  FaultyCommandBarControl(std::shared_ptr<CommandBarControl> inner, FaultPlan& plan)
      : inner_(std::move(inner)), plan_(&plan) {}
  std::string Caption() const override;
  void Caption(std::string_view caption) override;
  void Delete() override;
  std::shared_ptr<CommandBarControls> Controls() override;

  // The entry the host knows, which its event sources are asked for.
  const std::shared_ptr<CommandBarControl>& inner() const noexcept { return inner_; }

 private:
  std::shared_ptr<CommandBarControl> inner_;
  FaultPlan* plan_;
};

// Enters "CommandBarEvents", and asks the host for the source of the entry it decorated.
class FaultyEvents final : public Events {
 public:
  FaultyEvents(std::shared_ptr<Events> inner, FaultPlan& plan) : inner_(std::move(inner)), plan_(&plan) {}
  std::shared_ptr<host::CommandBarEvents> CommandBarEvents(
      const std::shared_ptr<CommandBarControl>& control) override;

 private:
  std::shared_ptr<Events> inner_;
  FaultPlan* plan_;
};

// Enters "Subscribe".
class FaultyCommandBarEvents final : public CommandBarEvents {
 public:
  FaultyCommandBarEvents(std::shared_ptr<CommandBarEvents> inner, FaultPlan& plan)
      : inner_(std::move(inner)), plan_(&plan) {}
  void Subscribe(CommandBarClickHandler& handler) override;
  void Unsubscribe(const CommandBarClickHandler& handler) noexcept override { inner_->Unsubscribe(handler); }

 private:
  std::shared_ptr<CommandBarEvents> inner_;
  FaultPlan* plan_;
};

}  // namespace host
