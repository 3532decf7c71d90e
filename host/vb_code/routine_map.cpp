// host/vb_code/routine_map.cpp: one pass over the code lines, grouping continued lines into statements.
#include "host/vb_code/routine_map.h"

#include <algorithm>
#include <iterator>

#include "host/vb_code/code_lines.h"
#include "host/vb_code/routine_scan.h"

namespace host {
namespace {

template <class Lines>
std::vector<Routine> Map(const Lines& lines) {
  std::vector<Routine> routines;
  RoutineScanner<Lines>{lines, routines}.Run(0);
  return routines;
}

// A deque of routines as the update reads and changes it: every routine moved holds its own lines.
class DequeRoutines {
 public:
  explicit DequeRoutines(std::deque<Routine>& routines) : routines_(routines) {}

  std::size_t size() const noexcept { return routines_.size(); }
  RoutineLines LinesAt(std::size_t index) const { return LinesOf(routines_[index]); }
  Routine CopyAt(std::size_t index) const { return routines_[index]; }
  void SetStartLine(std::size_t index, long line) { routines_[index].startLine = line; }
  template <class Predicate>
  std::size_t PartitionPoint(std::size_t from, Predicate&& predicate) const {
    const auto found =
        std::partition_point(routines_.begin() + static_cast<std::ptrdiff_t>(from), routines_.end(),
                             [&](const Routine& routine) { return predicate(LinesOf(routine)); });
    return static_cast<std::size_t>(found - routines_.begin());
  }
  void Splice(std::size_t first, std::size_t last, long shift, std::span<Routine> fresh) {
    for (std::size_t i = last; i < routines_.size(); ++i) {
      Routine& moved = routines_[i];
      moved.startLine += shift;
      moved.bodyLine += shift;
      moved.declarationEnd += shift;
      moved.endLine += shift;
    }
    const auto begin = routines_.begin() + static_cast<std::ptrdiff_t>(first);
    const auto replaced = static_cast<std::ptrdiff_t>(last - first);
    const auto added = static_cast<std::ptrdiff_t>(fresh.size());
    const auto common = std::min(replaced, added);
    std::move(fresh.begin(), fresh.begin() + common, begin);
    // (An empty insertion into the middle of a deque would move elements onto themselves.)
    if (replaced > added) {
      routines_.erase(begin + common, begin + replaced);
    } else if (added > replaced) {
      routines_.insert(begin + common, std::make_move_iterator(fresh.begin() + common),
                       std::make_move_iterator(fresh.end()));
    }
  }

 private:
  std::deque<Routine>& routines_;
};

}  // namespace

std::vector<Routine> MapRoutines(std::span<const std::string> lines) {
  return Map(lines);
}

std::vector<Routine> MapRoutines(std::span<const std::string_view> lines) {
  return Map(lines);
}

std::vector<Routine> MapRoutines(const CodeLinesView& lines) {
  return Map(lines);
}

std::vector<Routine> MapRoutines(const std::deque<std::string>& lines) {
  return Map(lines);
}

void UpdateRoutinesAfterInsert(std::deque<Routine>& routines, const std::deque<std::string>& lines,
                               std::size_t at, std::size_t count) {
  DequeRoutines access{routines};
  UpdateRoutines(access, lines, at, count);
}

namespace {

template <class Routines>
const Routine* Find(const Routines& routines, std::string_view name, ProcKind kind) {
  for (const Routine& routine : routines) {
    if (routine.kind == kind && SameName(routine.name, name)) return &routine;
  }
  return nullptr;
}

template <class Routines>
const Routine* AtLine(const Routines& routines, long line) {
  // Routines are in order and do not overlap.
  const auto after = std::partition_point(routines.begin(), routines.end(),
                                          [&](const Routine& routine) { return routine.startLine <= line; });
  if (after == routines.begin()) return nullptr;
  const Routine& routine = *std::prev(after);
  return line <= routine.endLine ? &routine : nullptr;
}

}  // namespace

const Routine* FindRoutine(std::span<const Routine> routines, std::string_view name, ProcKind kind) {
  return Find(routines, name, kind);
}

const Routine* FindRoutine(const std::deque<Routine>& routines, std::string_view name, ProcKind kind) {
  return Find(routines, name, kind);
}

const Routine* RoutineAtLine(std::span<const Routine> routines, long line) {
  return AtLine(routines, line);
}

const Routine* RoutineAtLine(const std::deque<Routine>& routines, long line) {
  return AtLine(routines, line);
}

}  // namespace host
