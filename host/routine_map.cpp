// host/routine_map.cpp: one pass over the code lines, grouping continued lines into statements.
#include "host/routine_map.h"

#include "host/code_lines.h"

namespace host {
namespace {

// The statement that starts at `first` (0-based): its physical lines joined, and its last line.
struct Statement {
  std::string text;
  std::size_t last = 0;
};

Statement ReadStatement(std::span<const std::string> lines, std::size_t first) {
  Statement statement{lines[first], first};
  while (ContinuesOnNextLine(lines[statement.last]) && statement.last + 1 < lines.size()) {
    ++statement.last;
    AppendContinuation(statement.text, lines[statement.last]);
  }
  return statement;
}

long LineNumber(std::size_t index) {
  return static_cast<long>(index) + 1;
}

}  // namespace

std::vector<Routine> MapRoutines(std::span<const std::string> lines) {
  std::vector<Routine> routines;
  long lastDeclarationLine = 0;  // last line of the declarations section that is neither blank nor comment
  bool inRoutine = false;
  for (std::size_t i = 0; i < lines.size();) {
    const Statement statement = ReadStatement(lines, i);
    if (const auto declaration = ParseDeclaration(statement.text)) {
      if (inRoutine) routines.back().endLine = LineNumber(i) - 1;
      Routine routine;
      routine.name = std::string{declaration->name};
      routine.kind = declaration->kind;
      routine.isSub = declaration->isSub;
      routine.startLine = routines.empty() ? lastDeclarationLine + 1 : routines.back().endLine + 1;
      routine.bodyLine = LineNumber(i);
      routine.declarationEnd = LineNumber(statement.last);
      routine.endLine = LineNumber(lines.size() - 1);
      routines.push_back(std::move(routine));
      inRoutine = true;
    } else if (inRoutine) {
      const Routine& open = routines.back();
      if (IsEndOf(statement.text, open.kind, open.isSub)) {
        routines.back().endLine = LineNumber(statement.last);
        inRoutine = false;
      }
    } else if (routines.empty() && !IsBlankLine(statement.text) && !IsCommentLine(statement.text)) {
      lastDeclarationLine = LineNumber(statement.last);
    }
    i = statement.last + 1;
  }
  return routines;
}

const Routine* FindRoutine(std::span<const Routine> routines, std::string_view name, ProcKind kind) {
  for (const Routine& routine : routines) {
    if (routine.kind == kind && SameName(routine.name, name)) return &routine;
  }
  return nullptr;
}

const Routine* RoutineAtLine(std::span<const Routine> routines, long line) {
  for (const Routine& routine : routines) {
    if (line >= routine.startLine && line <= routine.endLine) return &routine;
  }
  return nullptr;
}

}  // namespace host
