// tests/addin/addin_fixture.h: a connection on the built-in IDE, seen through a fault plan, with the
// views of the dialogs it makes.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "addin/connect.h"
#include "testing/ide/faulty_vbe.h"
#include "testing/ide/memory_vbe.h"
#include "tests/dialog/headless_view.h"
#include "tests/generator/generator_fixture.h"

namespace test {

struct AddinHarness {
  explicit AddinHarness(host::IdeFlavour flavour = host::IdeFlavour::kVb6)
      : ide(std::make_shared<host::MemoryVbe>(flavour)), vbe(std::make_shared<host::FaultyVbe>(ide, plan)) {}
  AddinHarness(const AddinHarness&) = delete;
  AddinHarness& operator=(const AddinHarness&) = delete;

  // The add-in's entry on the built-in Add-Ins menu (the VBA editor's pop-up), or nothing.
  std::shared_ptr<host::MemoryCommandBarControl> Entry() const {
    const auto menu = ide->AddInsMenu();
    return menu ? menu->Entry("Scrivlet") : nullptr;
  }
  // The captions on the Add-Ins menu, top to bottom.
  std::vector<std::string> Menu() const {
    std::vector<std::string> captions;
    if (const auto menu = ide->AddInsMenu()) {
      for (const auto& entry : menu->entries()) captions.push_back(entry->caption());
    }
    return captions;
  }
  std::string DisplayOnConnect() const {
    return platform.settings.GetSetting("Scrivlet", "Settings", "DisplayOnConnect", "<none>");
  }
  // The window of the dialog made last, or nothing.
  test::HeadlessView* View() const { return views.empty() ? nullptr : views.back(); }
  bool DialogOnScreen() const {
    return connect.DialogForm() != nullptr && View() != nullptr && View()->onScreen();
  }

  TestPlatform platform;
  host::FaultPlan plan;  // the faults a test plans on the connection's calls, and the calls made
  std::shared_ptr<host::MemoryVbe> ide;
  std::shared_ptr<host::FaultyVbe> vbe;  // `ide` as the connection is given it: through `plan`
  std::vector<test::HeadlessView*> views;
  int dialogsMade = 0;
  bool refuseDialogs = false;
  addin::Connect connect{platform.platform(),
                         [this](dialog::FrmAddIn& form) -> std::unique_ptr<dialog::FormView> {
                           if (refuseDialogs) throw host::HostError{7, "Out of memory"};
                           ++dialogsMade;
                           auto made = std::make_unique<test::HeadlessView>(form);
                           views.push_back(made.get());
                           return made;
                         }};
};

}  // namespace test
