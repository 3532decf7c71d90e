// tests/generator/vb_rules_test.cpp: names VB refuses and names the module already uses, in the
// built-in IDE; new code kept out of an #If block around the first routine; the bag's own name.
#include <gtest/gtest.h>

#include "generator/request_rules.h"
#include "testing/ide/memory_code_module.h"
#include "tests/generator/generator_fixture.h"
#include "tests/generator/vb_rules.h"

namespace {

std::string Label(const testing::TestParamInfo<test::RuleCase>& info) {
  return info.param.label;
}

class NameRule : public testing::TestWithParam<test::RuleCase> {};

TEST_P(NameRule, RefusesWhatVbRefusesNamingTheText) {
  const test::RuleCase& c = GetParam();
  test::TestPlatform platform;
  const auto refusal = generator::FindUnwritableName(test::RuleRequest(c), &platform.codePage);
  constexpr const char* kOptions[] = {"NAME", "--variable", "--type", "--returns"};
  EXPECT_EQ(refusal ? kOptions[static_cast<int>(refusal->text)] + (": " + refusal->message) : "",
            c.option != nullptr ? c.option + (": " + c.message) : "");
}

INSTANTIATE_TEST_SUITE_P(Generator, NameRule, testing::ValuesIn(test::NameCases()), Label);

class ModuleConflict : public testing::TestWithParam<test::RuleCase> {};

TEST_P(ModuleConflict, RefusesNamesTheModuleUses) {
  const test::RuleCase& c = GetParam();
  host::MemoryCodeModule module{test::kConflictModule};
  module.SetComponent(c.type);
  const auto refusal = generator::FindModuleRefusal(test::RuleRequest(c), module);
  EXPECT_EQ(refusal ? refusal->Message(refusal->line) : "", test::RuleMessage(c, c.line));
}

INSTANTIATE_TEST_SUITE_P(Generator, ModuleConflict, testing::ValuesIn(test::ConflictCases()), Label);

// A module whose code ends with `block`: new code goes between `before` and it, as it would be
// added to `before` alone.
struct BlockCase {
  const char* label;
  std::string_view before;
  std::string_view block;
};

class ConditionalBlock : public testing::TestWithParam<BlockCase> {};

TEST_P(ConditionalBlock, NewCodeGoesAheadOfTheBlockAroundTheFirstRoutine) {
  const BlockCase& c = GetParam();
  generator::Request request;
  test::TitleProperty(request);
  request.bProp_Changed = true;  // the routines, the m_ variable and both bag procedures
  test::TestPlatform platform;
  host::MemoryCodeModule module{std::string{c.before} + (c.before.empty() ? "" : "\r\n") +
                                std::string{c.block}};
  host::MemoryCodeModule alone{c.before};
  generator::EcrireCode(request, module, platform.platform());
  generator::EcrireCode(request, alone, platform.platform());
  EXPECT_EQ(module.Text(), alone.Text() + "\r\n" + std::string{c.block});
}

INSTANTIATE_TEST_SUITE_P(
    Generator, ConditionalBlock,
    testing::Values(
        BlockCase{
            "one_branch", "Option Explicit",
            "\r\n' The API\r\n#If VBA7 Then\r\nFunction Message() As LongPtr\r\nEnd Function\r\n#End If"},
        BlockCase{"else_branch", "Option Explicit",
                  "#If VBA7 Then\r\nSub A()\r\nEnd Sub\r\n#Else\r\nSub A()\r\nEnd Sub\r\n#End If"},
        BlockCase{"nested_after_a_closed_one", "Option Explicit",
                  "#If Win64 Then\r\n#If VBA7 Then\r\nConst X = 1\r\n#End If\r\n#if VBA7 Then\r\nSub A()\r\n"
                  "End Sub\r\n#EndIf\r\n#End If"},
        BlockCase{"first_line", "", "#If VBA7 Then\r\nSub A()\r\nEnd Sub\r\n#End If"}),
    [](const auto& info) { return std::string{info.param.label}; });

}  // namespace
