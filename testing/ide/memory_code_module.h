// testing/ide/memory_code_module.h: the built-in IDE's code module, a real model of numbered code lines.
#pragma once

#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "host/code_module.h"
#include "host/source_files/memory_component.h"
#include "host/vb_code/routine_map.h"
#include "testing/ide/memory_code_pane.h"

namespace host {

// Text handed to the module is split at CR LF, CR and LF alike. Routines, their start lines and
// the declarations section follow the IDE's rules (host/routine_map.h). A module may live on the
// stack; the pointers it then hands out do not own it, and it must outlive them.
class MemoryCodeModule final : public CodeModule, public std::enable_shared_from_this<MemoryCodeModule> {
 public:
  // An empty text gives a module with no line at all.
  explicit MemoryCodeModule(std::string_view text = {});
  // A module whose code lines are `lines`, as they are.
  explicit MemoryCodeModule(std::deque<std::string> lines) : lines_(std::move(lines)) {}
  MemoryCodeModule(const MemoryCodeModule&) = delete;
  MemoryCodeModule& operator=(const MemoryCodeModule&) = delete;

  // Makes the module part of a component of that kind; until then Parent() fails as in an IDE that
  // cannot tell.
  void SetComponent(ComponentType type, bool persistable = false, std::string name = {}) {
    component_ = std::make_shared<MemoryComponent>(type, persistable, std::move(name));
  }

  // The module's lines joined by CR LF, as the IDE saves them.
  std::string Text() const;
  const std::deque<std::string>& lines() const noexcept { return lines_; }
  MemoryCodePane& pane() noexcept { return pane_; }
  // The line at which AddFromString puts its text: the first routine's start line, or the line
  // after the last when the module has no routine.
  long AddFromStringLine() const;

  std::shared_ptr<host::CodePane> CodePane() override;
  long CountOfLines() const override;
  long CountOfDeclarationLines() const override;
  std::string Lines(long start, long count) const override;
  long ProcStartLine(std::string_view name, ProcKind kind) const override;
  long ProcBodyLine(std::string_view name, ProcKind kind) const override;
  ProcAtLine ProcOfLine(long line) const override;
  void InsertLines(long line, std::string_view text) override;
  void DeleteLines(long line, long count) override;
  void AddFromString(std::string_view text) override;
  std::shared_ptr<VBComponent> Parent() const override;

 private:
  const std::deque<Routine>& Routines() const;
  const Routine& RequireRoutine(std::string_view name, ProcKind kind) const;
  // Inserts the lines of `text` before index `at`; all or nothing.
  void InsertAt(std::size_t at, std::string_view text);

  std::deque<std::string> lines_;
  mutable std::optional<std::deque<Routine>> routines_;  // worked out on first use, then kept up to date
  MemoryCodePane pane_{*this};
  std::shared_ptr<MemoryComponent> component_;
};

}  // namespace host
