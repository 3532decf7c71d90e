// tests/testing/ide/memory_code_module_test.cpp: the built-in IDE's code module: the code module's
// contract, and how a text becomes its lines and its lines a saved text.
#include "testing/ide/memory_code_module.h"

#include <gtest/gtest.h>

#include <deque>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "tests/host/code_module_contract.h"
#include "tests/support/visible.h"

namespace {

using host::MemoryCodeModule;
using test::CodeModuleContract;

std::shared_ptr<host::CodeModule> MakeMemoryModule(const std::vector<std::string>& lines) {
  return std::make_shared<MemoryCodeModule>(std::deque<std::string>(lines.begin(), lines.end()));
}

INSTANTIATE_TEST_SUITE_P(Memory, CodeModuleContract, testing::ValuesIn(test::ContractRuns(MakeMemoryModule)),
                         test::ContractCaseName);

struct LoadCase {
  const char* label;
  std::string_view text;
  std::vector<std::string> lines;
  std::string_view saved;  // Text() afterwards
};

void PrintTo(const LoadCase& c, std::ostream* os) {
  *os << c.label;
}

class LoadTest : public testing::TestWithParam<LoadCase> {};

TEST_P(LoadTest, SplitsTheTextAndSavesItWithCrLf) {
  const LoadCase& c = GetParam();
  const MemoryCodeModule module{c.text};
  EXPECT_EQ(std::vector<std::string>(module.lines().begin(), module.lines().end()), c.lines);
  EXPECT_EQ(test::Visible(module.Text()), test::Visible(c.saved));
}

INSTANTIATE_TEST_SUITE_P(
    Texts, LoadTest,
    testing::Values(
        LoadCase{"EmptyTextHasNoLine", "", {}, ""},
        LoadCase{"OneLine", "Option Explicit", {"Option Explicit"}, "Option Explicit"},
        LoadCase{"CrLf", "a\r\nb", {"a", "b"}, "a\r\nb"},
        LoadCase{"CrAndLfBecomeCrLf", "a\rb\nc", {"a", "b", "c"}, "a\r\nb\r\nc"},
        LoadCase{"FinalBreakAddsEmptyLine", "a\r\n", {"a", ""}, "a\r\n"},
        LoadCase{"FinalCrAddsEmptyLine", "a\r", {"a", ""}, "a\r\n"},
        LoadCase{"BreakAloneIsTwoEmptyLines", "\n", {"", ""}, "\r\n"},
        LoadCase{"BlankLinesAndIndentKept", "  a\r\n\r\n\tb ", {"  a", "", "\tb "}, "  a\r\n\r\n\tb "}),
    [](const testing::TestParamInfo<LoadCase>& info) { return std::string{info.param.label}; });

}  // namespace
