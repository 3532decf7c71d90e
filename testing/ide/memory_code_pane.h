// testing/ide/memory_code_pane.h: the built-in IDE's code pane, with a selection a test can set.
#pragma once

#include <memory>

#include "host/code_pane.h"

namespace host {

class MemoryCodeModule;

// Belongs to its module and lives as long as it.
class MemoryCodePane final : public CodePane {
 public:
  explicit MemoryCodePane(MemoryCodeModule& module) : module_(module) {}

  Selection GetSelection() const override { return selection_; }
  std::shared_ptr<host::CodeModule> CodeModule() override;

  // Puts the caret on `line`, column 1, with nothing selected.
  void SetCaret(long line) { selection_ = {line, 1, line, 1}; }
  void SetSelection(const Selection& selection) { selection_ = selection; }

 private:
  MemoryCodeModule& module_;
  Selection selection_;
};

}  // namespace host
