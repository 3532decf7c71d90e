// host/vb_code/routine_map.h: where each routine of a module starts and ends, by the IDE's rules.
#pragma once

#include <deque>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "host/proc_kind.h"

#include "host/vb_code/code_lines_view.h"

namespace host {

// One routine of a module. Line numbers count from 1.
struct Routine {
  std::string name;
  ProcKind kind = ProcKind::kProc;
  bool isSub = false;
  long startLine = 0;        // ProcStartLine: the blank and comment lines above the declaration belong to it
  long bodyLine = 0;         // ProcBodyLine: the declaration's first line
  long declarationEnd = 0;   // the declaration's last line, when it is continued with " _"
  long endLine = 0;          // its End line, or the module's last line when it has none
  bool closedByEnd = false;  // whether endLine holds its End statement (not the line before a declaration)
};

// The routines of a module's code lines, in order. A declaration that meets another declaration
// before its End line ends on the line above it, so that every line belongs to at most one routine.
std::vector<Routine> MapRoutines(std::span<const std::string> lines);
std::vector<Routine> MapRoutines(std::span<const std::string_view> lines);
std::vector<Routine> MapRoutines(const CodeLinesView& lines);
std::vector<Routine> MapRoutines(const std::deque<std::string>& lines);

// Brings `routines`, the map of the lines before an edit, up to date after `count` lines were
// inserted at index `at` (from 0) of `lines`, which holds the lines after the edit. Gives what
// MapRoutines(lines) gives, but reads only the lines from the routine before the insertion to the
// first unchanged declaration after it, so that an edit costs what it touches.
// The routines are held in a deque, so that routines come and go cheaply near either end.
void UpdateRoutinesAfterInsert(std::deque<Routine>& routines, const std::deque<std::string>& lines,
                               std::size_t at, std::size_t count);

// The routine of that name and kind, or nothing.
const Routine* FindRoutine(std::span<const Routine> routines, std::string_view name, ProcKind kind);
const Routine* FindRoutine(const std::deque<Routine>& routines, std::string_view name, ProcKind kind);
// The routine whose range, from its start line to its End line, holds `line`, or nothing.
const Routine* RoutineAtLine(std::span<const Routine> routines, long line);
const Routine* RoutineAtLine(const std::deque<Routine>& routines, long line);

}  // namespace host
