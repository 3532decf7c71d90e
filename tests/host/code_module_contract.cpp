// tests/host/code_module_contract.cpp: the table of what a code module answers and how it fails, and the
// one test that runs each case on a module of the implementation under test.
#include "tests/host/code_module_contract.h"

#include <climits>
#include <string_view>
#include <utility>

#include "host/code_pane.h"
#include "testing/ide/faulty_code_module.h"

namespace test {

using host::ProcKind;
using namespace std::string_view_literals;

namespace {

// What is asked of the module.
enum class Ask {
  kCountOfLines,
  kCountOfDeclarationLines,
  kLines,
  kProcLines,  // ProcStartLine and ProcBodyLine
  kProcOfLine,
  kInsertLines,
  kAddFromString,
  kCodePane,
};

struct Failure {
  long number;
  std::string_view description;
};

constexpr Failure kInvalidCall{5, "Invalid procedure call or argument"};
constexpr Failure kOutOfMemory{7, "Out of memory"};
constexpr Failure kNotDefined{35, "Sub or Function not defined"};
constexpr Failure kFileAccess{75, "Path/File access error"};
constexpr Failure kObjectNotSet{91, "Object variable or With block variable not set"};

}  // namespace

// Modules are written as their code lines, each ended by "\n": "" has no line, "\n" one empty line.
struct ContractCase {
  std::string_view label;
  std::string_view code;
  Ask ask;
  long line = 0;   // Lines: start; ProcLines: the start line; ProcOfLine: the first line; InsertLines
  long count = 0;  // Lines: count; ProcLines: the body line; ProcOfLine: the last line
  std::string_view name = {};
  ProcKind kind = ProcKind::kProc;
  std::string_view text = {};    // what InsertLines or AddFromString is given
  std::string_view answer = {};  // Lines' text; ProcOfLine's routine ("Get Count"); an edit's module after
  const Failure* failure = nullptr;
  // A fault row asks through the fault decorator, whose plan fails the `faultNth` call of `faultCall`
  // with VB's error `fault->number`.
  std::string_view faultCall = {};
  int faultNth = 0;
  const Failure* fault = nullptr;
};

namespace {

// --- The rows, one kind of question each ---------------------------------------------------------------

using Text = std::string_view;

ContractCase Count(Text label, Text code, Text count) {
  return {label, code, Ask::kCountOfLines, 0, 0, {}, {}, {}, count};
}
ContractCase DeclarationLines(Text label, Text code, Text count) {
  return {label, code, Ask::kCountOfDeclarationLines, 0, 0, {}, {}, {}, count};
}
ContractCase Lines(Text label, Text code, long start, long count, Text text) {
  return {label, code, Ask::kLines, start, count, {}, {}, {}, text};
}
ContractCase Routine(Text label, Text code, Text name, ProcKind kind, long startLine, long bodyLine) {
  return {label, code, Ask::kProcLines, startLine, bodyLine, name, kind};
}
// ProcOfLine of every line from `first` to `last` gives `routine`: its kind and name ("Get Count"),
// or "(none)" outside every routine.
ContractCase OfLines(Text label, Text code, long first, long last, Text routine) {
  return {label, code, Ask::kProcOfLine, first, last, {}, {}, {}, routine};
}
ContractCase Insert(Text label, Text code, long line, Text text, Text after) {
  return {label, code, Ask::kInsertLines, line, 0, {}, {}, text, after};
}
ContractCase Add(Text label, Text code, Text text, Text after) {
  return {label, code, Ask::kAddFromString, 0, 0, {}, {}, text, after};
}
// The same question refused with `failure`; an edit refused leaves the module as it was.
ContractCase Refused(ContractCase c, const Failure& failure = kInvalidCall) {
  c.failure = &failure;
  return c;
}
ContractCase LinesRefused(Text label, Text code, long start, long count) {
  return Refused(Lines(label, code, start, count, {}));
}
ContractCase NoRoutine(Text label, Text code, Text name, ProcKind kind) {
  return Refused(Routine(label, code, name, kind, 0, 0), kNotDefined);
}
ContractCase InsertRefused(Text label, Text code, long line) {
  return Refused(Insert(label, code, line, "x\ry", {}));
}
// The question asked through the fault decorator until its plan fails the `nth` call of `call`, then
// once more: the failing call reaches no module, and those before and after it answer as ever.
ContractCase Planned(ContractCase c, Text call, int nth, const Failure& fault) {
  c.faultCall = call;
  c.faultNth = nth;
  c.fault = &fault;
  return c;
}

// --- The modules the rows ask about ------------------------------------------------------------------------

constexpr std::string_view kFour = "first\nsecond\nthird\nfourth\n";
constexpr std::string_view kTwo = "a\nb\n";

// Every kind of routine and every kind of statement that is not one.
constexpr std::string_view kModule =
    "Option Explicit\n"                                                    // 1
    "' Counter with a font\n"                                              // 2
    "Private Declare Function GetTickCount Lib \"kernel32\" () As Long\n"  // 3
    "Private Subtotal As Long\n"                                           // 4
    "Public Event Changed(ByVal value As Long)\n"                          // 5
    "Private Enum Colour\n"                                                // 6
    "    Red\n"                                                            // 7
    "End Enum\n"                                                           // 8
    "Private Type Point\n"                                                 // 9
    "    X As Long\n"                                                      // 10
    "End Type\n"                                                           // 11
    "\n"                                                                   // 12
    "' The counter's value\n"                                              // 13
    "Rem kept between calls\n"                                             // 14
    "Public Property Get Count() As Long\n"                                // 15
    "    Count = Subtotal\n"                                               // 16
    "End Property\n"                                                       // 17
    "\n"                                                                   // 18
    "' Sets the counter\n"                                                 // 19
    "Public Property Let Count(ByVal value As Long)\n"                     // 20
    "    Subtotal = value\n"                                               // 21
    "    Exit Property\n"                                                  // 22
    "End Property\n"                                                       // 23
    "\n"                                                                   // 24
    "Private Sub Reset()\n"                                                // 25
    "    If Subtotal > 0 Then Exit Sub\n"                                  // 26
    "    Subtotal = 0\n"                                                   // 27
    "End Sub\n"                                                            // 28
    "\n"                                                                   // 29
    "Public Function Total(ByVal a As Long, _\n"                           // 30
    "                      ByVal b As Long) As Long\n"                     // 31
    "    Total = a + b\n"                                                  // 32
    "End Function\n"                                                       // 33
    "Friend Property Set Font(ByVal value As Object)\n"                    // 34
    "End Property\n"                                                       // 35
    "\n"                                                                   // 36
    "' after the last routine\n";                                          // 37

// A user control's code: its declarations end with an #If block and a continued Declare.
constexpr std::string_view kDial =
    "Option Explicit\n"                          // 1
    "Public Event Click()\n"                     // 2
    "Public Caption As String\n"                 // 3
    "Private Enum Mode\n"                        // 4
    "    mdOne = 1\n"                            // 5
    "End Enum\n"                                 // 6
    "Private Type Span\n"                        // 7
    "    Low As Long\n"                          // 8
    "End Type\n"                                 // 9
    "#If DEBUG_DIAL Then\n"                      // 10
    "Private Const TRACE As Boolean = True\n"    // 11
    "#End If\n"                                  // 12
    "Private Declare Function GetTickCount _\n"  // 13
    "    Lib \"kernel32\" () As Long\n"          // 14
    "\n"                                         // 15
    "Public Property Get Value() As Long\n"      // 16
    "    Value = 1\n"                            // 17
    "End Property\n"                             // 18
    "\n"                                         // 19
    "Private Sub UserControl_Click()\n"          // 20
    "    RaiseEvent Click\n"                     // 21
    "End Sub\n";                                 // 22

constexpr std::string_view kCafe =
    "Property Get Caf\xC3\xA9() As String\n"
    "End Property\n"
    "Property Let Caf\xC3\xA9(ByVal v As String)\n"
    "End Property\n";

constexpr std::string_view kOneSub = "Option Explicit\n\nSub A()\nEnd Sub\n";

std::vector<ContractCase> Table() {
  constexpr ProcKind kProc = ProcKind::kProc;
  constexpr ProcKind kLet = ProcKind::kLet;
  constexpr ProcKind kSet = ProcKind::kSet;
  constexpr ProcKind kGet = ProcKind::kGet;
  return {
      // CountOfLines and Lines: lines joined by CR LF, without a final break.
      Count("CountOfAnEmptyModule", "", "0"),
      Count("CountOfOneEmptyLine", "\n", "1"),
      Count("CountOfFourLines", kFour, "4"),
      // CountOfDeclarationLines: up to the first routine's start line, or every line.
      DeclarationLines("DeclarationLinesEndAboveTheFirstRoutine", kModule, "11"),
      DeclarationLines("DeclarationLinesWithoutRoutineAreAll", "Option Explicit\n\n' note\n", "3"),
      DeclarationLines("DeclarationLinesBeforeARoutineOnLineOne", "Sub A()\nEnd Sub\n", "0"),
      Lines("LinesAll", kFour, 1, 4, "first\r\nsecond\r\nthird\r\nfourth"),
      Lines("LinesFirstOnly", kFour, 1, 1, "first"),
      Lines("LinesLastOnly", kFour, 4, 1, "fourth"),
      Lines("LinesMiddle", kFour, 2, 2, "second\r\nthird"),
      Lines("LinesNone", kFour, 2, 0, ""),
      Lines("LinesCountPastTheEndStopsAtTheLastLine", kFour, 2, LONG_MAX, "second\r\nthird\r\nfourth"),
      Lines("LinesFromJustAfterTheLastLine", kFour, 5, LONG_MAX, ""),
      Lines("LinesEmptyOnesKeepTheirBreaks", "a\n\n\nb\n", 1, 4, "a\r\n\r\n\r\nb"),
      Lines("LinesOnlyEmptyOnes", "a\n\n\nb\n", 2, 2, "\r\n"),
      Lines("LinesOfAnEmptyModule", "", 1, 0, ""),
      LinesRefused("LinesFromLineZero", kTwo, 0, 1),
      LinesRefused("LinesFromANegativeLine", kTwo, -3, 1),
      LinesRefused("LinesOfANegativeCount", kTwo, 1, -1),
      LinesRefused("LinesFromBeyondTheEnd", kTwo, 4, 1),
      LinesRefused("LinesFromBeyondTheEndOfAnEmptyModule", "", 2, 0),
      LinesRefused("LinesFromTheLastPossibleLine", kTwo, LONG_MAX, 1),

      // ProcStartLine and ProcBodyLine: the first routine starts right after the declarations
      // section's last statement, a later one right after the End line of the one before.
      Routine("FirstRoutineStartsAfterTheDeclarations", kModule, "Count", kGet, 12, 15),
      Routine("SameNameOtherKind", kModule, "Count", kLet, 18, 20),
      Routine("Sub", kModule, "Reset", kProc, 24, 25),
      Routine("ContinuedDeclaration", kModule, "Total", kProc, 29, 30),
      Routine("NoLineAbove", kModule, "Font", kSet, 34, 34),
      Routine("NameInAnyCase", kModule, "cOUNT", kGet, 12, 15),
      Routine("SubNameInAnyCase", kModule, "RESET", kProc, 24, 25),
      Routine("AfterIfBlockAndContinuedDeclare", kDial, "Value", kGet, 15, 16),
      Routine("SecondOfADialsRoutines", kDial, "UserControl_Click", kProc, 19, 20),
      Routine("RoutineOnTheFirstLine", "Sub A()\nEnd Sub\n", "A", kProc, 1, 1),
      Routine("OnlyCommentsAbove", "' one\n\nRem two\nSub A()\nEnd Sub\n", "A", kProc, 1, 4),
      Routine("CommentBetweenStatementsIsDeclarations",
              "Option Explicit\n' about m\nPrivate m As Long\n\n' about A\nSub A()\nEnd Sub\n", "A", kProc, 4,
              6),
      Routine("StatementRightAbove", "Option Explicit\nSub A()\nEnd Sub\n", "A", kProc, 2, 2),
      Routine("IndentedCommentAbove", "Option Explicit\n   ' about A\n\t\nSub A()\nEnd Sub\n", "A", kProc, 2,
              4),
      // The continuation line of the last statement still belongs to the declarations section.
      Routine("ContinuedStatementInDeclarations",
              "Private Const Name As String = _\n    \"x\"\n' about A\nSub A()\nEnd Sub\n", "A", kProc, 3, 4),
      Routine("SecondRoutineAfterEndLine",
              "Option Explicit\nSub A()\nEnd Sub\n\n' about B\nFunction B()\nEnd Function\n", "B", kProc, 4,
              6),
      Routine("SecondRoutineRightAfterEnd", "Sub A()\nEnd Sub\nSub B()\nEnd Sub\n", "B", kProc, 3, 3),
      Routine("EndWithTrailingComment", "Sub A()\nEnd Sub ' A\n\nSub B()\nEnd Sub\n", "B", kProc, 3, 4),
      Routine("IndentedAndInCapitals", "Option Explicit\n\tPUBLIC SUB A()\n  END SUB\nSub B()\nEnd Sub\n",
              "B", kProc, 4, 4),
      // "Exit Sub" and "End If" inside a routine do not end it, nor does an End of another kind.
      Routine("ExitAndEndIfDoNotEnd", "Sub A()\nIf x Then\nExit Sub\nEnd If\nEnd Sub\nSub B()\nEnd Sub\n",
              "B", kProc, 6, 6),
      Routine("OnlyTheMatchingEndEnds", "Sub A()\nEnd Function\nEnd Sub\nSub B()\nEnd Sub\n", "B", kProc, 4,
              4),
      Routine(
          "ContinuedOverThreeLines",
          "Option Explicit\n\nPublic Function F( _\n    ByVal a As Long, _\n    ByVal b As Long) As Long\n"
          "End Function\n",
          "F", kProc, 2, 3),
      Routine("DeclareAboveIsDeclarations",
              "Private Declare Sub Sleep Lib \"kernel32\" (ByVal ms As Long)\n\nSub A()\nEnd Sub\n", "A",
              kProc, 2, 3),
      // A break before the name, the kind word or the accessor still makes one declaration: " _" is
      // neither the name nor a word that stops the declaration.
      Routine("BreakBeforeTheName", "Option Explicit\nPublic Function _\n    Total() As Long\nEnd Function\n",
              "Total", kProc, 2, 2),
      Routine("BreakBeforeTheKindWord", "Option Explicit\nPublic _\nSub Reset()\nEnd Sub\n", "Reset", kProc,
              2, 2),
      Routine("BreakBeforeTheAccessor",
              "Option Explicit\nPublic Property _\n    Get Count() As Long\nEnd Property\n", "Count", kGet, 2,
              2),
      Routine("BlanksAfterTheBreak", "Option Explicit\nPublic Function _   \nTotal() As Long\nEnd Function\n",
              "Total", kProc, 2, 2),
      Routine("UnderscoresInTheName",
              "Option Explicit\nPrivate Sub Form_Load( _\n    ByVal my_x As Long)\nEnd Sub\n", "Form_Load",
              kProc, 2, 2),
      Routine("RoutineWithoutEndRunsToTheNextDeclaration", "Sub A()\nx = 1\n\nSub B()\ny = 2\n' last\n", "B",
              kProc, 4, 4),
      Routine("RoutineWithAnAccentedName", kCafe, "Caf\xC3\xA9", kLet, 3, 3),
      NoRoutine("PropertyAsProc", kModule, "Count", kProc),
      NoRoutine("GetAsSet", kModule, "Count", kSet),
      NoRoutine("SetAsGet", kModule, "Font", kGet),
      NoRoutine("SubAsLet", kModule, "Reset", kLet),
      NoRoutine("DeclareIsNoRoutine", kModule, "GetTickCount", kProc),
      NoRoutine("ContinuedDeclareIsNoRoutine", kDial, "GetTickCount", kProc),
      NoRoutine("EventIsNoRoutine", kModule, "Changed", kProc),
      NoRoutine("EnumIsNoRoutine", kModule, "Colour", kProc),
      NoRoutine("TypeIsNoRoutine", kModule, "Point", kProc),
      NoRoutine("VariableIsNoRoutine", kModule, "Subtotal", kProc),
      NoRoutine("ConstantInAnIfBlockIsNoRoutine", kDial, "TRACE", kProc),
      NoRoutine("PrefixOfAName", kModule, "Tot", kProc),
      NoRoutine("LongerName", kModule, "Totals", kProc),
      NoRoutine("EmptyName", kModule, "", kProc),
      NoRoutine("EmptyModuleHasNoRoutine", "", "Main", kProc),

      // ProcOfLine: names as the module spells them; outside every routine, also outside the module,
      // an empty name and kind 0.
      OfLines("DeclarationsAreInNoRoutine", kModule, 1, 11, "(none)"),
      OfLines("LinesOfAGet", kModule, 12, 17, "Get Count"),
      OfLines("LinesOfALet", kModule, 18, 23, "Let Count"),
      OfLines("LinesOfASub", kModule, 24, 28, "Proc Reset"),
      OfLines("LinesOfAFunction", kModule, 29, 33, "Proc Total"),
      OfLines("LinesOfASet", kModule, 34, 35, "Set Font"),
      OfLines("LinesAfterTheLastRoutine", kModule, 36, 37, "(none)"),
      OfLines("LineZero", "Sub A()\nEnd Sub\n", 0, 0, "(none)"),
      OfLines("NegativeLine", "Sub A()\nEnd Sub\n", -1, -1, "(none)"),
      OfLines("LineAfterTheLast", "Sub A()\nEnd Sub\n", 3, 3, "(none)"),
      OfLines("LastPossibleLine", "Sub A()\nEnd Sub\n", LONG_MAX, LONG_MAX, "(none)"),
      OfLines("LineOfAnEmptyModule", "", 1, 1, "(none)"),
      OfLines("DialsDeclarations", kDial, 1, 14, "(none)"),
      OfLines("CommentsBetweenRoutinesBelongToTheNext",
              "Option Explicit\n\nSub A()\nEnd Sub\n\n' about B\nProperty Let B(v)\nEnd Property\n", 5, 8,
              "Let B"),
      OfLines("BlankLineAfterTheDeclarationsBelongsToTheFirst", "Option Explicit\n\nSub A()\nEnd Sub\n", 2, 4,
              "Proc A"),
      OfLines("RoutineWithoutEndEndsAboveTheNextDeclaration", "Sub A()\nx = 1\n\nSub B()\ny = 2\n' last\n", 1,
              3, "Proc A"),
      OfLines("RoutineWithoutEndRunsToTheModulesEnd", "Sub A()\nx = 1\n\nSub B()\ny = 2\n' last\n", 4, 6,
              "Proc B"),
      // The lines of a declaration continued before its name, kind word or accessor, or in its parameters.
      OfLines("ContinuedBeforeTheName",
              "Option Explicit\nPublic Function _\n    Total() As Long\nEnd Function\n", 2, 4, "Proc Total"),
      OfLines("ContinuedBeforeTheKindWord", "Option Explicit\nPublic _\nSub Reset()\nEnd Sub\n", 2, 4,
              "Proc Reset"),
      OfLines("ContinuedBeforeTheAccessor",
              "Option Explicit\nPublic Property _\n    Get Count() As Long\nEnd Property\n", 2, 4,
              "Get Count"),
      OfLines("ContinuedWithBlanksAfterTheBreak",
              "Option Explicit\nPublic Function _   \nTotal() As Long\nEnd Function\n", 2, 4, "Proc Total"),
      OfLines("ContinuedWithUnderscoresInTheName",
              "Option Explicit\nPrivate Sub Form_Load( _\n    ByVal my_x As Long)\nEnd Sub\n", 2, 4,
              "Proc Form_Load"),
      OfLines("LinesOfAnAccentedName", kCafe, 1, 2, "Get Caf\xC3\xA9"),
      Lines("AccentedText", kCafe, 1, 1, "Property Get Caf\xC3\xA9() As String"),

      // InsertLines: the text starts at the line given; CR LF, CR and LF each break a line, and a
      // break at the very end adds an empty line.
      Insert("InsertAtTheFirstLine", kTwo, 1, "x", "x\na\nb\n"),
      Insert("InsertInTheMiddle", kTwo, 2, "x", "a\nx\nb\n"),
      Insert("InsertSeveralLines", kTwo, 2, "x\r\ny", "a\nx\ny\nb\n"),
      Insert("InsertAfterTheLastLineAppends", kTwo, 3, "x", "a\nb\nx\n"),
      Insert("InsertIntoAnEmptyModule", "", 1, "x", "x\n"),
      Insert("InsertEmptyTextIsOneEmptyLine", kTwo, 2, "", "a\n\nb\n"),
      Insert("InsertEmptyTextIntoAnEmptyModule", "", 1, "", "\n"),
      Insert("InsertFinalBreakAddsAnEmptyLine", kTwo, 2, "x\r\n", "a\nx\n\nb\n"),
      Insert("InsertEveryKindOfBreak", "a\n", 1, "x\ry\nz\r\n", "x\ny\nz\n\na\n"),
      Insert("InsertCrThenCrLfIsTwoBreaks", "a\n", 2, "x\r\r\ny", "a\nx\n\ny\n"),
      Insert("InsertLfThenCrIsTwoBreaks", "a\n", 2, "x\n\ry", "a\nx\n\ny\n"),
      Insert("InsertAccentedText", "a\n", 1, "' Caf\xC3\xA9 cr\xC3\xA8me", "' Caf\xC3\xA9 cr\xC3\xA8me\na\n"),
      Insert("InsertCharacterOutsideTheBasicPlane", "a\n", 2, "' \xF0\x9F\x98\x80",
             "a\n' \xF0\x9F\x98\x80\n"),
      Insert("InsertNulCharacter", "a\n", 2, "x\0y"sv, "a\nx\0y\n"sv),
      InsertRefused("InsertAtLineZero", kTwo, 0),
      InsertRefused("InsertAtANegativeLine", kTwo, -1),
      InsertRefused("InsertPastTheLineAfterTheLast", kTwo, 4),
      InsertRefused("InsertFarBeyondTheEnd", kTwo, 100),
      InsertRefused("InsertAtTheLastPossibleLine", kTwo, LONG_MAX),
      InsertRefused("InsertAtLineZeroOfAnEmptyModule", "", 0),
      InsertRefused("InsertPastTheEndOfAnEmptyModule", "", 2),
      // Every later answer about routines follows the edit (the test compares them all with a module
      // made afresh from the lines).
      Insert("InsertRoutineAfterTheLast", kOneSub, 5, "\r\n' about B\r\nFunction B()\r\nEnd Function",
             "Option Explicit\n\nSub A()\nEnd Sub\n\n' about B\nFunction B()\nEnd Function\n"),
      Insert("InsertCommentAtTheTop", kOneSub, 1, "' header",
             "' header\nOption Explicit\n\nSub A()\nEnd Sub\n"),
      Insert("InsertRoutineAheadOfTheOthers", kOneSub, 2, "Sub Z()\rEnd Sub",
             "Option Explicit\nSub Z()\nEnd Sub\n\nSub A()\nEnd Sub\n"),
      Insert("InsertIntoARoutinesBody", kOneSub, 4, "    x = 1",
             "Option Explicit\n\nSub A()\n    x = 1\nEnd Sub\n"),
      Insert("InsertRoutineIntoAModuleWithNone", "Option Explicit\n", 2, "\nSub A()\nEnd Sub",
             "Option Explicit\n\nSub A()\nEnd Sub\n"),
      Insert("InsertSplittingARoutineInTwo", "Sub A()\nx = 1\nEnd Sub\n", 2, "End Sub\nSub B()",
             "Sub A()\nEnd Sub\nSub B()\nx = 1\nEnd Sub\n"),
      Insert("InsertBlankLineAboveASecondRoutine", "Sub A()\nEnd Sub\nSub B()\nEnd Sub\n", 3, "",
             "Sub A()\nEnd Sub\n\nSub B()\nEnd Sub\n"),
      Insert("InsertBreakingADeclarationsStatement", "Option Explicit\nSub A()\nEnd Sub\n", 2,
             "Private Const N As Long = _\n    1",
             "Option Explicit\nPrivate Const N As Long = _\n    1\nSub A()\nEnd Sub\n"),

      // AddFromString: ahead of the first routine (and the comments above it), or at the end of a
      // module without one.
      Add("AddBeforeTheCommentsOfTheFirstRoutine", "Option Explicit\n\n' about A\nSub A()\nEnd Sub\n",
          "Private m As Long", "Option Explicit\nPrivate m As Long\n\n' about A\nSub A()\nEnd Sub\n"),
      Add("AddWithoutDeclarations", "Sub A()\nEnd Sub\n", "Private m As Long",
          "Private m As Long\nSub A()\nEnd Sub\n"),
      Add("AddWithoutRoutineAppends", "Option Explicit\n\n' note\n", "Private m As Long",
          "Option Explicit\n\n' note\nPrivate m As Long\n"),
      Add("AddIntoAnEmptyModule", "", "Private m As Long", "Private m As Long\n"),
      Add("AddSeveralLinesWithAnyBreak", "Option Explicit\nSub A()\nEnd Sub\n", "Dim a\rDim b\nDim c",
          "Option Explicit\nDim a\nDim b\nDim c\nSub A()\nEnd Sub\n"),
      Add("AddFinalBreakAddsAnEmptyLine", "Option Explicit\nSub A()\nEnd Sub\n", "Dim a\r\n",
          "Option Explicit\nDim a\n\nSub A()\nEnd Sub\n"),
      Add("AddEmptyTextIsOneEmptyLine", "Option Explicit\nSub A()\nEnd Sub\n", "",
          "Option Explicit\n\nSub A()\nEnd Sub\n"),
      Add("AddEmptyTextAppendsAnEmptyLine", "Option Explicit\n", "", "Option Explicit\n\n"),
      Add("AddEmptyTextIntoAnEmptyModule", "", "", "\n"),
      Add("AddAfterADeclareStatement",
          "Private Declare Function GetTickCount Lib \"kernel32\" () As Long\nSub A()\nEnd Sub\n", "Dim a",
          "Private Declare Function GetTickCount Lib \"kernel32\" () As Long\nDim a\nSub A()\nEnd Sub\n"),
      Add("AddAfterADeclareOnly", "Private Declare Sub Sleep Lib \"kernel32\" (ByVal ms As Long)\n", "Dim a",
          "Private Declare Sub Sleep Lib \"kernel32\" (ByVal ms As Long)\nDim a\n"),
      Add("AddARoutineAheadOfTheFirst", kOneSub, "Private Sub Load(Bag As PropertyBag)\rEnd Sub",
          "Option Explicit\nPrivate Sub Load(Bag As PropertyBag)\nEnd Sub\n\nSub A()\nEnd Sub\n"),

      // CodePane: a pane that shows this module.
      {"PaneShowsTheModule", kFour, Ask::kCodePane},

      // Faults planned through the decorator: the plan gives the number, and the failure VB's words.
      Planned(Count("FaultOnCountOfLines", kFour, "4"), "CountOfLines", 1, kOutOfMemory),
      Planned(DeclarationLines("FaultOnCountOfDeclarationLines", kModule, "11"), "CountOfDeclarationLines", 2,
              kObjectNotSet),
      Planned(Lines("FaultOnTheThirdLines", kFour, 2, 2, "second\r\nthird"), "Lines", 3, kFileAccess),
      Planned(OfLines("FaultOnProcOfLine", kModule, 20, 20, "Let Count"), "ProcOfLine", 2, kInvalidCall),
      Planned(Insert("FaultOnInsertLines", kOneSub, 4, "    x = 1",
                     "Option Explicit\n\nSub A()\n    x = 1\nEnd Sub\n"),
              "InsertLines", 1, kOutOfMemory),
      Planned(Add("FaultOnAddFromString", kOneSub, "Dim a", "Option Explicit\nDim a\n\nSub A()\nEnd Sub\n"),
              "AddFromString", 1, kOutOfMemory),
      Planned({"FaultOnCodePane", kFour, Ask::kCodePane}, "CodePane", 1, kObjectNotSet),
      Planned({"FaultOnThePanesModule", kFour, Ask::kCodePane}, "CodeModule", 1, kObjectNotSet),
  };
}

// --- Running a case ------------------------------------------------------------------------------------

std::vector<std::string> LinesOf(std::string_view code) {
  std::vector<std::string> lines;
  for (std::size_t start = 0; start < code.size();) {
    const std::size_t end = code.find('\n', start);
    lines.emplace_back(code.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

// The lines of `code` as Lines gives them: joined by CR LF.
std::string Joined(std::string_view code) {
  std::string joined;
  for (const std::string& line : LinesOf(code)) joined += line + "\r\n";
  if (!joined.empty()) joined.resize(joined.size() - 2);
  return joined;
}

std::string Error(const Failure& failure) {
  return "error " + std::to_string(failure.number) + ": " + std::string{failure.description};
}

// What `operation` gives, or the error it raises.
template <class Operation>
std::string Outcome(Operation&& operation) {
  try {
    return operation();
  } catch (const host::HostError& error) {
    return Error({error.number(), error.description()});
  }
}

std::string Expected(const Failure* failure, std::string_view answer) {
  return failure != nullptr ? Error(*failure) : std::string{answer};
}

std::string Describe(const host::ProcAtLine& at) {
  if (at.name.empty() && at.kind == ProcKind::kProc) return "(none)";
  constexpr std::string_view kKinds[] = {"Proc", "Let", "Set", "Get"};
  const auto kind = static_cast<std::size_t>(at.kind);
  return (kind < std::size(kKinds) ? std::string{kKinds[kind]} : "Kind" + std::to_string(kind)) + ' ' +
         at.name;
}

// Every answer the module gives about routines: the routine of each line, from the one before the
// first to the one after the last, and where each of them starts and is declared.
std::vector<std::string> RoutineAnswers(const host::CodeModule& module) {
  std::vector<std::string> answers;
  const long count = module.CountOfLines();
  for (long line = 0; line <= count + 1; ++line) {
    const host::ProcAtLine at = module.ProcOfLine(line);
    std::string answer = std::to_string(line) + ": " + Describe(at);
    if (!at.name.empty()) {
      answer +=
          ", starts " + Outcome([&] { return std::to_string(module.ProcStartLine(at.name, at.kind)); }) +
          ", declared " + Outcome([&] { return std::to_string(module.ProcBodyLine(at.name, at.kind)); });
    }
    answers.push_back(std::move(answer));
  }
  return answers;
}

void ExpectCode(const host::CodeModule& module, std::string_view code) {
  EXPECT_EQ(module.CountOfLines(), static_cast<long>(LinesOf(code).size()));
  EXPECT_EQ(module.Lines(1, module.CountOfLines()), Joined(code));
}

// Asks `c`'s question of `m`, which answers with `failure` or, without one, with the row's answer.
void CheckAnswer(host::CodeModule& m, const ContractCase& c, const Failure* failure,
                 const CodeModuleMaker& make) {
  switch (c.ask) {
    case Ask::kCountOfLines:
      EXPECT_EQ(Outcome([&] { return std::to_string(m.CountOfLines()); }), Expected(failure, c.answer));
      break;
    case Ask::kCountOfDeclarationLines:
      EXPECT_EQ(Outcome([&] { return std::to_string(m.CountOfDeclarationLines()); }),
                Expected(failure, c.answer));
      break;
    case Ask::kLines:
      EXPECT_EQ(Outcome([&] { return m.Lines(c.line, c.count); }), Expected(failure, c.answer));
      break;
    case Ask::kProcLines:
      EXPECT_EQ(Outcome([&] { return std::to_string(m.ProcStartLine(c.name, c.kind)); }),
                Expected(failure, std::to_string(c.line)))
          << "ProcStartLine";
      EXPECT_EQ(Outcome([&] { return std::to_string(m.ProcBodyLine(c.name, c.kind)); }),
                Expected(failure, std::to_string(c.count)))
          << "ProcBodyLine";
      // Asked whether the routine is there, every module answers 0 where ProcBodyLine raises 35.
      EXPECT_EQ(Outcome([&] { return std::to_string(m.FindProcBodyLine(c.name, c.kind)); }),
                failure == &kNotDefined ? "0" : Expected(failure, std::to_string(c.count)))
          << "FindProcBodyLine";
      break;
    case Ask::kProcOfLine:
      for (long line = c.line;; ++line) {
        EXPECT_EQ(Outcome([&] { return Describe(m.ProcOfLine(line)); }), Expected(failure, c.answer))
            << "line " << line;
        if (line == c.count) break;
      }
      break;
    case Ask::kInsertLines:
    case Ask::kAddFromString: {
      // Asked first, so that an answer kept from before the edit would show.
      const std::vector<std::string> before = RoutineAnswers(m);
      EXPECT_EQ(Outcome([&] {
                  c.ask == Ask::kInsertLines ? m.InsertLines(c.line, c.text) : m.AddFromString(c.text);
                  return std::string{};
                }),
                Expected(failure, ""));
      const std::string_view after = failure != nullptr ? c.code : c.answer;
      ExpectCode(m, after);
      if (failure != nullptr) {
        EXPECT_EQ(RoutineAnswers(m), before) << "a refused edit changes nothing";
      } else {
        EXPECT_EQ(RoutineAnswers(m), RoutineAnswers(*make(LinesOf(after))))
            << "the answers of a module made afresh with those lines";
      }
      break;
    }
    case Ask::kCodePane: {
      std::shared_ptr<host::CodeModule> shown;
      EXPECT_EQ(Outcome([&] {
                  const std::shared_ptr<host::CodePane> pane = m.CodePane();
                  if (pane) shown = pane->CodeModule();
                  return std::string{};
                }),
                Expected(failure, ""));
      if (failure != nullptr) break;
      ASSERT_NE(shown, nullptr) << "a pane, and the module it shows";
      ExpectCode(*shown, c.code);
      break;
    }
  }
}

}  // namespace

void PrintTo(const ContractRun& run, std::ostream* os) {
  *os << run.contractCase->label;
}

std::vector<ContractRun> ContractRuns(const CodeModuleMaker& make) {
  static const std::vector<ContractCase> table = Table();
  std::vector<ContractRun> runs;
  runs.reserve(table.size());
  for (const ContractCase& c : table) runs.push_back({&c, make});
  return runs;
}

std::string ContractCaseName(const testing::TestParamInfo<ContractRun>& info) {
  return std::string{info.param.contractCase->label};
}

TEST_P(CodeModuleContract, Answers) {
  const ContractCase& c = *GetParam().contractCase;
  const std::shared_ptr<host::CodeModule> module = GetParam().make(LinesOf(c.code));
  if (c.fault == nullptr) {
    CheckAnswer(*module, c, c.failure, GetParam().make);
    return;
  }
  host::FaultPlan plan;
  plan.Fail(std::string{c.faultCall}, c.faultNth, c.fault->number);
  host::FaultyCodeModule faulty{module, plan};
  for (int call = 1; call <= c.faultNth + 1; ++call) {
    SCOPED_TRACE(testing::Message() << "call " << call << " of " << c.faultCall);
    CheckAnswer(faulty, c, call == c.faultNth ? c.fault : nullptr, GetParam().make);
  }
}

}  // namespace test
