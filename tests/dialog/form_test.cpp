// tests/dialog/form_test.cpp: loading, the programmer name, Cancel, the window's life, the frame's
// hold on its controls, pages, focus and what a person at the window can and cannot do.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>

#include "host/host_error.h"
#include "host/vb_errors.h"
#include "testing/ide/fault_plan.h"
#include "tests/dialog/dialog_fixture.h"

namespace {

using dialog::ControlId;
using enum dialog::ControlId;

// A settings store that refuses to save.
class RefusingStore final : public host::SettingsStore {
 public:
  std::string GetSetting(std::string_view, std::string_view, std::string_view,
                         std::string_view fallback) const override {
    return std::string{fallback};
  }
  void SaveSetting(std::string_view, std::string_view, std::string_view, std::string_view) override {
    throw host::HostError{75, "Path/File access error"};
  }
};

struct Load {
  const char* name;
  std::optional<std::string> stored;
  const char* failing;  // a change that fails while loading, or nullptr
  std::string shown;
  std::vector<host::ShownMessage> messages;
};

void PrintTo(const Load& l, std::ostream* os) {
  *os << l.name;
}

const Load kLoads[] = {
    {"nothing_stored", std::nullopt, nullptr, "My name", {}},
    {"stored_name", "Ann Smith", nullptr, "Ann Smith", {}},
    {"stored_empty", "", nullptr, "", {}},
    {"stored_blanks", "  ", nullptr, "  ", {}},
    {"box_refuses_the_name",
     "Ann Smith",
     "txtNomUtilisateur.Text",
     "My name",
     {{"Out of memory", "Form_Load"}}},
};

class FormLoad : public ::testing::TestWithParam<Load> {};

TEST_P(FormLoad, ShowsTheStoredProgrammer) {
  const Load& l = GetParam();
  test::DialogHarness dialog;
  if (l.stored) dialog.platform.settings.SaveSetting("Scrivlet", "Identification", "Programmer", *l.stored);
  host::FaultPlan plan;
  if (l.failing != nullptr) plan.Fail(l.failing, 1, host::kErrOutOfMemory);
  dialog.view->AttachFaults(&plan);
  dialog.Shown();
  EXPECT_EQ(dialog.form.Text(txtNomUtilisateur), l.shown);
  EXPECT_EQ(dialog.platform.ui.messages(), l.messages);
  EXPECT_TRUE(dialog.form.Visible());
}

INSTANTIATE_TEST_SUITE_P(Dialog, FormLoad, ::testing::ValuesIn(kLoads),
                         [](const auto& info) { return std::string{info.param.name}; });

struct Store {
  const char* name;
  std::string typed;
};

void PrintTo(const Store& s, std::ostream* os) {
  *os << s.name;
}

const Store kStores[] = {{"name", "Ann Smith"}, {"empty", ""}, {"blanks_kept", "  Ann  "}};

class ChangerStores : public ::testing::TestWithParam<Store> {};

// The text is stored unchanged and is what the next load shows; the dialog stays as it is.
TEST_P(ChangerStores, TheTextUnchanged) {
  test::DialogHarness first;
  first.Shown();
  ASSERT_TRUE(first.view->SelectPage(dialog::kPageUser));
  ASSERT_TRUE(first.view->Type(txtNomUtilisateur, GetParam().typed));
  ASSERT_TRUE(first.view->Click(cmdChanger));
  EXPECT_EQ(first.platform.settings.GetSetting("Scrivlet", "Identification", "Programmer", "<none>"),
            GetParam().typed);
  EXPECT_TRUE(first.form.Visible());
  EXPECT_TRUE(first.platform.ui.messages().empty());

  first.form.Unload();
  first.Shown();
  EXPECT_EQ(first.form.Text(txtNomUtilisateur), GetParam().typed);
}

INSTANTIATE_TEST_SUITE_P(Dialog, ChangerStores, ::testing::ValuesIn(kStores),
                         [](const auto& info) { return std::string{info.param.name}; });

TEST(Changer, ReportsAStoreThatRefuses) {
  test::TestPlatform platform;
  RefusingStore store;
  const host::Platform refusing{platform.ui, platform.clock, platform.dates, store};
  dialog::FrmAddIn form{refusing, nullptr};
  form.Show();
  form.cmdChanger_Click();
  EXPECT_EQ(platform.ui.messages(),
            (std::vector<host::ShownMessage>{{"Path/File access error", "cmdChanger_Click"}}));
}

// The name is read on every load, not on every showing.
TEST(FormWindow, HidingKeepsWhatWasTyped) {
  test::DialogHarness dialog;
  dialog.Shown();
  dialog.view->SelectPage(dialog::kPageUser);
  dialog.view->Type(txtNomUtilisateur, "Typed");
  dialog.platform.settings.SaveSetting("Scrivlet", "Identification", "Programmer", "Stored");
  dialog.form.Hide();
  EXPECT_FALSE(dialog.view->onScreen());
  dialog.Shown();
  EXPECT_EQ(dialog.form.Text(txtNomUtilisateur), "Typed");
  EXPECT_EQ(dialog.form.SelectedPage(), dialog::kPageUser);
  dialog.form.Unload();
  dialog.Shown();
  EXPECT_EQ(dialog.form.Text(txtNomUtilisateur), "Stored");
  EXPECT_EQ(dialog.form.SelectedPage(), dialog::kPagePropriety);
}

// Hiding a dialog that was never shown loads it; it does not appear.
TEST(FormWindow, HideLoadsWithoutShowing) {
  test::DialogHarness dialog;
  dialog.form.Hide();
  EXPECT_TRUE(dialog.form.Loaded());
  EXPECT_FALSE(dialog.form.Visible());
  EXPECT_EQ(dialog.view->windowsMade(), 0);
  EXPECT_EQ(dialog.form.Text(txtNomUtilisateur), "My name");
}

// The window cannot be shown: the dialog stays loaded and hidden and says so to its caller.
TEST(FormWindow, ShowFailureLeavesItHidden) {
  test::DialogHarness dialog;
  host::FaultPlan plan;
  plan.Fail("View.Show", 1, host::kErrOutOfMemory);
  ASSERT_NE(dialog.view, nullptr);
  dialog.view->AttachFaults(&plan);
  EXPECT_THROW(dialog.form.Show(), host::HostError);
  EXPECT_TRUE(dialog.form.Loaded());
  EXPECT_FALSE(dialog.form.Visible());
  dialog.Shown();
  EXPECT_TRUE(dialog.form.Visible());
}

class RecordingConnection final : public dialog::Connection {
 public:
  void Hide() noexcept override { ++hides; }
  int hides = 0;
};

TEST(Cancel, AsksTheConnectionToHide) {
  test::DialogHarness dialog;
  RecordingConnection connection;
  dialog.form.Connect = &connection;
  dialog.Shown();
  ASSERT_TRUE(dialog.view->Click(CancelButton));
  EXPECT_EQ(connection.hides, 1);
  EXPECT_TRUE(dialog.platform.settings.GetSetting("Scrivlet", "Identification", "Programmer", "<none>") ==
              "<none>");
}

// A dialog without a connection hides itself rather than failing on the empty reference.
TEST(Cancel, WithoutAConnectionHidesTheDialog) {
  test::DialogHarness dialog;
  dialog.Shown();
  dialog.view->Type(txtPropriete, "Title");
  ASSERT_TRUE(dialog.view->Click(CancelButton));
  EXPECT_FALSE(dialog.form.Visible());
  EXPECT_FALSE(dialog.view->onScreen());
  EXPECT_TRUE(dialog.platform.ui.messages().empty());
  dialog.Shown();
  EXPECT_EQ(dialog.form.Text(txtPropriete), "Title");
}

// A connection that hides the dialog it owns, as the add-in's connection does.
class HidingConnection final : public dialog::Connection {
 public:
  explicit HidingConnection(dialog::FrmAddIn& form) : form_(form) {}
  void Hide() noexcept override {
    ++hides;
    try {
      form_.Hide();
    } catch (...) {
      ADD_FAILURE() << "the dialog could not be hidden";
    }
  }
  int hides = 0;

 private:
  dialog::FrmAddIn& form_;
};

// The title bar's close command does what Cancel does: the connection hides the window, once, and
// every value stays.
TEST(FormWindow, CloseBoxAsksTheConnectionToHide) {
  test::DialogHarness dialog;
  HidingConnection connection{dialog.form};
  dialog.form.Connect = &connection;
  dialog.Shown();
  dialog.view->Click(chkFonction);
  dialog.view->CloseBox();
  EXPECT_EQ(connection.hides, 1);
  EXPECT_FALSE(dialog.form.Visible());
  EXPECT_FALSE(dialog.view->onScreen());
  dialog.Shown();
  EXPECT_EQ(dialog.form.Value(chkFonction), 1);
  EXPECT_TRUE(dialog.form.Enabled(Label8));
}

// The close box leaves the hiding to the connection: one that does not hide keeps the window up.
TEST(FormWindow, CloseBoxLeavesTheHidingToTheConnection) {
  test::DialogHarness dialog;
  RecordingConnection connection;
  dialog.form.Connect = &connection;
  dialog.Shown();
  dialog.view->CloseBox();
  EXPECT_EQ(connection.hides, 1);
  EXPECT_TRUE(dialog.form.Visible());
  EXPECT_TRUE(dialog.view->onScreen());
}

// Without a connection the close box hides the dialog itself and keeps every value.
TEST(FormWindow, CloseBoxWithoutAConnectionHidesAndKeeps) {
  test::DialogHarness dialog;
  dialog.Shown();
  dialog.view->Type(txtPropriete, "Title");
  dialog.view->CloseBox();
  EXPECT_FALSE(dialog.form.Visible());
  EXPECT_FALSE(dialog.view->onScreen());
  EXPECT_TRUE(dialog.platform.ui.messages().empty());
  dialog.Shown();
  EXPECT_EQ(dialog.form.Text(txtPropriete), "Title");
}

// Disabling Frame1 makes its controls unusable without touching their own states; enabling it
// gives them back as they were.
TEST(Frame, HoldsItsControls) {
  test::DialogHarness dialog;
  dialog.Shown();
  dialog.view->Click(chkComment);
  for (const ControlId id : {Label4, txtVariable, Label5, cmbType}) {
    EXPECT_TRUE(dialog.form.Enabled(id)) << dialog::Name(id);
    EXPECT_FALSE(dialog.form.CanUse(id)) << dialog::Name(id);
  }
  EXPECT_FALSE(dialog.view->Type(txtVariable, "x"));
  EXPECT_FALSE(dialog.view->Pick(cmbType, 0));
  EXPECT_EQ(dialog.form.Text(txtVariable), "");
  dialog.view->Click(chkComment);
  EXPECT_TRUE(dialog.form.CanUse(txtVariable));
  EXPECT_FALSE(dialog.form.CanUse(cmbFuncReturn));

  dialog.view->Click(chkFonction);
  dialog.form.SetEnabled(Frame1, false);
  EXPECT_FALSE(dialog.form.CanUse(cmbFuncReturn));
  EXPECT_TRUE(dialog.form.Enabled(cmbFuncReturn));
  dialog.form.SetEnabled(Frame1, true);
  EXPECT_TRUE(dialog.form.CanUse(cmbFuncReturn));
}

struct Action {
  const char* name;
  std::function<bool(test::HeadlessView&)> act;
  bool taken;
};

void PrintTo(const Action& a, std::ostream* os) {
  *os << a.name;
}

// What a person at the window can reach on the first page, with nothing checked.
const Action kActions[] = {
    {"type_name", [](test::HeadlessView& v) { return v.Type(txtPropriete, "x"); }, true},
    {"type_into_label", [](test::HeadlessView& v) { return v.Type(Label1, "x"); }, false},
    {"type_into_other_page", [](test::HeadlessView& v) { return v.Type(txtUsage, "x"); }, false},
    {"click_other_page", [](test::HeadlessView& v) { return v.Click(cmdChanger); }, false},
    {"type_disabled_return_type", [](test::HeadlessView& v) { return v.Type(cmbFuncReturn, "x"); }, false},
    {"pick_past_the_list", [](test::HeadlessView& v) { return v.Pick(cmbType, 11); }, false},
    {"pick_last", [](test::HeadlessView& v) { return v.Pick(cmbType, 10); }, true},
    {"type_help_id", [](test::HeadlessView& v) { return v.SelectPage(1) && v.Type(txtAideID, "x"); }, false},
    {"select_missing_page", [](test::HeadlessView& v) { return v.SelectPage(4); }, false},
    {"click_after_hiding",
     [](test::HeadlessView& v) {
       v.CloseBox();
       return v.Click(chkFonction);
     },
     false},
};

class WindowAction : public ::testing::TestWithParam<Action> {};

TEST_P(WindowAction, IsTakenOnlyWhereAPersonCouldDoIt) {
  test::DialogHarness dialog;
  dialog.Shown();
  EXPECT_EQ(GetParam().act(*dialog.view), GetParam().taken);
  EXPECT_EQ(dialog.form.Value(chkFonction), 0);
  EXPECT_EQ(dialog.form.Text(txtAideID), "");
  EXPECT_EQ(dialog.form.Text(Label1), "Name");
}

INSTANTIATE_TEST_SUITE_P(Dialog, WindowAction, ::testing::ValuesIn(kActions),
                         [](const auto& info) { return std::string{info.param.name}; });

// OKButton first, CancelButton second, then the tab control and the page's controls that can take
// the focus; labels, frames and disabled controls are passed over.
TEST(Focus, FollowsTheKeyboardOrder) {
  test::DialogHarness dialog;
  dialog.Shown();
  std::vector<std::string_view> order;
  for (int i = 0; i < 20; ++i) {
    order.push_back(dialog::Name(dialog.form.ActiveControl()));
    dialog.view->PressTab();
  }
  const std::vector<std::string_view> expected = {
      "OKButton",        "CancelButton", "SSTab1",        "txtPropriete", "chkPrive",
      "chkFriend",       "chkSet",       "chkFonction",   "chkProcedure", "chkPropertyChanged",
      "chkLectureSeule", "chkStatique",  "chkResumeNext", "chkHide",      "chkComment",
      "txtVariable",     "cmbType",      "OKButton",      "CancelButton", "SSTab1"};
  EXPECT_EQ(order, expected);

  // Backwards from the first control goes round to the page's last one.
  test::DialogHarness fresh;
  fresh.Shown();
  fresh.view->PressTab(true);
  EXPECT_EQ(fresh.form.ActiveControl(), cmbType);
}

TEST(Focus, LeavesAPageThatGoesAway) {
  test::DialogHarness dialog;
  dialog.Shown();
  dialog.view->Click(chkHide);
  EXPECT_EQ(dialog.form.ActiveControl(), chkHide);
  dialog.view->SelectPage(dialog::kPageAbout);
  EXPECT_EQ(dialog.form.ActiveControl(), SSTab1);
  dialog.view->PressTab();
  EXPECT_EQ(dialog.form.ActiveControl(), OKButton);
}

}  // namespace
