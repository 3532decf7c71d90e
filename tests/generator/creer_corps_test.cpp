// tests/generator/creer_corps_test.cpp: routine bodies in both error-trapping styles, for every kind.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/generator/generator_fixture.h"
#include "tests/support/golden.h"

namespace {

using generator::pkFunction;
using generator::pkPropertyGet;
using generator::pkPropertyLet;
using generator::pkPropertySet;
using generator::pkSub;
using generator::ProcedureKind;
using generator::Request;

// The options a case sets on an empty request.
struct Options {
  bool variable = false;  // NewTitle
  bool resumeNext = false;
  bool changed = false;
  bool comment = false;  // comments-only mode, which leaves out the End line
  bool object = false;   // Property Set, assigned with Set
  bool hidden = false;
};

struct BodyCase {
  const char* name;
  ProcedureKind kind;
  Options options;
  std::string_view routine = "Title";   // labels, message box title, PropertyChanged name
  std::string_view declared = routine;  // the name a Property Get assigns
  const char* golden = name;            // under tests/golden/generator/creer_corps, CR-separated
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const BodyCase& c, std::ostream* os) {
  *os << c.name;
}

constexpr Options kVariable{.variable = true, .resumeNext = true};
constexpr Options kVariableChanged{.variable = true, .resumeNext = true, .changed = true};

const BodyCase kBodies[] = {
    {"sub_labelled_trap", pkSub, {}, "Refresh"},
    {"empty_name_labels", pkSub, {}, ""},
    {"unknown_kind_has_no_word", static_cast<ProcedureKind>(9), {}, "X"},
    // The property statement of each kind stands between the trap and the closing banner.
    {"let", pkPropertyLet, kVariable},
    {"let_changed", pkPropertyLet, kVariableChanged},
    {"let_without_variable", pkPropertyLet, {.resumeNext = true}},
    {"set", pkPropertySet, kVariable},
    {"set_changed", pkPropertySet, kVariableChanged},
    {"get", pkPropertyGet, kVariable},
    {"get_changed_reads_the_variable", pkPropertyGet, kVariableChanged, "Title", "Title", "get"},
    {"get_without_variable", pkPropertyGet, {.resumeNext = true}},
    {"get_of_object", pkPropertyGet, {.variable = true, .resumeNext = true, .object = true}},
    {"hidden_get_assigns_declared_name",
     pkPropertyGet,
     {.variable = true, .resumeNext = true, .hidden = true},
     "Title",
     "Title_Hide"},
    {"function_has_none", pkFunction, kVariableChanged},
    {"sub_has_none", pkSub, kVariableChanged},
    // Comments-only mode: no End line. The Get assigns the property from m_ + variable.
    {"get_comments_only_changed", pkPropertyGet, {.variable = true, .changed = true, .comment = true}},
    {"comments_only_without_variable_let",
     pkPropertyLet,
     {.resumeNext = true, .changed = true, .comment = true},
     "Title",
     "Title",
     "comments_only_without_variable"},
    {"comments_only_without_variable_get",
     pkPropertyGet,
     {.resumeNext = true, .comment = true},
     "Title",
     "Title",
     "comments_only_without_variable"},
    {"comments_only_with_variable", pkPropertySet, {.variable = true, .resumeNext = true, .comment = true}},
};

class CreerCorps : public ::testing::TestWithParam<BodyCase> {};

TEST_P(CreerCorps, WritesTheBody) {
  const BodyCase& c = GetParam();
  test::TestPlatform platform;
  Request request;
  request.sNomVariable = c.options.variable ? "NewTitle" : "";
  request.bResumeNext = c.options.resumeNext;
  request.bProp_Changed = c.options.changed;
  request.bComment = c.options.comment;
  request.bProp_Set = c.options.object;
  request.bCacher = c.options.hidden;
  const std::string body = generator::CreerCorps(request, c.kind, {c.routine, c.declared}, platform.ui);
  EXPECT_TRUE(test::MatchesGolden(std::string{"generator/creer_corps/"} + c.golden + ".txt", body));
  EXPECT_TRUE(platform.ui.messages().empty());
}

INSTANTIATE_TEST_SUITE_P(Generator, CreerCorps, ::testing::ValuesIn(kBodies),
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
