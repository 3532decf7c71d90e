// host/source_files/source_code_module.cpp: reading a file into code lines and the spans around them,
// and writing it back.
#include "host/source_files/source_code_module.h"

#include <algorithm>
#include <span>
#include <utility>

#include "host/host_error.h"
#include "host/vb_code/code_lines.h"
#include "host/vb_code/joined_lines.h"
#include "host/vb_code/routine_scan.h"
#include "host/vb_errors.h"

namespace host {
namespace {

std::uint32_t EndingIndex(std::string_view ending) {
  for (std::uint32_t i = 1; i < std::size(kLineEndings); ++i) {
    if (ending == kLineEndings[i]) return i;
  }
  return 0;
}

// A class saves its design properties in its BEGIN block: "Persistable = 1  'Persistable".
bool IsPersistable(std::string_view header) {
  LineCursor cursor{header};
  for (LineView line; cursor.Next(line);) {
    std::string_view text = line.text;
    const std::size_t start = text.find_first_not_of(" \t");
    if (start == std::string_view::npos) continue;
    text.remove_prefix(start);
    if (text.size() < kPersistable.size() || !SameName(text.substr(0, kPersistable.size()), kPersistable))
      continue;
    text.remove_prefix(kPersistable.size());
    const std::size_t equals = text.find_first_not_of(" \t");
    if (equals == std::string_view::npos || text[equals] != '=') continue;
    text.remove_prefix(equals + 1);
    const std::size_t value = text.find_first_not_of(" \t");
    if (value == std::string_view::npos) continue;
    text.remove_prefix(value);
    return text.starts_with('1') &&
           (text.size() == 1 || text[1] == ' ' || text[1] == '\t' || text[1] == '\'');
  }
  return false;
}

}  // namespace

std::shared_ptr<host::CodeModule> SourceCodePane::CodeModule() {
  std::shared_ptr<SourceCodeModule> owner = module_.weak_from_this().lock();
  return std::shared_ptr<host::CodeModule>(std::move(owner), &module_);
}

SourceCodeModule::SourceCodeModule(std::string_view text, SourceKind kind,
                                   std::optional<ComponentType> component)
    : copy_(text), text_(copy_) {
  Read(kind, component);
}

SourceCodeModule::SourceCodeModule(BorrowedText text, SourceKind kind, std::optional<ComponentType> component)
    : text_(text.text) {
  Read(kind, component);
}

void SourceCodeModule::Read(SourceKind kind, std::optional<ComponentType> component) {
  if (text_.size() > kMostFileBytes) throw SourceFormatError("the file is larger than 4 GiB");
  lines_ = CodeLineStore{text_};
  EndingTally endings;
  HiddenHeaderReader header{kind};
  bool inHeader = true;
  bool previousContinues = false;
  LineCursor cursor{text_};
  for (LineView line; cursor.Next(line);) {
    endings.Add(line.ending);
    inHeader = inHeader && header.Take(line.text);
    // An Attribute line hides after the code line above it, unless that line goes on with " _"
    // (then it is part of the statement); before the first code line it joins the header.
    const bool hidden = !inHeader && IsAttributeLine(line.text) && !previousContinues;
    previousContinues = ContinuesOnNextLine(line.text);
    const auto begin = static_cast<std::uint32_t>(line.text.data() - text_.data());
    const auto end = static_cast<std::uint32_t>(begin + line.text.size() + line.ending.size());
    if (inHeader || (hidden && lines_.size() == 0)) {
      if (!named_ && IsModuleNameLine(line.text)) {
        named_ = true;
        moduleName_ = ModuleNameOf(line.text);
      }
      header_.end = end;
      ++header_.lines;
      header_.lastBreak = !line.ending.empty();
    } else if (hidden) {
      StoredLine& owner = lines_.back();
      if (owner.hidden == 0) {
        owner.hidden = 1;
        hidden_.push_back({owner.offset, Span{begin, end, 0, true}});
      }
      Span& span = hidden_.back().span;
      span.end = end;
      ++span.lines;
      span.lastBreak = !line.ending.empty();
    } else {
      if (line.text.size() > kMostLineBytes) {
        throw SourceFormatError("line " + std::to_string(FileLineCount() + 1) + " is longer than 256 MiB");
      }
      StoredLine stored{};
      stored.offset = begin;
      stored.length = static_cast<std::uint32_t>(line.text.size()) & kMostLineBytes;
      stored.ending = EndingIndex(line.ending) & 3U;
      lines_.Append(stored);
    }
    finalBreak_ = !line.ending.empty();
  }
  if (inHeader) header.Finish();
  newline_ = endings.Dominant();
  if (component) {
    const bool persistable = *component == ComponentType::kClassModule &&
                             IsPersistable(text_.substr(header_.begin, header_.end - header_.begin));
    component_ = std::make_shared<MemoryComponent>(*component, persistable, moduleName_);
  }
}

const SourceCodeModule::Span& SourceCodeModule::HiddenAfter(const StoredLine& line) const {
  const auto found = std::partition_point(hidden_.begin(), hidden_.end(),
                                          [&](const Hidden& hidden) { return hidden.owner < line.offset; });
  return found->span;
}

std::vector<TextPiece> SourceCodeModule::Pieces() const {
  std::vector<TextPiece> pieces;
  FilePieces file{text_, newline_, pieces};
  if (header_.lines > 0) file.Span(SpanText(header_), header_.lastBreak);
  lines_.ForEachChunk([&](std::span<const StoredLine> chunk) {
    for (std::size_t i = 0; i < chunk.size();) {
      // Most lines: unchanged, right after the piece before them, which they join a run at a time.
      if (const std::size_t joined = file.JoinUnchanged(chunk.subspan(i)); joined > 0) {
        i += joined;
        continue;
      }
      const StoredLine& line = chunk[i++];
      if (line.added != 0) {
        file.AddedLine(lines_.Text(line), lines_.AddedBreak(line));
      } else {
        file.FileLine(line);
      }
      if (line.hidden != 0) {
        const Span& hidden = HiddenAfter(line);
        file.Span(SpanText(hidden), hidden.lastBreak);
      }
    }
  });
  file.End(finalBreak_);
  return pieces;
}

std::string SourceCodeModule::Text() const {
  const std::vector<TextPiece> pieces = Pieces();
  std::size_t size = 0;
  for (const TextPiece& piece : pieces) size += piece.text.size();
  std::string text;
  text.reserve(size);
  for (const TextPiece& piece : pieces) text += piece.text;
  return text;
}

long SourceCodeModule::FileLineCount() const noexcept {
  std::size_t count = header_.lines + lines_.size();
  for (const Hidden& hidden : hidden_) count += hidden.span.lines;
  return static_cast<long>(count);
}

long SourceCodeModule::CodeLineOfFileLine(long fileLine) const noexcept {
  long line = static_cast<long>(header_.lines);
  if (fileLine <= line) return 0;
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    const StoredLine& stored = lines_.at(i);
    line += 1 + (stored.hidden != 0 ? static_cast<long>(HiddenAfter(stored).lines) : 0);
    if (fileLine <= line) return static_cast<long>(i) + 1;
  }
  return 0;
}

long SourceCodeModule::FileLineOfCodeLine(long codeLine) const noexcept {
  long line = static_cast<long>(header_.lines);
  for (std::size_t i = 0; i + 1 < static_cast<std::size_t>(codeLine) && i < lines_.size(); ++i) {
    const StoredLine& stored = lines_.at(i);
    line += 1 + (stored.hidden != 0 ? static_cast<long>(HiddenAfter(stored).lines) : 0);
  }
  return line + 1;
}

std::deque<std::string> SourceCodeModule::lines() const {
  std::deque<std::string> lines;
  lines_.ForEach([&](const StoredLine& line) { lines.emplace_back(lines_.Text(line)); });
  return lines;
}

std::shared_ptr<host::CodePane> SourceCodeModule::CodePane() {
  std::shared_ptr<SourceCodeModule> owner = weak_from_this().lock();
  return std::shared_ptr<host::CodePane>(std::move(owner), &pane_);
}

long SourceCodeModule::CountOfLines() const {
  return static_cast<long>(lines_.size());
}

long SourceCodeModule::CountOfDeclarationLines() const {
  return AddFromStringLine() - 1;
}

std::string SourceCodeModule::Lines(long start, long count) const {
  return JoinedLines(lines_, start, count);
}

const RoutineList& SourceCodeModule::Routines() const {
  if (!routines_) {
    RoutineList routines;
    RoutineScanner<CodeLineStore, RoutineList>{lines_, routines}.Run(0);
    routines_.emplace(std::move(routines));
  }
  return *routines_;
}

std::size_t SourceCodeModule::RequireRoutine(std::string_view name, ProcKind kind) const {
  const RoutineList& routines = Routines();
  const std::size_t index = routines.Find(name, kind);
  if (index == routines.size()) throw VbError(kErrSubNotDefined);
  return index;
}

long SourceCodeModule::ProcStartLine(std::string_view name, ProcKind kind) const {
  return Routines().LinesAt(RequireRoutine(name, kind)).startLine;
}

long SourceCodeModule::ProcBodyLine(std::string_view name, ProcKind kind) const {
  return Routines().LinesAt(RequireRoutine(name, kind)).bodyLine;
}

long SourceCodeModule::FindProcBodyLine(std::string_view name, ProcKind kind) const {
  // The answer needs no exception, the first of which costs a statically linked program a sort of
  // every unwinding entry it holds.
  const RoutineList& routines = Routines();
  const std::size_t index = routines.Find(name, kind);
  return index == routines.size() ? 0 : routines.LinesAt(index).bodyLine;
}

ProcAtLine SourceCodeModule::ProcOfLine(long line) const {
  const RoutineList& routines = Routines();
  const std::size_t index = routines.AtLine(line);
  if (index == routines.size()) return {};
  return {routines.NameAt(index), routines.LinesAt(index).kind};
}

void SourceCodeModule::InsertLines(long line, std::string_view text) {
  if (line < 1 || line > static_cast<long>(lines_.size()) + 1) throw VbError(kErrInvalidCall);
  InsertAt(static_cast<std::size_t>(line - 1), text);
}

void SourceCodeModule::DeleteLines(long line, long count) {
  if (line < 1 || count < 0 || count > static_cast<long>(lines_.size()) - line + 1)
    throw VbError(kErrInvalidCall);
  const auto first = static_cast<std::size_t>(line - 1);
  for (std::size_t i = first; i < first + static_cast<std::size_t>(count); ++i) {
    if (lines_.at(i).hidden != 0) throw VbError(kErrInvalidCall);
  }
  lines_.Erase(first, static_cast<std::size_t>(count));
  edited_ = edited_ || count > 0;
  routines_.reset();
}

long SourceCodeModule::AddFromStringLine() const {
  const RoutineList& routines = Routines();
  return routines.empty() ? static_cast<long>(lines_.size()) + 1 : routines.LinesAt(0).startLine;
}

void SourceCodeModule::AddFromString(std::string_view text) {
  InsertAt(static_cast<std::size_t>(AddFromStringLine() - 1), text);
}

void SourceCodeModule::InsertAt(std::size_t at, std::string_view text) {
  const std::size_t count = lines_.Insert(at, text, newline_);
  edited_ = true;
  if (!routines_) return;
  try {
    UpdateRoutines(*routines_, lines_, at, count);
  } catch (...) {
    // The map is only a cache of what the lines say: without memory to update it, it is worked
    // out again on next use.
    routines_.reset();
  }
}

std::shared_ptr<VBComponent> SourceCodeModule::Parent() const {
  if (!component_) throw VbError(kErrNoSuchMember);
  return component_;
}

}  // namespace host
