// testing/ide/memory_code_module.cpp: the built-in IDE's code-module operations over a vector of lines.
#include "testing/ide/memory_code_module.h"

#include <iterator>
#include <utility>

#include "host/host_error.h"
#include "host/vb_code/code_lines.h"
#include "host/vb_code/joined_lines.h"
#include "host/vb_errors.h"

namespace host {
MemoryCodeModule::MemoryCodeModule(std::string_view text) {
  if (text.empty()) return;
  std::vector<std::string> lines = SplitLines(text);
  lines_.assign(std::make_move_iterator(lines.begin()), std::make_move_iterator(lines.end()));
}

std::string MemoryCodeModule::Text() const {
  std::string text;
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    if (i > 0) text += "\r\n";
    text += lines_[i];
  }
  return text;
}

const std::deque<Routine>& MemoryCodeModule::Routines() const {
  if (!routines_) {
    std::vector<Routine> routines = MapRoutines(lines_);
    routines_.emplace(std::make_move_iterator(routines.begin()), std::make_move_iterator(routines.end()));
  }
  return *routines_;
}

const Routine& MemoryCodeModule::RequireRoutine(std::string_view name, ProcKind kind) const {
  const Routine* routine = FindRoutine(Routines(), name, kind);
  if (routine == nullptr) throw VbError(kErrSubNotDefined);
  return *routine;
}

std::shared_ptr<VBComponent> MemoryCodeModule::Parent() const {
  if (!component_) throw VbError(kErrNoSuchMember);
  return component_;
}

std::shared_ptr<host::CodePane> MemoryCodeModule::CodePane() {
  // Shares the module's ownership when a shared_ptr holds it; otherwise borrows.
  std::shared_ptr<MemoryCodeModule> owner = weak_from_this().lock();
  return std::shared_ptr<host::CodePane>(std::move(owner), &pane_);
}

long MemoryCodeModule::CountOfLines() const {
  return static_cast<long>(lines_.size());
}

long MemoryCodeModule::CountOfDeclarationLines() const {
  return AddFromStringLine() - 1;
}

std::string MemoryCodeModule::Lines(long start, long count) const {
  return JoinedLines(lines_, start, count);
}

long MemoryCodeModule::ProcStartLine(std::string_view name, ProcKind kind) const {
  return RequireRoutine(name, kind).startLine;
}

long MemoryCodeModule::ProcBodyLine(std::string_view name, ProcKind kind) const {
  return RequireRoutine(name, kind).bodyLine;
}

ProcAtLine MemoryCodeModule::ProcOfLine(long line) const {
  const Routine* routine = RoutineAtLine(Routines(), line);
  if (routine == nullptr) return {};
  return {routine->name, routine->kind};
}

void MemoryCodeModule::InsertLines(long line, std::string_view text) {
  if (line < 1 || line > static_cast<long>(lines_.size()) + 1) {
    throw VbError(kErrInvalidCall);
  }
  InsertAt(static_cast<std::size_t>(line - 1), text);
}

void MemoryCodeModule::DeleteLines(long line, long count) {
  if (line < 1 || count < 0 || count > static_cast<long>(lines_.size()) - line + 1)
    throw VbError(kErrInvalidCall);
  const auto first = lines_.begin() + static_cast<std::ptrdiff_t>(line - 1);
  lines_.erase(first, first + static_cast<std::ptrdiff_t>(count));
  routines_.reset();
}

long MemoryCodeModule::AddFromStringLine() const {
  const std::deque<Routine>& routines = Routines();
  return routines.empty() ? static_cast<long>(lines_.size()) + 1 : routines.front().startLine;
}

void MemoryCodeModule::AddFromString(std::string_view text) {
  InsertAt(static_cast<std::size_t>(AddFromStringLine() - 1), text);
}

void MemoryCodeModule::InsertAt(std::size_t at, std::string_view text) {
  // Everything that can fail happens before the first change, so a failed insertion leaves the
  // module as it was: a deque insertion that throws has no effect, and string moves cannot fail.
  std::vector<std::string> added = SplitLines(text);
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), std::make_move_iterator(added.begin()),
                std::make_move_iterator(added.end()));
  if (!routines_) return;
  try {
    UpdateRoutinesAfterInsert(*routines_, lines_, at, added.size());
  } catch (...) {
    // The map is only a cache of what the lines say: without memory to update it, it is worked
    // out again on next use.
    routines_.reset();
  }
}

}  // namespace host
