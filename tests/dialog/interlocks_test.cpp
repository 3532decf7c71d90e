// tests/dialog/interlocks_test.cpp: the check boxes' reactions as sequences of clicks, every state the
// programmer can reach, and the reactions' traps.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "host/host_error.h"
#include "host/vb_errors.h"
#include "testing/ide/fault_plan.h"
#include "tests/dialog/dialog_fixture.h"

namespace {

using dialog::ControlId;
using enum dialog::ControlId;
using Ids = std::set<ControlId>;

// Disabled when the dialog opens.
const Ids kReturnType = {Label8, cmbFuncReturn};

Ids With(Ids ids, const Ids& more) {
  ids.insert(more.begin(), more.end());
  return ids;
}

struct Sequence {
  const char* name;
  std::vector<ControlId> before;  // clicked in this order on a newly shown dialog
  ControlId click;
  Ids checked;   // afterwards; every other box is unchecked
  Ids disabled;  // afterwards, among the boxes, Frame1, txtPropriete, Label1, Label8, cmbFuncReturn
};

void PrintTo(const Sequence& s, std::ostream* os) {
  *os << s.name;
}

// What "Comments only" disables besides the boxes.
const Ids kCommentsOnly = {Frame1, txtPropriete, Label1, Label8, cmbFuncReturn};
const Ids kNineBoxes = {chkFonction,  chkFriend,          chkHide,    chkLectureSeule, chkSet, chkPrive,
                        chkProcedure, chkPropertyChanged, chkStatique};

const Sequence kSequences[] = {
    // Each box alone.
    {"function", {}, chkFonction, {chkFonction}, {chkSet, chkPropertyChanged, chkLectureSeule, chkProcedure}},
    {"function_unchecked", {chkFonction}, chkFonction, {}, kReturnType},
    {"sub",
     {},
     chkProcedure,
     {chkProcedure},
     With({chkSet, chkPropertyChanged, chkFonction, chkLectureSeule}, kReturnType)},
    {"sub_unchecked", {chkProcedure}, chkProcedure, {}, kReturnType},
    {"read_only",
     {},
     chkLectureSeule,
     {chkLectureSeule},
     With({chkSet, chkPropertyChanged, chkFonction, chkProcedure}, kReturnType)},
    {"read_only_unchecked", {chkLectureSeule}, chkLectureSeule, {}, kReturnType},
    {"property_changed",
     {},
     chkPropertyChanged,
     {chkPropertyChanged},
     With({chkFonction, chkProcedure, chkLectureSeule}, kReturnType)},
    {"set", {}, chkSet, {chkSet}, With({chkFonction, chkProcedure, chkLectureSeule}, kReturnType)},
    {"private", {}, chkPrive, {chkPrive}, With({chkFriend}, kReturnType)},
    {"private_unchecked", {chkPrive}, chkPrive, {}, kReturnType},
    {"friend", {}, chkFriend, {chkFriend}, With({chkPrive}, kReturnType)},
    {"friend_unchecked", {chkFriend}, chkFriend, {}, kReturnType},
    {"hide", {}, chkHide, {chkHide}, kReturnType},
    {"static", {}, chkStatique, {chkStatique}, kReturnType},
    {"resume_next", {}, chkResumeNext, {chkResumeNext}, kReturnType},
    {"hide_static_resume_with_function",
     {chkFonction, chkHide, chkStatique},
     chkResumeNext,
     {chkFonction, chkHide, chkStatique, chkResumeNext},
     {chkSet, chkPropertyChanged, chkLectureSeule, chkProcedure}},
    // A disabled box takes no click.
    {"disabled_box_ignores_click",
     {chkFonction},
     chkSet,
     {chkFonction},
     {chkSet, chkPropertyChanged, chkLectureSeule, chkProcedure}},
    // "Set instead of Let" and "Add PropertyChanged" combine; unchecking either frees the routines.
    {"set_and_changed",
     {chkSet},
     chkPropertyChanged,
     {chkSet, chkPropertyChanged},
     With({chkFonction, chkProcedure, chkLectureSeule}, kReturnType)},
    {"set_and_changed_uncheck_set", {chkSet, chkPropertyChanged}, chkSet, {chkPropertyChanged}, kReturnType},
    {"set_and_changed_uncheck_changed",
     {chkSet, chkPropertyChanged},
     chkPropertyChanged,
     {chkSet},
     kReturnType},
    // Comments only, with each box checked beforehand.
    {"comment_alone", {}, chkComment, {chkComment}, With(kNineBoxes, kCommentsOnly)},
    {"comment_keeps_resume_next",
     {chkResumeNext},
     chkComment,
     {chkComment, chkResumeNext},
     With(kNineBoxes, kCommentsOnly)},
    {"comment_after_property_changed",
     {chkPropertyChanged},
     chkComment,
     {chkComment},
     With({chkFriend, chkHide, chkSet, chkPrive, chkPropertyChanged, chkStatique}, kCommentsOnly)},
    {"comment_after_sub",
     {chkProcedure},
     chkComment,
     {chkComment},
     With({chkFriend, chkHide, chkSet, chkPrive, chkProcedure, chkPropertyChanged, chkStatique},
          kCommentsOnly)},
    {"comment_after_set",
     {chkSet},
     chkComment,
     {chkComment},
     With({chkFriend, chkHide, chkSet, chkPrive, chkProcedure, chkPropertyChanged, chkStatique},
          kCommentsOnly)},
    {"comment_after_read_only",
     {chkLectureSeule},
     chkComment,
     {chkComment},
     With({chkFriend, chkHide, chkLectureSeule, chkSet, chkPrive, chkProcedure, chkPropertyChanged,
           chkStatique},
          kCommentsOnly)},
    {"comment_after_private",
     {chkPrive},
     chkComment,
     {chkComment},
     With({chkFonction, chkHide, chkLectureSeule, chkSet, chkPrive, chkProcedure, chkPropertyChanged,
           chkStatique},
          kCommentsOnly)},
    {"comment_after_function", {chkFonction}, chkComment, {chkComment}, With(kNineBoxes, kCommentsOnly)},
    {"comment_after_friend", {chkFriend}, chkComment, {chkComment}, With(kNineBoxes, kCommentsOnly)},
    {"comment_after_hide", {chkHide}, chkComment, {chkComment}, With(kNineBoxes, kCommentsOnly)},
    {"comment_after_static", {chkStatique}, chkComment, {chkComment}, With(kNineBoxes, kCommentsOnly)},
    {"comment_after_function_and_private",
     {chkFonction, chkPrive},
     chkComment,
     {chkComment},
     With({chkFonction, chkHide, chkLectureSeule, chkSet, chkPrive, chkProcedure, chkPropertyChanged,
           chkStatique},
          kCommentsOnly)},
    // Unchecking "Comments only" enables all nine boxes, whatever they were before.
    {"comment_unchecked", {chkComment}, chkComment, {}, kReturnType},
    {"comment_unchecked_after_property_changed",
     {chkPropertyChanged, chkComment},
     chkComment,
     {},
     kReturnType},
    {"comment_unchecked_after_function", {chkFonction, chkComment}, chkComment, {}, kReturnType},
    {"comment_unchecked_keeps_resume_next",
     {chkResumeNext, chkComment},
     chkComment,
     {chkResumeNext},
     kReturnType},
};

class Interlock : public ::testing::TestWithParam<Sequence> {};

TEST_P(Interlock, EndsInTheStatesGiven) {
  const Sequence& s = GetParam();
  test::DialogHarness dialog;
  dialog.Shown();
  for (const ControlId box : s.before) ASSERT_TRUE(dialog.view->Click(box)) << dialog::Name(box);
  dialog.view->Click(s.click);
  EXPECT_EQ(test::Names(test::Checked(dialog.form)), test::Names(s.checked));
  EXPECT_EQ(test::Names(test::Disabled(dialog.form)), test::Names(s.disabled));
  EXPECT_TRUE(dialog.platform.ui.messages().empty());
}

INSTANTIATE_TEST_SUITE_P(Dialog, Interlock, ::testing::ValuesIn(kSequences),
                         [](const auto& info) { return std::string{info.param.name}; });

// Every state reachable from a newly shown dialog by clicks on boxes the programmer can use: a
// disabled box is never checked, "Comments only" and "Resume Next" are never disabled, the variable
// frame with the name follows "Comments only", and the return type follows "Function".
TEST(InterlockStates, EveryReachableStateKeepsTheInvariants) {
  using Path = std::vector<ControlId>;
  const auto replay = [](test::DialogHarness& dialog, const Path& path) {
    dialog.Shown();
    for (const ControlId box : path) dialog.view->Click(box);
  };
  const auto key = [](const dialog::FrmAddIn& form) {
    return test::Names(test::Checked(form)) + test::Names(test::Disabled(form));
  };

  std::map<std::string, Path> seen;
  std::vector<Path> queue{Path{}};
  {
    test::DialogHarness dialog;
    replay(dialog, {});
    seen.emplace(key(dialog.form), Path{});
  }
  std::size_t transitions = 0;
  while (!queue.empty()) {
    const Path path = queue.back();
    queue.pop_back();
    for (const ControlId box : dialog::kCheckBoxes) {
      test::DialogHarness dialog;
      replay(dialog, path);
      if (!dialog.form.CanUse(box)) {
        EXPECT_FALSE(dialog.view->Click(box));
        continue;
      }
      ASSERT_TRUE(dialog.view->Click(box));
      ++transitions;
      const dialog::FrmAddIn& form = dialog.form;
      Path next = path;
      next.push_back(box);
      SCOPED_TRACE(::testing::PrintToString(next.size()) + " clicks, last " + std::string{dialog::Name(box)});
      for (const ControlId b : dialog::kCheckBoxes) {
        if (!form.Enabled(b)) {
          EXPECT_EQ(form.Value(b), 0) << dialog::Name(b) << " after " << key(form);
        }
      }
      EXPECT_TRUE(form.Enabled(chkComment));
      EXPECT_TRUE(form.Enabled(chkResumeNext));
      for (const ControlId c : {Frame1, txtPropriete, Label1}) {
        EXPECT_EQ(form.Enabled(c), form.Value(chkComment) == 0) << dialog::Name(c);
      }
      for (const ControlId c : {Label8, cmbFuncReturn}) {
        EXPECT_EQ(form.Enabled(c), form.Value(chkFonction) == 1) << dialog::Name(c);
      }
      EXPECT_TRUE(dialog.platform.ui.messages().empty());
      if (seen.emplace(key(form), next).second) queue.push_back(next);
    }
  }
  // From the opening state alone, each of the eleven boxes can be clicked.
  EXPECT_GE(transitions, dialog::kCheckBoxes.size());
  EXPECT_GT(seen.size(), dialog::kCheckBoxes.size());
}

// A value set by code runs the reaction exactly as a click does; the same value, or a change of the
// enabled state, runs nothing.
TEST(InterlockTriggers, OnlyAChangeOfValueRunsTheReaction) {
  test::DialogHarness dialog;
  dialog.Shown();
  dialog.view->ClearChanges();
  dialog.form.SetValue(chkFonction, 0);
  dialog.form.SetEnabled(chkFonction, true);
  EXPECT_TRUE(dialog.view->changes().empty());

  dialog.form.SetValue(chkFonction, 1);
  EXPECT_EQ(test::Names(test::Disabled(dialog.form)),
            test::Names({chkSet, chkPropertyChanged, chkLectureSeule, chkProcedure}));
  // The view hears the value first, then the reaction's changes, all before SetValue returns.
  ASSERT_FALSE(dialog.view->changes().empty());
  EXPECT_EQ(dialog.view->changes().front(), std::make_pair(chkFonction, dialog::Property::kValue));
  EXPECT_EQ(dialog.view->changes()[1], std::make_pair(Label8, dialog::Property::kEnabled));

  // Disabling a checked box by code leaves its value and runs nothing.
  dialog.form.SetEnabled(chkFonction, false);
  EXPECT_EQ(dialog.form.Value(chkFonction), 1);
  EXPECT_TRUE(dialog.form.Enabled(Label8));
  dialog.form.SetValue(chkFonction, 1);
  EXPECT_TRUE(dialog.form.Enabled(Label8));
}

TEST(InterlockTriggers, ClearingAnUncheckedBoxRunsNoReaction) {
  test::DialogHarness dialog;
  dialog.Shown();
  dialog.form.SetEnabled(Label8, true);  // would be disabled by chkFonction's unchecked reaction
  dialog.form.ObjetInvalide(chkFonction);
  EXPECT_FALSE(dialog.form.Enabled(chkFonction));
  EXPECT_TRUE(dialog.form.Enabled(Label8));
  dialog.form.ObjetValide(chkFonction);
  EXPECT_TRUE(dialog.form.Enabled(chkFonction));
  EXPECT_EQ(dialog.form.Value(chkFonction), 0);
}

// Unchecking "Comments only" leaves the return type as it finds it.
TEST(InterlockTriggers, CommentsOnlyLeavesTheReturnTypeAlone) {
  test::DialogHarness dialog;
  dialog.Shown();
  dialog.view->Click(chkComment);
  dialog.form.SetEnabled(Label8, true);
  dialog.view->Click(chkComment);
  EXPECT_TRUE(dialog.form.Enabled(Label8));
  EXPECT_FALSE(dialog.form.Enabled(cmbFuncReturn));
}

TEST(InterlockTriggers, ValuesOutsideTheBoxesRangeAreRefused) {
  test::DialogHarness dialog;
  dialog.Shown();
  EXPECT_THROW(dialog.form.SetValue(chkFonction, 3), host::HostError);
  EXPECT_THROW(dialog.form.SetValue(txtPropriete, 1), host::HostError);
  // Grayed is a value, and the reactions take it for unchecked.
  dialog.form.SetValue(chkFonction, 2);
  EXPECT_FALSE(dialog.form.Enabled(Label8));
  EXPECT_TRUE(dialog.form.Enabled(chkSet));
}

// "Comments only" clears each box in its order, "Set instead of Let" twice, then disables the rest.
TEST(InterlockOrder, CommentsOnlyStepsRunInOrder) {
  test::DialogHarness dialog;
  dialog.Shown();
  dialog.view->Click(chkProcedure);
  host::FaultPlan plan;
  dialog.view->AttachFaults(&plan);
  dialog.view->Click(chkComment);
  const std::vector<std::string> expected = {
      "chkComment.Value 1", "chkFonction.Enabled False", "chkFonction.Value 0", "chkFriend.Enabled False",
      "chkFriend.Value 0", "chkHide.Enabled False", "chkHide.Value 0", "chkLectureSeule.Enabled False",
      "chkLectureSeule.Value 0", "chkSet.Enabled False", "chkSet.Value 0", "chkPrive.Enabled False",
      "chkPrive.Value 0", "chkProcedure.Enabled False", "chkProcedure.Value 0",
      // chkProcedure's own reaction, inside the clearing
      "chkSet.Enabled True", "chkPropertyChanged.Enabled True", "chkFonction.Enabled True",
      "chkLectureSeule.Enabled True", "chkPropertyChanged.Enabled False", "chkPropertyChanged.Value 0",
      "chkSet.Enabled False", "chkSet.Value 0", "chkStatique.Enabled False", "chkStatique.Value 0",
      "Frame1.Enabled False", "txtPropriete.Enabled False", "Label1.Enabled False"};
  EXPECT_EQ(plan.calls(), expected);
}

struct Trap {
  const char* name;
  std::vector<ControlId> before;
  const char* failing;  // the change that fails, the first time it is made after the clicks before
  ControlId click;
  std::vector<host::ShownMessage> messages;
  Ids checked;
  Ids disabled;
};

void PrintTo(const Trap& t, std::ostream* os) {
  *os << t.name;
}

const Trap kTraps[] = {
    // The reaction's own step fails: the reaction ends there.
    {"comment_reaction_ends_at_frame",
     {},
     "Frame1.Enabled",
     chkComment,
     {{"Refused", "chkComment_Click"}},
     {chkComment},
     With(kNineBoxes, kReturnType)},
    {"function_reaction_ends_at_return_type",
     {},
     "Label8.Enabled",
     chkFonction,
     {{"Refused", "chkFonction_Click"}},
     {chkFonction},
     kReturnType},
    // A failure inside ObjetInvalide is reported under its name, and the reaction goes on.
    {"clearing_fails_to_disable",
     {},
     "chkSet.Enabled",
     chkFonction,
     {{"Refused", "ObjetInvalide"}},
     {chkFonction},
     {chkPropertyChanged, chkLectureSeule, chkProcedure}},
    // Disabled but not cleared: the box is given back, so that no disabled box stays checked.
    {"clearing_fails_to_uncheck",
     {chkFonction},
     "chkFonction.Value",
     chkComment,
     {{"Refused", "ObjetInvalide"}},
     {chkFonction, chkComment},
     With({chkFriend, chkHide, chkLectureSeule, chkSet, chkPrive, chkProcedure, chkPropertyChanged,
           chkStatique},
          {Frame1, txtPropriete, Label1})},
    {"enabling_fails",
     {chkFonction},
     "chkSet.Enabled",
     chkFonction,
     {{"Refused", "ObjetValide"}},
     {},
     With({chkSet}, kReturnType)},
    // The cleared box's reaction fails in the middle of the calling reaction: each reports its own.
    {"nested_reaction_fails",
     {chkFonction},
     "Label8.Enabled",
     chkComment,
     {{"Refused", "chkFonction_Click"}},
     {chkComment},
     With(kNineBoxes, {Frame1, txtPropriete, Label1})},
};

class InterlockTrap : public ::testing::TestWithParam<Trap> {};

TEST_P(InterlockTrap, ReportsUnderItsTitleAndEnds) {
  const Trap& t = GetParam();
  test::DialogHarness dialog;
  dialog.Shown();
  for (const ControlId box : t.before) dialog.view->Click(box);
  host::FaultPlan plan;
  plan.Fail(t.failing, 1, {host::kErrInvalidCall, "Refused"});
  dialog.view->AttachFaults(&plan);
  dialog.view->Click(t.click);
  EXPECT_EQ(dialog.platform.ui.messages(), t.messages);
  EXPECT_EQ(test::Names(test::Checked(dialog.form)), test::Names(t.checked));
  EXPECT_EQ(test::Names(test::Disabled(dialog.form)), test::Names(t.disabled));
}

INSTANTIATE_TEST_SUITE_P(Dialog, InterlockTrap, ::testing::ValuesIn(kTraps),
                         [](const auto& info) { return std::string{info.param.name}; });

}  // namespace
