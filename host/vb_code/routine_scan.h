// host/vb_code/routine_scan.h: the reading of routines from code lines, and its update after an
// insertion, over any container of lines and of routines.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "host/vb_code/code_lines.h"
#include "host/vb_code/routine_map.h"

namespace host {

// A routine's lines and kind, without its name: what the update compares, read cheaply from any
// container of routines.
struct RoutineLines {
  ProcKind kind = ProcKind::kProc;
  bool isSub = false;
  bool closedByEnd = false;
  long startLine = 0;
  long bodyLine = 0;
  long declarationEnd = 0;
  long endLine = 0;
};

inline RoutineLines LinesOf(const Routine& routine) noexcept {
  return {routine.kind,     routine.isSub,          routine.closedByEnd, routine.startLine,
          routine.bodyLine, routine.declarationEnd, routine.endLine};
}

// Reads a module's statements from a given line on and builds its routines. The state between two
// statements is whether a routine is open and, before the first routine, the last line of the
// declarations section that is neither blank nor comment. `Lines` gives each line as text by index;
// `Routines` takes routines with push_back() and gives the last one with back().
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
      statement_ = statement;
      while (ContinuesOnNextLine(std::string_view{lines_[last]}) && last + 1 < lines_.size()) {
        ++last;
        AppendContinuation(statement_, lines_[last]);
      }
      statement = statement_;
    }
    const char letter = FirstLetter(statement);
    const bool mayDeclare = letter == 'p' || letter == 'f' || letter == 's';
    if (const auto declaration = mayDeclare ? ParseDeclaration(statement) : std::nullopt) {
      Open(*declaration, first, last);
    } else if (inRoutine_) {
      const Routine& open = routines_.back();
      if (letter == 'e' && IsEndOf(statement, open.kind, open.isSub)) {
        routines_.back().endLine = Number(last);
        routines_.back().closedByEnd = true;
        inRoutine_ = false;
      }
    } else if (routines_.empty() && !IsBlankLine(statement) && !IsCommentLine(statement)) {
      lastDeclarationLine_ = Number(last);
    }
    return last + 1;
  }

  void Run(std::size_t from) {
    for (std::size_t i = from; i < lines_.size();) i = Step(i);
  }

 private:
  static long Number(std::size_t index) { return static_cast<long>(index) + 1; }

  void Open(const Declaration& declaration, std::size_t first, std::size_t last) {
    if (inRoutine_) routines_.back().endLine = Number(first) - 1;
    Routine routine;
    routine.name = std::string{declaration.name};
    routine.kind = declaration.kind;
    routine.isSub = declaration.isSub;
    routine.startLine = routines_.empty() ? lastDeclarationLine_ + 1 : routines_.back().endLine + 1;
    routine.bodyLine = Number(first);
    routine.declarationEnd = Number(last);
    routine.endLine = Number(lines_.size() - 1);
    routines_.push_back(std::move(routine));
    inRoutine_ = true;
  }

  const Lines& lines_;
  Routines& routines_;
  std::string statement_;
  long lastDeclarationLine_ = 0;
  bool inRoutine_ = false;
};

// Whether a statement starts at index `first` of `lines` and at the same old line, for an insertion of
// `count` lines at `at`: the line above it does not go on into it, in the new lines and in the old.
template <class Lines>
bool StartsStatementInBoth(const Lines& lines, std::size_t first, std::size_t at, std::size_t count) {
  if (first > 0 && ContinuesOnNextLine(lines[first - 1])) return false;
  return first != at + count || at == 0 || !ContinuesOnNextLine(lines[at - 1]);
}

// Brings `routines`, the map of the lines before an edit, up to date after `count` lines were
// inserted at index `at` (from 0) of `lines`, which holds the lines after the edit; see
// UpdateRoutinesAfterInsert. `Routines` answers size(), LinesAt(i) (a RoutineLines), CopyAt(i),
// PartitionPoint(from, predicate on RoutineLines), SetStartLine(i, line) and
// Splice(first, last, shift, fresh): the routines from `last` on move down by `shift` lines, and those
// from `first` to `last` give way to `fresh`.
template <class Lines, class Routines>
void UpdateRoutines(Routines& routines, const Lines& lines, std::size_t at, std::size_t count) {
  const auto shift = static_cast<long>(count);
  const auto atLine = static_cast<long>(at);
  // The routines read again go to `fresh`, after a copy of the last routine kept, which tells the
  // reading where the next routine starts.
  std::vector<Routine> fresh;
  RoutineScanner<Lines> scanner{lines, fresh};

  // Where to start reading again, with the state the reading had there. The lines before the
  // insertion are unchanged, so the routines they hold are too, up to the last declaration that ends
  // above the insertion and does not go on into it (a declaration the insertion touches may stop
  // being one, which moves the End of the routine above it).
  std::size_t from = 0;
  std::size_t kept = 0;  // routines kept as they are, from the first
  const bool lineAboveEnds = at == 0 || !ContinuesOnNextLine(lines[at - 1]);
  const std::size_t stable = routines.PartitionPoint(0, [&](const RoutineLines& routine) {
    return routine.declarationEnd < atLine || (routine.declarationEnd == atLine && lineAboveEnds);
  });
  if (stable > 0) {
    const RoutineLines restart = routines.LinesAt(stable - 1);
    from = static_cast<std::size_t>(restart.bodyLine - 1);
    kept = stable - 1;
    if (kept == 0) scanner.SetLastDeclarationLine(restart.startLine - 1);
  } else if (routines.size() > 0) {
    const RoutineLines front = routines.LinesAt(0);
    if (front.startLine - 1 <= atLine && front.bodyLine - 1 >= atLine &&
        StartsStatementInBoth(lines, at, at, 0)) {
      // Into the declarations section, below its last declaration: nothing above changes.
      from = at;
      scanner.SetLastDeclarationLine(front.startLine - 1);
    }
  }
  if (kept > 0) fresh.push_back(routines.CopyAt(kept - 1));
  const std::size_t seeded = fresh.size();
  const auto splice = [&](std::size_t resumed) {
    routines.Splice(kept, resumed, shift, std::span<Routine>{fresh.data() + seeded, fresh.size() - seeded});
  };

  // Reads on until a statement after the inserted lines starts in the same state as the old reading
  // had at that line; from there the rest of the module reads as before, and the old routines from
  // there on only move down by `count` lines.
  for (std::size_t i = from; i < lines.size();) {
    const std::size_t first = i;
    if (first >= at + count && StartsStatementInBoth(lines, first, at, count)) {
      const long oldLine = static_cast<long>(first) - shift + 1;
      // The first old routine declared at or below that line.
      const std::size_t resumed = routines.PartitionPoint(
          kept, [&](const RoutineLines& routine) { return routine.bodyLine < oldLine; });
      if (resumed == 0) {
        if (fresh.empty()) {
          // Still in the declarations section: the first routine starts below the last declaration,
          // which is either a line read from here on or the last one read so far.
          const bool declaredBelow = routines.size() > 0 && routines.LinesAt(0).startLine - 1 >= oldLine;
          splice(resumed);
          if (routines.size() > 0 && !declaredBelow)
            routines.SetStartLine(0, scanner.lastDeclarationLine() + 1);
          return;
        }
      } else {
        const RoutineLines above = routines.LinesAt(resumed - 1);
        const bool oldOpen =
            above.declarationEnd < oldLine &&
            (oldLine <= above.endLine || (!above.closedByEnd && oldLine == above.endLine + 1));
        if (oldOpen && scanner.inRoutine() && fresh.back().kind == above.kind &&
            fresh.back().isSub == above.isSub && resumed - 1 >= kept) {
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
          if (next < routines.size()) routines.SetStartLine(next, startLine);
          return;
        }
      }
    }
    i = scanner.Step(first);
  }
  splice(routines.size());
}

}  // namespace host
