// tests/addin/connect_test.cpp: connecting in each mode, the menu entry, showing and hiding the one
// dialog, and disconnecting, with the host failing at each step.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>

#include "host/host_error.h"
#include "tests/addin/addin_fixture.h"

namespace {

using enum dialog::ControlId;

// The entry, then the two for headers and traps.
const std::vector<std::string> kMenuWithEntry = {"Add-In Manager...", "Scrivlet",
                                                 "Scrivlet: Headers and Traps for This Module",
                                                 "Scrivlet: Headers and Traps for This Project"};
const std::vector<std::string> kMenuAlone = {"Add-In Manager..."};
// The main entry alone: a connection that failed after making it, or an entry whose deletion failed.
const std::vector<std::string> kMenuMainEntry = {"Add-In Manager...", "Scrivlet"};

struct Mode {
  const char* name;
  long connectMode;
  std::optional<std::string> displayOnConnect;
  bool entry;
  bool shown;
};

void PrintTo(const Mode& m, std::ostream* os) {
  *os << m.name;
}

const Mode kModes[] = {
    {"after_startup_nothing_stored", 0, std::nullopt, true, false},
    {"after_startup_one", 0, "1", true, true},
    {"after_startup_zero", 0, "0", true, false},
    {"after_startup_leading_blank", 0, " 1", true, false},
    {"after_startup_word_true", 0, "True", true, false},
    {"after_startup_trailing_blank", 0, "1 ", true, false},
    {"external_nothing_stored", 2, std::nullopt, false, true},
    {"external_zero", 2, "0", false, true},
    {"startup_one", 1, "1", true, false},
    {"command_line_one", 3, "1", true, false},
    {"negative_mode", -1, "1", true, false},
};

class Connection : public ::testing::TestWithParam<Mode> {};

TEST_P(Connection, MakesTheEntryAndOpensTheDialogAsTheModeSays) {
  const Mode& m = GetParam();
  test::AddinHarness h;
  if (m.displayOnConnect)
    h.platform.settings.SaveSetting("Scrivlet", "Settings", "DisplayOnConnect", *m.displayOnConnect);
  h.connect.OnConnection(h.vbe, m.connectMode);
  EXPECT_EQ(h.connect.VBInstance, h.vbe);
  EXPECT_EQ(h.Menu(), m.entry ? kMenuWithEntry : kMenuAlone);
  EXPECT_EQ(h.connect.MenuControl() != nullptr, m.entry);
  EXPECT_EQ(h.connect.MenuHandler() != nullptr, m.entry);
  EXPECT_EQ(h.connect.FormDisplayed, m.shown);
  EXPECT_EQ(h.DialogOnScreen(), m.shown);
  EXPECT_EQ(h.dialogsMade, m.shown ? 1 : 0);
  EXPECT_TRUE(h.platform.ui.messages().empty());
  if (m.entry) {
    EXPECT_EQ(h.Entry()->type(), host::kControlButton);
    // Choosing the entry opens the dialog whatever the mode.
    ASSERT_TRUE(h.Entry()->Execute());
    EXPECT_TRUE(h.DialogOnScreen());
    EXPECT_TRUE(h.connect.FormDisplayed);
  }
}

INSTANTIATE_TEST_SUITE_P(Addin, Connection, ::testing::ValuesIn(kModes),
                         [](const auto& info) { return std::string{info.param.name}; });

struct ConnectionFailure {
  const char* name;
  std::function<void(test::AddinHarness&)> setup;
  std::vector<host::ShownMessage> messages;
  std::vector<std::string> menu;
};

void PrintTo(const ConnectionFailure& f, std::ostream* os) {
  *os << f.name;
}

// Each with "DisplayOnConnect" "1" in mode 0: after the box, the dialog is not opened.
// The box of a failed connection: the host's description, then where to look for the cause.
std::string Failed(const std::string& description) {
  return description +
         "\r\n\r\nTo check how Scrivlet is installed, run \"scrivlet doctor\" in a Command Prompt.";
}

const ConnectionFailure kConnectionFailures[] = {
    {"no_add_ins_menu",
     [](test::AddinHarness& h) { h.ide->commandBars().RemoveBar("Add-Ins"); },
     {{Failed("Invalid procedure call or argument"), "Scrivlet"}},
     {}},
    {"no_add_ins_menu_empty_answer",
     [](test::AddinHarness& h) {
       h.ide->commandBars().RemoveBar("Add-Ins");
       h.ide->commandBars().AnswerMissingWithEmpty(true);
     },
     {{Failed("Invalid procedure call or argument"), "Scrivlet"}},
     {}},
    {"event_source_refused",
     [](test::AddinHarness& h) { h.plan.Fail("CommandBarEvents", 1, host::kErrInvalidCall); },
     {{Failed("Invalid procedure call or argument"), "Scrivlet"}},
     kMenuMainEntry},
    {"events_unavailable",
     [](test::AddinHarness& h) { h.plan.Fail("Events", 1, host::kErrNoSuchMember); },
     {{Failed("Object doesn't support this property or method"), "Scrivlet"}},
     kMenuMainEntry},
    {"subscription_refused",
     [](test::AddinHarness& h) {
       h.plan.Fail("Subscribe", 1, {-2147220991, "Automation error"});
     },
     {{Failed("Automation error"), "Scrivlet"}},
     kMenuMainEntry},
};

class ConnectionFails : public ::testing::TestWithParam<ConnectionFailure> {};

TEST_P(ConnectionFails, ShowsTheBoxWithoutATitleAndStops) {
  test::AddinHarness h;
  h.platform.settings.SaveSetting("Scrivlet", "Settings", "DisplayOnConnect", "1");
  GetParam().setup(h);
  h.connect.OnConnection(h.vbe, 0);
  EXPECT_EQ(h.platform.ui.messages(), GetParam().messages);
  // The connection's box has no title of its own; it shows the program's.
  for (const std::string& title : h.platform.ui.askedTitles()) EXPECT_EQ(title, "");
  EXPECT_EQ(h.Menu(), GetParam().menu);
  EXPECT_FALSE(h.connect.FormDisplayed);
  EXPECT_EQ(h.dialogsMade, 0);
  EXPECT_EQ(h.connect.MenuHandler(), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Addin, ConnectionFails, ::testing::ValuesIn(kConnectionFailures),
                         [](const auto& info) { return std::string{info.param.name}; });

// The event source is asked for even when no entry was made, and the host's refusal is the report.
TEST(ConnectionFails, AsksForTheSourceOfAMissingEntry) {
  test::AddinHarness h;
  h.ide->commandBars().RemoveBar("Add-Ins");
  h.connect.OnConnection(h.vbe, 0);
  EXPECT_EQ(h.plan.calls(), (std::vector<std::string>{"CommandBars", "Item Add-Ins", "Item Menu Bar",
                                                      "Events", "CommandBarEvents"}));
  EXPECT_EQ(h.connect.MenuControl(), nullptr);
}

struct AddFailure {
  const char* name;
  const char* failing;
  std::vector<std::string> menu;
};

void PrintTo(const AddFailure& f, std::ostream* os) {
  *os << f.name;
}

const AddFailure kAddFailures[] = {
    {"command_bars", "CommandBars", kMenuAlone},
    {"item", "Item", kMenuAlone},
    {"controls", "Controls", kMenuAlone},
    {"add", "Add", kMenuAlone},
    // The entry already added stays on the menu, without its caption.
    {"caption", "Caption", {"Add-In Manager...", ""}},
};

class AddToMenuFails : public ::testing::TestWithParam<AddFailure> {};

TEST_P(AddToMenuFails, GivesNothingAndSaysNothing) {
  test::AddinHarness h;
  h.plan.Fail(GetParam().failing, 1, host::kErrInvalidCall);
  h.connect.VBInstance = h.vbe;
  EXPECT_EQ(h.connect.AddToAddInCommandBar("Scrivlet"), nullptr);
  EXPECT_EQ(h.Menu(), GetParam().menu);
  EXPECT_TRUE(h.platform.ui.messages().empty());
}

INSTANTIATE_TEST_SUITE_P(Addin, AddToMenuFails, ::testing::ValuesIn(kAddFailures),
                         [](const auto& info) { return std::string{info.param.name}; });

TEST(AddToMenu, PutsAPlainButtonAtTheEnd) {
  test::AddinHarness h;
  h.ide->commandBars().Bar("Add-Ins")->AddEntry("Other add-in");
  h.connect.VBInstance = h.vbe;
  const std::string caption = "Any caption";
  const auto entry = h.connect.AddToAddInCommandBar(caption);
  ASSERT_NE(entry, nullptr);
  EXPECT_EQ(entry->Caption(), "Any caption");
  EXPECT_EQ(h.Menu(), (std::vector<std::string>{"Add-In Manager...", "Other add-in", "Any caption"}));
  EXPECT_EQ(h.plan.calls(), (std::vector<std::string>{"CommandBars", "Item Add-Ins", "Controls", "Add 1",
                                                      "Caption Any caption", "Caption"}));
  h.connect.VBInstance = nullptr;
  EXPECT_EQ(h.connect.AddToAddInCommandBar(caption), nullptr);
}

struct Disconnection {
  const char* name;
  long connectMode;
  std::function<void(test::AddinHarness&)> before;
  std::string saved;
  std::vector<std::string> menu;
};

void PrintTo(const Disconnection& d, std::ostream* os) {
  *os << d.name;
}

const Disconnection kDisconnections[] = {
    {"never_shown", 0, [](test::AddinHarness&) {}, "0", kMenuAlone},
    {"showing", 0, [](test::AddinHarness& h) { h.Entry()->Execute(); }, "1", kMenuAlone},
    {"cancelled", 0,
     [](test::AddinHarness& h) {
       h.Entry()->Execute();
       h.View()->Click(CancelButton);
     },
     "0", kMenuAlone},
    // The title bar's close box goes through the connection's Hide, as Cancel does.
    {"closed_by_its_title_bar", 0,
     [](test::AddinHarness& h) {
       h.Entry()->Execute();
       h.View()->CloseBox();
     },
     "0", kMenuAlone},
    // Started from outside: no entry to delete, and the failed deletion goes unreported.
    {"external", 2, [](test::AddinHarness&) {}, "1", kMenuAlone},
    {"delete_fails", 0,
     [](test::AddinHarness& h) {
       h.Entry()->Execute();
       h.plan.Fail("Delete", 1, host::kErrInvalidCall);
     },
     "1", kMenuMainEntry},
    {"entry_already_gone", 0,
     [](test::AddinHarness& h) {
       h.Entry()->Execute();
       h.Entry()->Delete();
     },
     "1", kMenuAlone},
};

class Disconnect : public ::testing::TestWithParam<Disconnection> {};

TEST_P(Disconnect, SavesWhetherTheDialogWasMeantToShow) {
  const Disconnection& d = GetParam();
  test::AddinHarness h;
  h.connect.OnConnection(h.vbe, d.connectMode);
  d.before(h);
  h.connect.OnDisconnection();
  EXPECT_EQ(h.DisplayOnConnect(), d.saved);
  EXPECT_EQ(h.Menu(), d.menu);
  EXPECT_FALSE(h.connect.FormDisplayed);
  EXPECT_EQ(h.connect.DialogForm(), nullptr);
  EXPECT_TRUE(h.platform.ui.messages().empty());
}

INSTANTIATE_TEST_SUITE_P(Addin, Disconnect, ::testing::ValuesIn(kDisconnections),
                         [](const auto& info) { return std::string{info.param.name}; });

// A store that cannot save is skipped silently, and the dialog still goes.
TEST(DisconnectFails, SkipsAStoreThatRefuses) {
  test::TestPlatform platform;
  struct Refusing final : host::SettingsStore {
    std::string GetSetting(std::string_view, std::string_view, std::string_view,
                           std::string_view fallback) const override {
      return std::string{fallback};
    }
    void SaveSetting(std::string_view, std::string_view, std::string_view, std::string_view) override {
      throw host::HostError{75, "Path/File access error"};
    }
  } store;
  const host::Platform refusing{platform.ui, platform.clock, platform.dates, store};
  auto vbe = std::make_shared<host::MemoryVbe>();
  addin::Connect connect{refusing, nullptr};
  connect.OnConnection(vbe, 2);
  ASSERT_TRUE(connect.FormDisplayed);
  connect.OnDisconnection();
  EXPECT_FALSE(connect.FormDisplayed);
  EXPECT_EQ(connect.DialogForm(), nullptr);
  EXPECT_EQ(vbe->commandBars().Bar("Add-Ins")->entries().size(), 1U);
  EXPECT_TRUE(platform.ui.messages().empty());
}

// Disconnected while showing, the next connection after start-up opens the dialog again.
TEST(Reconnect, ReopensADialogThatWasShowing) {
  test::AddinHarness first;
  first.connect.OnConnection(first.vbe, 0);
  first.Entry()->Execute();
  first.connect.OnDisconnection();
  EXPECT_EQ(first.connect.DialogForm(), nullptr);  // its window went with it

  test::AddinHarness second;
  second.platform.settings.SaveSetting("Scrivlet", "Settings", "DisplayOnConnect", first.DisplayOnConnect());
  second.connect.OnConnection(second.vbe, 0);
  EXPECT_TRUE(second.DialogOnScreen());
}

TEST(MenuCommand, OneDialogNotTwo) {
  test::AddinHarness h;
  h.connect.OnConnection(h.vbe, 0);
  ASSERT_TRUE(h.Entry()->Execute());
  ASSERT_TRUE(h.Entry()->Execute());
  EXPECT_EQ(h.dialogsMade, 1);
  EXPECT_EQ(h.View()->windowsMade(), 1);
  EXPECT_TRUE(h.DialogOnScreen());
}

// The title bar's close box hides the dialog through the connection, which then knows it is off the
// screen; the entry shows the same dialog again with its values.
TEST(MenuCommand, CloseBoxHidesThroughTheConnection) {
  test::AddinHarness h;
  h.connect.OnConnection(h.vbe, 0);
  h.Entry()->Execute();
  test::HeadlessView& view = *h.View();
  view.Type(txtPropriete, "Title");
  view.CloseBox();
  EXPECT_FALSE(h.connect.FormDisplayed);
  EXPECT_FALSE(view.onScreen());
  EXPECT_FALSE(h.connect.DialogForm()->Visible());
  h.Entry()->Execute();
  EXPECT_TRUE(h.connect.FormDisplayed);
  EXPECT_EQ(h.dialogsMade, 1);
  EXPECT_TRUE(view.onScreen());
  EXPECT_EQ(h.connect.DialogForm()->Text(txtPropriete), "Title");
}

// After Cancel, the entry shows the same dialog with everything as it was left.
TEST(MenuCommand, CancelThenShowKeepsTheContent) {
  test::AddinHarness h;
  h.connect.OnConnection(h.vbe, 0);
  h.Entry()->Execute();
  test::HeadlessView& view = *h.View();
  view.Type(txtPropriete, "Title");
  view.Click(chkFonction);
  view.Pick(cmbFuncReturn, 6);
  view.SelectPage(dialog::kPageUser);
  view.Type(txtNomUtilisateur, "Ann");
  std::vector<dialog::ControlState> before;
  for (const dialog::ControlDesign& d : dialog::Designs())
    before.push_back(h.connect.DialogForm()->State(d.id));

  view.Click(CancelButton);
  EXPECT_FALSE(h.connect.FormDisplayed);
  EXPECT_FALSE(view.onScreen());
  h.Entry()->Execute();
  EXPECT_TRUE(h.connect.FormDisplayed);
  EXPECT_EQ(h.dialogsMade, 1);
  ASSERT_EQ(h.View(), &view);
  EXPECT_TRUE(view.onScreen());
  const dialog::FrmAddIn& form = *h.connect.DialogForm();
  for (const dialog::ControlDesign& d : dialog::Designs()) {
    EXPECT_EQ(form.State(d.id).caption, before[dialog::Index(d.id)].caption) << d.name;
    EXPECT_EQ(form.State(d.id).value, before[dialog::Index(d.id)].value) << d.name;
    EXPECT_EQ(form.State(d.id).enabled, before[dialog::Index(d.id)].enabled) << d.name;
  }
  EXPECT_EQ(form.SelectedPage(), dialog::kPageUser);
  EXPECT_TRUE(h.platform.ui.messages().empty());
}

// A dialog made by Hide is loaded but not shown; the next Show hands it the host and the connection.
TEST(ShowAndHide, ShowFillsADialogThatHideMade) {
  test::AddinHarness h;
  h.connect.VBInstance = h.vbe;
  h.connect.FormDisplayed = true;
  h.connect.Hide();
  ASSERT_NE(h.connect.DialogForm(), nullptr);
  EXPECT_FALSE(h.connect.FormDisplayed);
  EXPECT_TRUE(h.connect.DialogForm()->Loaded());
  EXPECT_FALSE(h.View()->onScreen());
  EXPECT_EQ(h.connect.DialogForm()->VBInstance, nullptr);
  EXPECT_EQ(h.connect.DialogForm()->Connect, nullptr);
  h.connect.Show();
  EXPECT_EQ(h.connect.DialogForm()->VBInstance, h.vbe);
  EXPECT_EQ(h.connect.DialogForm()->Connect, &h.connect);
  EXPECT_TRUE(h.View()->onScreen());
  EXPECT_EQ(h.dialogsMade, 1);
}

TEST(ShowAndHide, FailuresAreSkippedSilently) {
  test::AddinHarness h;
  h.refuseDialogs = true;
  h.connect.Show();
  EXPECT_TRUE(h.connect.FormDisplayed);
  EXPECT_EQ(h.connect.DialogForm(), nullptr);
  h.connect.Hide();
  EXPECT_FALSE(h.connect.FormDisplayed);
  EXPECT_EQ(h.connect.DialogForm(), nullptr);

  // The window fails to appear: the dialog is still made and filled, and meant to be on screen.
  h.refuseDialogs = false;
  h.plan.Fail("View.Show", 1, host::kErrOutOfMemory);
  h.connect.VBInstance = h.vbe;
  h.connect.Hide();
  h.View()->AttachFaults(&h.plan);
  h.connect.Show();
  EXPECT_TRUE(h.connect.FormDisplayed);
  EXPECT_EQ(h.connect.DialogForm()->VBInstance, h.vbe);
  EXPECT_FALSE(h.View()->onScreen());
  EXPECT_TRUE(h.platform.ui.messages().empty());
}

// The event source outlives a released connection: a later click reaches nobody.
TEST(MenuHandler, ReleasedConnectionHearsNoMoreClicks) {
  test::TestPlatform platform;
  auto vbe = std::make_shared<host::MemoryVbe>();
  std::shared_ptr<host::MemoryCommandBarControl> entry;
  std::shared_ptr<host::MemoryCommandBarEvents> source;
  {
    addin::Connect connect{platform.platform(), nullptr};
    connect.OnConnection(vbe, 0);
    entry = vbe->commandBars().Bar("Add-Ins")->Entry("Scrivlet");
    source = std::dynamic_pointer_cast<host::MemoryCommandBarEvents>(connect.MenuHandler());
    ASSERT_NE(entry, nullptr);
    ASSERT_NE(source, nullptr);
    EXPECT_EQ(source->handlers(), 1U);
  }
  EXPECT_EQ(source->handlers(), 0U);
  EXPECT_TRUE(entry->Execute());
  EXPECT_TRUE(platform.ui.messages().empty());
}

// Setting the source anew stops hearing the old one.
TEST(MenuHandler, ReplacingTheSourceMovesTheSubscription) {
  test::AddinHarness h;
  h.connect.OnConnection(h.ide, 0);
  const auto old = std::dynamic_pointer_cast<host::MemoryCommandBarEvents>(h.connect.MenuHandler());
  ASSERT_NE(old, nullptr);
  EXPECT_EQ(old->handlers(), 1U);
  h.connect.MenuHandler(old);  // the same source again keeps hearing it
  EXPECT_EQ(old->handlers(), 1U);
  const auto other = h.ide->commandBars().Bar("Add-Ins")->AddEntry("Other");
  h.connect.MenuHandler(h.ide->Events()->CommandBarEvents(other));
  EXPECT_EQ(old->handlers(), 0U);
  h.Entry()->Execute();
  EXPECT_FALSE(h.connect.FormDisplayed);
  other->Execute();
  EXPECT_TRUE(h.connect.FormDisplayed);
}

}  // namespace
