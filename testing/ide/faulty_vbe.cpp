// testing/ide/faulty_vbe.cpp: each call of the root object, its menus and its event sources, entered in
// the plan, then passed on.
#include "testing/ide/faulty_vbe.h"

namespace host {

std::shared_ptr<CodePane> FaultyVbe::ActiveCodePane() {
  plan_->Enter("ActiveCodePane");
  return Decorate<FaultyCodePane>(inner_->ActiveCodePane(), *plan_);
}

std::shared_ptr<host::CommandBars> FaultyVbe::CommandBars() {
  plan_->Enter("CommandBars");
  return Decorate<FaultyCommandBars>(inner_->CommandBars(), *plan_);
}

std::shared_ptr<host::Events> FaultyVbe::Events() {
  plan_->Enter("Events");
  return Decorate<FaultyEvents>(inner_->Events(), *plan_);
}

std::shared_ptr<CommandBar> FaultyCommandBars::Item(std::string_view name) {
  plan_->Enter("Item", name);
  return Decorate<FaultyCommandBar>(inner_->Item(name), *plan_);
}

std::shared_ptr<CommandBarControls> FaultyCommandBar::Controls() {
  plan_->Enter("Controls");
  return Decorate<FaultyCommandBarControls>(inner_->Controls(), *plan_);
}

std::shared_ptr<CommandBarControl> FaultyCommandBarControls::Add(long type) {
  plan_->Enter("Add", std::to_string(type));
  return Decorate<FaultyCommandBarControl>(inner_->Add(type), *plan_);
}

std::shared_ptr<CommandBarControl> FaultyCommandBarControls::Item(std::string_view caption) {
  plan_->Enter("Item", caption);
  return Decorate<FaultyCommandBarControl>(inner_->Item(caption), *plan_);
}

std::string FaultyCommandBarControl::Caption() const {
  plan_->Enter("Caption");
  return inner_->Caption();
}

void FaultyCommandBarControl::Caption(std::string_view caption) {
  plan_->Enter("Caption", caption);
  inner_->Caption(caption);
}

void FaultyCommandBarControl::Delete() {
  plan_->Enter("Delete");
  inner_->Delete();
}

std::shared_ptr<CommandBarControls> FaultyCommandBarControl::Controls() {
  plan_->Enter("Controls");
  return Decorate<FaultyCommandBarControls>(inner_->Controls(), *plan_);
}

std::shared_ptr<host::CommandBarEvents> FaultyEvents::CommandBarEvents(
    const std::shared_ptr<CommandBarControl>& control) {
  plan_->Enter("CommandBarEvents");
  const auto* faulty = dynamic_cast<const FaultyCommandBarControl*>(control.get());
  return Decorate<FaultyCommandBarEvents>(inner_->CommandBarEvents(faulty ? faulty->inner() : control),
                                          *plan_);
}

void FaultyCommandBarEvents::Subscribe(CommandBarClickHandler& handler) {
  plan_->Enter("Subscribe");
  inner_->Subscribe(handler);
}

}  // namespace host
