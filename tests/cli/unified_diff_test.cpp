// tests/cli/unified_diff_test.cpp: the hunks of --diff as diff -u cuts them (each row's output is what
// GNU diff -u printed for the same two files).
#include <gtest/gtest.h>

#include "cli/unified_diff.h"

namespace {

struct DiffCase {
  const char* label;
  std::string before;
  std::string after;
  std::string hunks;  // what follows the two header lines
};

const DiffCase kDiffs[] = {
    // Changes more than six lines apart make two hunks, each with three lines of context.
    {"two_hunks", "1\n2\n3\n4\n5\n6\n7\n8\n9\n10\n11\n12\n", "1\ntwo\n3\n4\n5\n6\n7\n8\n9\n10\neleven\n12\n",
     "@@ -1,5 +1,5 @@\n 1\n-2\n+two\n 3\n 4\n 5\n@@ -8,5 +8,5 @@\n 8\n 9\n 10\n-11\n+eleven\n 12\n"},
    {"last_line_without_break", "x", "x\ny\n", "@@ -1 +1,2 @@\n-x\n\\ No newline at end of file\n+x\n+y\n"},
    {"empty_before", "", "x\ny\n", "@@ -0,0 +1,2 @@\n+x\n+y\n"},
};

class UnifiedDiffHunks : public testing::TestWithParam<DiffCase> {};

TEST_P(UnifiedDiffHunks, AreThoseOfDiffU) {
  const DiffCase& c = GetParam();
  EXPECT_EQ(cli::UnifiedDiff("F", c.before, c.after), "--- a/F\n+++ b/F\n" + c.hunks);
  EXPECT_EQ(cli::UnifiedDiff("F", c.before, c.before), "");
}

INSTANTIATE_TEST_SUITE_P(Cli, UnifiedDiffHunks, testing::ValuesIn(kDiffs),
                         [](const auto& info) { return std::string{info.param.label}; });

}  // namespace
