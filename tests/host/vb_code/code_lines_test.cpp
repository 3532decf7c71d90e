// Checks the reading of single code lines: line splitting, blanks, comments, continuations, declarations.
#include "host/vb_code/code_lines.h"

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "tests/support/visible.h"

namespace {

using host::ProcKind;

struct SplitCase {
  const char* label;
  std::string_view text;
  std::vector<std::string> lines;
};

void PrintTo(const SplitCase& c, std::ostream* os) {
  *os << c.label;
}

class SplitLinesTest : public testing::TestWithParam<SplitCase> {};

TEST_P(SplitLinesTest, GivesEachLineBetweenBreaks) {
  const SplitCase& c = GetParam();
  SCOPED_TRACE(test::Visible(c.text));
  EXPECT_EQ(host::SplitLines(c.text), c.lines);
  EXPECT_EQ(host::CountSplitLines(c.text), c.lines.size());
}

INSTANTIATE_TEST_SUITE_P(
    Breaks, SplitLinesTest,
    testing::Values(SplitCase{"Empty", "", {""}}, SplitCase{"OneLine", "Sub A()", {"Sub A()"}},
                    SplitCase{"CrLf", "a\r\nb", {"a", "b"}}, SplitCase{"CrAlone", "a\rb", {"a", "b"}},
                    SplitCase{"LfAlone", "a\nb", {"a", "b"}},
                    SplitCase{"MixedBreaks", "a\r\nb\rc\nd", {"a", "b", "c", "d"}},
                    SplitCase{"TrailingCr", "a\r", {"a", ""}}, SplitCase{"TrailingCrLf", "a\r\n", {"a", ""}},
                    SplitCase{"TrailingLf", "a\n", {"a", ""}}, SplitCase{"OnlyCrLf", "\r\n", {"", ""}},
                    // LF then CR is two breaks, not one reversed pair.
                    SplitCase{"LfCrIsTwoBreaks", "a\n\rb", {"a", "", "b"}},
                    SplitCase{"CrCrLfIsTwoBreaks", "a\r\r\nb", {"a", "", "b"}},
                    SplitCase{"BlankLinesKept", "a\r\n\r\n\r\nb", {"a", "", "", "b"}},
                    SplitCase{"LeadingBreak", "\nx", {"", "x"}},
                    SplitCase{"BlanksInsideLinesKept", "  a \r\n\t", {"  a ", "\t"}}),
    [](const testing::TestParamInfo<SplitCase>& info) { return std::string{info.param.label}; });

struct LineCase {
  const char* label;
  std::string_view line;
  bool expected;
};

void PrintTo(const LineCase& c, std::ostream* os) {
  *os << c.label;
}

std::string LineCaseName(const testing::TestParamInfo<LineCase>& info) {
  return info.param.label;
}

class IsBlankLineTest : public testing::TestWithParam<LineCase> {};

TEST_P(IsBlankLineTest, TellsBlankLines) {
  EXPECT_EQ(host::IsBlankLine(GetParam().line), GetParam().expected) << '"' << GetParam().line << '"';
}

INSTANTIATE_TEST_SUITE_P(Lines, IsBlankLineTest,
                         testing::Values(LineCase{"Empty", "", true}, LineCase{"Spaces", "    ", true},
                                         LineCase{"Tabs", "\t\t", true},
                                         LineCase{"SpacesAndTabs", " \t ", true},
                                         LineCase{"Underscore", " _", false},
                                         LineCase{"Apostrophe", "'", false},
                                         LineCase{"CodeAfterBlanks", "   x", false}),
                         LineCaseName);

class IsCommentLineTest : public testing::TestWithParam<LineCase> {};

TEST_P(IsCommentLineTest, TellsCommentLines) {
  EXPECT_EQ(host::IsCommentLine(GetParam().line), GetParam().expected) << '"' << GetParam().line << '"';
}

INSTANTIATE_TEST_SUITE_P(
    Lines, IsCommentLineTest,
    testing::Values(LineCase{"Apostrophe", "' note", true}, LineCase{"BareApostrophe", "'", true},
                    LineCase{"IndentedApostrophe", "    ' note", true},
                    LineCase{"TabThenApostrophe", "\t'x", true}, LineCase{"Rem", "Rem note", true},
                    LineCase{"RemAlone", "Rem", true}, LineCase{"RemUpperCase", "REM note", true},
                    LineCase{"RemLowerCase", "rem note", true}, LineCase{"RemThenTab", "Rem\tnote", true},
                    LineCase{"IndentedRem", "  Rem note", true},
                    LineCase{"WordStartingWithRem", "Remainder = 1", false},
                    LineCase{"RemAsPartOfName", "Remove", false},
                    LineCase{"CommentAfterCode", "x = 1 ' note", false}, LineCase{"Empty", "", false},
                    LineCase{"Blanks", "   ", false}, LineCase{"Code", "Option Explicit", false}),
    LineCaseName);

class ContinuesOnNextLineTest : public testing::TestWithParam<LineCase> {};

TEST_P(ContinuesOnNextLineTest, TellsContinuedLines) {
  EXPECT_EQ(host::ContinuesOnNextLine(GetParam().line), GetParam().expected) << '"' << GetParam().line << '"';
}

INSTANTIATE_TEST_SUITE_P(Lines, ContinuesOnNextLineTest,
                         testing::Values(LineCase{"BlankUnderscore", "Sub A(x, _", true},
                                         LineCase{"TrailingBlanksAfterUnderscore", "Sub A(x, _   ", true},
                                         LineCase{"TrailingTabAfterUnderscore", "Sub A(x, _\t", true},
                                         LineCase{"TabBeforeUnderscore", "Sub A(x,\t_", true},
                                         LineCase{"BlankUnderscoreOnly", " _", true},
                                         LineCase{"UnderscoreInName", "Dim my_", false},
                                         LineCase{"UnderscoreAlone", "_", false},
                                         LineCase{"UnderscoreNotLast", "x = a _ + b", false},
                                         LineCase{"Empty", "", false},
                                         LineCase{"NoUnderscore", "End Sub", false}),
                         LineCaseName);

struct DeclarationCase {
  const char* label;
  std::string_view text;
  bool isDeclaration;
  ProcKind kind = ProcKind::kProc;
  bool isSub = false;
  std::string_view name = {};
};

void PrintTo(const DeclarationCase& c, std::ostream* os) {
  *os << c.label;
}

class ParseDeclarationTest : public testing::TestWithParam<DeclarationCase> {};

TEST_P(ParseDeclarationTest, ReadsKindAndName) {
  const DeclarationCase& c = GetParam();
  const std::optional<host::Declaration> declaration = host::ParseDeclaration(c.text);
  ASSERT_EQ(declaration.has_value(), c.isDeclaration) << c.text;
  if (!declaration) return;
  EXPECT_EQ(declaration->kind, c.kind);
  EXPECT_EQ(declaration->isSub, c.isSub);
  EXPECT_EQ(declaration->name, c.name);
}

constexpr bool kSub = true;
constexpr bool kFunction = false;

INSTANTIATE_TEST_SUITE_P(
    Routines, ParseDeclarationTest,
    testing::Values(
        DeclarationCase{"Sub", "Sub Main()", true, ProcKind::kProc, kSub, "Main"},
        DeclarationCase{"PublicFunction", "Public Function Total(ByVal a As Long) As Long", true,
                        ProcKind::kProc, kFunction, "Total"},
        DeclarationCase{"PrivateStaticSub", "Private Static Sub Counter()", true, ProcKind::kProc, kSub,
                        "Counter"},
        DeclarationCase{"StaticFunction", "Static Function Seed() As Long", true, ProcKind::kProc, kFunction,
                        "Seed"},
        DeclarationCase{"FriendPropertyGet", "Friend Property Get Name() As String", true, ProcKind::kGet,
                        false, "Name"},
        DeclarationCase{"PropertyLet", "Public Property Let Name(ByVal value As String)", true,
                        ProcKind::kLet, false, "Name"},
        DeclarationCase{"PropertySet", "Property Set Font(ByVal value As StdFont)", true, ProcKind::kSet,
                        false, "Font"},
        DeclarationCase{"KeywordsInAnyCase", "pRIVATE sTATIC sUB lower_case()", true, ProcKind::kProc, kSub,
                        "lower_case"},
        DeclarationCase{"PropertyKeywordsInAnyCase", "PROPERTY get Value()", true, ProcKind::kGet, false,
                        "Value"},
        DeclarationCase{"IndentedAndSpaced", "   Sub   Spaced   ()", true, ProcKind::kProc, kSub, "Spaced"},
        DeclarationCase{"Tabs", "Public\tSub\tTabbed()", true, ProcKind::kProc, kSub, "Tabbed"},
        DeclarationCase{"NoParentheses", "Sub Bare", true, ProcKind::kProc, kSub, "Bare"},
        DeclarationCase{"NameEndsAtBlank", "Function Answer As Long", true, ProcKind::kProc, kFunction,
                        "Answer"},
        DeclarationCase{"NameStartingWithKeyword", "Sub Subtotal()", true, ProcKind::kProc, kSub, "Subtotal"},
        DeclarationCase{"PrivateDeclareFunction",
                        "Private Declare Function GetTickCount Lib \"kernel32\" () As Long", false},
        DeclarationCase{"DeclareSub", "Declare Sub Sleep Lib \"kernel32\" (ByVal ms As Long)", false},
        DeclarationCase{"Event", "Public Event Changed(ByVal value As Long)", false},
        DeclarationCase{"Enum", "Private Enum Colour", false},
        DeclarationCase{"Type", "Private Type Point", false}, DeclarationCase{"ExitSub", "Exit Sub", false},
        DeclarationCase{"EndSub", "End Sub", false},
        DeclarationCase{"VariableNamedSubtotal", "Subtotal = Subtotal + 1", false},
        DeclarationCase{"DimSubtotal", "Dim Subtotal As Long", false},
        DeclarationCase{"PrivateSubtotal", "Private Subtotal As Long", false},
        DeclarationCase{"CallStatement", "Call Main", false},
        DeclarationCase{"CommentedOut", "' Sub Main()", false},
        DeclarationCase{"RemmedOut", "Rem Sub Main()", false}, DeclarationCase{"KeywordAlone", "Sub", false},
        DeclarationCase{"KeywordWithBlankOnly", "Sub   ", false},
        DeclarationCase{"KeywordThenParenthesis", "Sub(x)", false},
        DeclarationCase{"PropertyWithoutAccessor", "Property Value()", false},
        DeclarationCase{"PropertyAccessorWithoutName", "Property Get", false},
        DeclarationCase{"StaticBeforeScope", "Static Public Sub Reversed()", false},
        // Keywords cut short by the end of the line, or run into the next word.
        DeclarationCase{"ScopeAlone", "Friend", false}, DeclarationCase{"ScopeCutShort", "Publi", false},
        DeclarationCase{"AccessorCutShort", "Property Ge", false},
        DeclarationCase{"AccessorRunOn", "Property Getter Value()", false},
        DeclarationCase{"ScopeThenSeparator", "Public:Sub Main()", false},
        DeclarationCase{"Empty", "", false}),
    [](const testing::TestParamInfo<DeclarationCase>& info) { return std::string{info.param.label}; });

struct EndCase {
  const char* label;
  std::string_view text;
  ProcKind kind;
  bool isSub;
  bool expected;
};

void PrintTo(const EndCase& c, std::ostream* os) {
  *os << c.label;
}

class IsEndOfTest : public testing::TestWithParam<EndCase> {};

TEST_P(IsEndOfTest, RecognisesTheClosingLine) {
  const EndCase& c = GetParam();
  EXPECT_EQ(host::IsEndOf(c.text, c.kind, c.isSub), c.expected) << c.text;
}

INSTANTIATE_TEST_SUITE_P(
    Lines, IsEndOfTest,
    testing::Values(
        EndCase{"EndSub", "End Sub", ProcKind::kProc, kSub, true},
        EndCase{"EndFunction", "End Function", ProcKind::kProc, kFunction, true},
        EndCase{"EndPropertyGet", "End Property", ProcKind::kGet, false, true},
        EndCase{"EndPropertyLet", "End Property", ProcKind::kLet, false, true},
        EndCase{"EndPropertySet", "End Property", ProcKind::kSet, false, true},
        EndCase{"AnyCaseAndIndent", "   end   SUB", ProcKind::kProc, kSub, true},
        EndCase{"TrailingBlanks", "End Sub  \t", ProcKind::kProc, kSub, true},
        EndCase{"TrailingComment", "End Sub ' done", ProcKind::kProc, kSub, true},
        EndCase{"StatementSeparatorAfterBlank", "End Sub : x = 1", ProcKind::kProc, kSub, true},
        // The IDE writes a separator right after the word: the colon must not be read as part of it.
        EndCase{"StatementSeparator", "End Function: ' done", ProcKind::kProc, kFunction, true},
        EndCase{"SeparatorAlone", "End Sub:", ProcKind::kProc, kSub, true},
        EndCase{"SeparatorThenCode", "End Property: x = 1", ProcKind::kSet, false, true},
        EndCase{"EndSubClosesNoFunction", "End Sub", ProcKind::kProc, kFunction, false},
        EndCase{"EndFunctionClosesNoSub", "End Function", ProcKind::kProc, kSub, false},
        EndCase{"EndSubClosesNoProperty", "End Sub", ProcKind::kGet, false, false},
        EndCase{"EndPropertyClosesNoSub", "End Property", ProcKind::kProc, kSub, false},
        EndCase{"EndIf", "End If", ProcKind::kProc, kSub, false},
        EndCase{"EndAlone", "End", ProcKind::kProc, kSub, false},
        EndCase{"LongerWord", "End Subroutine", ProcKind::kProc, kSub, false},
        EndCase{"CutShort", "End Su", ProcKind::kProc, kSub, false},
        EndCase{"EndRunOn", "EndSub", ProcKind::kProc, kSub, false},
        EndCase{"CodeAfter", "End Sub x", ProcKind::kProc, kSub, false},
        EndCase{"ExitSub", "Exit Sub", ProcKind::kProc, kSub, false},
        EndCase{"Commented", "' End Sub", ProcKind::kProc, kSub, false}),
    [](const testing::TestParamInfo<EndCase>& info) { return std::string{info.param.label}; });

TEST(SameNameTest, MatchesIgnoringAsciiCaseOnly) {
  struct Case {
    std::string_view a;
    std::string_view b;
    bool expected;
  };
  const Case cases[] = {
      {"Count", "Count", true}, {"Count", "COUNT", true},    {"count", "cOuNt", true},
      {"", "", true},           {"Count", "Counter", false}, {"Counter", "Count", false},
      {"Count", "", false},     {"Count1", "Count2", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string{c.a} + " / " + std::string{c.b});
    EXPECT_EQ(host::SameName(c.a, c.b), c.expected);
  }
}

}  // namespace
