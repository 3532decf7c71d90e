// tests/generator/creer_corps_test.cpp: routine bodies in both error-trapping styles, for every kind.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "tests/generator/generator_fixture.h"
#include "tests/support/visible.h"

namespace {

using generator::ProcedureKind;
using generator::Request;

struct BodyCase {
  const char* name;
  ProcedureKind kind;
  std::function<void(Request&)> options;
  std::string_view routine;   // labels, message box title, PropertyChanged name
  std::string_view declared;  // the name a Property Get assigns
  std::string_view expected;  // LF stands for CR
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const BodyCase& c, std::ostream* os) {
  *os << c.name;
}

void Changed(Request& r) {
  r.bProp_Changed = true;
}
void ResumeNext(Request& r) {
  r.bResumeNext = true;
}

constexpr std::string_view kSubRefresh =
    "'-----------------------------------\n"
    "'Local variables definition \n"
    "\n"
    "\n"
    "\n"
    "\n"
    "'-----------------------------------\n"
    "' Start \n"
    "On Error Goto ErrorRefresh\n"
    "\n"
    "\n"
    "\n"
    "'-----------------------------------\n"
    "'- End and exit\n"
    "RefreshNext:\n"
    "Exit Sub\n"
    "\n"
    "\n"
    "'-----------------------------------\n"
    "'Error local traitment\n"
    "ErrorRefresh:\n"
    "Msgbox Err.Description, , \"Refresh\"\n"
    "       '-Resume\n"
    "Resume RefreshNext\n"
    "'-----------------------------------\n"
    "'End\n"
    "End Sub";

constexpr std::string_view kResumeNextTop =
    "'-----------------------------------\n"
    "'Local variables definition \n"
    "\n"
    "\n"
    "\n"
    "\n"
    "'-----------------------------------\n"
    "' Start \n"
    "On Error Resume Next\n"
    "\n"
    "\n"
    "\n";

std::string ResumeNextBody(std::string_view statements, std::string_view end) {
  return std::string{kResumeNextTop} + std::string{statements} +
         "'-----------------------------------\n'End" + std::string{end};
}

const BodyCase kBodies[] = {
    {"sub_labelled_trap", generator::pkSub, [](Request&) {}, "Refresh", "Refresh", kSubRefresh},
    {"let_resume_next_changed", generator::pkPropertyLet,
     [](Request& r) {
       r.sNomVariable = "NewTitle";
       r.bResumeNext = true;
       r.bProp_Changed = true;
     },
     "Title", "Title",
     "'-----------------------------------\n"
     "'Local variables definition \n"
     "\n"
     "\n"
     "\n"
     "\n"
     "'-----------------------------------\n"
     "' Start \n"
     "On Error Resume Next\n"
     "\n"
     "\n"
     "\n"
     "m_NewTitle = NewTitle\n"
     "PropertyChanged \"Title\"\n"
     "'-----------------------------------\n"
     "'End\n"
     "End Property"},
    // Comments-only mode: no End line. The Get assigns the property from m_ + variable.
    {"get_comments_only_changed", generator::pkPropertyGet,
     [](Request& r) {
       r.sNomVariable = "NewTitle";
       r.bProp_Changed = true;
       r.bComment = true;
     },
     "Title", "Title",
     "'-----------------------------------\n"
     "'Local variables definition \n"
     "\n"
     "\n"
     "\n"
     "\n"
     "'-----------------------------------\n"
     "' Start \n"
     "On Error Goto ErrorTitle\n"
     "\n"
     "\n"
     "\n"
     "Title = m_NewTitle\n"
     "'-----------------------------------\n"
     "'- End and exit\n"
     "TitleNext:\n"
     "Exit Property\n"
     "\n"
     "\n"
     "'-----------------------------------\n"
     "'Error local traitment\n"
     "ErrorTitle:\n"
     "Msgbox Err.Description, , \"Title\"\n"
     "       '-Resume\n"
     "Resume TitleNext\n"
     "'-----------------------------------\n"
     "'End"},
    {"empty_name_labels", generator::pkSub, [](Request&) {}, "", "",
     "'-----------------------------------\n"
     "'Local variables definition \n"
     "\n"
     "\n"
     "\n"
     "\n"
     "'-----------------------------------\n"
     "' Start \n"
     "On Error Goto Error\n"
     "\n"
     "\n"
     "\n"
     "'-----------------------------------\n"
     "'- End and exit\n"
     "Next:\n"
     "Exit Sub\n"
     "\n"
     "\n"
     "'-----------------------------------\n"
     "'Error local traitment\n"
     "Error:\n"
     "Msgbox Err.Description, , \"\"\n"
     "       '-Resume\n"
     "Resume Next\n"
     "'-----------------------------------\n"
     "'End\n"
     "End Sub"},
    {"unknown_kind_has_no_word", static_cast<ProcedureKind>(9), [](Request&) {}, "X", "X",
     "'-----------------------------------\n"
     "'Local variables definition \n"
     "\n"
     "\n"
     "\n"
     "\n"
     "'-----------------------------------\n"
     "' Start \n"
     "On Error Goto ErrorX\n"
     "\n"
     "\n"
     "\n"
     "'-----------------------------------\n"
     "'- End and exit\n"
     "XNext:\n"
     "Exit \n"
     "\n"
     "\n"
     "'-----------------------------------\n"
     "'Error local traitment\n"
     "ErrorX:\n"
     "Msgbox Err.Description, , \"X\"\n"
     "       '-Resume\n"
     "Resume XNext\n"
     "'-----------------------------------\n"
     "'End\n"
     "End "},
    {"let_without_variable", generator::pkPropertyLet, ResumeNext, "Title", "Title",
     "'-----------------------------------\n'Local variables definition \n\n\n\n\n"
     "'-----------------------------------\n' Start \nOn Error Resume Next\n\n\n\n"
     "m_ = \n'-----------------------------------\n'End\nEnd Property"},
    {"get_without_variable", generator::pkPropertyGet, ResumeNext, "Title", "Title",
     "'-----------------------------------\n'Local variables definition \n\n\n\n\n"
     "'-----------------------------------\n' Start \nOn Error Resume Next\n\n\n\n"
     "Title = m_\n'-----------------------------------\n'End\nEnd Property"},
};

class CreerCorps : public ::testing::TestWithParam<BodyCase> {};

TEST_P(CreerCorps, WritesTheBody) {
  test::TestPlatform platform;
  generator::Request request;
  GetParam().options(request);
  const std::string body =
      generator::CreerCorps(request, GetParam().kind, {GetParam().routine, GetParam().declared}, platform.ui);
  EXPECT_EQ(test::Visible(body), test::Visible(test::Cr(GetParam().expected)));
  EXPECT_TRUE(platform.ui.messages().empty());
}

INSTANTIATE_TEST_SUITE_P(Generator, CreerCorps, ::testing::ValuesIn(kBodies),
                         [](const auto& info) { return std::string{info.param.name}; });

// The property statement of each kind, between the trap and the closing banner (Resume Next style).
struct StatementCase {
  const char* name;
  ProcedureKind kind;
  std::function<void(Request&)> options;
  std::string_view declared;
  std::string_view statements;  // LF stands for CR
  bool comment = false;         // comments-only mode, which leaves out the End line
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const StatementCase& c, std::ostream* os) {
  *os << c.name;
}

void Variable(Request& r) {
  r.sNomVariable = "NewTitle";
  r.bResumeNext = true;
}

const StatementCase kStatements[] = {
    {"let", generator::pkPropertyLet, Variable, "Title", "m_NewTitle = NewTitle\n"},
    {"let_changed", generator::pkPropertyLet,
     [](Request& r) {
       Variable(r);
       Changed(r);
     },
     "Title", "m_NewTitle = NewTitle\nPropertyChanged \"Title\"\n"},
    // An object is assigned with Set.
    {"set", generator::pkPropertySet, Variable, "Title", "Set m_NewTitle = NewTitle\n"},
    {"set_changed", generator::pkPropertySet,
     [](Request& r) {
       Variable(r);
       Changed(r);
     },
     "Title", "Set m_NewTitle = NewTitle\nPropertyChanged \"Title\"\n"},
    {"get", generator::pkPropertyGet, Variable, "Title", "Title = m_NewTitle\n"},
    {"get_changed_reads_the_variable", generator::pkPropertyGet,
     [](Request& r) {
       Variable(r);
       Changed(r);
     },
     "Title", "Title = m_NewTitle\n"},
    {"get_of_object", generator::pkPropertyGet,
     [](Request& r) {
       Variable(r);
       r.bProp_Set = true;
     },
     "Title", "Set Title = m_NewTitle\n"},
    {"hidden_get_assigns_declared_name", generator::pkPropertyGet,
     [](Request& r) {
       Variable(r);
       r.bCacher = true;
     },
     "Title_Hide", "Title_Hide = m_NewTitle\n"},
    {"function_has_none", generator::pkFunction,
     [](Request& r) {
       Variable(r);
       Changed(r);
     },
     "Title", ""},
    {"sub_has_none", generator::pkSub,
     [](Request& r) {
       Variable(r);
       Changed(r);
     },
     "Title", ""},
    {"comments_only_without_variable_let", generator::pkPropertyLet,
     [](Request& r) {
       r.bResumeNext = true;
       Changed(r);
     },
     "Title", "", true},
    {"comments_only_without_variable_get", generator::pkPropertyGet, [](Request& r) { r.bResumeNext = true; },
     "Title", "", true},
    {"comments_only_with_variable", generator::pkPropertySet, [](Request& r) { Variable(r); }, "Title",
     "Set m_NewTitle = NewTitle\n", true},
};

class PropertyStatement : public ::testing::TestWithParam<StatementCase> {};

TEST_P(PropertyStatement, WritesTheAssignment) {
  test::TestPlatform platform;
  generator::Request request;
  GetParam().options(request);
  request.bComment = GetParam().comment;
  const std::string body =
      generator::CreerCorps(request, GetParam().kind, {"Title", GetParam().declared}, platform.ui);
  const std::string_view word = GetParam().kind == generator::pkSub        ? "Sub"
                                : GetParam().kind == generator::pkFunction ? "Function"
                                                                           : "Property";
  const std::string end = GetParam().comment ? std::string{} : "\nEnd " + std::string{word};
  const std::string expected = ResumeNextBody(GetParam().statements, end);
  EXPECT_EQ(test::Visible(body), test::Visible(test::Cr(expected)));
}

INSTANTIATE_TEST_SUITE_P(Generator, PropertyStatement, ::testing::ValuesIn(kStatements),
                         [](const auto& info) { return std::string{info.param.name}; });

// Line counts of every combination of kind, trap style, PropertyChanged and comments-only mode.
struct CountCase {
  ProcedureKind kind;
  bool resumeNext;
  bool changed;
  int lines;  // without comments-only mode; that mode removes the End line
};

const CountCase kCounts[] = {
    {generator::pkPropertyLet, true, true, 17},   {generator::pkPropertySet, true, true, 17},
    {generator::pkPropertyLet, true, false, 16},  {generator::pkPropertySet, true, false, 16},
    {generator::pkPropertyGet, true, false, 16},  {generator::pkPropertyGet, true, true, 16},
    {generator::pkFunction, true, true, 15},      {generator::pkSub, true, false, 15},
    {generator::pkFunction, false, false, 27},    {generator::pkSub, false, true, 27},
    {generator::pkPropertyGet, false, false, 28}, {generator::pkPropertyGet, false, true, 28},
    {generator::pkPropertyLet, false, false, 28}, {generator::pkPropertySet, false, false, 28},
    {generator::pkPropertyLet, false, true, 29},  {generator::pkPropertySet, false, true, 29},
};

TEST(CreerCorpsShape, LineCountsAndSeparators) {
  for (const CountCase& c : kCounts) {
    for (const bool comment : {false, true}) {
      SCOPED_TRACE(testing::Message() << "kind " << c.kind << " resumeNext " << c.resumeNext << " changed "
                                      << c.changed << " comment " << comment);
      test::TestPlatform platform;
      generator::Request request;
      request.sNomVariable = "V";
      request.bResumeNext = c.resumeNext;
      request.bProp_Changed = c.changed;
      request.bComment = comment;
      const std::string body = generator::CreerCorps(request, c.kind, {"N", "N"}, platform.ui);
      EXPECT_EQ(std::count(body.begin(), body.end(), '\r') + 1, c.lines - (comment ? 1 : 0));
      EXPECT_EQ(body.find('\n'), std::string::npos);
      EXPECT_NE(body.back(), '\r');
    }
  }
}

TEST(CreerCorpsShape, OtherOptionsLeaveTheBodyUnchanged) {
  test::TestPlatform platform;
  generator::Request plain;
  generator::Request busy;
  busy.bProp_Prive = true;
  busy.bProp_Friend = true;
  busy.bVariableLoc_Static = true;
  busy.sTypeVariable = "Long";
  busy.sFuncReturn = "Long";
  busy.sUsage = "text";
  busy.sNomutilisateur = "me";
  busy.sAideId = "42";
  busy.bLectureSeule = true;
  busy.bCreerFonction = true;
  EXPECT_EQ(generator::CreerCorps(busy, generator::pkSub, {"Refresh", "Refresh"}, platform.ui),
            generator::CreerCorps(plain, generator::pkSub, {"Refresh", "Refresh"}, platform.ui));
}

}  // namespace
