// Checks the reading of a source file's lines: breaks kept, the dominant break, the kind of file and
// the part of it that the code pane hides.
#include "host/source_files/source_lines.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "tests/support/visible.h"

namespace {

using host::PhysicalLine;
using namespace std::literals;
using host::SourceKind;

// Joins lines, each ended by CR LF, as VB6 writes a file.
std::string CrLfFile(std::initializer_list<std::string_view> lines) {
  std::string text;
  for (const std::string_view line : lines) {
    text += line;
    text += "\r\n";
  }
  return text;
}

// "text|ending" per line, so that a failing comparison shows both parts.
std::vector<std::string> Shown(const std::vector<PhysicalLine>& lines) {
  std::vector<std::string> shown;
  shown.reserve(lines.size());
  for (const PhysicalLine& line : lines) shown.push_back(line.text + "|" + test::Visible(line.ending));
  return shown;
}

// The readers driven over a whole text, line by line, as the source module drives them.
std::vector<PhysicalLine> Split(std::string_view text) {
  std::vector<PhysicalLine> lines;
  host::LineCursor cursor{text};
  for (host::LineView line; cursor.Next(line);)
    lines.push_back({std::string{line.text}, std::string{line.ending}});
  return lines;
}

std::string Dominant(std::string_view text) {
  host::EndingTally tally;
  for (const PhysicalLine& line : Split(text)) tally.Add(line.ending);
  return tally.Dominant();
}

std::size_t HeaderLength(std::string_view text, SourceKind kind) {
  const std::vector<PhysicalLine> lines = Split(text);
  host::HiddenHeaderReader reader{kind};
  std::size_t length = 0;
  while (length < lines.size() && reader.Take(lines[length].text)) ++length;
  if (length == lines.size()) reader.Finish();
  return length;
}

// ---------------------------------------------------------------------------------------------
// LineCursor

struct SplitCase {
  const char* label;
  std::string_view text;
  std::vector<PhysicalLine> lines;
};

void PrintTo(const SplitCase& c, std::ostream* os) {
  *os << c.label;
}

class LineCursorTest : public testing::TestWithParam<SplitCase> {};

TEST_P(LineCursorTest, KeepsEachLinesOwnBreak) {
  const SplitCase& c = GetParam();
  SCOPED_TRACE(test::Visible(c.text));
  const std::vector<PhysicalLine> lines = Split(c.text);
  EXPECT_EQ(Shown(lines), Shown(c.lines));
  // Putting the pieces back together gives the text again, byte for byte.
  std::string joined;
  for (const PhysicalLine& line : lines) joined += line.text + line.ending;
  EXPECT_EQ(joined, c.text);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, LineCursorTest,
    testing::Values(SplitCase{"EmptyTextHasNoLine", "", {}},
                    SplitCase{"LastLineWithoutBreak", "a", {{"a", ""}}},
                    SplitCase{"FinalBreakStartsNoFurtherLine", "a\r\n", {{"a", "\r\n"}}},
                    SplitCase{"CrLf", "a\r\nb\r\n", {{"a", "\r\n"}, {"b", "\r\n"}}},
                    SplitCase{"LfOnly", "a\nb\n", {{"a", "\n"}, {"b", "\n"}}},
                    SplitCase{"CrOnly", "a\rb\r", {{"a", "\r"}, {"b", "\r"}}},
                    SplitCase{"Mixed", "a\r\nb\nc\rd", {{"a", "\r\n"}, {"b", "\n"}, {"c", "\r"}, {"d", ""}}},
                    SplitCase{"BreakAloneIsOneEmptyLine", "\r\n", {{"", "\r\n"}}},
                    // LF then CR is two breaks; CR CR LF is a CR line then a CR LF line.
                    SplitCase{"LfCrIsTwoBreaks", "\n\r", {{"", "\n"}, {"", "\r"}}},
                    SplitCase{"CrCrLf", "a\r\r\nb", {{"a", "\r"}, {"", "\r\n"}, {"b", ""}}},
                    SplitCase{
                        "BlankLinesAtTheEnd", "a\r\n\r\n\r\n", {{"a", "\r\n"}, {"", "\r\n"}, {"", "\r\n"}}},
                    SplitCase{"TrailingBlanksKept", "a \t\r\n  b  ", {{"a \t", "\r\n"}, {"  b  ", ""}}},
                    SplitCase{"OtherBytesKept", "\xE9\0\x1A\r\n"sv, {{"\xE9\0\x1A"s, "\r\n"}}}),
    [](const testing::TestParamInfo<SplitCase>& info) { return std::string{info.param.label}; });

// A break at every place of a text longer than the bytes read at once, among bytes close to CR and
// LF that are no breaks.
TEST(LineCursorLongTextTest, BreakAnywhereIsFound) {
  const std::string filler =
      "ab\x0B\x0C\x8A\x8D\x0E\x1D\x2D\x8D"
      "cdefghijklmnopqrstu";
  for (const std::string_view lineBreak : {"\r"sv, "\n"sv, "\r\n"sv}) {
    for (std::size_t at = 0; at <= filler.size(); ++at) {
      const std::string text = filler.substr(0, at) + std::string{lineBreak} + filler.substr(at);
      SCOPED_TRACE(test::Visible(text));
      std::vector<PhysicalLine> expected{{filler.substr(0, at), std::string{lineBreak}}};
      if (at < filler.size()) expected.push_back({filler.substr(at), ""});
      EXPECT_EQ(Shown(Split(text)), Shown(expected));
    }
  }
}

// ---------------------------------------------------------------------------------------------
// EndingTally

TEST(EndingTallyTest, MostCommonBreakWinsAndTiesGiveCrLf) {
  struct Case {
    const char* label;
    std::string_view text;
    std::string_view ending;
  };
  const Case cases[] = {
      {"NoLine", "", "\r\n"},
      {"NoBreakAtAll", "a", "\r\n"},
      {"CrLfOnly", "a\r\nb\r\n", "\r\n"},
      {"LfOnly", "a\nb", "\n"},
      {"CrOnly", "a\rb\rc", "\r"},
      {"MostlyLf", "a\nb\nc\r\nd", "\n"},
      {"MostlyCr", "a\rb\rc\rd\r\ne\r\nf\ng\n", "\r"},
      {"MostlyCrLf", "a\r\nb\r\nc\nd\r", "\r\n"},
      {"LfTiedWithCrLf", "a\nb\r\n", "\r\n"},
      {"LfTiedWithCr", "a\nb\rc", "\r\n"},
      {"AllThreeTied", "a\nb\rc\r\n", "\r\n"},
      {"LfAndCrTiedAheadOfCrLf", "a\nb\nc\rd\re\r\n", "\r\n"},
      // The last line's missing break is not a style.
      {"MissingFinalBreakDoesNotCount", "a\nb", "\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    EXPECT_EQ(test::Visible(Dominant(c.text)), test::Visible(c.ending));
  }
}

// ---------------------------------------------------------------------------------------------
// SourceFileKindOfPath

TEST(SourceFileKindOfPathTest, ExtensionsInAnyCase) {
  using host::ComponentType;
  struct Case {
    std::string_view path;
    std::optional<ComponentType> component;  // described unless a standard module; nothing: not source
  };
  const Case cases[] = {
      {"Startup.bas", ComponentType::kStdModule},
      {"STARTUP.BAS", ComponentType::kStdModule},
      {"dir/Module1.Bas", ComponentType::kStdModule},
      {"Invoice.cls", ComponentType::kClassModule},
      {"Gauge.ctl", ComponentType::kUserControl},
      {"Viewer.DOB", ComponentType::kDocObject},
      {"/work/Form1.FRM", ComponentType::kVBForm},
      {"Page.pag", ComponentType::kPropPage},
      {"Report.dsr", ComponentType::kActiveXDesigner},
      {"a.b.ctl", ComponentType::kUserControl},
      {"Form1.frx", std::nullopt},  // the form's binary data, not source
      {"Project1.vbp", std::nullopt},
      {"notes.txt", std::nullopt},
      {"Makefile", std::nullopt},
      {"Module1.bas.orig", std::nullopt},
      {"Module1.", std::nullopt},
      {"Module1.ba", std::nullopt},
      {"Module1.bass", std::nullopt},
      {"src.bas/Makefile", std::nullopt},  // the dot is in a folder's name
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    const std::optional<host::SourceFileKind> kind = host::SourceFileKindOfPath(c.path);
    ASSERT_EQ(kind.has_value(), c.component.has_value());
    if (!kind) continue;
    EXPECT_EQ(kind->component, *c.component);
    EXPECT_EQ(kind->source, *c.component == ComponentType::kStdModule ? SourceKind::kStandardModule
                                                                      : SourceKind::kDescribedModule);
  }
}

// ---------------------------------------------------------------------------------------------
// IsAttributeLine

TEST(IsAttributeLineTest, TheWordAttributeThenABlank) {
  struct Case {
    std::string_view line;
    bool attribute;
  };
  const Case cases[] = {
      {"Attribute VB_Name = \"Startup\"", true},
      {"Attribute Value.VB_UserMemId = 0", true},
      {"Attribute Click.VB_UserMemId = -600", true},
      {"ATTRIBUTE VB_Name = \"x\"", true},
      {"Attribute\tVB_Exposed = True", true},
      {"Attribute", false},
      {"Attributes = 1", false},
      {"AttributeX = 1", false},
      {"' Attribute VB_Name = \"x\"", false},
      {"Dim Attribute As Long", false},
      {"", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    EXPECT_EQ(host::IsAttributeLine(c.line), c.attribute);
  }
}

// ---------------------------------------------------------------------------------------------
// HiddenHeaderReader

struct HeaderCase {
  const char* label;
  SourceKind kind;
  std::string text;
  std::size_t hidden;
};

void PrintTo(const HeaderCase& c, std::ostream* os) {
  *os << c.label;
}

class HiddenHeaderTest : public testing::TestWithParam<HeaderCase> {};

TEST_P(HiddenHeaderTest, CountsTheLinesThePaneDoesNotShow) {
  const HeaderCase& c = GetParam();
  SCOPED_TRACE(c.text);
  EXPECT_EQ(HeaderLength(c.text, c.kind), c.hidden);
}

constexpr SourceKind kBas = SourceKind::kStandardModule;
constexpr SourceKind kDescribed = SourceKind::kDescribedModule;

INSTANTIATE_TEST_SUITE_P(
    Shapes, HiddenHeaderTest,
    testing::Values(
        HeaderCase{"StandardModuleName", kBas,
                   CrLfFile({"Attribute VB_Name = \"Startup\"", "Option Explicit"}), 1},
        HeaderCase{
            "StandardModuleSeveralVbAttributes", kBas,
            CrLfFile({"Attribute VB_Name = \"Startup\"", "Attribute VB_Description = \"x\"", "Sub Main()"}),
            2},
        HeaderCase{"StandardModuleAnyCase", kBas, CrLfFile({"attribute vb_name = \"Startup\"", "Dim a"}), 1},
        HeaderCase{"StandardModuleWithoutAttribute", kBas, CrLfFile({"Option Explicit", "Sub Main()"}), 0},
        // A standard module has no form description: these lines are its code.
        HeaderCase{"StandardModuleShowsVersionAndBegin", kBas,
                   CrLfFile({"VERSION 5.00", "Begin VB.Form F", "End", "Attribute VB_Name = \"F\""}), 0},
        HeaderCase{"StandardModuleAttributeAfterCodeIsNotHeader", kBas,
                   CrLfFile({"Attribute VB_Name = \"M\"", "' note", "Attribute VB_Description = \"x\""}), 1},
        HeaderCase{"StandardModuleOnlyHeader", kBas, "Attribute VB_Name = \"M\"", 1},
        HeaderCase{"EmptyFile", kDescribed, "", 0},
        HeaderCase{"BlockEndWithBlanksAround", kDescribed,
                   CrLfFile({"VERSION 5.00", "Begin VB.Form F", " \tEnd \t", "Sub A()"}), 3},
        HeaderCase{"ClassWithUpperCaseBlock", kDescribed,
                   CrLfFile({"VERSION 1.0 CLASS", "BEGIN", "  MultiUse = -1  'True",
                             "  Persistable = 0  'NotPersistable", "END", "Attribute VB_Name = \"Invoice\"",
                             "Attribute VB_GlobalNameSpace = False", "Attribute VB_Creatable = True",
                             "Attribute VB_PredeclaredId = False", "Attribute VB_Exposed = False",
                             "Option Explicit"}),
                   10},
        HeaderCase{"FormWithNestedBlocksAndProperties", kDescribed,
                   CrLfFile({"VERSION 5.00", "Begin VB.Form frmMain ", "   Caption         =   \"Main\"",
                             "   Begin VB.Frame fraOptions ", "      Begin VB.CommandButton cmdOK ",
                             "         BeginProperty Font ", "            Name            =   \"Tahoma\"",
                             "         EndProperty", "      End", "   End", "   Begin VB.Timer tmrTick ",
                             "   End", "End", "Attribute VB_Name = \"frmMain\"", "Option Explicit"}),
                   14},
        HeaderCase{
            "UserControlWithObjectLines", kDescribed,
            CrLfFile({"VERSION 5.00",
                      "Object = \"{831FDD16-0C5C-11D2-A9FC-0000F8754DA1}#2.0#0\"; \"MSCOMCTL.OCX\"",
                      "Object=\"{F9043C88-F6F2-101A-A3C9-08002B2F49FB}#1.2#0\"; \"COMDLG32.OCX\"",
                      "Begin VB.UserControl Gauge ", "   ClientHeight    =   1335", "End",
                      "Attribute VB_Name = \"Gauge\"", "Attribute VB_Exposed = True", "Option Explicit"}),
            8},
        HeaderCase{
            "TabIndentedBlocks", kDescribed,
            CrLfFile({"VERSION 5.00", "Begin VB.Form F", "\tBegin VB.Label L", "\tEnd", "End", "Dim a"}), 5},
        // A property whose name starts like Begin or End does not open or close a block.
        HeaderCase{"PropertyNamesLikeBeginAndEnd", kDescribed,
                   CrLfFile({"VERSION 5.00", "Begin VB.Form F", "   EndProperty", "   Begin VB.Label L",
                             "      Ending=1", "   End", "End", "Sub A()"}),
                   7},
        HeaderCase{"DescriptionOnlyWholeFileHidden", kDescribed,
                   CrLfFile({"VERSION 5.00", "Begin VB.Form F", "End", "Attribute VB_Name = \"F\""}), 4},
        HeaderCase{"NoHeaderAtAll", kDescribed, CrLfFile({"Option Explicit", "Dim a"}), 0},
        // The first line of code ends the header; an Attribute of a member is not a header line.
        HeaderCase{"MemberAttributeIsNotHeader", kDescribed,
                   CrLfFile({"VERSION 1.0 CLASS", "BEGIN", "END", "Attribute VB_Name = \"C\"",
                             "Attribute Value.VB_UserMemId = 0", "Option Explicit"}),
                   4},
        HeaderCase{"CommentEndsTheHeader", kDescribed,
                   CrLfFile({"VERSION 5.00", "' a comment", "Begin VB.Form F", "End"}), 1},
        HeaderCase{"LfOnlyFile", kDescribed,
                   "VERSION 5.00\nBegin VB.Form F\nEnd\nAttribute VB_Name = \"F\"\nDim a\n", 4}),
    [](const testing::TestParamInfo<HeaderCase>& info) { return std::string{info.param.label}; });

TEST(HiddenHeaderTest, UnterminatedBeginBlockIsAClearError) {
  struct Case {
    std::string text;
    std::string_view message;
  };
  const Case cases[] = {
      {CrLfFile({"VERSION 5.00", "Begin VB.Form F", "   Caption = \"x\""}), "line 2: Begin without End"},
      // The inner block closes, the outer one does not.
      {CrLfFile({"VERSION 5.00", "Object = \"{x}#1.0#0\"; \"x.ocx\"", "Begin VB.Form F",
                 "   Begin VB.Label L", "   End", "Sub A()", "    x = 1"}),
       "line 3: Begin without End"},
      {"Begin", "line 1: Begin without End"},
      // A routine's End Sub is code: it does not close the block, which would swallow the code.
      {CrLfFile(
           {"VERSION 5.00", "Begin VB.UserControl C", "Sub A()", "    x = 1", "End Sub", "End Function"}),
       "line 2: Begin without End"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    try {
      HeaderLength(c.text, kDescribed);
      ADD_FAILURE() << "no error";
    } catch (const host::SourceFormatError& error) {
      EXPECT_EQ(std::string{error.what()}, c.message);
    }
  }
}

}  // namespace
