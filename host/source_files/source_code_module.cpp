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

// The breaks a stored line can name; 0 stands for none.
constexpr std::string_view kEndings[] = {"", "\r\n", "\n", "\r"};

std::uint32_t EndingIndex(std::string_view ending) {
  for (std::uint32_t i = 1; i < std::size(kEndings); ++i) {
    if (ending == kEndings[i]) return i;
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

// The leading lines of `lines` that are unchanged, have a break and no hidden lines after them, and
// follow each other in the file from `from` on: how many, and the bytes they take with their breaks.
struct UnchangedRun {
  std::size_t lines = 0;
  std::size_t bytes = 0;
};
UnchangedRun UnchangedRunFrom(std::span<const StoredLine> lines, std::size_t from) noexcept {
  std::size_t at = from;
  std::size_t count = 0;
  for (const StoredLine& line : lines) {
    if (line.added != 0 || line.hidden != 0 || line.ending == 0 || line.offset != at) break;
    at += line.length + kEndings[line.ending].size();
    ++count;
  }
  return {count, at - from};
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
  const auto put = [&](std::string_view text, bool fromFile) {
    if (text.empty()) return;
    if (!pieces.empty()) {
      TextPiece& last = pieces.back();
      if (last.fromFile == fromFile && last.text.data() + last.text.size() == text.data()) {
        last.text = {last.text.data(), last.text.size() + text.size()};
        return;
      }
    }
    pieces.push_back({text, fromFile});
  };
  // A line without a break of its own takes one only when another line follows, or when the file
  // ended with one: the break waits until then. A break made here never runs into the bytes around
  // it to read as another: a lone CR before an LF takes the CR LF form, and so does an empty line's
  // LF after a lone CR.
  std::string_view pending;
  const auto follow = [&](std::string_view next) {
    if (pending == "\r" && next.starts_with('\n')) pending = kEndings[1];
    put(pending, false);
    pending = {};
  };
  const auto putSpan = [&](const Span& span) {
    const std::string_view text = text_.substr(span.begin, span.end - span.begin);
    follow(text);
    put(text, true);
    if (!span.lastBreak) pending = newline_;
  };
  if (header_.lines > 0) putSpan(header_);
  const auto putLine = [&](const StoredLine& line) {
    if (line.added != 0) {
      const std::string_view text = lines_.Text(line);
      std::string_view lineBreak = lines_.AddedBreak(line);
      follow(text.empty() ? lineBreak : text);
      if (text.empty() && lineBreak == "\n" && !pieces.empty() && pieces.back().text.ends_with('\r')) {
        lineBreak = kEndings[1];
      }
      put(text, false);
      pending = lineBreak;
    } else {
      const std::string_view text = text_.substr(line.offset, line.length + kEndings[line.ending].size());
      follow(text);
      put(text, true);
      if (line.ending == 0) pending = newline_;
    }
    if (line.hidden != 0) putSpan(HiddenAfter(line));
  };
  lines_.ForEachChunk([&](std::span<const StoredLine> chunk) {
    for (std::size_t i = 0; i < chunk.size();) {
      // Most lines: unchanged, right after the piece before them, which they join a run at a time.
      if (pending.empty() && !pieces.empty() && pieces.back().fromFile) {
        TextPiece& last = pieces.back();
        const auto end = static_cast<std::size_t>(last.text.data() + last.text.size() - text_.data());
        if (const UnchangedRun run = UnchangedRunFrom(chunk.subspan(i), end); run.lines > 0) {
          last.text = {last.text.data(), last.text.size() + run.bytes};
          i += run.lines;
          continue;
        }
      }
      putLine(chunk[i++]);
    }
  });
  if (finalBreak_) follow({});
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
