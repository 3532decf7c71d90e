// Checks the way between the built-in IDE's root object, its code panes and their modules.
#include <gtest/gtest.h>

#include <memory>

#include "host/code_module.h"
#include "host/code_pane.h"
#include "testing/ide/memory_code_module.h"
#include "testing/ide/memory_code_pane.h"
#include "testing/ide/memory_vbe.h"

namespace {

using host::MemoryCodeModule;
using host::Selection;

void ExpectSelection(const Selection& actual, const Selection& expected) {
  EXPECT_EQ(actual.startLine, expected.startLine);
  EXPECT_EQ(actual.startColumn, expected.startColumn);
  EXPECT_EQ(actual.endLine, expected.endLine);
  EXPECT_EQ(actual.endColumn, expected.endColumn);
}

TEST(NavigationTest, ModuleOnTheStackAndItsPaneLeadToEachOther) {
  MemoryCodeModule module{"Sub A()\r\nEnd Sub"};
  const std::shared_ptr<host::CodePane> pane = module.CodePane();
  ASSERT_NE(pane, nullptr);
  EXPECT_EQ(pane.get(), &module.pane());
  const std::shared_ptr<host::CodeModule> back = pane->CodeModule();
  ASSERT_NE(back, nullptr);
  EXPECT_EQ(back.get(), &module);
  EXPECT_EQ(back->CountOfLines(), 2L);
  // The same pane every time.
  EXPECT_EQ(module.CodePane().get(), pane.get());
}

TEST(NavigationTest, PaneKeepsASharedModuleAlive) {
  auto module = std::make_shared<MemoryCodeModule>("Sub A()\r\nEnd Sub");
  const std::weak_ptr<MemoryCodeModule> watch = module;
  const std::shared_ptr<host::CodePane> pane = module->CodePane();
  module.reset();
  ASSERT_FALSE(watch.expired());
  const std::shared_ptr<host::CodeModule> back = pane->CodeModule();
  EXPECT_EQ(back.get(), watch.lock().get());
  EXPECT_EQ(back->Lines(1L, 1L), "Sub A()");
}

TEST(NavigationTest, ModuleFromAPaneKeepsItAlive) {
  auto module = std::make_shared<MemoryCodeModule>("Option Explicit");
  const std::weak_ptr<MemoryCodeModule> watch = module;
  std::shared_ptr<host::CodeModule> back = module->CodePane()->CodeModule();
  module.reset();
  ASSERT_FALSE(watch.expired());
  EXPECT_EQ(back->CountOfLines(), 1L);
  back.reset();
  EXPECT_TRUE(watch.expired());
}

TEST(NavigationTest, SelectionIsWhatWasSet) {
  MemoryCodeModule module{"a\r\nb\r\nc\r\nd"};
  const std::shared_ptr<host::CodePane> pane = module.CodePane();
  ExpectSelection(pane->GetSelection(), {1L, 1L, 1L, 1L});

  module.pane().SetCaret(3L);
  ExpectSelection(pane->GetSelection(), {3L, 1L, 3L, 1L});

  module.pane().SetSelection({2L, 4L, 4L, 2L});
  ExpectSelection(pane->GetSelection(), {2L, 4L, 4L, 2L});

  module.pane().SetCaret(1L);
  ExpectSelection(pane->GetSelection(), {1L, 1L, 1L, 1L});
}

TEST(NavigationTest, ActiveCodePaneFollowsTheActiveModule) {
  host::MemoryVbe vbe;
  EXPECT_EQ(vbe.ActiveCodePane(), nullptr);

  auto first = std::make_shared<MemoryCodeModule>("' first");
  auto second = std::make_shared<MemoryCodeModule>("' second");
  first->pane().SetCaret(1L);

  vbe.SetActiveModule(first);
  std::shared_ptr<host::CodePane> pane = vbe.ActiveCodePane();
  ASSERT_NE(pane, nullptr);
  EXPECT_EQ(pane.get(), &first->pane());
  EXPECT_EQ(pane->CodeModule().get(), first.get());
  EXPECT_EQ(pane->CodeModule()->Lines(1L, 1L), "' first");

  vbe.SetActiveModule(second);
  pane = vbe.ActiveCodePane();
  ASSERT_NE(pane, nullptr);
  EXPECT_EQ(pane->CodeModule().get(), second.get());

  vbe.SetActiveModule(nullptr);
  EXPECT_EQ(vbe.ActiveCodePane(), nullptr);
}

TEST(NavigationTest, EditsThroughThePaneReachTheModule) {
  auto module = std::make_shared<MemoryCodeModule>("Option Explicit");
  host::MemoryVbe vbe;
  vbe.SetActiveModule(module);
  vbe.ActiveCodePane()->CodeModule()->InsertLines(2L, "Sub A()\r\nEnd Sub");
  EXPECT_EQ(module->Text(), "Option Explicit\r\nSub A()\r\nEnd Sub");
}

}  // namespace
