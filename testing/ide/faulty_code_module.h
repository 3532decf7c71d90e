// testing/ide/faulty_code_module.h: a code module and a code pane that enter every call in a fault plan
// and then pass it on, so that a test can make the calls of any implementation fail.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <utility>

#include "host/code_module.h"
#include "host/code_pane.h"
#include "testing/ide/fault_plan.h"

namespace host {

// The decorated object, or an empty pointer for an empty one: an answer of Nothing stays Nothing.
template <class Faulty, class Inner>
std::shared_ptr<Faulty> Decorate(std::shared_ptr<Inner> inner, FaultPlan& plan) {
  return inner ? std::make_shared<Faulty>(std::move(inner), plan) : nullptr;
}

// Enters each call as "Operation arguments" ("InsertLines 12", "ProcBodyLine Name 3" with the kind's
// number); a call the plan fails never reaches the module. The panes it hands out enter their calls
// too. The plan outlives the decorator and what it hands out.
class FaultyCodeModule final : public CodeModule {
 public:
  FaultyCodeModule(std::shared_ptr<CodeModule> inner, FaultPlan& plan)
      : inner_(std::move(inner)), plan_(&plan) {}
  // Borrows `inner`, which outlives the decorator.
  FaultyCodeModule(CodeModule& inner, FaultPlan& plan)
      : FaultyCodeModule(std::shared_ptr<CodeModule>(std::shared_ptr<void>{}, &inner), plan) {}

  std::shared_ptr<host::CodePane> CodePane() override;
  long CountOfLines() const override;
  long CountOfDeclarationLines() const override;
  std::string Lines(long start, long count) const override;
  long ProcStartLine(std::string_view name, ProcKind kind) const override;
  long ProcBodyLine(std::string_view name, ProcKind kind) const override;
  // FindProcBodyLine stays CodeModule's, which asks ProcBodyLine: a planned fault comes as its would.
  ProcAtLine ProcOfLine(long line) const override;
  void InsertLines(long line, std::string_view text) override;
  void DeleteLines(long line, long count) override;
  void AddFromString(std::string_view text) override;
  std::shared_ptr<VBComponent> Parent() const override;

 private:
  std::shared_ptr<CodeModule> inner_;
  FaultPlan* plan_;
};

// Enters "GetSelection" and "CodeModule"; the module it gives is decorated.
class FaultyCodePane final : public CodePane {
 public:
  FaultyCodePane(std::shared_ptr<CodePane> inner, FaultPlan& plan) : inner_(std::move(inner)), plan_(&plan) {}

  Selection GetSelection() const override;
  std::shared_ptr<host::CodeModule> CodeModule() override;

 private:
  std::shared_ptr<CodePane> inner_;
  FaultPlan* plan_;
};

}  // namespace host
