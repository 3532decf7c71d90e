// tests/generator/headers_and_traps_test.cpp: every routine shape of a module given its header and
// trap by a team's set, and by the built-in set where its text meets the shape otherwise; what each
// routine was left for, adding twice, and taking it all out again to the original bytes.
#include <gtest/gtest.h>

#include "generator/headers_and_traps.h"
#include "testing/ide/memory_code_module.h"
#include "tests/support/golden.h"

namespace {

generator::TemplateSet SetNamed(std::string_view set) {
  if (set == "built_in") return generator::BuiltInTemplates();
  std::vector<generator::TemplateFile> files;
  for (const std::string_view name : generator::kTemplateFiles) {
    const std::string path = "templates/sets/" + std::string{set} + "/" + std::string{name};
    files.push_back({name, path, test::Golden(path)});
  }
  return generator::ParseTemplateSet(files);
}

std::string Report(const generator::DressingPlan& plan) {
  std::string report;
  const auto part = [](bool changed, const std::optional<generator::LeftBecause>& left) {
    if (changed) return std::string{"added"};
    return left ? "left: " + std::string{generator::ReasonText(*left)} : std::string{"-"};
  };
  for (const generator::RoutineDressing& routine : plan.routines) {
    report += routine.name + " (line " + std::to_string(routine.line) + "): header " +
              part(routine.headerChanged, routine.headerLeft) + "; trap " +
              part(routine.trapChanged, routine.trapLeft) + "\n";
  }
  return report;
}

struct SetCase {
  const char* set;
  std::vector<std::string> only;  // the routines dressed; empty: all of them
};

// The team's set on every shape; the built-in one's longer text on the shapes where it meets what the
// team's does not: its trap opens with comment lines, which meet a header above or below the
// declaration, and its labels take the routine's name.
const SetCase kSets[] = {{"built_in", {"Continued", "WithLocals", "HeaderAbove", "HeaderBelow", "Looping"}},
                         {"raise", {}}};

class HeadersAndTraps : public testing::TestWithParam<SetCase> {};

TEST_P(HeadersAndTraps, AddOnceRemoveToTheOriginalBytes) {
  const generator::TemplateSet set = SetNamed(GetParam().set);
  const std::string original = test::Golden("headers_and_traps/Shapes.bas");
  host::MemoryCodeModule module{original};
  generator::DressingOptions options;
  options.only = GetParam().only;
  options.usage = "Description of its utility";
  options.programmer = "My name";
  options.date = "Sunday 06 December 2026";
  options.module = "Shapes";

  const generator::DressingPlan plan = generator::PlanDressing(generator::CodeLinesOf(module), set, options);
  generator::ApplyDressing(module, plan);
  const std::string name = std::string{"headers_and_traps/"} + GetParam().set;
  EXPECT_TRUE(test::MatchesGolden(name + ".bas", module.Text()));
  EXPECT_TRUE(test::MatchesGolden(name + "-report.txt", Report(plan)));

  const generator::DressingPlan again = generator::PlanDressing(generator::CodeLinesOf(module), set, options);
  EXPECT_TRUE(again.edits.empty()) << Report(again);

  options.remove = true;
  options.usage = options.programmer = options.date = options.module = "";
  const generator::DressingPlan removal =
      generator::PlanDressing(generator::CodeLinesOf(module), set, options);
  generator::ApplyDressing(module, removal);
  EXPECT_EQ(module.Text(), original);
}

INSTANTIATE_TEST_SUITE_P(Generator, HeadersAndTraps, testing::ValuesIn(kSets),
                         [](const auto& info) { return std::string{info.param.set}; });

// Headers alone, then traps alone, then each taken out alone, in the other order.
TEST(HeadersAndTrapsApart, EachComesAndGoesOnItsOwn) {
  const std::string original = test::Golden("headers_and_traps/Shapes.bas");
  host::MemoryCodeModule module{original};
  const generator::TemplateSet& set = generator::BuiltInTemplates();
  for (const auto& [headers, remove] :
       {std::pair{true, false}, std::pair{false, false}, std::pair{true, true}, std::pair{false, true}}) {
    generator::DressingOptions options;
    options.headers = headers;
    options.traps = !headers;
    options.remove = remove;
    generator::ApplyDressing(module, generator::PlanDressing(generator::CodeLinesOf(module), set, options));
  }
  EXPECT_EQ(module.Text(), original);
}

}  // namespace
