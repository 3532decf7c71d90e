// tests/addin/dressing_entry_test.cpp: the Add-Ins menu's entries for headers and traps: the count
// asked about, No changing nothing, Yes writing every module of the project, and nothing to do said.
#include <gtest/gtest.h>

#include "generator/headers_and_traps.h"
#include "tests/addin/addin_fixture.h"

namespace {

constexpr std::string_view kFirst = "Sub Refresh()\r\n    List1.Clear\r\nEnd Sub\r\n";
constexpr std::string_view kSecond =
    "' Adds up\r\nFunction Total() As Long\r\n    Total = 1\r\nEnd Function\r\n";

// The module as the generator dresses it with the built-in set, whose text tests of its own hold, given
// the programmer stored and today's date; the set writes no module or project name.
std::string Dressed(std::string_view text) {
  host::MemoryCodeModule module{text};
  generator::DressingOptions options;
  options.programmer = "My name";
  options.date = "Sunday 06 December 2026";
  const generator::TemplateSet& set = generator::BuiltInTemplates();
  generator::ApplyDressing(module, generator::PlanDressing(generator::CodeLinesOf(module), set, options));
  return module.Text();
}

TEST(DressingEntries, AskWithTheCountThenWriteTheWholeProject) {
  test::AddinHarness h;
  auto first = std::make_shared<host::MemoryCodeModule>(kFirst);
  auto second = std::make_shared<host::MemoryCodeModule>(kSecond);
  first->SetComponent(host::ComponentType::kStdModule, false, "Lists");
  second->SetComponent(host::ComponentType::kStdModule, false, "Sums");
  h.ide->AddProjectModule(first);
  h.ide->AddProjectModule(second);
  h.ide->SetActiveModule(second);
  h.connect.OnConnection(h.vbe, 0);
  const auto entry = h.ide->AddInsMenu()->Entry("Scrivlet: Headers and Traps for This Project");
  ASSERT_NE(entry, nullptr);

  entry->Execute();  // answered No
  EXPECT_EQ(
      h.platform.ui.messages(),
      (std::vector<host::ShownMessage>{
          {"Add headers and error traps to 2 routines of this project (the built-in set)?", "Scrivlet"}}));
  EXPECT_EQ(first->Text(), kFirst);

  h.platform.ui.AnswerConfirm(true);
  entry->Execute();
  EXPECT_EQ(first->Text() + second->Text(), Dressed(kFirst) + Dressed(kSecond));

  h.platform.ui.Clear();
  h.ide->AddInsMenu()->Entry("Scrivlet: Headers and Traps for This Module")->Execute();
  EXPECT_EQ(h.platform.ui.messages(),
            (std::vector<host::ShownMessage>{
                {"Every routine of this module has a header and an error trap already.", "Scrivlet"}}));
  h.connect.OnDisconnection();
  EXPECT_EQ(h.Menu(), std::vector<std::string>{"Add-In Manager..."});
}

}  // namespace
