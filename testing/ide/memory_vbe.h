// testing/ide/memory_vbe.h: the built-in IDE's root object, whose active code pane and menus a test
// chooses.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "host/vbe.h"
#include "testing/ide/memory_code_module.h"
#include "testing/ide/memory_command_bars.h"

namespace host {

// The name of the add-ins menu, and the entry the IDE itself keeps on it.
inline constexpr std::string_view kAddInsBar = "Add-Ins";
inline constexpr std::string_view kAddInManagerEntry = "Add-In Manager...";
// The VBA editor's menu bar, whose pop-ups are its menus.
inline constexpr std::string_view kMenuBar = "Menu Bar";

// The host the built-in IDE plays. The VB6 IDE has an "Add-Ins" command bar and holds user controls;
// the VBA editor keeps its Add-Ins menu as the "&Add-Ins" pop-up of its "Menu Bar" (after "&File"),
// and its projects hold no user controls.
enum class IdeFlavour : std::uint8_t { kVb6, kVbaEditor };

// Starts with its flavour's Add-Ins menu, holding the IDE's own "Add-In Manager..." entry, and no code
// window.
class MemoryVbe final : public Vbe {
 public:
  explicit MemoryVbe(IdeFlavour flavour = IdeFlavour::kVb6) : flavour_(flavour) {
    if (flavour == IdeFlavour::kVb6) {
      bars_->AddBar(std::string{kAddInsBar})->AddEntry(kAddInManagerEntry);
    } else {
      const std::shared_ptr<MemoryCommandBar> menuBar = bars_->AddBar(std::string{kMenuBar});
      menuBar->AddPopup("&File");
      menuBar->AddPopup("&Add-Ins")->popup()->AddEntry(kAddInManagerEntry);
    }
  }

  // The module whose pane has the focus; nullptr leaves no code window open.
  void SetActiveModule(std::shared_ptr<MemoryCodeModule> module) { active_ = std::move(module); }
  // The active project's modules, in order.
  void AddProjectModule(std::shared_ptr<MemoryCodeModule> module) { project_.push_back(std::move(module)); }
  std::vector<std::shared_ptr<CodeModule>> ActiveProjectCodeModules() override {
    return {project_.begin(), project_.end()};
  }

  MemoryCommandBars& commandBars() noexcept { return *bars_; }
  // The menu that holds the add-ins' entries: the "Add-Ins" bar, or the menu bar's "&Add-Ins" pop-up
  // in the VBA editor; nothing once a test has taken it away.
  std::shared_ptr<MemoryCommandBar> AddInsMenu() const {
    if (flavour_ == IdeFlavour::kVb6) return bars_->Bar(kAddInsBar);
    const std::shared_ptr<MemoryCommandBar> menuBar = bars_->Bar(kMenuBar);
    const std::shared_ptr<MemoryCommandBarControl> popup = menuBar ? menuBar->Entry("&Add-Ins") : nullptr;
    return popup ? popup->popup() : nullptr;
  }

  std::shared_ptr<CodePane> ActiveCodePane() override {
    if (!active_) return nullptr;
    return active_->CodePane();
  }

  std::shared_ptr<host::CommandBars> CommandBars() override { return bars_; }
  std::shared_ptr<host::Events> Events() override { return events_; }

  bool HoldsUserControls() override { return flavour_ == IdeFlavour::kVb6; }

 private:
  IdeFlavour flavour_;
  std::shared_ptr<MemoryCodeModule> active_;
  std::vector<std::shared_ptr<MemoryCodeModule>> project_;
  std::shared_ptr<MemoryCommandBars> bars_ = std::make_shared<MemoryCommandBars>();
  std::shared_ptr<MemoryEvents> events_ = std::make_shared<MemoryEvents>();
};

}  // namespace host
