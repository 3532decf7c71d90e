// Checks fault injection in the built-in IDE: the call log, planned failures and untouched modules.
#include "host/builtin_ide/fault_plan.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "host/builtin_ide/memory_code_module.h"
#include "host/builtin_ide/memory_vbe.h"
#include "host/host_error.h"

namespace {

using host::FaultPlan;
using host::HostError;
using host::MemoryCodeModule;
using host::ProcKind;

constexpr std::string_view kModuleText = "Option Explicit\r\n\r\nSub Main()\r\nEnd Sub";

// Calls `action` and tells whether it failed with exactly that number and description.
testing::AssertionResult FailsWith(const std::function<void()>& action, long number,
                                   const std::string& description) {
  try {
    action();
  } catch (const HostError& error) {
    if (error.number() == number && error.description() == description) return testing::AssertionSuccess();
    return testing::AssertionFailure()
           << "failed with " << error.number() << " \"" << error.description() << '"';
  }
  return testing::AssertionFailure() << "did not fail";
}

TEST(FaultPlanTest, RecordsEveryCallWithItsArguments) {
  auto module = std::make_shared<MemoryCodeModule>(kModuleText);
  FaultPlan plan;
  module->AttachFaults(&plan);
  host::MemoryVbe vbe;
  vbe.AttachFaults(&plan);
  vbe.SetActiveModule(module);

  const auto pane = vbe.ActiveCodePane();
  pane->GetSelection();
  const auto code = pane->CodeModule();
  code->CountOfLines();
  code->Lines(1L, 2L);
  code->ProcStartLine("Main", ProcKind::kProc);
  // A routine the module lacks fails, and the call is still recorded.
  EXPECT_THROW(code->ProcBodyLine("Value", ProcKind::kGet), HostError);
  EXPECT_THROW(code->ProcStartLine("Value", ProcKind::kLet), HostError);
  code->ProcBodyLine("Main", ProcKind::kProc);
  EXPECT_THROW(code->ProcBodyLine("Font", ProcKind::kSet), HostError);
  code->ProcOfLine(3L);
  code->InsertLines(5L, "' end");
  code->AddFromString("Dim a");

  const std::vector<std::string> expected = {
      "ActiveCodePane",        "CodePane",
      "GetSelection",          "CodeModule",
      "CountOfLines",          "Lines 1 2",
      "ProcStartLine Main 0",  "ProcBodyLine Value 3",
      "ProcStartLine Value 1", "ProcBodyLine Main 0",
      "ProcBodyLine Font 2",   "ProcOfLine 3",
      "InsertLines 5",         "AddFromString",
  };
  EXPECT_EQ(plan.calls(), expected);

  plan.ClearCalls();
  EXPECT_TRUE(plan.calls().empty());
  module->CountOfLines();
  EXPECT_EQ(plan.calls(), std::vector<std::string>{"CountOfLines"});
}

TEST(FaultPlanTest, DetachedModuleRecordsNothing) {
  MemoryCodeModule module{kModuleText};
  FaultPlan plan;
  plan.Fail("CountOfLines", 1, 7L, "Out of memory", true);
  module.AttachFaults(&plan);
  EXPECT_THROW(module.CountOfLines(), HostError);
  module.AttachFaults(nullptr);
  EXPECT_EQ(module.CountOfLines(), 4L);
  EXPECT_EQ(plan.calls(), std::vector<std::string>{"CountOfLines"});
}

// One operation of the built-in IDE, run against a module shown in an active pane.
struct Operation {
  const char* label;
  const char* name;  // as the plan records it
  std::function<void(host::Vbe&, MemoryCodeModule&)> run;
};

void PrintTo(const Operation& c, std::ostream* os) {
  *os << c.label;
}

class PlannedFaultTest : public testing::TestWithParam<Operation> {};

TEST_P(PlannedFaultTest, TransientFaultFailsOnceAndChangesNothing) {
  const Operation& op = GetParam();
  auto module = std::make_shared<MemoryCodeModule>(kModuleText);
  host::MemoryVbe vbe;
  vbe.SetActiveModule(module);
  FaultPlan plan;
  module->AttachFaults(&plan);
  vbe.AttachFaults(&plan);
  plan.Fail(op.name, 1, 7L, "Out of memory");

  EXPECT_TRUE(FailsWith([&] { op.run(vbe, *module); }, 7L, "Out of memory"));
  EXPECT_EQ(module->Text(), kModuleText);
  ASSERT_FALSE(plan.calls().empty());
  EXPECT_EQ(plan.calls().back().substr(0, std::string{op.name}.size()), op.name);

  // The fault is spent: the same call now succeeds.
  EXPECT_NO_THROW(op.run(vbe, *module));
}

TEST_P(PlannedFaultTest, NthCallFails) {
  const Operation& op = GetParam();
  auto module = std::make_shared<MemoryCodeModule>(kModuleText);
  host::MemoryVbe vbe;
  vbe.SetActiveModule(module);
  FaultPlan plan;
  module->AttachFaults(&plan);
  vbe.AttachFaults(&plan);
  plan.Fail(op.name, 3, 75L, "Path/File access error");

  EXPECT_NO_THROW(op.run(vbe, *module));
  EXPECT_NO_THROW(op.run(vbe, *module));
  const std::string before = module->Text();
  EXPECT_TRUE(FailsWith([&] { op.run(vbe, *module); }, 75L, "Path/File access error"));
  EXPECT_EQ(module->Text(), before);
  EXPECT_NO_THROW(op.run(vbe, *module));
}

TEST_P(PlannedFaultTest, PersistentFaultFailsEveryLaterCall) {
  const Operation& op = GetParam();
  auto module = std::make_shared<MemoryCodeModule>(kModuleText);
  host::MemoryVbe vbe;
  vbe.SetActiveModule(module);
  FaultPlan plan;
  module->AttachFaults(&plan);
  vbe.AttachFaults(&plan);
  plan.Fail(op.name, 2, 5L, "Invalid procedure call or argument", true);

  EXPECT_NO_THROW(op.run(vbe, *module));
  const std::string before = module->Text();
  for (int attempt = 0; attempt < 3; ++attempt) {
    SCOPED_TRACE(attempt);
    EXPECT_TRUE(FailsWith([&] { op.run(vbe, *module); }, 5L, "Invalid procedure call or argument"));
  }
  EXPECT_EQ(module->Text(), before);
}

TEST_P(PlannedFaultTest, FaultOnAnotherOperationDoesNotTouchThisOne) {
  const Operation& op = GetParam();
  auto module = std::make_shared<MemoryCodeModule>(kModuleText);
  host::MemoryVbe vbe;
  vbe.SetActiveModule(module);
  FaultPlan plan;
  module->AttachFaults(&plan);
  vbe.AttachFaults(&plan);
  plan.Fail(std::string{op.name} + "X", 1, 7L, "Out of memory", true);
  plan.Fail("Nothing", 1, 7L, "Out of memory", true);
  EXPECT_NO_THROW(op.run(vbe, *module));
}

INSTANTIATE_TEST_SUITE_P(
    Operations, PlannedFaultTest,
    testing::Values(
        Operation{"ActiveCodePane", "ActiveCodePane",
                  [](host::Vbe& vbe, MemoryCodeModule&) { vbe.ActiveCodePane(); }},
        Operation{"CodePane", "CodePane", [](host::Vbe&, MemoryCodeModule& m) { m.CodePane(); }},
        Operation{"GetSelection", "GetSelection",
                  [](host::Vbe&, MemoryCodeModule& m) { m.CodePane()->GetSelection(); }},
        Operation{"CodeModule", "CodeModule",
                  [](host::Vbe&, MemoryCodeModule& m) { m.CodePane()->CodeModule(); }},
        Operation{"CountOfLines", "CountOfLines", [](host::Vbe&, MemoryCodeModule& m) { m.CountOfLines(); }},
        Operation{"Lines", "Lines", [](host::Vbe&, MemoryCodeModule& m) { m.Lines(1L, 2L); }},
        Operation{"ProcStartLine", "ProcStartLine",
                  [](host::Vbe&, MemoryCodeModule& m) { m.ProcStartLine("Main", ProcKind::kProc); }},
        Operation{"ProcBodyLine", "ProcBodyLine",
                  [](host::Vbe&, MemoryCodeModule& m) { m.ProcBodyLine("Main", ProcKind::kProc); }},
        Operation{"ProcOfLine", "ProcOfLine", [](host::Vbe&, MemoryCodeModule& m) { m.ProcOfLine(3L); }},
        Operation{"InsertLines", "InsertLines",
                  [](host::Vbe&, MemoryCodeModule& m) { m.InsertLines(3L, "' x"); }},
        Operation{"AddFromString", "AddFromString",
                  [](host::Vbe&, MemoryCodeModule& m) { m.AddFromString("Dim a\r\nDim b"); }}),
    [](const testing::TestParamInfo<Operation>& info) { return std::string{info.param.label}; });

TEST(FaultPlanTest, CountsFromTheNextCallAfterPlanning) {
  MemoryCodeModule module{kModuleText};
  FaultPlan plan;
  module.AttachFaults(&plan);
  module.InsertLines(1L, "' a");
  module.InsertLines(1L, "' b");
  plan.Fail("InsertLines", 1, 7L, "Out of memory");
  EXPECT_THROW(module.InsertLines(1L, "' c"), HostError);
  EXPECT_EQ(module.CountOfLines(), 6L);
}

// Two faults planned together on one operation each fail on the call they name: the call on which
// the first one fires still counts towards the second.
TEST(FaultPlanTest, TwoFaultsOnOneOperationKeepTheirOwnCount) {
  FaultPlan plan;
  plan.Fail("InsertLines", 1, 7L, "first");
  plan.Fail("InsertLines", 3, 7L, "third");
  std::vector<std::string> outcomes;
  for (int call = 1; call <= 4; ++call) {
    try {
      plan.Enter("InsertLines", std::to_string(call));
      outcomes.emplace_back("ok");
    } catch (const HostError& error) {
      outcomes.push_back(error.description());
    }
  }
  EXPECT_EQ(outcomes, (std::vector<std::string>{"first", "ok", "third", "ok"}));
}

TEST(FaultPlanTest, PlanningOrderDoesNotMatter) {
  FaultPlan plan;
  plan.Fail("Lines", 3, 7L, "third");
  plan.Fail("Lines", 1, 7L, "first");
  std::vector<std::string> outcomes;
  for (int call = 1; call <= 4; ++call) {
    try {
      plan.Enter("Lines");
      outcomes.emplace_back("ok");
    } catch (const HostError& error) {
      outcomes.push_back(error.description());
    }
  }
  EXPECT_EQ(outcomes, (std::vector<std::string>{"first", "ok", "third", "ok"}));
}

TEST(FaultPlanTest, OperationNamesMatchExactly) {
  FaultPlan plan;
  plan.Fail("Lines", 1, 7L, "Out of memory", true);
  EXPECT_NO_THROW(plan.Enter("lines"));
  EXPECT_NO_THROW(plan.Enter("LinesX"));
  EXPECT_NO_THROW(plan.Enter("Line"));
  EXPECT_THROW(plan.Enter("Lines", "1 2"), HostError);
  EXPECT_EQ(plan.calls(), (std::vector<std::string>{"lines", "LinesX", "Line", "Lines 1 2"}));
}

TEST(FaultPlanTest, VbeWithoutActivePaneStillRecordsAndFails) {
  host::MemoryVbe vbe;
  FaultPlan plan;
  vbe.AttachFaults(&plan);
  EXPECT_EQ(vbe.ActiveCodePane(), nullptr);
  plan.Fail("ActiveCodePane", 1, 424L, "Object required");
  EXPECT_TRUE(FailsWith([&] { vbe.ActiveCodePane(); }, 424L, "Object required"));
  EXPECT_EQ(plan.calls(), (std::vector<std::string>{"ActiveCodePane", "ActiveCodePane"}));
}

}  // namespace
