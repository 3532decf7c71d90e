// generator/headers_and_traps.cpp: headers and traps around existing routines, and their removal.
#include "generator/headers_and_traps.h"

#include <algorithm>

#include "generator/template_values.h"
#include "host/vb_code/code_lines.h"
#include "host/vb_code/routine_map.h"

namespace generator {
namespace {

using host::ProcKind;

bool IsBlankChar(char c) {
  return c == ' ' || c == '\t';
}

std::string_view Trimmed(std::string_view line) {
  while (!line.empty() && IsBlankChar(line.front())) line.remove_prefix(1);
  while (!line.empty() && IsBlankChar(line.back())) line.remove_suffix(1);
  return line;
}

bool StartsWithWord(std::string_view text, std::string_view word) {
  return text.size() >= word.size() && host::SameName(text.substr(0, word.size()), word) &&
         (text.size() == word.size() || IsBlankChar(text[word.size()]));
}

bool IsNameChar(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' ||
         static_cast<unsigned char>(c) >= 0x80;
}

// Where the line's first character other than a blank is, or its size.
std::size_t FirstNonBlank(std::string_view line) {
  std::size_t at = 0;
  while (at < line.size() && IsBlankChar(line[at])) ++at;
  return at;
}

// The label a line starts with ("Retry:" or a line number), or nothing. Asked of every statement of
// every routine, so it looks at each character once.
std::string_view LabelOf(std::string_view line) {
  line.remove_prefix(FirstNonBlank(line));
  std::size_t end = 0;
  bool number = true;
  for (; end < line.size() && IsNameChar(line[end]); ++end) {
    if (line[end] < '0' || line[end] > '9') number = false;
  }
  if (end == 0) return {};
  if (number) return line.substr(0, end);
  // "Name:" but not "Name:=" (a named argument) and not "Name :" (a call with a statement after it).
  if (end < line.size() && line[end] == ':' && (end + 1 == line.size() || line[end + 1] != '=')) {
    return line.substr(0, end);
  }
  return {};
}

// Lines the trap's blanks are not put before: a label (VB wants it first on its line), a compiler
// directive and a blank line. Told apart by what follows their own blanks, so that taking the trap
// out tells them the same way.
bool KeepsItsPlace(std::string_view line) {
  const std::string_view trimmed = Trimmed(line);
  return trimmed.empty() || trimmed.front() == '#' || !LabelOf(line).empty();
}

bool HasOnError(std::string_view line) {
  std::string_view rest = Trimmed(line);
  if (const std::string_view label = LabelOf(rest); !label.empty()) {
    rest = Trimmed(
        rest.substr(label.size() + (rest.size() > label.size() && rest[label.size()] == ':' ? 1 : 0)));
  }
  for (;;) {
    if (StartsWithWord(rest, "On")) {
      const std::string_view after = Trimmed(rest.substr(2));
      if (StartsWithWord(after, "Error") || host::SameName(after, "Error")) return true;
    }
    const std::size_t colon = rest.find(':');
    if (colon == std::string_view::npos || rest.find('"') < colon) return false;
    rest = Trimmed(rest.substr(colon + 1));
  }
}

// "Sub A(): Beep: End Sub": the routine's End statement stands on its declaration's line.
bool EndsOnItsDeclaration(std::string_view line) {
  const std::string_view trimmed = Trimmed(line);
  const std::size_t colon = trimmed.rfind(':');
  if (colon == std::string_view::npos) return false;
  const std::string_view last = Trimmed(trimmed.substr(colon + 1));
  return StartsWithWord(last, "End") && (host::SameName(Trimmed(last.substr(3)), "Sub") ||
                                         host::SameName(Trimmed(last.substr(3)), "Function") ||
                                         host::SameName(Trimmed(last.substr(3)), "Property"));
}

bool IsLocalDeclaration(std::string_view line) {
  const std::string_view trimmed = Trimmed(line);
  return StartsWithWord(trimmed, "Dim") || StartsWithWord(trimmed, "Static") ||
         StartsWithWord(trimmed, "Const");
}

ProcedureKind ProcedureKindOf(const host::Routine& routine) {
  switch (routine.kind) {
    case ProcKind::kGet:
      return pkPropertyGet;
    case ProcKind::kLet:
      return pkPropertyLet;
    case ProcKind::kSet:
      return pkPropertySet;
    case ProcKind::kProc:
      break;
  }
  return routine.isSub ? pkSub : pkFunction;
}

long CountOf(char c, std::string_view text) {
  long count = 0;
  for (std::size_t at = text.find(c); at != std::string_view::npos; at = text.find(c, at + 1)) ++count;
  return count;
}

LineEdit EditOf(long first, long count, std::span<const std::string_view> lines) {
  LineEdit edit{first, count, {}, static_cast<long>(lines.size())};
  std::size_t size = lines.empty() ? 0 : lines.size() - 1;
  for (const std::string_view line : lines) size += line.size();
  edit.text.reserve(size);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) edit.text += '\r';
    edit.text += lines[i];
  }
  return edit;
}

constexpr std::uint32_t Bit(TemplateVariable variable) {
  return 1U << static_cast<unsigned>(variable);
}

// What removal cannot know: the values given when the text was added.
constexpr std::uint32_t kAnyText = Bit(TemplateVariable::kUsage) | Bit(TemplateVariable::kProgrammer) |
                                   Bit(TemplateVariable::kDate) | Bit(TemplateVariable::kModule) |
                                   Bit(TemplateVariable::kProject) | Bit(TemplateVariable::kVariable) |
                                   Bit(TemplateVariable::kType) | Bit(TemplateVariable::kReturns);

// One routine as the plan sees it: its name, where its declaration ends (after the #End If that
// closes a declaration given twice under #If), and where its statements are.
struct Shape {
  const host::Routine* routine = nullptr;
  long declarationEnd = 0;  // statements start on the line after
  long endLine = 0;         // its End line
  bool oneLine = false;
};

class Planner {
 public:
  Planner(host::CodeLinesView lines, const TemplateSet& set, const DressingOptions& options)
      : lines_(lines), set_(set), options_(options) {
    // The values below point into it, so it lives as long as the planner.
    request_.sUsage = options.usage;
    request_.sNomutilisateur = options.programmer;
  }

  void Plan(const Shape& shape, DressingPlan& plan) {
    const host::Routine& routine = *shape.routine;
    RoutineDressing report;
    report.name = routine.name;
    report.kind = routine.kind;
    report.line = routine.bodyLine;
    const std::string_view shown = options_.name.empty() ? std::string_view{routine.name} : options_.name;
    const TemplateValues values =
        ValuesFor(request_, ProcedureKindOf(routine), {shown, shown},
                  {&set_, options_.module, options_.project, options_.date}, options_.date);
    const Template& trap = options_.resumeNext ? set_.resumeNextTrap : set_.trap;
    if (shape.oneLine || shape.endLine == 0) {
      const LeftBecause why = shape.oneLine ? LeftBecause::kOneLine : LeftBecause::kNoEnd;
      if (options_.headers) report.headerLeft = why;
      if (options_.traps) report.trapLeft = why;
      plan.routines.push_back(std::move(report));
      return;
    }
    if (options_.remove) {
      Remove(shape, values, trap, report, plan);
    } else {
      Add(shape, values, trap, report, plan);
    }
    plan.routines.push_back(std::move(report));
  }

 private:
  std::string_view Line(long number) const { return lines_[static_cast<std::size_t>(number - 1)]; }

  // The line after the routine's header: the header the set writes, or any comment block right below
  // the declaration, unless the set's trap starts there.
  long HeaderEnd(const Shape& shape, const TemplateValues& values, const Template& trap) const {
    const long first = shape.declarationEnd + 1;
    const long header = MatchRun(set_.header, 0, set_.header.LineCount(), first, shape.endLine, values);
    if (header > 0) return first + header;
    const std::size_t body = *trap.BodyLine();
    const auto trapStarts = [&](long line) {
      return body > 0 && MatchRun(trap, 0, body, line, shape.endLine, values) > 0;
    };
    long line = first;
    while (line < shape.endLine && host::IsCommentLine(Line(line)) && !trapStarts(line)) ++line;
    return line;
  }

  bool HasHeader(const Shape& shape, const TemplateValues& values, const Template& trap) const {
    const long above = shape.routine->bodyLine - 1;
    return (above >= 1 && host::IsCommentLine(Line(above))) ||
           HeaderEnd(shape, values, trap) > shape.declarationEnd + 1;
  }

  // The first statement line after the routine's Dim, Static and Const lines (and their continuations).
  long AfterLocals(long from, long end) const {
    long line = from;
    while (line < end && IsLocalDeclaration(Line(line))) {
      while (line < end && host::ContinuesOnNextLine(Line(line))) ++line;
      ++line;
    }
    return line;
  }

  void Add(const Shape& shape, const TemplateValues& values, const Template& trap, RoutineDressing& report,
           DressingPlan& plan) {
    const long first = shape.declarationEnd + 1;  // the routine's first line after its declaration
    LineEdit header{first, 0, {}, 0};
    if (options_.headers) {
      if (HasHeader(shape, values, trap)) {
        report.headerLeft = LeftBecause::kHasHeader;
      } else {
        // Every line of the header ends with a CR: the edit's lines are those the CRs end.
        header.text = set_.header.Expand(values);
        header.lineCount = CountOf('\r', header.text);
        if (!header.text.empty()) header.text.pop_back();
        report.headerChanged = true;
      }
    }
    const long statements = AfterLocals(HeaderEnd(shape, values, trap), shape.endLine);
    LineEdit wrapped{statements, shape.endLine - statements, {}, 0};
    if (options_.traps) {
      if (HasOnErrorWithin(shape)) {
        report.trapLeft = LeftBecause::kHasTrap;
      } else if (!Wrap(statements, shape.endLine, values, trap, wrapped)) {
        report.trapLeft = LeftBecause::kLabelInUse;
      } else {
        report.trapChanged = true;
      }
    }
    if (header.lineCount > 0) plan.edits.push_back(std::move(header));
    if (report.trapChanged) plan.edits.push_back(std::move(wrapped));
  }

  bool HasOnErrorWithin(const Shape& shape) const {
    for (long line = shape.declarationEnd + 1; line < shape.endLine; ++line) {
      if (HasOnError(Line(line))) return true;
    }
    return false;
  }

  // The trap around lines [from, end), each taking the blanks before {Body} unless it keeps its place,
  // as the CR-separated text of `edit`, built in one allocation. False, with `edit` unchanged, when one
  // of those lines has a label that the trap writes.
  bool Wrap(long from, long end, const TemplateValues& values, const Template& trap, LineEdit& edit) {
    const std::size_t body = *trap.BodyLine();
    const std::string_view indent = trap.BodyIndent();
    // The trap's own lines, expanded one after another into a buffer kept from routine to routine.
    expanded_.clear();
    expandedEnds_.clear();
    labels_.clear();
    long lineCount = 0;
    for (std::size_t i = 0; i < trap.LineCount(); ++i) {
      if (i != body) {
        trap.AppendExpandedLine(expanded_, i, values);
        ++lineCount;
      }
      expandedEnds_.push_back(expanded_.size());
    }
    // A value's line breaks make a line of the trap several lines of the edit.
    lineCount += CountOf('\r', expanded_);
    for (std::size_t i = 0, start = 0; i < trap.LineCount(); start = expandedEnds_[i++]) {
      if (i == body) continue;
      const std::string_view label =
          LabelOf(std::string_view{expanded_}.substr(start, expandedEnds_[i] - start));
      if (!label.empty()) labels_.push_back(label);
    }
    // The statements: whether each keeps its place, and none using a label of the trap.
    keeps_.clear();
    std::size_t size = expanded_.size();
    for (long line = from; line < end; ++line) {
      const std::string_view text = Line(line);
      const std::string_view label = LabelOf(text);
      if (!label.empty()) {
        for (const std::string_view trapLabel : labels_) {
          if (host::SameName(label, trapLabel)) return false;
        }
      }
      const std::size_t first = FirstNonBlank(text);
      const bool keeps = first == text.size() || text[first] == '#' || !label.empty();
      keeps_.push_back(keeps ? 1 : 0);
      size += text.size() + (keeps ? 0 : indent.size());
    }
    lineCount += end - from;
    std::string& out = edit.text;
    out.clear();
    out.reserve(size + static_cast<std::size_t>(std::max(lineCount - 1, 0L)));
    long written = 0;
    const auto separate = [&] {
      if (written++ > 0) out += '\r';
    };
    for (std::size_t i = 0, start = 0; i < trap.LineCount(); start = expandedEnds_[i++]) {
      if (i != body) {
        separate();
        out.append(expanded_, start, expandedEnds_[i] - start);
        continue;
      }
      for (long line = from; line < end; ++line) {
        separate();
        if (keeps_[static_cast<std::size_t>(line - from)] == 0) out += indent;
        out += Line(line);
      }
    }
    edit.lineCount = lineCount;
    return true;
  }

  // How many of the lines from `from` on are the template's lines from `first` to `last`, matched in
  // order; 0 when they are not all there.
  long MatchRun(const Template& text, std::size_t firstIndex, std::size_t lastIndex, long from, long limit,
                const TemplateValues& values) const {
    long line = from;
    for (std::size_t i = firstIndex; i < lastIndex; ++i, ++line) {
      if (line >= limit || !text.MatchesLine(i, Line(line), values, kAnyText)) return -1;
    }
    return line - from;
  }

  void Remove(const Shape& shape, const TemplateValues& values, const Template& trap, RoutineDressing& report,
              DressingPlan& plan) {
    const long first = shape.declarationEnd + 1;
    long statements = HeaderEnd(shape, values, trap);
    std::vector<LineEdit> edits;
    if (options_.headers) {
      const long header = MatchRun(set_.header, 0, set_.header.LineCount(), first, shape.endLine, values);
      if (header > 0) {
        edits.push_back(EditOf(first, header, {}));
        report.headerChanged = true;
      } else {
        report.headerLeft = LeftBecause::kNotRecognised;
      }
    }
    if (options_.traps) {
      statements = AfterLocals(statements, shape.endLine);
      const std::size_t body = *trap.BodyLine();
      const long before = MatchRun(trap, 0, body, statements, shape.endLine, values);
      const auto afterCount = static_cast<long>(trap.LineCount() - body - 1);
      const long afterStart = shape.endLine - afterCount;
      const long after = afterStart < statements + std::max(before, 0L)
                             ? -1
                             : MatchRun(trap, body + 1, trap.LineCount(), afterStart, shape.endLine, values);
      std::vector<std::string_view> unwrapped;
      bool recognised = before >= 0 && after >= 0;
      const std::string_view indent = trap.BodyIndent();
      for (long line = statements + before; recognised && line < afterStart; ++line) {
        const std::string_view text = Line(line);
        if (KeepsItsPlace(text)) {
          unwrapped.emplace_back(text);
        } else if (text.starts_with(indent) && !KeepsItsPlace(text.substr(indent.size()))) {
          unwrapped.emplace_back(text.substr(indent.size()));
        } else {
          recognised = false;
        }
      }
      if (recognised && (before > 0 || after > 0)) {
        edits.push_back(EditOf(statements, shape.endLine - statements, unwrapped));
        report.trapChanged = true;
      } else {
        report.trapLeft = LeftBecause::kNotRecognised;
      }
    }
    for (LineEdit& edit : edits) plan.edits.push_back(std::move(edit));
  }

  host::CodeLinesView lines_;
  const TemplateSet& set_;
  const DressingOptions& options_;
  Request request_;
  // Kept from routine to routine, so that wrapping one allocates only its edit's text.
  std::string expanded_;                   // the trap's lines but {Body}, expanded
  std::vector<std::size_t> expandedEnds_;  // where each line of the trap ends in it
  std::vector<std::string_view> labels_;   // the labels the trap writes
  std::vector<char> keeps_;                // for each statement, whether it keeps its place
};

// Each routine once: a declaration given twice, under #If and #Else, is one routine whose statements
// follow the #End If.
std::vector<Shape> ShapesOf(const host::CodeLinesView& lines, const std::vector<host::Routine>& routines) {
  std::vector<Shape> shapes;
  shapes.reserve(routines.size());
  const auto line = [&](long number) -> std::string_view {
    return number >= 1 && number <= static_cast<long>(lines.size())
               ? std::string_view{lines[static_cast<std::size_t>(number - 1)]}
               : std::string_view{};
  };
  const auto directive = [&](long number, std::string_view word) {
    const std::string_view trimmed = Trimmed(line(number));
    return trimmed.starts_with('#') && StartsWithWord(Trimmed(trimmed.substr(1)), word);
  };
  for (std::size_t i = 0; i < routines.size(); ++i) {
    const host::Routine& routine = routines[i];
    Shape shape{&routine, routine.declarationEnd, routine.closedByEnd ? routine.endLine : 0, false};
    if (!routine.closedByEnd && i + 1 < routines.size()) {
      const host::Routine& next = routines[i + 1];
      if (host::SameName(next.name, routine.name) && next.kind == routine.kind &&
          directive(next.bodyLine - 1, "Else") && directive(next.declarationEnd + 1, "End")) {
        shape = {&next, next.declarationEnd + 1, next.closedByEnd ? next.endLine : 0, false};
        shape.routine = &routine;
        ++i;
      }
    }
    shape.oneLine = (shape.endLine != 0 && shape.endLine <= shape.declarationEnd) ||
                    (shape.endLine == 0 && EndsOnItsDeclaration(line(routine.declarationEnd)));
    shapes.push_back(shape);
  }
  return shapes;
}

}  // namespace

std::string_view ReasonText(LeftBecause reason) noexcept {
  switch (reason) {
    case LeftBecause::kHasHeader:
      return "it has a header";
    case LeftBecause::kHasTrap:
      return "it has an On Error statement";
    case LeftBecause::kOneLine:
      return "it is written on one line";
    case LeftBecause::kNoEnd:
      return "no End line closes it";
    case LeftBecause::kLabelInUse:
      return "it uses a label of the trap already";
    case LeftBecause::kNotRecognised:
      return "nothing there is what the templates add";
  }
  return {};
}

struct DressingPlanner::State {
  State(host::CodeLinesView lines, const TemplateSet& set, const DressingOptions& options)
      : routines(host::MapRoutines(lines)), shapes(ShapesOf(lines, routines)), planner(lines, set, options) {}

  std::vector<host::Routine> routines;
  std::vector<Shape> shapes;  // pointing into routines
  Planner planner;
  std::size_t next = 0;  // the next of shapes
};

DressingPlanner::DressingPlanner(host::CodeLinesView lines, const TemplateSet& set,
                                 const DressingOptions& options, long onlyLine)
    : state_(std::make_unique<State>(lines, set, options)) {
  std::vector<Shape>& shapes = state_->shapes;
  const auto left = [&](const Shape& shape) {
    const host::Routine& routine = *shape.routine;
    if (onlyLine != 0 &&
        (onlyLine < routine.startLine || onlyLine > std::max(shape.endLine, routine.endLine))) {
      return true;
    }
    return !options.only.empty() &&
           std::none_of(options.only.begin(), options.only.end(),
                        [&](const std::string& name) { return host::SameName(name, routine.name); });
  };
  shapes.erase(std::remove_if(shapes.begin(), shapes.end(), left), shapes.end());
}

DressingPlanner::~DressingPlanner() = default;

std::size_t DressingPlanner::RoutineCount() const noexcept {
  return state_->shapes.size();
}

bool DressingPlanner::PlanNext(DressingPlan& plan) {
  if (state_->next == state_->shapes.size()) return false;
  state_->planner.Plan(state_->shapes[state_->next++], plan);
  return true;
}

DressingPlan PlanDressing(host::CodeLinesView lines, const TemplateSet& set, const DressingOptions& options,
                          long onlyLine) {
  DressingPlanner planner{lines, set, options, onlyLine};
  DressingPlan plan;
  plan.routines.reserve(planner.RoutineCount());
  plan.edits.reserve(2 * planner.RoutineCount());  // a header and a trap each, at most
  while (planner.PlanNext(plan)) {
  }
  // Edits that meet are made as one: an IDE reached through COM is called once for them.
  std::vector<LineEdit>& edits = plan.edits;
  std::size_t kept = 0;
  for (std::size_t i = 0; i < edits.size(); ++i) {
    if (kept > 0 && edits[kept - 1].first + edits[kept - 1].count == edits[i].first) {
      LineEdit& last = edits[kept - 1];
      const LineEdit& edit = edits[i];
      last.count += edit.count;
      if (last.lineCount > 0 && edit.lineCount > 0) last.text += '\r';
      last.text += edit.text;
      last.lineCount += edit.lineCount;
      continue;
    }
    if (kept != i) edits[kept] = std::move(edits[i]);
    ++kept;
  }
  edits.erase(edits.begin() + static_cast<std::ptrdiff_t>(kept), edits.end());
  return plan;
}

void ApplyDressing(host::CodeModule& module, DressingPlan plan) {
  for (std::size_t i = plan.edits.size(); i-- > 0;) {
    LineEdit& edit = plan.edits[i];
    if (edit.count > 0) module.DeleteLines(edit.first, edit.count);
    if (edit.lineCount > 0) module.InsertLines(edit.first, edit.text);
    std::string{}.swap(edit.text);
  }
}

// One call for every line: an IDE reached through COM answers each call at a cost.
ModuleLines CodeLinesOf(const host::CodeModule& module) {
  ModuleLines read;
  const long count = module.CountOfLines();
  if (count <= 0) return read;
  read.text = module.Lines(1, count);
  read.lines.reserve(static_cast<std::size_t>(count));
  const std::string_view text = read.text;
  std::size_t start = 0;
  for (std::size_t at = 0; at < text.size(); ++at) {
    if (text[at] != '\r' && text[at] != '\n') continue;
    read.lines.push_back(text.substr(start, at - start));
    if (text[at] == '\r' && at + 1 < text.size() && text[at + 1] == '\n') ++at;
    start = at + 1;
  }
  read.lines.push_back(text.substr(start));
  return read;
}

}  // namespace generator
