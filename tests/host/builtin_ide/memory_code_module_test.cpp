// Checks the built-in IDE's code module: its lines, its edits and where it finds each routine.
#include "host/builtin_ide/memory_code_module.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "host/host_error.h"
#include "host/vb_errors.h"
#include "tests/support/visible.h"

namespace {

// The module's lines as a vector, to compare with the expected ones.
std::vector<std::string> Lines(const host::MemoryCodeModule& module) {
  return {module.lines().begin(), module.lines().end()};
}

using host::HostError;
using host::MemoryCodeModule;
using host::ProcKind;

// Joins lines with CR LF, the break the module writes between its lines.
std::string CrLfJoin(std::initializer_list<std::string_view> lines) {
  std::string text;
  bool first = true;
  for (const std::string_view line : lines) {
    if (!first) text += "\r\n";
    text += line;
    first = false;
  }
  return text;
}

// Runs `action` and gives the number of the HostError it throws, or -1 when it throws none.
template <class Action>
long ErrorNumberOf(Action&& action) {
  try {
    action();
  } catch (const HostError& error) {
    return error.number();
  }
  return -1;
}

// The line `query` gives, or "error N" for the HostError it throws.
template <class Query>
std::string LineOrError(Query&& query) {
  try {
    return std::to_string(query());
  } catch (const HostError& error) {
    return "error " + std::to_string(error.number());
  }
}

// ---------------------------------------------------------------------------------------------
// Lines, text and counting

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
  EXPECT_EQ(Lines(module), c.lines);
  EXPECT_EQ(module.CountOfLines(), static_cast<long>(c.lines.size()));
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

struct LinesCase {
  const char* label;
  long start;
  long count;
  std::string_view expected;
};

void PrintTo(const LinesCase& c, std::ostream* os) {
  *os << c.label;
}

class LinesTest : public testing::TestWithParam<LinesCase> {};

TEST_P(LinesTest, JoinsWithCrLfWithoutFinalBreak) {
  const MemoryCodeModule module{"first\nsecond\rthird\r\nfourth"};
  const LinesCase& c = GetParam();
  EXPECT_EQ(test::Visible(module.Lines(c.start, c.count)), test::Visible(c.expected));
}

INSTANTIATE_TEST_SUITE_P(
    Ranges, LinesTest,
    testing::Values(LinesCase{"All", 1, 4, "first\r\nsecond\r\nthird\r\nfourth"},
                    LinesCase{"FirstOnly", 1, 1, "first"}, LinesCase{"LastOnly", 4, 1, "fourth"},
                    LinesCase{"Middle", 2, 2, "second\r\nthird"}, LinesCase{"NoLine", 2, 0, ""}),
    [](const testing::TestParamInfo<LinesCase>& info) { return std::string{info.param.label}; });

TEST(LinesTest, EmptyLinesInsideTheRangeKeepTheirBreaks) {
  const MemoryCodeModule module{"a\r\n\r\n\r\nb"};
  EXPECT_EQ(test::Visible(module.Lines(1, 4)), test::Visible("a\r\n\r\n\r\nb"));
  EXPECT_EQ(test::Visible(module.Lines(2, 2)), test::Visible("\r\n"));
}

TEST(LinesTest, InvalidStartOrCountIsInvalidCall) {
  const MemoryCodeModule module{"a\r\nb"};
  EXPECT_EQ(ErrorNumberOf([&] { module.Lines(0, 1); }), host::kErrInvalidCall);
  EXPECT_EQ(ErrorNumberOf([&] { module.Lines(-3, 1); }), host::kErrInvalidCall);
  EXPECT_EQ(ErrorNumberOf([&] { module.Lines(1, -1); }), host::kErrInvalidCall);
  EXPECT_EQ(ErrorNumberOf([&] { module.Lines(9, 1); }), host::kErrInvalidCall);
}

// ---------------------------------------------------------------------------------------------
// InsertLines

struct InsertCase {
  const char* label;
  std::string_view before;
  long line;
  std::string_view text;
  std::string_view after;
};

void PrintTo(const InsertCase& c, std::ostream* os) {
  *os << c.label;
}

class InsertLinesTest : public testing::TestWithParam<InsertCase> {};

TEST_P(InsertLinesTest, TextStartsAtTheGivenLine) {
  const InsertCase& c = GetParam();
  MemoryCodeModule module{c.before};
  module.InsertLines(c.line, c.text);
  EXPECT_EQ(test::Visible(module.Text()), test::Visible(c.after));
}

INSTANTIATE_TEST_SUITE_P(
    Edits, InsertLinesTest,
    testing::Values(InsertCase{"AtFirstLine", "a\r\nb", 1L, "x", "x\r\na\r\nb"},
                    InsertCase{"InTheMiddle", "a\r\nb", 2L, "x", "a\r\nx\r\nb"},
                    InsertCase{"AtLastLine", "a\r\nb", 2L, "x\r\ny", "a\r\nx\r\ny\r\nb"},
                    InsertCase{"AfterLastLineAppends", "a\r\nb", 3L, "x", "a\r\nb\r\nx"},
                    InsertCase{"IntoEmptyModule", "", 1L, "x", "x"},
                    InsertCase{"EmptyTextIsOneEmptyLine", "a\r\nb", 2L, "", "a\r\n\r\nb"},
                    InsertCase{"EmptyTextIntoEmptyModule", "", 1L, "", ""},
                    InsertCase{"FinalBreakAddsEmptyLine", "a\r\nb", 2L, "x\r\n", "a\r\nx\r\n\r\nb"},
                    InsertCase{"EveryBreakKind", "a", 1L, "x\ry\nz\r\n", "x\r\ny\r\nz\r\n\r\na"}),
    [](const testing::TestParamInfo<InsertCase>& info) { return std::string{info.param.label}; });

TEST(InsertLinesTest, EmptyTextIntoEmptyModuleGivesOneLine) {
  MemoryCodeModule module;
  module.InsertLines(1L, "");
  EXPECT_EQ(module.CountOfLines(), 1L);
  EXPECT_EQ(Lines(module), std::vector<std::string>{""});
}

TEST(InsertLinesTest, LineOutsideTheModuleIsInvalidCallAndChangesNothing) {
  struct Case {
    std::string_view before;
    long line;
  };
  const Case cases[] = {{"a\r\nb", 0L},   {"a\r\nb", -1L}, {"a\r\nb", 4L},
                        {"a\r\nb", 100L}, {"", 0L},        {"", 2L}};
  for (const Case& c : cases) {
    SCOPED_TRACE(test::Visible(c.before) + " at line " + std::to_string(c.line));
    MemoryCodeModule module{c.before};
    const std::vector<std::string> lines = Lines(module);
    try {
      module.InsertLines(c.line, "x");
      ADD_FAILURE() << "no error";
    } catch (const HostError& error) {
      EXPECT_EQ(error.number(), host::kErrInvalidCall);
      EXPECT_EQ(error.description(), "Invalid procedure call or argument");
    }
    EXPECT_EQ(Lines(module), lines);
  }
}

// ---------------------------------------------------------------------------------------------
// Routines: start lines, body lines and the routine of a line

// A module with every kind of routine and every kind of statement that is not a routine.
const std::string kModule = CrLfJoin({
    "Option Explicit",                                                    // 1
    "' Counter with a font",                                              // 2
    "Private Declare Function GetTickCount Lib \"kernel32\" () As Long",  // 3
    "Private Subtotal As Long",                                           // 4
    "Public Event Changed(ByVal value As Long)",                          // 5
    "Private Enum Colour",                                                // 6
    "    Red",                                                            // 7
    "End Enum",                                                           // 8
    "Private Type Point",                                                 // 9
    "    X As Long",                                                      // 10
    "End Type",                                                           // 11
    "",                                                                   // 12
    "' The counter's value",                                              // 13
    "Rem kept between calls",                                             // 14
    "Public Property Get Count() As Long",                                // 15
    "    Count = Subtotal",                                               // 16
    "End Property",                                                       // 17
    "",                                                                   // 18
    "' Sets the counter",                                                 // 19
    "Public Property Let Count(ByVal value As Long)",                     // 20
    "    Subtotal = value",                                               // 21
    "    Exit Property",                                                  // 22
    "End Property",                                                       // 23
    "",                                                                   // 24
    "Private Sub Reset()",                                                // 25
    "    If Subtotal > 0 Then Exit Sub",                                  // 26
    "    Subtotal = 0",                                                   // 27
    "End Sub",                                                            // 28
    "",                                                                   // 29
    "Public Function Total(ByVal a As Long, _",                           // 30
    "                      ByVal b As Long) As Long",                     // 31
    "    Total = a + b",                                                  // 32
    "End Function",                                                       // 33
    "Friend Property Set Font(ByVal value As Object)",                    // 34
    "End Property",                                                       // 35
    "",                                                                   // 36
    "' after the last routine",                                           // 37
});

struct RoutineCase {
  const char* label;
  std::string_view name;
  ProcKind kind;
  long startLine;
  long bodyLine;
};

void PrintTo(const RoutineCase& c, std::ostream* os) {
  *os << c.label;
}

class RoutineLinesTest : public testing::TestWithParam<RoutineCase> {};

TEST_P(RoutineLinesTest, StartAndBodyLines) {
  const MemoryCodeModule module{kModule};
  const RoutineCase& c = GetParam();
  EXPECT_EQ(module.ProcStartLine(c.name, c.kind), c.startLine);
  EXPECT_EQ(module.ProcBodyLine(c.name, c.kind), c.bodyLine);
}

INSTANTIATE_TEST_SUITE_P(
    Module, RoutineLinesTest,
    testing::Values(
        // The first routine starts right after the declarations section's last statement (End Type).
        RoutineCase{"FirstRoutineAfterDeclarations", "Count", ProcKind::kGet, 12L, 15L},
        // A later routine starts right after the previous routine's End line.
        RoutineCase{"SameNameOtherKind", "Count", ProcKind::kLet, 18L, 20L},
        RoutineCase{"Sub", "Reset", ProcKind::kProc, 24L, 25L},
        RoutineCase{"ContinuedDeclaration", "Total", ProcKind::kProc, 29L, 30L},
        RoutineCase{"NoLineAbove", "Font", ProcKind::kSet, 34L, 34L},
        RoutineCase{"NameInAnyCase", "cOUNT", ProcKind::kGet, 12L, 15L},
        RoutineCase{"SubNameInAnyCase", "RESET", ProcKind::kProc, 24L, 25L}),
    [](const testing::TestParamInfo<RoutineCase>& info) { return std::string{info.param.label}; });

struct MissingCase {
  const char* label;
  std::string_view name;
  ProcKind kind;
};

void PrintTo(const MissingCase& c, std::ostream* os) {
  *os << c.label;
}

class MissingRoutineTest : public testing::TestWithParam<MissingCase> {};

TEST_P(MissingRoutineTest, IsSubNotDefined) {
  const MemoryCodeModule module{kModule};
  const MissingCase& c = GetParam();
  for (const bool body : {false, true}) {
    SCOPED_TRACE(body ? "ProcBodyLine" : "ProcStartLine");
    try {
      body ? module.ProcBodyLine(c.name, c.kind) : module.ProcStartLine(c.name, c.kind);
      ADD_FAILURE() << "no error";
    } catch (const HostError& error) {
      EXPECT_EQ(error.number(), host::kErrSubNotDefined);
      EXPECT_FALSE(error.description().empty());
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Module, MissingRoutineTest,
                         testing::Values(MissingCase{"PropertyAsProc", "Count", ProcKind::kProc},
                                         MissingCase{"GetAsSet", "Count", ProcKind::kSet},
                                         MissingCase{"SetAsGet", "Font", ProcKind::kGet},
                                         MissingCase{"SubAsLet", "Reset", ProcKind::kLet},
                                         MissingCase{"DeclareIsNoRoutine", "GetTickCount", ProcKind::kProc},
                                         MissingCase{"EventIsNoRoutine", "Changed", ProcKind::kProc},
                                         MissingCase{"EnumIsNoRoutine", "Colour", ProcKind::kProc},
                                         MissingCase{"TypeIsNoRoutine", "Point", ProcKind::kProc},
                                         MissingCase{"VariableIsNoRoutine", "Subtotal", ProcKind::kProc},
                                         MissingCase{"PrefixOfName", "Tot", ProcKind::kProc},
                                         MissingCase{"LongerName", "Totals", ProcKind::kProc},
                                         MissingCase{"EmptyName", "", ProcKind::kProc}),
                         [](const testing::TestParamInfo<MissingCase>& info) {
                           return std::string{info.param.label};
                         });

TEST(MissingRoutineTest, EmptyModuleHasNoRoutine) {
  const MemoryCodeModule module;
  EXPECT_EQ(ErrorNumberOf([&] { module.ProcStartLine("Main", ProcKind::kProc); }), host::kErrSubNotDefined);
  EXPECT_EQ(ErrorNumberOf([&] { module.ProcBodyLine("Main", ProcKind::kProc); }), host::kErrSubNotDefined);
}

TEST(ProcOfLineTest, EveryLineOfTheModule) {
  const MemoryCodeModule module{kModule};
  struct Range {
    long first;
    long last;
    std::string_view name;
    ProcKind kind;
  };
  // Names come back as the module spells them; lines outside every routine give "" and kind 0.
  const Range ranges[] = {
      {1L, 11L, "", ProcKind::kProc},       {12L, 17L, "Count", ProcKind::kGet},
      {18L, 23L, "Count", ProcKind::kLet},  {24L, 28L, "Reset", ProcKind::kProc},
      {29L, 33L, "Total", ProcKind::kProc}, {34L, 35L, "Font", ProcKind::kSet},
      {36L, 37L, "", ProcKind::kProc},
  };
  ASSERT_EQ(module.CountOfLines(), 37L);
  for (const Range& range : ranges) {
    for (long line = range.first; line <= range.last; ++line) {
      SCOPED_TRACE("line " + std::to_string(line));
      const host::ProcAtLine at = module.ProcOfLine(line);
      EXPECT_EQ(at.name, range.name);
      EXPECT_EQ(at.kind, range.kind);
    }
  }
}

// A line outside the module is outside every routine too: an empty module has no routine anywhere.
TEST(ProcOfLineTest, LineOutsideTheModuleIsOutsideEveryRoutine) {
  const MemoryCodeModule module{"Sub A()\r\nEnd Sub"};
  for (const long line : {0L, -1L, 3L, LONG_MAX}) {
    const host::ProcAtLine at = module.ProcOfLine(line);
    EXPECT_EQ(at.name, "") << line;
    EXPECT_EQ(at.kind, ProcKind::kProc) << line;
  }
  EXPECT_EQ(MemoryCodeModule{}.ProcOfLine(1L).name, "");
}

TEST(LinesTest, CountReachingPastTheEndStopsAtTheLastLine) {
  const MemoryCodeModule module{"a\r\nb\r\nc"};
  EXPECT_EQ(module.Lines(2L, LONG_MAX), "b\r\nc");
  EXPECT_EQ(module.Lines(4L, LONG_MAX), "");
}

struct StartCase {
  const char* label;
  std::string text;
  std::string_view name;
  ProcKind kind;
  long startLine;
  long bodyLine;
};

void PrintTo(const StartCase& c, std::ostream* os) {
  *os << c.label;
}

class DeclarationsSectionTest : public testing::TestWithParam<StartCase> {};

TEST_P(DeclarationsSectionTest, FirstRoutineStartsAfterItsLastStatement) {
  const StartCase& c = GetParam();
  SCOPED_TRACE(test::Visible(c.text));
  const MemoryCodeModule module{c.text};
  EXPECT_EQ(module.ProcStartLine(c.name, c.kind), c.startLine);
  EXPECT_EQ(module.ProcBodyLine(c.name, c.kind), c.bodyLine);
}

INSTANTIATE_TEST_SUITE_P(
    Modules, DeclarationsSectionTest,
    testing::Values(
        StartCase{"RoutineOnFirstLine", CrLfJoin({"Sub A()", "End Sub"}), "A", ProcKind::kProc, 1L, 1L},
        StartCase{"OnlyCommentsAbove", CrLfJoin({"' one", "", "Rem two", "Sub A()", "End Sub"}), "A",
                  ProcKind::kProc, 1L, 4L},
        StartCase{"CommentBetweenStatementsIsDeclarations",
                  CrLfJoin({"Option Explicit", "' about m", "Private m As Long", "", "' about A", "Sub A()",
                            "End Sub"}),
                  "A", ProcKind::kProc, 4L, 6L},
        StartCase{"StatementRightAbove", CrLfJoin({"Option Explicit", "Sub A()", "End Sub"}), "A",
                  ProcKind::kProc, 2L, 2L},
        StartCase{"IndentedCommentAbove",
                  CrLfJoin({"Option Explicit", "   ' about A", "\t", "Sub A()", "End Sub"}), "A",
                  ProcKind::kProc, 2L, 4L},
        // The continuation line of the last statement still belongs to the declarations section.
        StartCase{
            "ContinuedStatementInDeclarations",
            CrLfJoin({"Private Const Name As String = _", "    \"x\"", "' about A", "Sub A()", "End Sub"}),
            "A", ProcKind::kProc, 3L, 4L},
        // Breaks of any kind count alike.
        StartCase{"CrOnlyBreaks", "Option Explicit\r\r' about A\rSub A()\rEnd Sub", "A", ProcKind::kProc, 2L,
                  4L},
        StartCase{"SecondRoutineAfterEndLine",
                  CrLfJoin({"Option Explicit", "Sub A()", "End Sub", "", "' about B", "Function B()",
                            "End Function"}),
                  "B", ProcKind::kProc, 4L, 6L},
        StartCase{"SecondRoutineRightAfterEnd", CrLfJoin({"Sub A()", "End Sub", "Sub B()", "End Sub"}), "B",
                  ProcKind::kProc, 3L, 3L},
        StartCase{"EndWithTrailingComment", CrLfJoin({"Sub A()", "End Sub ' A", "", "Sub B()", "End Sub"}),
                  "B", ProcKind::kProc, 3L, 4L},
        // "Exit Sub" and "End If" inside a routine do not end it.
        StartCase{"ExitAndEndIfDoNotEnd",
                  CrLfJoin({"Sub A()", "If x Then", "Exit Sub", "End If", "End Sub", "Sub B()", "End Sub"}),
                  "B", ProcKind::kProc, 6L, 6L},
        // An End Function line does not end a Sub.
        StartCase{"OnlyTheMatchingEndEnds",
                  CrLfJoin({"Sub A()", "End Function", "End Sub", "Sub B()", "End Sub"}), "B",
                  ProcKind::kProc, 4L, 4L},
        StartCase{"ContinuedOverThreeLines",
                  CrLfJoin({"Option Explicit", "", "Public Function F( _", "    ByVal a As Long, _",
                            "    ByVal b As Long) As Long", "End Function"}),
                  "F", ProcKind::kProc, 2L, 3L},
        StartCase{"DeclareAboveRoutineIsDeclarations",
                  CrLfJoin({"Private Declare Sub Sleep Lib \"kernel32\" (ByVal ms As Long)", "", "Sub A()",
                            "End Sub"}),
                  "A", ProcKind::kProc, 2L, 3L}),
    [](const testing::TestParamInfo<StartCase>& info) { return std::string{info.param.label}; });

// A line break before the name, the kind word or the accessor still makes one declaration: the
// " _" marker is not read as the name, nor as a word that stops the declaration.
TEST(ContinuedDeclarationTest, BreakBeforeTheNameOrKindWord) {
  struct Case {
    const char* label;
    std::string text;
    std::string_view name;
    ProcKind kind;
    long startLine;
    long bodyLine;
  };
  const Case cases[] = {
      {"BeforeName",
       CrLfJoin({"Option Explicit", "Public Function _", "    Total() As Long", "End Function"}), "Total",
       ProcKind::kProc, 2L, 2L},
      {"BeforeKindWord", CrLfJoin({"Option Explicit", "Public _", "Sub Reset()", "End Sub"}), "Reset",
       ProcKind::kProc, 2L, 2L},
      {"BeforeAccessor",
       CrLfJoin({"Option Explicit", "Public Property _", "    Get Count() As Long", "End Property"}), "Count",
       ProcKind::kGet, 2L, 2L},
      {"BlanksAfterTheMarker",
       CrLfJoin({"Option Explicit", "Public Function _   ", "Total() As Long", "End Function"}), "Total",
       ProcKind::kProc, 2L, 2L},
      {"UnderscoresInTheName",
       CrLfJoin({"Option Explicit", "Private Sub Form_Load( _", "    ByVal my_x As Long)", "End Sub"}),
       "Form_Load", ProcKind::kProc, 2L, 2L},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    const MemoryCodeModule module{c.text};
    EXPECT_EQ(LineOrError([&] { return module.ProcStartLine(c.name, c.kind); }), std::to_string(c.startLine));
    EXPECT_EQ(LineOrError([&] { return module.ProcBodyLine(c.name, c.kind); }), std::to_string(c.bodyLine));
    EXPECT_EQ(module.ProcOfLine(c.bodyLine + 1).name, c.name);
  }
}

TEST(RoutineWithoutEndTest, RunsToTheNextDeclarationOrTheModuleEnd) {
  // A routine missing its End line ends on the line above the next declaration, or at the module's end.
  const MemoryCodeModule module{CrLfJoin({"Sub A()", "x = 1", "", "Sub B()", "y = 2", "' last"})};
  EXPECT_EQ(module.ProcStartLine("B", ProcKind::kProc), 4L);
  EXPECT_EQ(module.ProcOfLine(3L).name, "A");
  EXPECT_EQ(module.ProcOfLine(4L).name, "B");
  EXPECT_EQ(module.ProcOfLine(6L).name, "B");
}

TEST(ProcOfLineTest, CommentsBetweenRoutinesBelongToTheNextOne) {
  const MemoryCodeModule module{CrLfJoin(
      {"Option Explicit", "", "Sub A()", "End Sub", "", "' about B", "Property Let B(v)", "End Property"})};
  const std::string_view names[] = {"", "A", "A", "A", "B", "B", "B", "B"};
  for (long line = 1L; line <= 8L; ++line) {
    SCOPED_TRACE("line " + std::to_string(line));
    EXPECT_EQ(module.ProcOfLine(line).name, names[line - 1]);
  }
  EXPECT_EQ(module.ProcOfLine(5L).kind, ProcKind::kLet);
}

// ---------------------------------------------------------------------------------------------
// AddFromString

struct AddCase {
  const char* label;
  std::string before;
  std::string_view text;
  std::string after;
};

void PrintTo(const AddCase& c, std::ostream* os) {
  *os << c.label;
}

class AddFromStringTest : public testing::TestWithParam<AddCase> {};

TEST_P(AddFromStringTest, GoesRightAfterTheDeclarationsSection) {
  const AddCase& c = GetParam();
  MemoryCodeModule module{c.before};
  module.AddFromString(c.text);
  EXPECT_EQ(test::Visible(module.Text()), test::Visible(c.after));
}

INSTANTIATE_TEST_SUITE_P(
    Edits, AddFromStringTest,
    testing::Values(
        AddCase{"BeforeCommentsOfFirstRoutine",
                CrLfJoin({"Option Explicit", "", "' about A", "Sub A()", "End Sub"}), "Private m As Long",
                CrLfJoin({"Option Explicit", "Private m As Long", "", "' about A", "Sub A()", "End Sub"})},
        AddCase{"NoDeclarations", CrLfJoin({"Sub A()", "End Sub"}), "Private m As Long",
                CrLfJoin({"Private m As Long", "Sub A()", "End Sub"})},
        AddCase{"NoRoutineAppends", CrLfJoin({"Option Explicit", "", "' note"}), "Private m As Long",
                CrLfJoin({"Option Explicit", "", "' note", "Private m As Long"})},
        AddCase{"EmptyModule", "", "Private m As Long", "Private m As Long"},
        AddCase{"SeveralLinesAnyBreak", CrLfJoin({"Option Explicit", "Sub A()", "End Sub"}),
                "Dim a\rDim b\nDim c",
                CrLfJoin({"Option Explicit", "Dim a", "Dim b", "Dim c", "Sub A()", "End Sub"})},
        AddCase{"FinalBreakAddsEmptyLine", CrLfJoin({"Option Explicit", "Sub A()", "End Sub"}), "Dim a\r\n",
                CrLfJoin({"Option Explicit", "Dim a", "", "Sub A()", "End Sub"})},
        AddCase{"EmptyTextIsOneEmptyLine", CrLfJoin({"Option Explicit", "Sub A()", "End Sub"}), "",
                CrLfJoin({"Option Explicit", "", "Sub A()", "End Sub"})},
        AddCase{"EmptyTextAppendsEmptyLine", "Option Explicit", "", CrLfJoin({"Option Explicit", ""})},
        // The Declare statement is part of the declarations section, not a routine to insert before.
        AddCase{"AfterDeclareStatement",
                CrLfJoin({"Private Declare Function GetTickCount Lib \"kernel32\" () As Long", "Sub A()",
                          "End Sub"}),
                "Dim a",
                CrLfJoin({"Private Declare Function GetTickCount Lib \"kernel32\" () As Long", "Dim a",
                          "Sub A()", "End Sub"})},
        AddCase{"DeclareOnlyAppends", "Private Declare Sub Sleep Lib \"kernel32\" (ByVal ms As Long)",
                "Dim a",
                CrLfJoin({"Private Declare Sub Sleep Lib \"kernel32\" (ByVal ms As Long)", "Dim a"})}),
    [](const testing::TestParamInfo<AddCase>& info) { return std::string{info.param.label}; });

TEST(AddFromStringTest, EmptyTextIntoEmptyModuleGivesOneLine) {
  MemoryCodeModule module;
  module.AddFromString("");
  EXPECT_EQ(Lines(module), std::vector<std::string>{""});
}

// ---------------------------------------------------------------------------------------------
// Every edit is seen by the next question about routines.

TEST(EditsTest, RoutineLinesFollowEachEdit) {
  MemoryCodeModule module{CrLfJoin({"Option Explicit", "", "Sub A()", "End Sub"})};
  ASSERT_EQ(module.ProcStartLine("A", ProcKind::kProc), 2L);
  ASSERT_EQ(module.ProcOfLine(1L).name, "");

  module.AddFromString("Private m As Long");
  EXPECT_EQ(module.ProcStartLine("A", ProcKind::kProc), 3L);
  EXPECT_EQ(module.ProcBodyLine("A", ProcKind::kProc), 4L);

  module.InsertLines(6L, CrLfJoin({"", "' about B", "Function B()", "End Function"}));
  EXPECT_EQ(module.ProcStartLine("B", ProcKind::kProc), 6L);
  EXPECT_EQ(module.ProcBodyLine("B", ProcKind::kProc), 8L);
  EXPECT_EQ(module.ProcOfLine(7L).name, "B");

  module.InsertLines(1L, "' header");
  EXPECT_EQ(module.ProcStartLine("A", ProcKind::kProc), 4L);
  EXPECT_EQ(module.ProcBodyLine("B", ProcKind::kProc), 9L);
  EXPECT_EQ(module.ProcOfLine(4L).name, "A");

  // A routine added ahead of the others becomes the first one, and later text goes before it.
  module.InsertLines(4L, CrLfJoin({"Sub Z()", "End Sub"}));
  EXPECT_EQ(module.ProcStartLine("Z", ProcKind::kProc), 4L);
  EXPECT_EQ(module.ProcStartLine("A", ProcKind::kProc), 6L);
  module.AddFromString("Dim n");
  EXPECT_EQ(module.lines()[3], "Dim n");
  EXPECT_EQ(module.ProcBodyLine("Z", ProcKind::kProc), 5L);
}

TEST(EditsTest, ARoutineAppearsWhenInsertedIntoAModuleWithNone) {
  MemoryCodeModule module{"Option Explicit"};
  EXPECT_EQ(ErrorNumberOf([&] { module.ProcStartLine("A", ProcKind::kProc); }), host::kErrSubNotDefined);
  module.InsertLines(2L, CrLfJoin({"", "Sub A()", "End Sub"}));
  EXPECT_EQ(module.ProcStartLine("A", ProcKind::kProc), 2L);
  EXPECT_EQ(module.ProcBodyLine("A", ProcKind::kProc), 3L);
}

}  // namespace
