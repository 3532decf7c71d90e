// tests/dialog/initial_state_test.cpp: every control of a newly shown dialog, its window, its lists,
// its pages and its About text.
#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "tests/dialog/dialog_fixture.h"
#include "tests/support/visible.h"

namespace {

using dialog::ContainerKind;
using dialog::ControlId;
using dialog::ControlKind;
using enum dialog::ControlId;

struct Expected {
  ControlId id;
  std::string_view name;
  ControlKind kind;
  ContainerKind container;
  int page;
  dialog::Place place;
  std::string_view caption;
  bool enabled;
  bool visible;
};

void PrintTo(const Expected& e, std::ostream* os) {
  *os << e.name;
}

constexpr ContainerKind kWin = ContainerKind::kWindow;
constexpr ContainerKind kTab = ContainerKind::kTabPage;
constexpr ContainerKind kFr = ContainerKind::kFrame1;

const Expected kControls[] = {
    {SSTab1, "SSTab1", ControlKind::kTabControl, kWin, -1, {120, 120, 7215, 3855}, "", true, true},
    {OKButton, "OKButton", ControlKind::kPushButton, kWin, -1, {4800, 4080, 1215, 375}, "OK", true, true},
    {CancelButton,
     "CancelButton",
     ControlKind::kPushButton,
     kWin,
     -1,
     {6120, 4080, 1215, 375},
     "Cancel",
     true,
     true},
    {Label1, "Label1", ControlKind::kLabel, kTab, 0, {240, 720, 495, 255}, "Name", true, true},
    {txtPropriete, "txtPropriete", ControlKind::kTextBox, kTab, 0, {1080, 720, 3375, 285}, "", true, true},
    {chkPrive, "chkPrive", ControlKind::kCheckBox, kTab, 0, {240, 1080, 1575, 255}, "Private", true, true},
    {chkFriend, "chkFriend", ControlKind::kCheckBox, kTab, 0, {240, 1320, 975, 255}, "Friend", true, true},
    {chkSet,
     "chkSet",
     ControlKind::kCheckBox,
     kTab,
     0,
     {240, 1560, 1815, 255},
     "Set instead of Let",
     true,
     true},
    {chkFonction,
     "chkFonction",
     ControlKind::kCheckBox,
     kTab,
     0,
     {240, 1800, 1695, 255},
     "Function",
     true,
     true},
    {chkProcedure,
     "chkProcedure",
     ControlKind::kCheckBox,
     kTab,
     0,
     {240, 2040, 1935, 255},
     "Sub",
     true,
     true},
    {chkPropertyChanged,
     "chkPropertyChanged",
     ControlKind::kCheckBox,
     kTab,
     0,
     {240, 2280, 2295, 255},
     "Add PropertyChanged",
     true,
     true},
    {chkLectureSeule,
     "chkLectureSeule",
     ControlKind::kCheckBox,
     kTab,
     0,
     {240, 2520, 1935, 255},
     "Read only property",
     true,
     true},
    {chkStatique,
     "chkStatique",
     ControlKind::kCheckBox,
     kTab,
     0,
     {240, 2760, 2295, 255},
     "All local variable static",
     true,
     true},
    {chkResumeNext,
     "chkResumeNext",
     ControlKind::kCheckBox,
     kTab,
     0,
     {240, 3000, 2295, 255},
     "Resume Next",
     true,
     true},
    {chkHide, "chkHide", ControlKind::kCheckBox, kTab, 0, {240, 3240, 1215, 255}, "Hide", true, true},
    {chkComment,
     "chkComment",
     ControlKind::kCheckBox,
     kTab,
     0,
     {240, 3480, 1575, 255},
     "Comments only",
     true,
     true},
    {Frame1, "Frame1", ControlKind::kFrame, kTab, 0, {2640, 1200, 4335, 2535}, "Variable", true, true},
    {Label4, "Label4", ControlKind::kLabel, kFr, 0, {120, 360, 495, 255}, "Name", true, true},
    {txtVariable, "txtVariable", ControlKind::kTextBox, kFr, 0, {120, 600, 4095, 285}, "", true, true},
    {Label5, "Label5", ControlKind::kLabel, kFr, 0, {120, 960, 735, 255}, "Type", true, true},
    {cmbType, "cmbType", ControlKind::kComboBox, kFr, 0, {120, 1200, 2895, 315}, "String", true, true},
    {Label8,
     "Label8",
     ControlKind::kLabel,
     kFr,
     0,
     {120, 1920, 1815, 255},
     "Function return type",
     false,
     true},
    {cmbFuncReturn,
     "cmbFuncReturn",
     ControlKind::kComboBox,
     kFr,
     0,
     {120, 2160, 2895, 315},
     "String",
     false,
     true},
    {Label2, "Label2", ControlKind::kLabel, kTab, 1, {240, 1200, 615, 255}, "Use", true, true},
    {txtUsage,
     "txtUsage",
     ControlKind::kMultiLineTextBox,
     kTab,
     1,
     {960, 1200, 5895, 285},
     "Description of its utility\r\n",
     true,
     true},
    {Label3, "Label3", ControlKind::kLabel, kTab, 1, {240, 2880, 735, 255}, "Aide ID", false, false},
    {txtAideID, "txtAideID", ControlKind::kTextBox, kTab, 1, {1200, 2880, 1455, 285}, "", false, false},
    {Label6,
     "Label6",
     ControlKind::kLabel,
     kTab,
     2,
     {360, 720, 2295, 255},
     "Name of the programmer to use",
     true,
     true},
    {txtNomUtilisateur,
     "txtNomUtilisateur",
     ControlKind::kTextBox,
     kTab,
     2,
     {360, 1080, 4455, 285},
     "My name",
     true,
     true},
    {cmdChanger, "cmdChanger", ControlKind::kPushButton, kTab, 2, {4680, 2880, 1215, 375}, "OK", true, true},
    {Label7,
     "Label7",
     ControlKind::kLabel,
     kTab,
     3,
     {120, 360, 6975, 1935},
     "This Addin basically add Let-Get properties to an active module code. It may add automatically the "
     "PropertyBag variable in COM you build.  You can rather add a Function or a Procedure and easilly guess "
     "its "
     "other features. The basic comments are added to your work and one of two error trapping techniques.\r\r"
     "Good programmation.",
     true,
     true},
};

class InitialControl : public ::testing::TestWithParam<Expected> {};

TEST_P(InitialControl, IsAsDesigned) {
  const Expected& e = GetParam();
  test::DialogHarness dialog;
  dialog.Shown();
  const dialog::ControlDesign& design = dialog::Design(e.id);
  EXPECT_EQ(dialog::Name(e.id), e.name);
  EXPECT_EQ(design.kind, e.kind);
  EXPECT_EQ(design.container.kind, e.container);
  EXPECT_EQ(design.container.page, e.page);
  EXPECT_EQ(design.place, e.place);
  EXPECT_EQ(test::Visible(dialog.form.Text(e.id)), test::Visible(e.caption));
  EXPECT_EQ(dialog.form.Enabled(e.id), e.enabled);
  EXPECT_EQ(dialog.form.State(e.id).visible, e.visible);
  EXPECT_EQ(dialog.form.Value(e.id), 0);
  EXPECT_EQ(dialog.form.CanUse(e.id), e.enabled);
  EXPECT_EQ(dialog.form.IsShowing(e.id), e.visible && e.page <= 0);
}

INSTANTIATE_TEST_SUITE_P(Dialog, InitialControl, ::testing::ValuesIn(kControls),
                         [](const auto& info) { return std::string{info.param.name}; });

TEST(InitialDialog, HasEveryControlOnce) {
  std::set<ControlId> listed;
  for (const Expected& e : kControls) listed.insert(e.id);
  EXPECT_EQ(listed.size(), std::size(kControls));
  EXPECT_EQ(dialog::Designs().size(), std::size(kControls));
}

TEST(InitialDialog, WindowPagesAndLists) {
  test::DialogHarness dialog;
  EXPECT_FALSE(dialog.form.Loaded());
  dialog.Shown();
  EXPECT_TRUE(dialog.form.Loaded());
  EXPECT_TRUE(dialog.form.Visible());
  EXPECT_TRUE(dialog.view->onScreen());
  EXPECT_EQ(dialog::kFormCaption, "Penwright");
  EXPECT_EQ(dialog::kClientWidth, 7410);
  EXPECT_EQ(dialog::kClientHeight, 4500);
  EXPECT_FALSE(dialog::kResizable || dialog::kMinButton || dialog::kMaxButton || dialog::kShowInTaskbar);
  const std::vector<std::string_view> pages(dialog::kPageCaptions.begin(), dialog::kPageCaptions.end());
  EXPECT_EQ(pages, (std::vector<std::string_view>{"Propriety", "Description", "User", "About"}));
  EXPECT_EQ(dialog.form.SelectedPage(), 0);
  EXPECT_EQ(dialog.form.ActiveControl(), OKButton);

  const std::vector<std::string_view> types{"Boolean", "Byte",   "Currency", "Date",   "Double", "Integer",
                                            "Long",    "Object", "Single",   "String", "Variant"};
  for (const ControlId combo : {cmbType, cmbFuncReturn}) {
    const auto list = dialog.form.List(combo);
    EXPECT_EQ(std::vector<std::string_view>(list.begin(), list.end()), types) << dialog::Name(combo);
  }
  EXPECT_TRUE(dialog.form.List(txtPropriete).empty());
}

// The About text is there from creation, before the dialog is loaded, and survives an unload.
TEST(InitialDialog, AboutTextIsSetAtCreation) {
  const std::string_view about = std::rbegin(kControls)->caption;
  test::DialogHarness dialog;
  EXPECT_FALSE(dialog.form.Loaded());
  EXPECT_EQ(test::Visible(dialog.form.Text(Label7)), test::Visible(about));
  dialog.Shown();
  dialog.form.Unload();
  dialog.Shown();
  EXPECT_EQ(test::Visible(dialog.form.Text(Label7)), test::Visible(about));
}

}  // namespace
