// tests/host/source_files/source_code_module_test.cpp: a source file's text as a code module: the code
// module's contract, what the pane shows of the file, where edits land among the hidden lines, the
// breaks of new lines, and the byte-for-byte round trip.
#include "host/source_files/source_code_module.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <deque>
#include <iterator>
#include <memory>
#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "host/host_error.h"
#include "host/source_files/edited_pieces.h"
#include "host/vb_errors.h"
#include "testing/ide/memory_code_module.h"
#include "tests/host/code_module_contract.h"
#include "tests/support/temp_folder.h"
#include "tests/support/visible.h"

namespace {

// The file's lines as the line reader gives them, each with its own break.
std::vector<host::PhysicalLine> FileLines(std::string_view text) {
  std::vector<host::PhysicalLine> lines;
  host::LineCursor cursor{text};
  for (host::LineView line; cursor.Next(line);)
    lines.push_back({std::string{line.text}, std::string{line.ending}});
  return lines;
}

std::vector<std::string> AsVector(const std::deque<std::string>& lines) {
  return {lines.begin(), lines.end()};
}

using host::HostError;
using host::MemoryCodeModule;
using host::ProcKind;
using host::SourceCodeModule;
using host::SourceKind;
using test::CodeModuleContract;

using namespace std::string_literals;

constexpr SourceKind kBas = SourceKind::kStandardModule;
constexpr SourceKind kDescribed = SourceKind::kDescribedModule;

std::string CrLfFile(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

// A user control with every kind of hidden line: nested Begin blocks with a BeginProperty, the
// Attribute VB_ lines of the header, and Attribute lines after an Event, a variable and a Property
// Get's declaration; its declarations hold an Enum, a Type, an #If block and a continued Declare.
const std::vector<std::string> kDial = {
    "VERSION 5.00",                                     // file 1
    "Begin VB.UserControl Dial ",                       // 2
    "   ClientHeight    =   600",                       // 3
    "   Begin VB.Label lblValue ",                      // 4
    "      BeginProperty Font ",                        // 5
    "         Name            =   \"Tahoma\"",          // 6
    "      EndProperty",                                // 7
    "   End",                                           // 8
    "End",                                              // 9
    "Attribute VB_Name = \"Dial\"",                     // 10
    "Attribute VB_Exposed = True",                      // 11
    "Option Explicit",                                  // 12, code 1
    "Public Event Click()",                             // 13, code 2
    "Attribute Click.VB_UserMemId = -600",              // 14
    "Public Caption As String",                         // 15, code 3
    "Attribute Caption.VB_VarUserMemId = -518",         // 16
    "Private Enum Mode",                                // 17, code 4
    "    mdOne = 1",                                    // 18, code 5
    "End Enum",                                         // 19, code 6
    "Private Type Span",                                // 20, code 7
    "    Low As Long",                                  // 21, code 8
    "End Type",                                         // 22, code 9
    "#If DEBUG_DIAL Then",                              // 23, code 10
    "Private Const TRACE As Boolean = True",            // 24, code 11
    "#End If",                                          // 25, code 12
    "Private Declare Function GetTickCount _",          // 26, code 13
    "    Lib \"kernel32\" () As Long",                  // 27, code 14
    "",                                                 // 28, code 15
    "Public Property Get Value() As Long",              // 29, code 16
    "Attribute Value.VB_UserMemId = 0",                 // 30
    "Attribute Value.VB_Description = \"The value.\"",  // 31
    "    Value = 1",                                    // 32, code 17
    "End Property",                                     // 33, code 18
    "",                                                 // 34, code 19
    "Private Sub UserControl_Click()",                  // 35, code 20
    "    RaiseEvent Click",                             // 36, code 21
    "End Sub",                                          // 37, code 22
};

// The code lines of kDial: the file's lines after the header, without the Attribute lines.
std::vector<std::string> DialCode() {
  std::vector<std::string> code;
  for (std::size_t i = 11; i < kDial.size(); ++i) {
    if (kDial[i].rfind("Attribute ", 0) != 0) code.push_back(kDial[i]);
  }
  return code;
}

// kDial with `inserted` put after its file line `after` (0 for the very start).
std::string DialWith(std::size_t after, const std::vector<std::string>& inserted) {
  std::vector<std::string> lines = kDial;
  lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(after), inserted.begin(), inserted.end());
  return CrLfFile(lines);
}

// The module of a standard module's file, hidden name attribute first, whose code lines are `lines`.
std::shared_ptr<host::CodeModule> MakeSourceModule(const std::vector<std::string>& lines) {
  std::string text = "Attribute VB_Name = \"Contract\"\r\n";
  for (const std::string& line : lines) text += line + "\r\n";
  return std::make_shared<SourceCodeModule>(text, kBas);
}

INSTANTIATE_TEST_SUITE_P(Source, CodeModuleContract, testing::ValuesIn(test::ContractRuns(MakeSourceModule)),
                         test::ContractCaseName);

// ---------------------------------------------------------------------------------------------
// What the pane shows

TEST(SourceCodeModuleTest, CodeLinesAreTheFileWithoutItsHiddenLines) {
  const SourceCodeModule module{CrLfFile(kDial), kDescribed};
  EXPECT_EQ(module.HiddenHeaderLines(), 11L);
  EXPECT_EQ(module.FileLineCount(), 37L);
  EXPECT_EQ(module.CountOfLines(), 22L);
  EXPECT_EQ(AsVector(module.lines()), DialCode());
  EXPECT_EQ(module.Lines(1L, 3L), "Option Explicit\r\nPublic Event Click()\r\nPublic Caption As String");
  EXPECT_EQ(module.Lines(16L, 2L), "Public Property Get Value() As Long\r\n    Value = 1");
}

TEST(SourceCodeModuleTest, CodeLineOfEveryFileLine) {
  const SourceCodeModule module{CrLfFile(kDial), kDescribed};
  // The code line each file line shows as, file line 1 first; 0 for the hidden header.
  const long expected[] = {0, 0, 0, 0,  0,  0,  0,  0,  0,  0,  0,  1,  2,  2,  3,  3,  4,  5, 6,
                           7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 16, 16, 17, 18, 19, 20, 21, 22};
  ASSERT_EQ(std::size(expected), kDial.size());
  for (long fileLine = 1; fileLine <= 37; ++fileLine) {
    SCOPED_TRACE("file line " + std::to_string(fileLine));
    EXPECT_EQ(module.CodeLineOfFileLine(fileLine), expected[fileLine - 1]);
  }
  for (const long outside : {0L, -1L, 38L, 1000L})
    EXPECT_EQ(module.CodeLineOfFileLine(outside), 0L) << outside;
}

TEST(SourceCodeModuleTest, StandardModuleHidesOnlyItsNameAttribute) {
  const std::string text =
      CrLfFile({"Attribute VB_Name = \"Startup\"", "Option Explicit", "", "Public Sub Main()",
                "Attribute Main.VB_Description = \"Starts.\"", "End Sub"});
  const SourceCodeModule module{text, kBas};
  EXPECT_EQ(module.HiddenHeaderLines(), 1L);
  EXPECT_EQ(AsVector(module.lines()),
            (std::vector<std::string>{"Option Explicit", "", "Public Sub Main()", "End Sub"}));
  EXPECT_EQ(module.CodeLineOfFileLine(1L), 0L);
  EXPECT_EQ(module.CodeLineOfFileLine(5L), 3L);
  EXPECT_EQ(module.CodeLineOfFileLine(6L), 4L);
  EXPECT_EQ(module.ProcBodyLine("Main", ProcKind::kProc), 3L);
  EXPECT_EQ(module.Text(), text);
}

// An Attribute line before the first code line has no line to follow: it stays with the header.
TEST(SourceCodeModuleTest, MemberAttributeBeforeAnyCodeStaysHidden) {
  const std::string text = CrLfFile({"VERSION 1.0 CLASS", "BEGIN", "END", "Attribute VB_Name = \"C\"",
                                     "Attribute Value.VB_UserMemId = 0", "Option Explicit"});
  SourceCodeModule module{text, kDescribed};
  EXPECT_EQ(module.HiddenHeaderLines(), 5L);
  EXPECT_EQ(AsVector(module.lines()), std::vector<std::string>{"Option Explicit"});
  module.InsertLines(1L, "' first");
  EXPECT_EQ(test::Visible(module.Text()),
            test::Visible(CrLfFile({"VERSION 1.0 CLASS", "BEGIN", "END", "Attribute VB_Name = \"C\"",
                                    "Attribute Value.VB_UserMemId = 0", "' first", "Option Explicit"})));
}

TEST(SourceCodeModuleTest, UnterminatedBeginBlockIsAClearError) {
  try {
    const SourceCodeModule module{
        CrLfFile({"VERSION 5.00", "Begin VB.Form F", "   Begin VB.Label L", "   End"}), kDescribed};
    ADD_FAILURE() << "no error";
  } catch (const host::SourceFormatError& error) {
    EXPECT_EQ(std::string{error.what()}, "line 2: Begin without End");
  }
}

// ---------------------------------------------------------------------------------------------
// Where edits land among the hidden lines

struct PlacementCase {
  const char* label;
  bool addFromString;  // otherwise InsertLines at `line`
  long line;
  std::string_view text;
  std::size_t afterFileLine;  // the new lines follow this line of kDial
  std::vector<std::string> inserted;
};

void PrintTo(const PlacementCase& c, std::ostream* os) {
  *os << c.label;
}

class PlacementTest : public testing::TestWithParam<PlacementCase> {};

TEST_P(PlacementTest, HiddenLinesStayAfterTheLineTheyFollow) {
  const PlacementCase& c = GetParam();
  SourceCodeModule module{CrLfFile(kDial), kDescribed};
  if (c.addFromString) {
    module.AddFromString(c.text);
  } else {
    module.InsertLines(c.line, c.text);
  }
  EXPECT_EQ(test::Visible(module.Text()), test::Visible(DialWith(c.afterFileLine, c.inserted)));
  EXPECT_EQ(module.FileLineCount(), static_cast<long>(kDial.size() + c.inserted.size()));
}

INSTANTIATE_TEST_SUITE_P(
    Dial, PlacementTest,
    testing::Values(
        // The declarations end with the continued Declare: the text goes after its second line.
        PlacementCase{"AddFromStringAfterDeclarations",
                      true,
                      0,
                      "Private m_Mode As Mode",
                      27,
                      {"Private m_Mode As Mode"}},
        PlacementCase{"AddFromStringSeveralLines", true, 0, "Dim a\rDim b", 27, {"Dim a", "Dim b"}},
        PlacementCase{"AtFirstCodeLineAfterTheHeader", false, 1, "' first", 11, {"' first"}},
        PlacementCase{"BeforeTheEvent", false, 2, "' events", 12, {"' events"}},
        PlacementCase{"AfterTheEventAndItsAttribute",
                      false,
                      3,
                      "Public Event Changed()",
                      14,
                      {"Public Event Changed()"}},
        PlacementCase{"AfterTheVariableAndItsAttribute", false, 4, "' modes", 16, {"' modes"}},
        PlacementCase{"BeforeTheGetDeclaration", false, 16, "' the value", 28, {"' the value"}},
        // First in the Get's body: after both of its Attribute lines.
        PlacementCase{"AfterTheGetDeclarationAndItsAttributes",
                      false,
                      17,
                      "    ' first\r    ' second",
                      31,
                      {"    ' first", "    ' second"}},
        PlacementCase{"AtTheEnd", false, 23, "' last", 37, {"' last"}},
        PlacementCase{"EmptyTextIsOneEmptyLine", false, 18, "", 32, {""}}),
    [](const testing::TestParamInfo<PlacementCase>& info) { return std::string{info.param.label}; });

TEST(PlacementTest, EditsPileUpAroundTheSameAttributes) {
  SourceCodeModule module{CrLfFile(kDial), kDescribed};
  module.InsertLines(16L, "' above");              // before the Get: its attributes move with it
  module.InsertLines(18L, "    ' inside");         // right after the Get's declaration
  module.InsertLines(3L, "Public Event Other()");  // after the Click event's attribute
  module.AddFromString("Dim n");                   // after the Declare, which moved down by one
  std::vector<std::string> expected = kDial;
  expected.insert(expected.begin() + 31, "    ' inside");
  expected.insert(expected.begin() + 28, "' above");
  expected.insert(expected.begin() + 27, "Dim n");
  expected.insert(expected.begin() + 14, "Public Event Other()");
  EXPECT_EQ(test::Visible(module.Text()), test::Visible(CrLfFile(expected)));
  EXPECT_EQ(module.CodeLineOfFileLine(15L), 3L);   // the new event
  EXPECT_EQ(module.CodeLineOfFileLine(32L), 19L);  // the Get's declaration
  EXPECT_EQ(module.CodeLineOfFileLine(33L), 19L);  // Attribute Value.VB_UserMemId shows as its declaration
  EXPECT_EQ(module.CodeLineOfFileLine(35L), 20L);  // the line inserted first in its body
  EXPECT_EQ(module.ProcBodyLine("Value", ProcKind::kGet), 19L);
}

TEST(PlacementTest, FailedInsertChangesNothing) {
  SourceCodeModule module{CrLfFile(kDial), kDescribed};
  for (const long line : {0L, -1L, 24L, 100L}) {
    SCOPED_TRACE(line);
    try {
      module.InsertLines(line, "x\ry");
      ADD_FAILURE() << "no error";
    } catch (const HostError& error) {
      EXPECT_EQ(error.number(), host::kErrInvalidCall);
    }
    EXPECT_EQ(module.Text(), CrLfFile(kDial));
    EXPECT_EQ(module.FileLineCount(), 37L);
  }
  // The module still edits correctly afterwards.
  module.InsertLines(17L, "    ' first");
  EXPECT_EQ(module.Text(), DialWith(31, {"    ' first"}));
}

TEST(PaneTest, CaretAndModule) {
  const auto module = std::make_shared<SourceCodeModule>(CrLfFile(kDial), kDescribed);
  module->pane().SetCaret(17L);
  const std::shared_ptr<host::CodePane> pane = module->CodePane();
  ASSERT_NE(pane, nullptr);
  const host::Selection selection = pane->GetSelection();
  EXPECT_EQ(selection.startLine, 17L);
  EXPECT_EQ(selection.startColumn, 1L);
  EXPECT_EQ(selection.endLine, 17L);
  EXPECT_EQ(selection.endColumn, 1L);
  EXPECT_EQ(pane->CodeModule().get(), module.get());
  // The pane keeps its module alive.
  const std::weak_ptr<SourceCodeModule> watch = module;
  const std::shared_ptr<host::CodeModule> held = pane->CodeModule();
  EXPECT_GE(watch.use_count(), 3);
}

TEST(PaneTest, ModuleOnTheStackLendsItsPane) {
  SourceCodeModule module{"Sub A()\r\nEnd Sub\r\n", kBas};
  module.pane().SetCaret(2L);
  const std::shared_ptr<host::CodePane> pane = module.CodePane();
  ASSERT_NE(pane, nullptr);
  EXPECT_EQ(pane->GetSelection().startLine, 2L);
  EXPECT_EQ(pane->CodeModule().get(), &module);
}

// ---------------------------------------------------------------------------------------------
// Line breaks of new lines, and the final break

struct BreakCase {
  const char* label;
  std::string_view before;
  SourceKind kind;
  bool addFromString;
  long line;  // for InsertLines; 0 for CountOfLines() + 1
  std::string_view text;
  std::string_view after;
};

void PrintTo(const BreakCase& c, std::ostream* os) {
  *os << c.label;
}

class BreakTest : public testing::TestWithParam<BreakCase> {};

TEST_P(BreakTest, NewLinesTakeTheDominantBreakAndOldLinesKeepTheirs) {
  const BreakCase& c = GetParam();
  SourceCodeModule module{c.before, c.kind};
  if (c.addFromString) {
    module.AddFromString(c.text);
  } else {
    module.InsertLines(c.line == 0 ? module.CountOfLines() + 1 : c.line, c.text);
  }
  EXPECT_EQ(test::Visible(module.Text()), test::Visible(c.after));
}

INSTANTIATE_TEST_SUITE_P(
    Files, BreakTest,
    testing::Values(
        BreakCase{"CrLf", "a\r\nb\r\n", kBas, false, 2, "x\ry", "a\r\nx\r\ny\r\nb\r\n"},
        BreakCase{"LfOnly", "Attribute VB_Name = \"M\"\nOption Explicit\nSub A()\nEnd Sub\n", kBas, true, 0,
                  "Dim m\rDim n",
                  "Attribute VB_Name = \"M\"\nOption Explicit\nDim m\nDim n\nSub A()\nEnd Sub\n"},
        BreakCase{"CrOnly", "a\rb\r", kBas, false, 1, "x\r\ny", "x\ry\ra\rb\r"},
        BreakCase{"MixedMostlyLf", "a\nb\nc\r\n", kBas, false, 3, "x", "a\nb\nx\nc\r\n"},
        BreakCase{"MixedMostlyCrKeepsTheOthers", "a\r\nb\rc\rd\n", kBas, false, 2, "x", "a\r\nx\rb\rc\rd\n"},
        BreakCase{"TieGivesCrLf", "a\nb\r\n", kBas, false, 2, "x", "a\nx\r\nb\r\n"},
        BreakCase{"NoBreakAtAllGivesCrLf", "a", kBas, false, 1, "x", "x\r\na"},
        BreakCase{"EmptyFileGivesCrLf", "", kBas, true, 0, "Sub A()\rEnd Sub", "Sub A()\r\nEnd Sub\r\n"},
        // A file that ends without a break still does after lines are added at its end.
        BreakCase{"AppendKeepsMissingFinalBreak", "a\r\nb", kBas, false, 0, "x\ry", "a\r\nb\r\nx\r\ny"},
        BreakCase{"AppendKeepsMissingFinalBreakLf", "a\nb", kBas, false, 0, "x", "a\nb\nx"},
        // An empty last line without a break is the break of the line before it.
        BreakCase{"AppendEmptyLastLineWithoutFinalBreak", "a\r\nb", kBas, false, 0, "x\r", "a\r\nb\r\nx\r\n"},
        BreakCase{"AppendKeepsFinalBreak", "a\r\nb\r\n", kBas, false, 0, "x", "a\r\nb\r\nx\r\n"},
        BreakCase{"AppendAfterBlankLastLine", "a\r\n\r\n", kBas, false, 0, "x", "a\r\n\r\nx\r\n"},
        BreakCase{"InsertInsideKeepsMissingFinalBreak", "a\r\nb", kBas, false, 1, "x", "x\r\na\r\nb"},
        BreakCase{"AddFromStringWithoutRoutineKeepsMissingFinalBreak", "Option Explicit\r\n' note", kBas,
                  true, 0, "Dim m", "Option Explicit\r\n' note\r\nDim m"},
        BreakCase{"AddFromStringAfterTrailingAttributeWithoutBreak",
                  "Public Event Click()\r\nAttribute Click.VB_UserMemId = -600", kDescribed, true, 0, "Dim m",
                  "Public Event Click()\r\nAttribute Click.VB_UserMemId = -600\r\nDim m"},
        BreakCase{"AddFromStringAfterHeaderWithoutBreak", "Attribute VB_Name = \"M\"", kBas, true, 0, "Dim m",
                  "Attribute VB_Name = \"M\"\r\nDim m"},
        BreakCase{"AddFromStringAfterLfHeaderWithoutBreak",
                  "VERSION 1.0 CLASS\nBEGIN\nEND\nAttribute VB_Name = \"C\"", kDescribed, true, 0,
                  "Dim m\rDim n", "VERSION 1.0 CLASS\nBEGIN\nEND\nAttribute VB_Name = \"C\"\nDim m\nDim n"},
        BreakCase{"AddFromStringBeforeRoutineKeepsMissingFinalBreak", "Option Explicit\r\nSub A()\r\nEnd Sub",
                  kBas, true, 0, "Dim m", "Option Explicit\r\nDim m\r\nSub A()\r\nEnd Sub"}),
    [](const testing::TestParamInfo<BreakCase>& info) { return std::string{info.param.label}; });

// ---------------------------------------------------------------------------------------------
// Unedited files come back byte for byte

std::string Example(const char* name) {
  return test::ReadFile(std::string{SCRIVLET_EXAMPLES_DIR} + "/" + name);
}

TEST(SourceRoundTripTest, ExamplesAreThere) {
  for (const char* name : {"Gauge.ctl", "Invoice.cls", "Startup.bas"}) EXPECT_NE(Example(name), "") << name;
}

TEST(SourceRoundTripTest, UneditedFileComesBackByteForByte) {
  struct Case {
    std::string label;
    std::string text;
    SourceKind kind;
  };
  const Case cases[] = {
      {"Gauge.ctl", Example("Gauge.ctl"), kDescribed},
      {"Invoice.cls", Example("Invoice.cls"), kDescribed},
      {"Startup.bas", Example("Startup.bas"), kBas},
      {"Dial", CrLfFile(kDial), kDescribed},
      {"Empty", "", kBas},
      {"OneBreak", "\r\n", kBas},
      {"LfOnly", "VERSION 5.00\nBegin VB.Form F\nEnd\nAttribute VB_Name = \"F\"\nSub A()\nEnd Sub\n",
       kDescribed},
      {"CrOnly", "Attribute VB_Name = \"M\"\rSub A()\rAttribute A.VB_UserMemId = 0\rEnd Sub\r", kBas},
      {"Mixed", "Attribute VB_Name = \"M\"\nOption Explicit\r\n\rSub A()\n\r\nEnd Sub", kBas},
      {"NoFinalBreak", "Attribute VB_Name = \"M\"\r\nOption Explicit", kBas},
      {"HeaderOnlyNoFinalBreak", "VERSION 1.0 CLASS\r\nBEGIN\r\nEND\r\nAttribute VB_Name = \"C\"",
       kDescribed},
      {"AttributeLastNoFinalBreak", "Public Event Click()\r\nAttribute Click.VB_UserMemId = -600",
       kDescribed},
      {"TrailingBlanks", "Attribute VB_Name = \"M\"  \r\nOption Explicit \t\r\n   \r\n", kBas},
      {"BlankLinesAtTheEnd", "Sub A()\r\nEnd Sub\r\n\r\n\r\n", kBas},
      {"CrCrLf", "a\r\r\nb\n\rc", kBas},
      {"OtherBytes", "' \xC2\x81\xC3\xA9\0\x1A\r\nDim a\r\n"s, kBas},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    const SourceCodeModule module{c.text, c.kind};
    EXPECT_EQ(test::Visible(module.Text()), test::Visible(c.text));
    EXPECT_EQ(module.FileLineCount(), static_cast<long>(FileLines(c.text).size()));
  }
}

// Runs of unchanged lines are written a chunk at a time: Attribute lines after the last line of a
// chunk stay, and so does the break that a last line without one takes when a line is added after it.
TEST(SourceRoundTripTest, LongFilesKeepTheirHiddenLinesAndBreaks) {
  for (const std::size_t owner : {511U, 512U, 513U, 1000U}) {
    SCOPED_TRACE("Attribute lines after code line " + std::to_string(owner));
    std::vector<std::string> file{"Attribute VB_Name = \"Big\""};
    for (std::size_t line = 1; line <= 1024; ++line) {  // two whole chunks
      file.push_back("x = " + std::to_string(line));
      if (line == owner) file.insert(file.end(), {"Attribute x.VB_Description = \"d\"", "Attribute y"});
    }
    std::string text = CrLfFile(file);
    text.resize(text.size() - 2);  // no final break
    SourceCodeModule module{text, kBas};
    EXPECT_EQ(module.Text(), text);
    module.InsertLines(module.CountOfLines() + 1, "y = 1");
    EXPECT_EQ(module.Text(), text + "\r\ny = 1");
  }
}

// ---------------------------------------------------------------------------------------------
// The generator's edits, one after the other: the code lines follow the built-in IDE's module given
// the same edits, and every hidden line stays in place

struct Edit {
  bool addFromString;
  long line;  // for InsertLines: 0 for CountOfLines() + 1
  std::string_view text;
};

struct EditsCase {
  std::string label;
  std::string text;
  SourceKind kind;
};

void PrintTo(const EditsCase& c, std::ostream* os) {
  *os << c.label;
}

// Reads the file's lines back out of Text(): every code line in order at the file line that
// shows it, and an Attribute line wherever a file line shows the code line above it.
void ExpectTextHoldsTheCodeLines(const SourceCodeModule& module) {
  const std::vector<host::PhysicalLine> file = FileLines(module.Text());
  ASSERT_EQ(static_cast<long>(file.size()), module.FileLineCount());
  const std::deque<std::string> code = module.lines();
  long previous = 0;
  for (long fileLine = module.HiddenHeaderLines() + 1; fileLine <= module.FileLineCount(); ++fileLine) {
    const long codeLine = module.CodeLineOfFileLine(fileLine);
    const std::string& text = file[static_cast<std::size_t>(fileLine - 1)].text;
    if (codeLine == previous) {
      EXPECT_TRUE(host::IsAttributeLine(text)) << "file line " << fileLine << ": " << text;
    } else {
      ASSERT_EQ(codeLine, previous + 1) << "file line " << fileLine;
      EXPECT_EQ(text, code[static_cast<std::size_t>(codeLine - 1)]) << "file line " << fileLine;
    }
    previous = codeLine;
  }
  EXPECT_EQ(previous, module.CountOfLines());
}

// Makes `edit` on both modules: AddFromString, or InsertLines at its line (0: after the last).
template <typename AnEdit>
void ApplyToBoth(const AnEdit& edit, SourceCodeModule& source, MemoryCodeModule& memory) {
  if (edit.addFromString) {
    source.AddFromString(edit.text);
    memory.AddFromString(edit.text);
  } else {
    const long line = edit.line == 0 ? memory.CountOfLines() + 1 : edit.line;
    source.InsertLines(line, edit.text);
    memory.InsertLines(line, edit.text);
  }
}

class EditsTest : public testing::TestWithParam<EditsCase> {};

TEST_P(EditsTest, CodeLinesFollowTheBuiltInModuleAndHiddenLinesStay) {
  const EditsCase& c = GetParam();
  SourceCodeModule source{c.text, c.kind};
  MemoryCodeModule memory{source.lines()};
  // What the generator hands a module: routines and declarations added ahead of the first routine,
  // lines inserted into a routine's body, and text at the very start and the very end.
  const Edit edits[] = {
      {true, 0, "Private m_Title AS String"},
      {true, 0, "Property Get Title( )AS String\r'Body\rEnd Property"},
      {true, 0, "Private Sub UserControl_ReadProperties (PropBag As PropertyBag)\rEnd Sub"},
      {false, 1, "' first"},
      {false, 0, "' last\r' very last"},
      {false, 3, "x\r\ny\nz"},
      {true, 0, ""},
  };
  ExpectTextHoldsTheCodeLines(source);
  for (const Edit& edit : edits) {
    SCOPED_TRACE(test::Visible(edit.text));
    ApplyToBoth(edit, source, memory);
    EXPECT_EQ(source.lines(), memory.lines());
    ExpectTextHoldsTheCodeLines(source);
  }
  // Into the body of the procedure added last, as the generator puts its PropertyBag lines.
  const long body = memory.ProcBodyLine("UserControl_ReadProperties", ProcKind::kProc);
  source.InsertLines(body + 1, "m_Title = PropBag.ReadProperty (\"Title\")");
  memory.InsertLines(body + 1, "m_Title = PropBag.ReadProperty (\"Title\")");
  EXPECT_EQ(source.lines(), memory.lines());
  ExpectTextHoldsTheCodeLines(source);
}

INSTANTIATE_TEST_SUITE_P(
    Files, EditsTest,
    testing::Values(
        EditsCase{"Dial", CrLfFile(kDial), kDescribed}, EditsCase{"Gauge", Example("Gauge.ctl"), kDescribed},
        EditsCase{"Invoice", Example("Invoice.cls"), kDescribed},
        EditsCase{"Startup", Example("Startup.bas"), kBas}, EditsCase{"EmptyFile", "", kBas},
        EditsCase{"HeaderOnly", "VERSION 1.0 CLASS\nBEGIN\nEND\nAttribute VB_Name = \"C\"\n", kDescribed},
        EditsCase{"NoRoutineNoFinalBreak", "Attribute VB_Name = \"M\"\rOption Explicit\rDim a", kBas},
        EditsCase{"ContinuedDeclarationWithAttribute",
                  CrLfFile({"Option Explicit", "' about Total", "Public Function Total( _",
                            "    ByVal a As Long) As Long", "Attribute Total.VB_UserMemId = 0",
                            "    Total = a", "End Function"}),
                  kDescribed}),
    [](const testing::TestParamInfo<EditsCase>& info) { return info.param.label; });

// ---------------------------------------------------------------------------------------------
// A module larger than the pieces its lines and routines are kept in

// `count` Subs named `prefix` and a number, each with an Attribute line after its declaration.
std::vector<std::string> Subs(const std::string& prefix, int count) {
  std::vector<std::string> lines;
  for (int i = 0; i < count; ++i) {
    const std::string name = prefix + std::to_string(i);
    lines.insert(lines.end(), {"Sub " + name + "()", "Attribute " + name + ".VB_Description = \"d\"",
                               "    x = " + std::to_string(i), "End Sub", ""});
  }
  return lines;
}

// Inserted small and large (a thousand lines, hundreds of routines at once), at the start, ahead of
// the first routine and in between: the code lines, the routines and the file stay those of the built-in
// IDE's module, and what no edit touched is still read in place from the file's text.
TEST(LargeModuleTest, EditsAllOverFollowTheBuiltInModule) {
  std::vector<std::string> file{"Attribute VB_Name = \"Big\"", "Option Explicit", "Dim x As Long"};
  const std::vector<std::string> subs = Subs("S", 700);
  file.insert(file.end(), subs.begin(), subs.end());
  const std::string text = CrLfFile(file);
  SourceCodeModule source{host::BorrowedText{text}, kBas};
  MemoryCodeModule memory{source.lines()};
  const std::vector<std::string> block = Subs("B", 300);
  std::string large;
  for (const std::string& line : block) {
    if (!host::IsAttributeLine(line)) large += line + "\r\n";
  }
  const struct {
    bool addFromString;
    long line;  // 0 for CountOfLines() + 1
    std::string text;
  } edits[] = {
      {false, 2100, large},
      {true, 0, "Private m_a As Long"},
      {false, 1, "' top"},
      {true, 0, large},
      {false, 7, "Function F()\r\n    F = 1\r\nEnd Function"},
      {false, 3000, "' a\r\n' b"},
      {true, 0, "Sub G()\rEnd Sub"},
      {false, 1500, large},
  };
  for (const auto& edit : edits) {
    SCOPED_TRACE(edit.line);
    ApplyToBoth(edit, source, memory);
    ASSERT_EQ(source.lines(), memory.lines());
  }
  for (const std::string name : {"S0", "S350", "S699", "B0", "B299", "F", "G"}) {
    SCOPED_TRACE(name);
    EXPECT_EQ(source.ProcStartLine(name, ProcKind::kProc), memory.ProcStartLine(name, ProcKind::kProc));
    EXPECT_EQ(source.ProcBodyLine(name, ProcKind::kProc), memory.ProcBodyLine(name, ProcKind::kProc));
  }
  for (long line = 1; line <= memory.CountOfLines(); line += 97) {
    EXPECT_EQ(source.ProcOfLine(line).name, memory.ProcOfLine(line).name) << "line " << line;
  }
  ExpectTextHoldsTheCodeLines(source);
  // The Subs below the last edit are one run of the file's own bytes.
  const std::vector<host::TextPiece> pieces = source.Pieces();
  ASSERT_FALSE(pieces.empty());
  EXPECT_TRUE(pieces.back().fromFile);
  EXPECT_EQ(pieces.back().text.data() + pieces.back().text.size(), text.data() + text.size());
  EXPECT_GT(pieces.back().text.size(), text.size() / 4);
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// A file written as its edits come equals the module's text once they are made in it

struct StreamedCase {
  const char* label;
  std::string text;
  SourceKind kind;
  std::vector<host::LineEdit> edits;  // in order, as a plan gives them
};

void PrintTo(const StreamedCase& c, std::ostream* os) {
  *os << c.label;
}

// The file EditedPieces puts together, the edits handed over `perCall` at a time.
std::string Streamed(const SourceCodeModule& module, const std::vector<host::LineEdit>& edits,
                     std::size_t perCall) {
  host::EditedPieces pieces{module, [](std::string_view line, long, std::string& out) { out += line; }};
  std::string text;
  const auto append = [&](std::span<const host::TextPiece> made) {
    for (const host::TextPiece& piece : made) text += piece.text;
  };
  for (std::size_t i = 0; i < edits.size(); i += perCall) {
    append(pieces.Next(std::span{edits}.subspan(i, std::min(perCall, edits.size() - i))));
  }
  append(pieces.Next({}));
  return text;
}

class StreamedTest : public testing::TestWithParam<StreamedCase> {};

TEST_P(StreamedTest, EqualsTheModuleOnceEdited) {
  const StreamedCase& c = GetParam();
  SourceCodeModule edited{c.text, c.kind};
  for (std::size_t i = c.edits.size(); i-- > 0;) {  // the last first, as a plan is made
    const host::LineEdit& edit = c.edits[i];
    if (edit.count > 0) edited.DeleteLines(edit.first, edit.count);
    if (edit.lineCount > 0) edited.InsertLines(edit.first, edit.text);
  }
  const SourceCodeModule module{c.text, c.kind};
  for (const std::size_t perCall : {std::size_t{1}, c.edits.size() + 1}) {
    SCOPED_TRACE(perCall);
    EXPECT_EQ(test::Visible(Streamed(module, c.edits, perCall)), test::Visible(edited.Text()));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Files, StreamedTest,
    testing::Values(
        // Around every kind of hidden line: after the Get's Attribute lines, replacing its body, and
        // both at once; ahead of the first code line; at the very end.
        StreamedCase{"Dial",
                     CrLfFile(kDial),
                     kDescribed,
                     {{1, 0, "' top", 1},
                      {4, 1, "Private Enum Modes\r' more", 2},
                      {17, 0, "    ' first\r    ' second", 2},
                      {17, 1, "    Value = 2", 1},
                      {19, 3, "", 0},
                      {23, 0, "' last", 1}}},
        StreamedCase{"NoFinalBreak", "a\r\nb", kBas, {{1, 1, "x\ry", 2}, {3, 0, "z", 1}}},
        StreamedCase{"NoFinalBreakEmptyLastLine", "a\r\nb", kBas, {{3, 0, "x\r", 2}}},
        StreamedCase{"NoFinalBreakLastLineDeleted", "a\r\nb", kBas, {{2, 1, "c", 1}}},
        StreamedCase{"LoneCrBeforeAnEmptyLine", "a\rb\n", kBas, {{2, 0, "", 1}, {2, 1, "x", 1}}},
        StreamedCase{"MixedBreaksMostlyCr", "a\r\nb\rc\rd\n", kBas, {{2, 0, "x\r\ny\nz", 3}, {4, 1, "w", 1}}},
        StreamedCase{"EmptyFile", "", kBas, {{1, 0, "Sub A()\rEnd Sub", 2}}},
        StreamedCase{"HeaderWithoutBreak", "Attribute VB_Name = \"M\"", kBas, {{1, 0, "Dim m", 1}}},
        StreamedCase{
            "Startup", Example("Startup.bas"), kBas, {{6, 0, "' header", 1}, {7, 2, "  Load x", 1}}}),
    [](const testing::TestParamInfo<StreamedCase>& info) { return std::string{info.param.label}; });

// What DeleteLines and InsertLines refuse, a streamed edit refuses: Attribute lines would be lost, or
// the edit is out of order or past the module.
TEST(StreamedTest, RefusesWhatTheModuleRefuses) {
  const SourceCodeModule module{CrLfFile(kDial), kDescribed};
  const std::vector<std::vector<host::LineEdit>> refused = {
      {{2, 1, "", 0}},                   // the event its attribute follows
      {{16, 2, "x", 1}},                 // the Get's declaration, which two follow
      {{5, 1, "x", 1}, {4, 0, "y", 1}},  // out of order
      {{23, 2, "x", 1}},                 // past the end
      {{0, 0, "x", 1}}};
  for (const std::vector<host::LineEdit>& edits : refused) {
    SCOPED_TRACE(edits.back().first);
    try {
      static_cast<void>(Streamed(module, edits, edits.size()));
      ADD_FAILURE() << "no error";
    } catch (const HostError& error) {
      EXPECT_EQ(error.number(), host::kErrInvalidCall);
    }
  }
}
