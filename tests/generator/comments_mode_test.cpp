// tests/generator/comments_mode_test.cpp: header and body inserted into the routine at the caret.
#include <gtest/gtest.h>

#include "tests/generator/generator_fixture.h"
#include "tests/generator/recording_module.h"
#include "tests/support/visible.h"

namespace {

constexpr std::string_view kModule =
    "Option Explicit\n"                                     // 1
    "\n"                                                    // 2
    "' Refreshes the list\n"                                // 3
    "Private Sub Refresh()\n"                               // 4
    "    List1.Clear\n"                                     // 5
    "End Sub\n"                                             // 6
    "\n"                                                    // 7
    "Public Function Total(ByVal a As Long, _\n"            // 8
    "                      ByVal b As Long) As Long\n"      // 9
    "    Total = a + b\n"                                   // 10
    "End Function\n"                                        // 11
    "\n"                                                    // 12
    "Property Get Title() As String\n"                      // 13
    "    Title = m_Title\n"                                 // 14
    "End Property\n"                                        // 15
    "\n"                                                    // 16
    "Property Let Title(ByVal NewTitle As String)\n"        // 17
    "    m_Title = NewTitle\n"                              // 18
    "End Property\n"                                        // 19
    "\n"                                                    // 20
    "Friend Property Set Font(ByVal NewFont As StdFont)\n"  // 21
    "    Set m_Font = NewFont\n"                            // 22
    "End Property\n";                                       // 23, then an empty line 24

struct CaretCase {
  const char* name;
  long caret;
  std::string_view variable;
  long insertedAt;
  std::string_view routine;
  std::string_view word;
  std::string_view statements;  // LF for CR
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const CaretCase& c, std::ostream* os) {
  *os << c.name;
}

const CaretCase kCarets[] = {
    // A Sub gets "Exit Sub" although the host reports a Sub and a Function alike.
    {"sub_body", 5, "", 5, "Refresh", "Sub", ""},
    {"sub_end_line", 6, "", 6, "Refresh", "Sub", ""},
    // On the declaration or above it, the text goes right after the declaration.
    {"sub_declaration", 4, "", 5, "Refresh", "Sub", ""},
    {"blank_line_above_sub", 2, "", 5, "Refresh", "Sub", ""},
    {"comment_above_sub", 3, "", 5, "Refresh", "Sub", ""},
    {"function_body", 10, "", 10, "Total", "Function", ""},
    {"function_continued_declaration_first_line", 8, "", 10, "Total", "Function", ""},
    {"function_continued_declaration_last_line", 9, "", 10, "Total", "Function", ""},
    {"blank_line_above_function", 7, "", 10, "Total", "Function", ""},
    {"get_without_variable", 14, "", 14, "Title", "Property", ""},
    {"get_with_variable", 14, "NewTitle", 14, "Title", "Property", "Title = m_NewTitle\n"},
    {"let_with_variable", 18, "NewTitle", 18, "Title", "Property", "m_NewTitle = NewTitle\n"},
    {"let_without_variable", 18, "", 18, "Title", "Property", ""},
    {"set_with_variable", 22, "NewFont", 22, "Font", "Property", "Set m_NewFont = NewFont\n"},
    {"set_declaration", 21, "", 22, "Font", "Property", ""},
};

class CommentsAtCaret : public ::testing::TestWithParam<CaretCase> {};

TEST_P(CommentsAtCaret, InsertsHeaderAndBodyInsideTheRoutine) {
  test::TestPlatform platform;
  generator::Request request;
  request.bComment = true;
  request.sNom_Propriete = "Stale";  // the name box is not used in this mode
  request.sNomVariable = std::string{GetParam().variable};
  request.sUsage = "Reloads the list";
  request.sNomutilisateur = "My name";
  test::RecordingModule module{test::CrLf(kModule)};
  module.inner().pane().SetCaret(GetParam().caret);
  generator::EcrireCode(request, module, platform.platform());
  ASSERT_EQ(module.handed().size(), 1U);
  EXPECT_EQ(module.handed()[0].call, "InsertLines " + std::to_string(GetParam().insertedAt));
  const std::string expected =
      test::Header() + '\r' +
      test::LabelledBody(GetParam().routine, GetParam().word, GetParam().statements, false);
  EXPECT_EQ(test::Visible(module.handed()[0].text), test::Visible(expected));
  EXPECT_TRUE(platform.ui.messages().empty());
}

INSTANTIATE_TEST_SUITE_P(Generator, CommentsAtCaret, ::testing::ValuesIn(kCarets),
                         [](const auto& info) { return std::string{info.param.name}; });

TEST(CommentsAtCaret, OutsideEveryRoutineInsertsNothing) {
  for (const long caret : {1L, 24L}) {
    SCOPED_TRACE(caret);
    test::TestPlatform platform;
    generator::Request request;
    request.bComment = true;
    request.sNom_Propriete = "Refresh";
    test::RecordingModule module{test::CrLf(kModule)};
    module.inner().pane().SetCaret(caret);
    generator::EcrireCode(request, module, platform.platform());
    EXPECT_TRUE(module.handed().empty());
    EXPECT_EQ(platform.ui.messages(),
              (std::vector<host::ShownMessage>{{"The caret is not inside a routine.", "EcrireCode"}}));
  }
}

// Comments-only mode wins over every routine choice, and the Resume Next style still applies.
TEST(CommentsAtCaret, WinsOverRoutineChoices) {
  test::TestPlatform platform;
  generator::Request request;
  request.bComment = true;
  request.bCreerProcedure = true;
  request.bCreerFonction = true;
  request.bLectureSeule = true;
  request.bResumeNext = true;
  request.sUsage = "Reloads the list";
  request.sNomutilisateur = "My name";
  test::RecordingModule module{test::CrLf(kModule)};
  module.inner().pane().SetSelection({10, 5, 11, 3});
  generator::EcrireCode(request, module, platform.platform());
  ASSERT_EQ(module.handed().size(), 1U);
  EXPECT_EQ(module.handed()[0].call, "InsertLines 10");
  EXPECT_EQ(
      test::Visible(module.handed()[0].text),
      test::Visible(test::Header() + '\r' +
                    test::Cr("'-----------------------------------\n'Local variables definition \n\n\n\n\n"
                             "'-----------------------------------\n' Start \nOn Error Resume Next\n\n\n\n"
                             "'-----------------------------------\n'End")));
}

// A Sub whose declaration is broken before its kind word is still a Sub.
TEST(CommentsAtCaret, SubDeclaredOverSeveralLines) {
  for (const std::string_view declaration :
       {"Private _\r\nSub Foo()", "Private Static _\r\n  Sub _\r\n  Foo()"}) {
    SCOPED_TRACE(declaration);
    test::TestPlatform platform;
    generator::Request request;
    request.bComment = true;
    request.sUsage = "Reloads the list";
    request.sNomutilisateur = "My name";
    test::RecordingModule module{std::string{declaration} + "\r\n  x = 1\r\nEnd Sub"};
    module.inner().pane().SetCaret(1);
    generator::EcrireCode(request, module, platform.platform());
    ASSERT_EQ(module.handed().size(), 1U);
    const long afterDeclaration =
        static_cast<long>(std::count(declaration.begin(), declaration.end(), '\n')) + 2;
    EXPECT_EQ(module.handed()[0].call, "InsertLines " + std::to_string(afterDeclaration));
    EXPECT_EQ(test::Visible(module.handed()[0].text),
              test::Visible(test::Header() + '\r' + test::LabelledBody("Foo", "Sub", "", false)));
  }
}

TEST(CommentsAtCaret, EmptyModuleHasNoRoutine) {
  test::TestPlatform platform;
  generator::Request request;
  request.bComment = true;
  test::RecordingModule module{""};
  generator::EcrireCode(request, module, platform.platform());
  EXPECT_TRUE(module.handed().empty());
  EXPECT_EQ(platform.ui.messages(),
            (std::vector<host::ShownMessage>{{"The caret is not inside a routine.", "EcrireCode"}}));
}

TEST(CommentsAtCaret, ModuleWithoutPaneIsAFailure) {
  test::TestPlatform platform;
  generator::Request request;
  request.bComment = true;
  test::RecordingModule module{"Sub A()\r\nEnd Sub"};
  module.LosePane();
  generator::EcrireCode(request, module, platform.platform());
  EXPECT_TRUE(module.handed().empty());
  EXPECT_EQ(
      platform.ui.messages(),
      (std::vector<host::ShownMessage>{{"Object variable or With block variable not set", "EcrireCode"}}));
}

// A caret inside a continued statement puts the text above the statement's first line.
TEST(CommentsAtCaret, NeverSplitsAContinuedStatement) {
  constexpr std::string_view kContinued =
      "Sub Refresh()\n"  // 1
      "    x = 1 + _\n"  // 2
      "        2 + _\n"  // 3
      "        3\n"      // 4
      "    y = 2\n"      // 5
      "End Sub";         // 6
  const std::pair<long, long> carets[] = {{2, 2}, {3, 2}, {4, 2}, {5, 5}, {6, 6}};
  for (const auto& [caret, insertedAt] : carets) {
    SCOPED_TRACE(caret);
    test::TestPlatform platform;
    generator::Request request;
    request.bComment = true;
    test::RecordingModule module{test::CrLf(kContinued)};
    module.inner().pane().SetCaret(caret);
    generator::EcrireCode(request, module, platform.platform());
    ASSERT_EQ(module.handed().size(), 1U);
    EXPECT_EQ(module.handed()[0].call, "InsertLines " + std::to_string(insertedAt));
  }
}

TEST(CommentsAtCaret, TextEndsUpInsideTheRoutine) {
  test::TestPlatform platform;
  generator::Request request;
  request.bComment = true;
  host::MemoryCodeModule module{"Option Explicit\r\n' About Refresh\r\nSub Refresh()\r\nEnd Sub"};
  module.pane().SetCaret(2);
  generator::EcrireCode(request, module, platform.platform());
  const std::deque<std::string>& lines = module.lines();
  ASSERT_EQ(lines.size(), 4U + 11U + 1U + 26U);
  EXPECT_EQ(lines[2], "Sub Refresh()");
  EXPECT_EQ(lines[3], test::kStars);
  EXPECT_EQ(lines[lines.size() - 2], "'End");
  EXPECT_EQ(lines.back(), "End Sub");
  EXPECT_EQ(module.ProcOfLine(20).name, "Refresh");
}

}  // namespace
