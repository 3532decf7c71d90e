// tests/generator/comments_mode_test.cpp: the header and the trap for the routine at the caret, around its
// statements.
#include <gtest/gtest.h>

#include "testing/ide/memory_code_module.h"
#include "tests/generator/generator_fixture.h"
#include "tests/generator/recording_module.h"
#include "tests/support/golden.h"
#include "tests/support/visible.h"

namespace {

constexpr std::string_view kModule =
    "Option Explicit\n"                                 // 1
    "\n"                                                // 2
    "' Refreshes the list\n"                            // 3
    "Private Sub Refresh()\n"                           // 4
    "    List1.Clear\n"                                 // 5
    "End Sub\n"                                         // 6
    "\n"                                                // 7
    "Public Function Total(ByVal a As Long, _\n"        // 8
    "                      ByVal b As Long) As Long\n"  // 9
    "    Total = a + b\n"                               // 10
    "End Function\n"                                    // 11
    "\n"                                                // 12
    "Property Get Title() As String\n"                  // 13
    "    Title = m_Title\n"                             // 14
    "End Property\n"                                    // 15
    "\n"                                                // 16
    "Property Let Title(ByVal NewTitle As String)\n"    // 17
    "    m_Title = NewTitle\n"                          // 18
    "End Property\n";                                   // 19, then an empty line 20

// A caret anywhere in a routine, its declaration and the lines above it included, gives the routine
// what it lacks of the header and the trap, around its own statements; the name box names the labels
// when it is not empty. The whole module after each is a golden file.
struct CaretCase {
  const char* name;
  long caret;
  std::string_view nameBox;
};

const CaretCase kCarets[] = {
    // Refresh has a comment right above it: its header; it gets the trap alone, wherever the caret is.
    {"sub_with_header_above", 5, ""},
    {"sub_declaration_line", 4, ""},
    {"function_continued_declaration", 9, ""},
    {"get_named_by_the_name_box", 14, "Caption"},
};

class CommentsAtCaret : public ::testing::TestWithParam<CaretCase> {};

TEST_P(CommentsAtCaret, WrapsTheRoutinesStatementsInTheTrap) {
  test::TestPlatform platform;
  generator::Request request;
  request.bComment = true;
  request.sNom_Propriete = std::string{GetParam().nameBox};
  request.sUsage = "Reloads the list";
  request.sNomutilisateur = "My name";
  host::MemoryCodeModule module{test::CrLf(kModule)};
  module.pane().SetCaret(GetParam().caret);
  generator::EcrireCode(request, module, platform.platform());
  EXPECT_TRUE(platform.ui.messages().empty());
  // A caret on the declaration gives what one in the body gives.
  const std::string golden = GetParam().caret == 4 ? "sub_with_header_above" : GetParam().name;
  EXPECT_TRUE(test::MatchesGolden("generator/comments/" + golden + ".bas", module.Text()));
  // A second time there is nothing left to add, and the programmer is told so.
  const std::string once = module.Text();
  generator::EcrireCode(request, module, platform.platform());
  EXPECT_EQ(module.Text(), once);
  ASSERT_EQ(platform.ui.messages().size(), 1U);
  EXPECT_EQ(platform.ui.messages()[0].title, "EcrireCode");
}

INSTANTIATE_TEST_SUITE_P(Generator, CommentsAtCaret, ::testing::ValuesIn(kCarets),
                         [](const auto& info) { return std::string{info.param.name}; });

TEST(CommentsAtCaret, OutsideEveryRoutineInsertsNothing) {
  for (const long caret : {1L, 20L}) {
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

}  // namespace
