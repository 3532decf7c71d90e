// tests/generator/recording_module.h: a code module that records the texts handed to it, with the
// module's text after each change, and passes every call on to a built-in IDE module, through a fault
// plan when the test gives one.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "testing/ide/faulty_code_module.h"
#include "testing/ide/memory_code_module.h"

namespace test {

struct HandedText {
  std::string call;  // "AddFromString" or "InsertLines 12"
  std::string text;  // exactly as handed over

  friend bool operator==(const HandedText&, const HandedText&) = default;
};

class RecordingModule final : public host::CodeModule {
 public:
  explicit RecordingModule(std::string_view text, host::FaultPlan* plan = nullptr)
      : inner_(std::make_shared<host::MemoryCodeModule>(text)),
        calls_(plan ? std::make_shared<host::FaultyCodeModule>(inner_, *plan)
                    : std::shared_ptr<CodeModule>{inner_}) {}

  host::MemoryCodeModule& inner() { return *inner_; }
  const std::vector<HandedText>& handed() const { return handed_; }
  // The module's text before any change, then after each change that succeeded.
  const std::vector<std::string>& snapshots() const { return snapshots_; }

  // A module shown in no pane: CodePane() then gives an empty pointer, as a careless host might.
  void LosePane() { paneLost_ = true; }

  std::shared_ptr<host::CodePane> CodePane() override { return paneLost_ ? nullptr : calls_->CodePane(); }
  long CountOfLines() const override { return calls_->CountOfLines(); }
  long CountOfDeclarationLines() const override { return calls_->CountOfDeclarationLines(); }
  std::string Lines(long start, long count) const override { return calls_->Lines(start, count); }
  long ProcStartLine(std::string_view name, host::ProcKind kind) const override {
    return calls_->ProcStartLine(name, kind);
  }
  long ProcBodyLine(std::string_view name, host::ProcKind kind) const override {
    return calls_->ProcBodyLine(name, kind);
  }
  host::ProcAtLine ProcOfLine(long line) const override { return calls_->ProcOfLine(line); }
  void InsertLines(long line, std::string_view text) override {
    handed_.push_back({"InsertLines " + std::to_string(line), std::string{text}});
    calls_->InsertLines(line, text);
    snapshots_.push_back(inner_->Text());
  }
  void DeleteLines(long line, long count) override {
    handed_.push_back({"DeleteLines " + std::to_string(line) + " " + std::to_string(count), {}});
    calls_->DeleteLines(line, count);
    snapshots_.push_back(inner_->Text());
  }
  void AddFromString(std::string_view text) override {
    handed_.push_back({"AddFromString", std::string{text}});
    calls_->AddFromString(text);
    snapshots_.push_back(inner_->Text());
  }

 private:
  std::shared_ptr<host::MemoryCodeModule> inner_;
  std::shared_ptr<host::CodeModule> calls_;  // where calls go: the inner module, or the plan's decorator
  std::vector<HandedText> handed_;
  std::vector<std::string> snapshots_{inner_->Text()};
  bool paneLost_ = false;
};

}  // namespace test
