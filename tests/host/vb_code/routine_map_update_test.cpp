// Checks that updating the routine map after an insertion gives exactly the map worked out afresh,
// over many random modules and insertions made of the lines that decide where routines are.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>
#include <deque>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "host/vb_code/code_lines.h"
#include "host/vb_code/routine_list.h"
#include "host/vb_code/routine_map.h"
#include "host/vb_code/routine_scan.h"

namespace {

using host::Routine;

// Declarations (plain, with visibility and Static, continued before the name and in the parameter
// list), End lines that close or do not, comments, blanks and ordinary statements.
constexpr std::array<std::string_view, 22> kVocabulary = {
    "Sub A()",
    "Private Function B(ByVal x As Long) As Long",
    "Public Static Property Get C() As Long",
    "Property Let C(ByVal v As Long)",
    "Friend Property Set D(ByVal o As Object)",
    "Public Sub _",
    "E()",
    "Function F(a As Long, _",
    "    b As Long) As Long",
    "End Sub",
    "End Function",
    "End Property",
    "End Sub: ' done",
    "' Sub G()",
    "",
    "   ",
    "Option Explicit",
    "Private m_x As Long",
    "    x = x + 1",
    "Dim y As _",
    "Rem End Sub",
    "Declare Sub Sleep Lib \"kernel32\" (ByVal ms As Long)",
};

std::deque<std::string> RandomLines(std::mt19937& random, std::size_t count) {
  std::uniform_int_distribution<std::size_t> pick(0, kVocabulary.size() - 1);
  std::deque<std::string> lines;
  for (std::size_t i = 0; i < count; ++i) lines.emplace_back(kVocabulary[pick(random)]);
  return lines;
}

std::deque<Routine> ToDeque(const std::vector<Routine>& routines) {
  return {routines.begin(), routines.end()};
}

void ExpectSameMap(const std::deque<Routine>& actual, const std::vector<Routine>& expected) {
  ASSERT_EQ(actual.size(), expected.size());
  for (std::size_t i = 0; i < actual.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(actual[i].name, expected[i].name);
    EXPECT_EQ(actual[i].kind, expected[i].kind);
    EXPECT_EQ(actual[i].isSub, expected[i].isSub);
    EXPECT_EQ(actual[i].startLine, expected[i].startLine);
    EXPECT_EQ(actual[i].bodyLine, expected[i].bodyLine);
    EXPECT_EQ(actual[i].declarationEnd, expected[i].declarationEnd);
    EXPECT_EQ(actual[i].endLine, expected[i].endLine);
    EXPECT_EQ(actual[i].closedByEnd, expected[i].closedByEnd);
  }
}

TEST(UpdateRoutinesAfterInsertTest, MatchesAFreshMapAfterEveryRandomInsertion) {
  for (unsigned seed = 1; seed <= 500; ++seed) {
    std::mt19937 random{seed};
    std::deque<std::string> lines =
        RandomLines(random, std::uniform_int_distribution<std::size_t>(0, 40)(random));
    std::deque<Routine> routines = ToDeque(host::MapRoutines(lines));
    for (int edit = 0; edit < 12; ++edit) {
      const std::size_t at = std::uniform_int_distribution<std::size_t>(0, lines.size())(random);
      const std::deque<std::string> added =
          RandomLines(random, std::uniform_int_distribution<std::size_t>(1, 6)(random));
      lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at), added.begin(), added.end());
      host::UpdateRoutinesAfterInsert(routines, lines, at, added.size());
      SCOPED_TRACE(testing::Message() << "seed " << seed << ", edit " << edit << ", at " << at);
      ExpectSameMap(routines, host::MapRoutines(lines));
      if (testing::Test::HasFailure()) {
        for (std::size_t i = 0; i < lines.size(); ++i) std::printf("%2zu %s\n", i + 1, lines[i].c_str());
        return;  // one module's lines are enough to see what went wrong
      }
    }
  }
}

// The cases a random walk may reach rarely: text that joins the statement above it or below it.
TEST(UpdateRoutinesAfterInsertTest, InsertionsThatJoinContinuedStatements) {
  struct Case {
    const char* label;
    std::vector<std::string> before;
    std::size_t at;
    std::vector<std::string> added;
  };
  const Case cases[] = {
      {"after a continued line", {"Sub A()", "x = 1 _", "End Sub", "Sub B()", "End Sub"}, 2, {"+ 2"}},
      {"ending with a continuation", {"Sub A()", "End Sub", "Sub B()", "End Sub"}, 2, {"Dim z As _"}},
      {"splitting a continued declaration", {"Public Sub _", "A()", "End Sub", "Sub B()"}, 1, {"' x"}},
      {"an End line into an open routine", {"Sub A()", "x = 1", "Sub B()", "End Sub"}, 2, {"End Sub"}},
      {"a declaration into the declarations",
       {"Option Explicit", "Dim a", "", "Sub B()", "End Sub"},
       2,
       {"Sub A()"}},
      {"at the very end", {"Sub A()", "End Sub"}, 2, {"Sub B()"}},
      {"into an empty module", {}, 0, {"Sub A()", "End Sub"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    std::deque<std::string> lines(c.before.begin(), c.before.end());
    std::deque<Routine> routines = ToDeque(host::MapRoutines(lines));
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(c.at), c.added.begin(), c.added.end());
    host::UpdateRoutinesAfterInsert(routines, lines, c.at, c.added.size());
    ExpectSameMap(routines, host::MapRoutines(lines));
  }
}

// The routines as the module's list keeps them, in blocks with a shift each: after random
// insertions, large enough to split blocks and to empty them, the list reads as a fresh map, and
// finds each routine by name (in any case) and by line as a search of the fresh map does.
TEST(RoutineListTest, MatchesAFreshMapAfterRandomInsertions) {
  for (unsigned seed = 1; seed <= 60; ++seed) {
    std::mt19937 random{seed};
    std::deque<std::string> lines =
        RandomLines(random, std::uniform_int_distribution<std::size_t>(0, 400)(random));
    host::RoutineList list;
    host::RoutineScanner<std::deque<std::string>, host::RoutineList>{lines, list}.Run(0);
    for (int edit = 0; edit < 8; ++edit) {
      const std::size_t at = std::uniform_int_distribution<std::size_t>(0, lines.size())(random);
      const std::deque<std::string> added =
          RandomLines(random, std::uniform_int_distribution<std::size_t>(1, 80)(random));
      lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at), added.begin(), added.end());
      host::UpdateRoutines(list, lines, at, added.size());
      SCOPED_TRACE(testing::Message() << "seed " << seed << ", edit " << edit << ", at " << at);
      const std::vector<Routine> fresh = host::MapRoutines(lines);
      std::deque<Routine> read;
      for (std::size_t i = 0; i < list.size(); ++i) read.push_back(list.CopyAt(i));
      ExpectSameMap(read, fresh);
      for (const Routine& routine : fresh) {
        std::string lower = routine.name;
        for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        const auto first = std::find_if(fresh.begin(), fresh.end(), [&](const Routine& r) {
          return r.kind == routine.kind && host::SameName(r.name, routine.name);
        });
        EXPECT_EQ(list.Find(lower, routine.kind), static_cast<std::size_t>(first - fresh.begin()))
            << routine.name;
      }
      for (long line = 1; line <= static_cast<long>(lines.size()); ++line) {
        const auto holder = std::find_if(fresh.begin(), fresh.end(), [&](const Routine& r) {
          return r.startLine <= line && line <= r.endLine;
        });
        EXPECT_EQ(list.AtLine(line), static_cast<std::size_t>(holder - fresh.begin())) << "line " << line;
      }
      if (testing::Test::HasFailure()) return;
    }
  }
}

}  // namespace
