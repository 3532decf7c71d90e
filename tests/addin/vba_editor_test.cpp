// tests/addin/vba_editor_test.cpp: the connection in the VBA editor, whose Add-Ins menu is a pop-up of
// its menu bar and whose projects hold no user controls.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/addin/addin_fixture.h"
#include "tests/support/golden.h"

namespace {

using enum dialog::ControlId;
using host::IdeFlavour;

// The entry, then the two for headers and traps.
const std::vector<std::string> kMenuWithEntry = {"Add-In Manager...", "Scrivlet",
                                                 "Scrivlet: Headers and Traps for This Module",
                                                 "Scrivlet: Headers and Traps for This Project"};
const std::vector<std::string> kMenuAlone = {"Add-In Manager..."};
const host::ShownMessage kNoMenu = {
    "Invalid procedure call or argument\r\n\r\nTo check how Scrivlet is installed, run \"scrivlet doctor\" "
    "in a Command Prompt.",
    "Scrivlet"};

// Asked for "Add-Ins", the VBA editor has no such bar: the entry goes on its menu bar's "&Add-Ins"
// pop-up, found by its caption without the access key, and leaves with the disconnection.
TEST(VbaEditor, PutsTheEntryOnTheMenuBarsAddInsPopup) {
  test::AddinHarness h{IdeFlavour::kVbaEditor};
  h.connect.OnConnection(h.vbe, 0);
  EXPECT_EQ(
      h.plan.calls(),
      (std::vector<std::string>{
          "CommandBars", "Item Add-Ins", "Item Menu Bar", "Controls", "Item Add-Ins", "Controls", "Add 1",
          "Caption Scrivlet", "Events", "CommandBarEvents", "Subscribe",
          // then the entries for headers and traps
          "CommandBars", "Item Add-Ins", "Item Menu Bar", "Controls", "Item Add-Ins", "Controls", "Events",
          "Add 1", "Caption Scrivlet: Headers and Traps for This Module", "CommandBarEvents", "Subscribe",
          "Add 1", "Caption Scrivlet: Headers and Traps for This Project", "CommandBarEvents", "Subscribe"}));
  EXPECT_EQ(h.Menu(), kMenuWithEntry);
  EXPECT_EQ(h.ide->commandBars().Bar("Add-Ins"), nullptr) << "no bar of that name is made";
  EXPECT_TRUE(h.platform.ui.messages().empty());
  ASSERT_TRUE(h.Entry()->Execute());
  EXPECT_TRUE(h.DialogOnScreen());
  h.connect.OnDisconnection();
  EXPECT_EQ(h.Menu(), kMenuAlone);
}

struct MenuFailure {
  const char* name;
  const char* failing;
  int nth;
  std::vector<std::string> menu;
  std::vector<host::ShownMessage> messages;
};

void PrintTo(const MenuFailure& f, std::ostream* os) {
  *os << f.name;
}

// Each step of the way to the pop-up failing once with error 5. Without an entry, the connection fails
// as it does today, when the host refuses an event source for Nothing.
const MenuFailure kMenuFailures[] = {
    {"menu_bar", "Item", 2, kMenuAlone, {kNoMenu}},
    {"menu_bar_controls", "Controls", 1, kMenuAlone, {kNoMenu}},
    {"popup", "Item", 3, kMenuAlone, {kNoMenu}},
    {"popup_controls", "Controls", 2, kMenuAlone, {kNoMenu}},
    {"add", "Add", 1, kMenuAlone, {kNoMenu}},
    // The entry already added stays, without its caption; the connection fails as without one.
    {"caption", "Caption", 1, {"Add-In Manager...", ""}, {kNoMenu}},
};

class VbaEditorMenuFails : public ::testing::TestWithParam<MenuFailure> {};

TEST_P(VbaEditorMenuFails, EndsTheConnectionAsAMissingMenuDoes) {
  const MenuFailure& f = GetParam();
  test::AddinHarness h{IdeFlavour::kVbaEditor};
  h.plan.Fail(f.failing, f.nth, host::kErrInvalidCall);
  h.connect.OnConnection(h.vbe, 0);
  EXPECT_EQ(h.Menu(), f.menu);
  EXPECT_EQ(h.connect.MenuControl(), nullptr);
  EXPECT_EQ(h.platform.ui.messages(), f.messages);
}

INSTANTIATE_TEST_SUITE_P(Addin, VbaEditorMenuFails, ::testing::ValuesIn(kMenuFailures),
                         [](const auto& info) { return std::string{info.param.name}; });

// Neither an "Add-Ins" bar nor an "Add-Ins" pop-up: the connection fails as today's does.
TEST(VbaEditor, WithoutAnyAddInsMenuTheConnectionFails) {
  struct Case {
    const char* name;
    bool menuBarWithoutPopup;
  };
  const Case cases[] = {{"menu bar without Add-Ins", true}, {"no menu bar", false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    test::AddinHarness h{IdeFlavour::kVbaEditor};
    h.ide->commandBars().RemoveBar("Menu Bar");
    if (c.menuBarWithoutPopup) h.ide->commandBars().AddBar("Menu Bar")->AddPopup("&File");
    h.connect.OnConnection(h.vbe, 0);
    EXPECT_EQ(h.connect.MenuControl(), nullptr);
    EXPECT_EQ(h.platform.ui.messages(), std::vector<host::ShownMessage>{kNoMenu});
  }
}

// A VBA project holds no user controls: Add PropertyChanged is refused before anything is written, and
// the same property without it is written as in the VB6 IDE.
TEST(VbaEditor, RefusesPropertyBagCodeAndWritesThePlainProperty) {
  test::AddinHarness h{IdeFlavour::kVbaEditor};
  auto module = std::make_shared<host::MemoryCodeModule>("Option Explicit\r\n");
  h.ide->SetActiveModule(module);
  h.connect.OnConnection(h.vbe, 0);
  ASSERT_TRUE(h.Entry()->Execute());
  test::HeadlessView& view = *h.View();
  ASSERT_TRUE(view.Type(txtPropriete, "Title"));
  ASSERT_TRUE(view.Type(txtVariable, "NewTitle"));
  ASSERT_TRUE(view.Click(chkPropertyChanged));
  ASSERT_TRUE(view.Click(OKButton));
  EXPECT_EQ(module->Text(), "Option Explicit\r\n");
  EXPECT_EQ(h.platform.ui.messages(),
            (std::vector<host::ShownMessage>{
                {"Add PropertyChanged writes code for user controls, which this project cannot hold.",
                 "Scrivlet"}}));

  ASSERT_TRUE(view.Click(chkPropertyChanged));
  ASSERT_TRUE(view.Click(OKButton));
  EXPECT_TRUE(test::MatchesGolden("addin/TitlePropertyVba.bas", module->Text()));
  EXPECT_EQ(h.platform.ui.messages().size(), 1U) << "the plain property is written without a message";
}

}  // namespace
