// testing/ide/faulty_code_module.cpp: each call of a code module or pane, entered in the plan, then passed
// on.
#include "testing/ide/faulty_code_module.h"

namespace host {
namespace {

std::string Arguments(std::string_view name, ProcKind kind) {
  return std::string{name} + ' ' + std::to_string(static_cast<int>(kind));
}

}  // namespace

std::shared_ptr<host::CodePane> FaultyCodeModule::CodePane() {
  plan_->Enter("CodePane");
  return Decorate<FaultyCodePane>(inner_->CodePane(), *plan_);
}

long FaultyCodeModule::CountOfLines() const {
  plan_->Enter("CountOfLines");
  return inner_->CountOfLines();
}

long FaultyCodeModule::CountOfDeclarationLines() const {
  plan_->Enter("CountOfDeclarationLines");
  return inner_->CountOfDeclarationLines();
}

std::string FaultyCodeModule::Lines(long start, long count) const {
  plan_->Enter("Lines", std::to_string(start) + ' ' + std::to_string(count));
  return inner_->Lines(start, count);
}

long FaultyCodeModule::ProcStartLine(std::string_view name, ProcKind kind) const {
  plan_->Enter("ProcStartLine", Arguments(name, kind));
  return inner_->ProcStartLine(name, kind);
}

long FaultyCodeModule::ProcBodyLine(std::string_view name, ProcKind kind) const {
  plan_->Enter("ProcBodyLine", Arguments(name, kind));
  return inner_->ProcBodyLine(name, kind);
}

ProcAtLine FaultyCodeModule::ProcOfLine(long line) const {
  plan_->Enter("ProcOfLine", std::to_string(line));
  return inner_->ProcOfLine(line);
}

void FaultyCodeModule::DeleteLines(long line, long count) {
  plan_->Enter("DeleteLines", std::to_string(line) + " " + std::to_string(count));
  inner_->DeleteLines(line, count);
}

void FaultyCodeModule::InsertLines(long line, std::string_view text) {
  plan_->Enter("InsertLines", std::to_string(line));
  inner_->InsertLines(line, text);
}

void FaultyCodeModule::AddFromString(std::string_view text) {
  plan_->Enter("AddFromString");
  inner_->AddFromString(text);
}

std::shared_ptr<VBComponent> FaultyCodeModule::Parent() const {
  plan_->Enter("Parent");
  return inner_->Parent();
}

Selection FaultyCodePane::GetSelection() const {
  plan_->Enter("GetSelection");
  return inner_->GetSelection();
}

std::shared_ptr<host::CodeModule> FaultyCodePane::CodeModule() {
  plan_->Enter("CodeModule");
  return Decorate<FaultyCodeModule>(inner_->CodeModule(), *plan_);
}

}  // namespace host
