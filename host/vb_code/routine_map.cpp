// host/vb_code/routine_map.cpp: one pass over the code lines, grouping continued lines into statements.
#include "host/vb_code/routine_map.h"

#include <algorithm>
#include <iterator>

#include "host/vb_code/code_lines.h"

namespace host {
namespace {

long LineNumber(std::size_t index) {
  return static_cast<long>(index) + 1;
}

// Reads a module's statements from a given line on and builds its routines. The state between two
// statements is whether a routine is open and, before the first routine, the last line of the
// declarations section that is neither blank nor comment.
template <class Lines, class Routines = std::vector<Routine>>
class RoutineScanner {
 public:
  RoutineScanner(const Lines& lines, Routines& routines) : lines_(lines), routines_(routines) {}

  void SetLastDeclarationLine(long line) { lastDeclarationLine_ = line; }
  long lastDeclarationLine() const { return lastDeclarationLine_; }
  bool inRoutine() const { return inRoutine_; }

  // Reads the statement that starts at index `first`; returns the index after it.
  std::size_t Step(std::size_t first) {
    std::size_t last = first;
    // A statement on one line is read where it stands; only a continued one is joined.
    std::string_view statement = lines_[first];
    if (ContinuesOnNextLine(statement) && last + 1 < lines_.size()) {
      statement_ = lines_[first];
      while (ContinuesOnNextLine(lines_[last]) && last + 1 < lines_.size()) {
        ++last;
        AppendContinuation(statement_, lines_[last]);
      }
      statement = statement_;
    }
    if (const auto declaration = ParseDeclaration(statement)) {
      Open(*declaration, first, last);
    } else if (inRoutine_) {
      const Routine& open = routines_.back();
      if (IsEndOf(statement, open.kind, open.isSub)) {
        routines_.back().endLine = LineNumber(last);
        routines_.back().closedByEnd = true;
        inRoutine_ = false;
      }
    } else if (routines_.empty() && !IsBlankLine(statement) && !IsCommentLine(statement)) {
      lastDeclarationLine_ = LineNumber(last);
    }
    return last + 1;
  }

  void Run(std::size_t from) {
    for (std::size_t i = from; i < lines_.size();) i = Step(i);
  }

 private:
  void Open(const Declaration& declaration, std::size_t first, std::size_t last) {
    if (inRoutine_) routines_.back().endLine = LineNumber(first) - 1;
    Routine routine;
    routine.name = std::string{declaration.name};
    routine.kind = declaration.kind;
    routine.isSub = declaration.isSub;
    routine.startLine = routines_.empty() ? lastDeclarationLine_ + 1 : routines_.back().endLine + 1;
    routine.bodyLine = LineNumber(first);
    routine.declarationEnd = LineNumber(last);
    routine.endLine = LineNumber(lines_.size() - 1);
    routines_.push_back(std::move(routine));
    inRoutine_ = true;
  }

  const Lines& lines_;
  Routines& routines_;
  std::string statement_;
  long lastDeclarationLine_ = 0;
  bool inRoutine_ = false;
};

template <class Lines>
std::vector<Routine> Map(const Lines& lines) {
  std::vector<Routine> routines;
  RoutineScanner<Lines>{lines, routines}.Run(0);
  return routines;
}

}  // namespace

std::vector<Routine> MapRoutines(std::span<const std::string> lines) {
  return Map(lines);
}

std::vector<Routine> MapRoutines(const std::deque<std::string>& lines) {
  return Map(lines);
}

namespace {

// Whether a statement starts at index `first` of `lines` and at the same old line, for an insertion of
// `count` lines at `at`: the line above it does not go on into it, in the new lines and in the old.
bool StartsStatementInBoth(const std::deque<std::string>& lines, std::size_t first, std::size_t at,
                           std::size_t count) {
  if (first > 0 && ContinuesOnNextLine(lines[first - 1])) return false;
  return first != at + count || at == 0 || !ContinuesOnNextLine(lines[at - 1]);
}

}  // namespace

void UpdateRoutinesAfterInsert(std::deque<Routine>& routines, const std::deque<std::string>& lines,
                               std::size_t at, std::size_t count) {
  const auto shift = static_cast<long>(count);
  const auto atLine = static_cast<long>(at);
  // The routines read again go to `fresh`, after a copy of the last routine kept, which tells the
  // reading where the next routine starts.
  std::vector<Routine> fresh;
  RoutineScanner<std::deque<std::string>> scanner{lines, fresh};

  // Where to start reading again, with the state the reading had there. The lines before the
  // insertion are unchanged, so the routines they hold are too, up to the last declaration that ends
  // above the insertion and does not go on into it (a declaration the insertion touches may stop
  // being one, which moves the End of the routine above it).
  std::size_t from = 0;
  std::size_t kept = 0;  // routines kept as they are, from the first
  const bool lineAboveEnds = at == 0 || !ContinuesOnNextLine(lines[at - 1]);
  const auto stable = std::partition_point(routines.begin(), routines.end(), [&](const Routine& routine) {
    return routine.declarationEnd < atLine || (routine.declarationEnd == atLine && lineAboveEnds);
  });
  if (stable != routines.begin()) {
    const auto restart = std::prev(stable);
    from = static_cast<std::size_t>(restart->bodyLine - 1);
    kept = static_cast<std::size_t>(restart - routines.begin());
    if (kept == 0) scanner.SetLastDeclarationLine(restart->startLine - 1);
  } else if (!routines.empty() && routines.front().startLine - 1 <= atLine &&
             routines.front().bodyLine - 1 >= atLine && StartsStatementInBoth(lines, at, at, 0)) {
    // Into the declarations section, below its last declaration: nothing above changes.
    from = at;
    scanner.SetLastDeclarationLine(routines.front().startLine - 1);
  }
  if (kept > 0) fresh.push_back(routines[kept - 1]);
  const std::size_t seeded = fresh.size();

  // Puts `fresh` in place of the old routines from `kept` to `resumed`, and moves the old routines
  // from `resumed` on down by `shift` lines.
  const auto splice = [&](std::size_t resumed) {
    for (std::size_t i = resumed; i < routines.size(); ++i) {
      Routine& moved = routines[i];
      moved.startLine += shift;
      moved.bodyLine += shift;
      moved.declarationEnd += shift;
      moved.endLine += shift;
    }
    const auto first = routines.begin() + static_cast<std::ptrdiff_t>(kept);
    const auto replaced = static_cast<std::ptrdiff_t>(resumed - kept);
    const auto added = static_cast<std::ptrdiff_t>(fresh.size() - seeded);
    const auto common = std::min(replaced, added);
    std::move(fresh.begin() + static_cast<std::ptrdiff_t>(seeded),
              fresh.begin() + static_cast<std::ptrdiff_t>(seeded) + common, first);
    // (An empty insertion into the middle of a deque would move elements onto themselves.)
    if (replaced > added) {
      routines.erase(first + common, first + replaced);
    } else if (added > replaced) {
      routines.insert(first + common,
                      std::make_move_iterator(fresh.begin() + static_cast<std::ptrdiff_t>(seeded) + common),
                      std::make_move_iterator(fresh.end()));
    }
  };

  // Reads on until a statement after the inserted lines starts in the same state as the old reading
  // had at that line; from there the rest of the module reads as before, and the old routines from
  // there on only move down by `count` lines.
  for (std::size_t i = from; i < lines.size();) {
    const std::size_t first = i;
    if (first >= at + count && StartsStatementInBoth(lines, first, at, count)) {
      const long oldLine = static_cast<long>(first) - shift + 1;
      // The first old routine declared at or below that line.
      const auto after =
          std::partition_point(routines.begin() + static_cast<std::ptrdiff_t>(kept), routines.end(),
                               [&](const Routine& routine) { return routine.bodyLine < oldLine; });
      const auto resumed = static_cast<std::size_t>(after - routines.begin());
      if (after == routines.begin()) {
        if (fresh.empty()) {
          // Still in the declarations section: the first routine starts below the last declaration,
          // which is either a line read from here on or the last one read so far.
          const bool declaredBelow = !routines.empty() && routines.front().startLine - 1 >= oldLine;
          splice(resumed);
          if (!routines.empty() && !declaredBelow)
            routines.front().startLine = scanner.lastDeclarationLine() + 1;
          return;
        }
      } else {
        const Routine& above = *std::prev(after);
        const bool oldOpen =
            above.declarationEnd < oldLine &&
            (oldLine <= above.endLine || (!above.closedByEnd && oldLine == above.endLine + 1));
        if (oldOpen && scanner.inRoutine() && fresh.back().kind == above.kind &&
            fresh.back().isSub == above.isSub &&
            std::prev(after) - routines.begin() >= static_cast<std::ptrdiff_t>(kept)) {
          // The same kind of routine is open in both readings: it ends where the old one ended.
          fresh.back().endLine = above.endLine + shift;
          fresh.back().closedByEnd = above.closedByEnd;
          splice(resumed);
          return;
        }
        if (!oldOpen && !scanner.inRoutine() && !fresh.empty()) {
          const long startLine = fresh.back().endLine + 1;
          const std::size_t next = kept + fresh.size() - seeded;
          splice(resumed);
          if (next < routines.size()) routines[next].startLine = startLine;
          return;
        }
      }
    }
    i = scanner.Step(first);
  }
  splice(routines.size());
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
