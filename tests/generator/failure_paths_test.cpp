// tests/generator/failure_paths_test.cpp: every host call of every path failing in turn, and the
// builders' own traps during a whole generation.
#include <gtest/gtest.h>

#include <functional>
#include <set>

#include "host/host_error.h"
#include "testing/ide/fault_plan.h"
#include "tests/generator/generator_fixture.h"
#include "tests/generator/recording_module.h"
#include "tests/support/visible.h"

namespace {

using generator::Request;

struct PathCase {
  const char* name;
  std::string_view module;  // LF for CR LF
  long caret;
  std::function<void(Request&)> options;
  std::size_t variableCallsFrom;  // index of the first call made by CreerVariable_Module; none: SIZE_MAX
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const PathCase& c, std::ostream* os) {
  *os << c.name;
}

constexpr auto* Title = &test::TitleProperty;

constexpr std::string_view kControl =
    "Option Explicit\n"
    "Sub UserControl_WriteProperties(PropBag As PropertyBag)\n"
    "End Sub\n"
    "Sub UserControl_ReadProperties(PropBag As PropertyBag)\n"
    "End Sub";

const PathCase kPaths[] = {
    {"sub", "Option Explicit", 1, [](Request& r) { r.bCreerProcedure = true; }, SIZE_MAX},
    {"function", "Option Explicit", 1, [](Request& r) { r.bCreerFonction = true; }, SIZE_MAX},
    {"read_only", "Option Explicit", 1,
     [](Request& r) {
       Title(r);
       r.bLectureSeule = true;
     },
     3},
    {"read_write", "Option Explicit", 1, Title, 4},
    {"read_write_changed_new_procedures", "Option Explicit", 1,
     [](Request& r) {
       Title(r);
       r.bProp_Changed = true;
     },
     4},
    {"read_write_changed_existing_procedures", kControl, 1,
     [](Request& r) {
       Title(r);
       r.bProp_Changed = true;
     },
     4},
    {"comments_only", kControl, 3, [](Request& r) { r.bComment = true; }, SIZE_MAX},
};

std::string Operation(const std::string& call) {
  return call.substr(0, call.find(' '));
}

bool Changes(const std::string& call) {
  const std::string operation = Operation(call);
  return operation == "AddFromString" || operation == "InsertLines";
}

class HostCallFailure : public ::testing::TestWithParam<PathCase> {};

// Each call that the generation makes is made to fail in turn, with error 35 and with another
// number: one box titled after the trap that caught it, nothing done after the failing call, and
// everything done before it still in the module.
TEST_P(HostCallFailure, EachCallFailingInTurn) {
  const PathCase& path = GetParam();
  std::vector<std::string> calls;
  std::vector<std::string> snapshots;
  {
    test::TestPlatform platform;
    generator::Request request;
    path.options(request);
    host::FaultPlan plan;
    test::RecordingModule module{test::CrLf(path.module), &plan};
    module.inner().pane().SetCaret(path.caret);
    generator::EcrireCode(request, module, platform.platform());
    ASSERT_TRUE(platform.ui.messages().empty());
    calls = plan.calls();
    snapshots = module.snapshots();
  }

  std::set<std::string> looked_up;
  for (std::size_t k = 0; k < calls.size(); ++k) {
    const std::string operation = Operation(calls[k]);
    const int nth =
        static_cast<int>(std::count_if(calls.begin(), calls.begin() + static_cast<std::ptrdiff_t>(k) + 1,
                                       [&](const std::string& c) { return Operation(c) == operation; }));
    // The first look-up of a persistence procedure takes error 35 to mean that it is missing.
    const bool lookup =
        k >= path.variableCallsFrom && operation == "ProcBodyLine" && looked_up.insert(calls[k]).second;
    const std::size_t changesBefore = static_cast<std::size_t>(
        std::count_if(calls.begin(), calls.begin() + static_cast<std::ptrdiff_t>(k), Changes));
    for (const long number : {35L, 91L, 5L}) {
      if (lookup && number == 35) continue;
      SCOPED_TRACE(testing::Message() << calls[k] << " (call " << k << ") fails with " << number);
      test::TestPlatform platform;
      generator::Request request;
      path.options(request);
      host::FaultPlan plan;
      test::RecordingModule module{test::CrLf(path.module), &plan};
      module.inner().pane().SetCaret(path.caret);
      const std::string description = "Injected failure " + std::to_string(number);
      plan.Fail(operation, nth, {number, description});
      generator::EcrireCode(request, module, platform.platform());

      const char* title = k >= path.variableCallsFrom ? "CreerVariable_Module" : "EcrireCode";
      EXPECT_EQ(platform.ui.messages(), (std::vector<host::ShownMessage>{{description, title}}));
      EXPECT_EQ(plan.calls(),
                std::vector<std::string>(calls.begin(), calls.begin() + static_cast<std::ptrdiff_t>(k) + 1));
      EXPECT_EQ(test::Visible(module.inner().Text()), test::Visible(snapshots[changesBefore]));
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Generator, HostCallFailure, ::testing::ValuesIn(kPaths),
                         [](const auto& info) { return std::string{info.param.name}; });

// A builder that fails shows its own box and hands back its fallback; the generation goes on.
TEST(BuilderFailure, BrokenClockGivesFailureHeadersAndTheRestIsWritten) {
  test::TestPlatform platform;
  platform.clock.FailWith(host::HostError{5, "No date today."});
  generator::Request request;
  Title(request);
  request.bResumeNext = true;
  test::RecordingModule module{"Option Explicit"};
  generator::EcrireCode(request, module, platform.platform());
  EXPECT_EQ(platform.ui.messages(), (std::vector<host::ShownMessage>{{"No date today.", "Description"},
                                                                     {"No date today.", "Description"}}));
  ASSERT_EQ(module.handed().size(), 3U);
  // The failure text has no CR of its own: no empty line before the body.
  EXPECT_EQ(test::Visible(module.handed()[0].text),
            test::Visible(
                test::Cr("Property Get Title( )AS String\n'-Erreur Description - \n"
                         "'-----------------------------------\n'Local variables definition \n\n\n\n\n"
                         "'-----------------------------------\n' Start \nOn Error Resume Next\n\n\n\n"
                         "Title = m_NewTitle\n'-----------------------------------\n'End\nEnd Property")));
  EXPECT_EQ(module.handed()[2].text, "Private m_NewTitle AS String");
}

TEST(BuilderFailure, NoCodePaneInCommentsMode) {
  test::TestPlatform platform;
  generator::Request request;
  request.bComment = true;
  host::FaultPlan plan;
  test::RecordingModule module{"Sub A()\r\nEnd Sub", &plan};
  plan.Fail("CodePane", 1, host::kErrObjectNotSet);
  generator::EcrireCode(request, module, platform.platform());
  EXPECT_EQ(
      platform.ui.messages(),
      (std::vector<host::ShownMessage>{{"Object variable or With block variable not set", "EcrireCode"}}));
  EXPECT_EQ(module.inner().Text(), "Sub A()\r\nEnd Sub");
}

}  // namespace
