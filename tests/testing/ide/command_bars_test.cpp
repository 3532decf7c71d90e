// tests/testing/ide/command_bars_test.cpp: the built-in IDE's menus, their entries and the entries'
// click sources.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "host/host_error.h"
#include "host/vb_errors.h"
#include "testing/ide/memory_vbe.h"

namespace {

class CountingHandler final : public host::CommandBarClickHandler {
 public:
  void Click(const std::shared_ptr<host::CommandBarControl>& control, bool& handled,
             bool& CancelDefault) noexcept override {
    clicked.push_back(control);
    handledSeen = handled;
    cancelSeen = CancelDefault;
  }
  std::vector<std::shared_ptr<host::CommandBarControl>> clicked;
  bool handledSeen = true;
  bool cancelSeen = true;
};

std::vector<std::string> Captions(const host::MemoryCommandBar& bar) {
  std::vector<std::string> captions;
  for (const auto& entry : bar.entries()) captions.push_back(entry->caption());
  return captions;
}

TEST(CommandBars, AddsAtTheEndAndDeletes) {
  host::MemoryVbe vbe;
  const auto bar = vbe.CommandBars()->Item("add-ins");  // names match without regard to case
  ASSERT_NE(bar, nullptr);
  const auto first = bar->Controls()->Add(host::kControlButton);
  first->Caption("First");
  const auto second = bar->Controls()->Add(host::kControlButton);
  second->Caption("Second");
  const auto& addIns = *vbe.commandBars().Bar("Add-Ins");
  EXPECT_EQ(Captions(addIns), (std::vector<std::string>{"Add-In Manager...", "First", "Second"}));
  first->Delete();
  EXPECT_EQ(Captions(addIns), (std::vector<std::string>{"Add-In Manager...", "Second"}));
  EXPECT_THROW(first->Delete(), host::HostError);
  EXPECT_THROW(bar->Controls()->Add(0), host::HostError);
}

TEST(CommandBars, MissingBarIsAnErrorOrAnEmptyAnswer) {
  host::MemoryVbe vbe;
  vbe.commandBars().RemoveBar("Add-Ins");
  try {
    vbe.CommandBars()->Item("Add-Ins");
    FAIL() << "no error";
  } catch (const host::HostError& error) {
    EXPECT_EQ(error.number(), host::kErrInvalidCall);
  }
  vbe.commandBars().AnswerMissingWithEmpty(true);
  EXPECT_EQ(vbe.CommandBars()->Item("Add-Ins"), nullptr);
}

TEST(CommandBarEvents, ClickReachesEverySubscribedHandler) {
  host::MemoryVbe vbe;
  const auto entry = vbe.commandBars().Bar("Add-Ins")->AddEntry("Mine");
  const auto source = vbe.Events()->CommandBarEvents(entry);
  const auto other = vbe.Events()->CommandBarEvents(entry);
  CountingHandler a;
  CountingHandler b;
  source->Subscribe(a);
  source->Subscribe(a);  // once only
  other->Subscribe(b);
  EXPECT_TRUE(entry->Execute());
  ASSERT_EQ(a.clicked.size(), 1U);
  EXPECT_EQ(a.clicked[0], entry);
  EXPECT_FALSE(a.handledSeen);
  EXPECT_FALSE(a.cancelSeen);
  EXPECT_EQ(b.clicked.size(), 1U);

  source->Unsubscribe(a);
  entry->Execute();
  EXPECT_EQ(a.clicked.size(), 1U);
  EXPECT_EQ(b.clicked.size(), 2U);

  entry->Delete();
  EXPECT_FALSE(entry->Execute());
  EXPECT_EQ(b.clicked.size(), 2U);
}

TEST(CommandBarEvents, RefusesAnEmptyEntry) {
  host::MemoryVbe vbe;
  try {
    vbe.Events()->CommandBarEvents(nullptr);
    FAIL() << "no error";
  } catch (const host::HostError& error) {
    EXPECT_EQ(error.number(), host::kErrInvalidCall);
    EXPECT_EQ(error.description(), "Invalid procedure call or argument");
  }
}

// A host that has no menus says so through the facade's own answer.
TEST(CommandBarFaults, HostWithoutMenusFailsAsTheIdeDoes) {
  struct Bare final : host::Vbe {
    std::shared_ptr<host::CodePane> ActiveCodePane() override { return nullptr; }
  } bare;
  try {
    bare.CommandBars();
    FAIL() << "no error";
  } catch (const host::HostError& error) {
    EXPECT_EQ(error.number(), host::kErrNoSuchMember);
  }
  EXPECT_THROW(bare.Events(), host::HostError);
}

}  // namespace
