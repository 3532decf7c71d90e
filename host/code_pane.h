// host/code_pane.h: a host code pane, the window that shows a code module and holds the caret.
#pragma once

#include <memory>

namespace host {

class CodeModule;

// Line and column of the selection's two ends; with nothing selected both ends are the caret.
struct Selection {
  long startLine = 1;
  long startColumn = 1;
  long endLine = 1;
  long endColumn = 1;
};

class CodePane {
 public:
  virtual ~CodePane() = default;

  virtual Selection GetSelection() const = 0;
  // The module shown in this pane.
  virtual std::shared_ptr<host::CodeModule> CodeModule() = 0;

 protected:
  CodePane() = default;
  CodePane(const CodePane&) = default;
  CodePane& operator=(const CodePane&) = default;
};

}  // namespace host
