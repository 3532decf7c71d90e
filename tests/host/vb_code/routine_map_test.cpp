// Checks the routine map: each routine's four lines, and finding a routine by name or by line.
#include "host/vb_code/routine_map.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/vb_code/code_lines.h"

namespace {

using host::ProcKind;
using host::Routine;

void ExpectRoutine(const Routine& actual, const Routine& expected) {
  SCOPED_TRACE(expected.name);
  EXPECT_EQ(actual.name, expected.name);
  EXPECT_EQ(actual.kind, expected.kind);
  EXPECT_EQ(actual.isSub, expected.isSub);
  EXPECT_EQ(actual.startLine, expected.startLine);
  EXPECT_EQ(actual.bodyLine, expected.bodyLine);
  EXPECT_EQ(actual.declarationEnd, expected.declarationEnd);
  EXPECT_EQ(actual.endLine, expected.endLine);
}

const std::vector<std::string> kLines = {
    "Option Explicit",                         // 1
    "",                                        // 2
    "' Adds",                                  // 3
    "Public Function Add(ByVal a As Long, _",  // 4
    "    ByVal b As Long, _",                  // 5
    "    ByVal c As Long) As Long",            // 6
    "    Add = a + b + c",                     // 7
    "End Function",                            // 8
    "Private Sub Clear()",                     // 9
    "    x = 0",                               // 10
    "End Sub",                                 // 11
    "",                                        // 12
    "Property Get Size() As Long",             // 13: no End Property before the next declaration
    "    Size = 1",                            // 14
    "",                                        // 15
    "Property Let Size(ByVal v As Long)",      // 16: no End Property before the module's end
    "    x = v",                               // 17
};

TEST(MapRoutinesTest, GivesEveryRoutineItsLines) {
  const std::vector<Routine> routines = host::MapRoutines(kLines);
  ASSERT_EQ(routines.size(), 4U);
  ExpectRoutine(routines[0], {"Add", ProcKind::kProc, false, 2L, 4L, 6L, 8L});
  ExpectRoutine(routines[1], {"Clear", ProcKind::kProc, true, 9L, 9L, 9L, 11L});
  ExpectRoutine(routines[2], {"Size", ProcKind::kGet, false, 12L, 13L, 13L, 15L});
  ExpectRoutine(routines[3], {"Size", ProcKind::kLet, false, 16L, 16L, 16L, 17L});
}

TEST(MapRoutinesTest, NoLinesOrNoRoutineGivesNothing) {
  EXPECT_TRUE(host::MapRoutines(std::vector<std::string>{}).empty());
  EXPECT_TRUE(
      host::MapRoutines(std::vector<std::string>{"Option Explicit", "' Sub A()", "Dim Subtotal"}).empty());
}

TEST(MapRoutinesTest, ContinuationOnTheLastLineStopsThere) {
  const std::vector<std::string> lines = {"Sub A( _"};
  const std::vector<Routine> routines = host::MapRoutines(lines);
  ASSERT_EQ(routines.size(), 1U);
  ExpectRoutine(routines[0], {"A", ProcKind::kProc, true, 1L, 1L, 1L, 1L});
}

TEST(FindRoutineTest, ByNameInAnyCaseAndKind) {
  const std::vector<Routine> routines = host::MapRoutines(kLines);
  struct Case {
    std::string name;
    ProcKind kind;
    long bodyLine;  // 0: not found
  };
  const Case cases[] = {
      {"Add", ProcKind::kProc, 4L},  {"ADD", ProcKind::kProc, 4L},  {"size", ProcKind::kGet, 13L},
      {"Size", ProcKind::kLet, 16L}, {"Size", ProcKind::kSet, 0L},  {"Size", ProcKind::kProc, 0L},
      {"Clear", ProcKind::kGet, 0L}, {"Clea", ProcKind::kProc, 0L}, {"", ProcKind::kProc, 0L}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name + " " + std::to_string(static_cast<int>(c.kind)));
    const Routine* found = host::FindRoutine(routines, c.name, c.kind);
    EXPECT_EQ(found == nullptr ? 0L : found->bodyLine, c.bodyLine);
  }
}

TEST(RoutineAtLineTest, FromStartLineToEndLine) {
  const std::vector<Routine> routines = host::MapRoutines(kLines);
  const char* const names[] = {"",      "Add",   "Add",  "Add",  "Add",  "Add",  "Add",  "Add",  "Clear",
                               "Clear", "Clear", "Size", "Size", "Size", "Size", "Size", "Size", ""};
  for (long line = 0L; line <= 18L; ++line) {
    SCOPED_TRACE("line " + std::to_string(line));
    const Routine* at = host::RoutineAtLine(routines, line);
    const std::string expected = line == 0L ? "" : names[line - 1];
    EXPECT_EQ(at == nullptr ? std::string{} : at->name, expected);
  }
  EXPECT_EQ(host::RoutineAtLine(routines, 15L)->kind, ProcKind::kGet);
  EXPECT_EQ(host::RoutineAtLine(routines, 16L)->kind, ProcKind::kLet);
}

}  // namespace
