// generator/headers_and_traps.h: a comment header and an error trap for routines that already exist,
// written from a template set around the routine's own statements, and taken out again exactly.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "generator/template_set.h"
#include "host/code_module.h"
#include "host/line_edit.h"
#include "host/proc_kind.h"
#include "host/vb_code/code_lines_view.h"

namespace generator {

// What a run does, and the values of the variables a routine's text does not give.
struct DressingOptions {
  bool headers = true;            // add (or remove) the header a routine lacks
  bool traps = true;              // add (or remove) the trap a routine lacks
  bool remove = false;            // take out what the set added, instead of adding
  bool resumeNext = false;        // the trap of "On Error Resume Next"
  std::vector<std::string> only;  // the routines to touch, by name; empty: all of them
  // Values of {Usage}, {Programmer}, {Date}, {Module} and {Project}. When removing, any text stands
  // for each of them, and for {Variable}, {Type} and {Returns}.
  std::string usage;
  std::string programmer;
  std::string date;
  std::string module;
  std::string project;
  // {Name} for every routine instead of its own, as comments mode takes the dialog's name field.
  std::string name;
};

// Why a routine was left as it was, in part or whole.
enum class LeftBecause : std::uint8_t {
  kHasHeader,      // a comment block stands right above or below its declaration
  kHasTrap,        // it has an On Error statement
  kOneLine,        // declared and ended on one line
  kNoEnd,          // no End line closes it
  kLabelInUse,     // the trap's label is a label of the routine already
  kNotRecognised,  // removing: nothing there is what the set adds
};

// A person's words for the reason, as the summary lists it.
std::string_view ReasonText(LeftBecause reason) noexcept;

struct RoutineDressing {
  std::string name;
  host::ProcKind kind = host::ProcKind::kProc;
  long line = 0;  // its declaration, as the lines were given
  bool headerChanged = false;
  bool trapChanged = false;
  std::optional<LeftBecause> headerLeft;  // set when a header was asked for and not changed
  std::optional<LeftBecause> trapLeft;
  bool Changed() const noexcept { return headerChanged || trapChanged; }
};

using host::LineEdit;

struct DressingPlan {
  std::vector<RoutineDressing> routines;
  std::vector<LineEdit> edits;  // in order, none overlapping
};

// The plan made a routine at a time, for a run that makes each routine's edits before it plans the
// next: the lines must stay as they were given while the planner lives. `onlyLine`, when not 0,
// limits it to the routine that holds that line.
class DressingPlanner {
 public:
  DressingPlanner(host::CodeLinesView lines, const TemplateSet& set, const DressingOptions& options,
                  long onlyLine = 0);
  DressingPlanner(const DressingPlanner&) = delete;
  DressingPlanner& operator=(const DressingPlanner&) = delete;
  ~DressingPlanner();

  // Plans the next routine the run touches: its report after those in `plan`, its edits (none, one
  // or two, in order) after the edits there. False when every routine is planned.
  bool PlanNext(DressingPlan& plan);
  // How many routines it plans in all.
  std::size_t RoutineCount() const noexcept;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

// What the run would do to a module whose code lines are `lines`; `onlyLine`, when not 0, limits it
// to the routine that holds that line. Nothing is changed.
DressingPlan PlanDressing(host::CodeLinesView lines, const TemplateSet& set, const DressingOptions& options,
                          long onlyLine = 0);
inline DressingPlan PlanDressing(std::span<const std::string_view> lines, const TemplateSet& set,
                                 const DressingOptions& options, long onlyLine = 0) {
  return PlanDressing(host::CodeLinesView{lines}, set, options, onlyLine);
}

// A module's lines as read in one call: its text, and a view of each line.
struct ModuleLines {
  std::string text;
  std::vector<std::string_view> lines;
};
inline DressingPlan PlanDressing(const ModuleLines& lines, const TemplateSet& set,
                                 const DressingOptions& options, long onlyLine = 0) {
  return PlanDressing(lines.lines, set, options, onlyLine);
}

// Makes the plan's edits in `module`, whose lines the plan was made from: the last first, so that the
// line numbers of the others still hold. Each edit's text goes once it is made, so that the module's
// copy of the new lines takes the place of the plan's: a caller done with its plan moves it in.
// Throws what the module throws.
void ApplyDressing(host::CodeModule& module, DressingPlan plan);

// The lines of `module`, for PlanDressing.
ModuleLines CodeLinesOf(const host::CodeModule& module);

}  // namespace generator
