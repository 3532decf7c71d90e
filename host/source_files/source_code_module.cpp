// host/source_files/source_code_module.cpp: reading a file into code lines and tails, and writing it back.
#include "host/source_files/source_code_module.h"

#include <algorithm>
#include <utility>

#include "host/vb_code/code_lines.h"

namespace host {
namespace {

// The breaks a tail can name; 0 stands for a line added since reading, which takes the dominant one.
constexpr std::string_view kEndings[] = {"", "\r\n", "\n", "\r"};

std::uint8_t EndingIndex(std::string_view ending) {
  for (std::size_t i = 1; i < std::size(kEndings); ++i) {
    if (ending == kEndings[i]) return static_cast<std::uint8_t>(i);
  }
  return 0;
}

// A class saves its design properties in its BEGIN block: "Persistable = 1  'Persistable".
bool IsPersistable(const std::vector<PhysicalLine>& header) {
  for (const PhysicalLine& line : header) {
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

std::size_t SourceCodeModule::HiddenCount(const Tail& tail) const noexcept {
  return tail.hidden == 0 ? 0 : hidden_[tail.hidden - 1].size();
}

std::shared_ptr<host::CodeModule> SourceCodePane::CodeModule() {
  std::shared_ptr<SourceCodeModule> owner = module_.weak_from_this().lock();
  return std::shared_ptr<host::CodeModule>(std::move(owner), &module_);
}

SourceCodeModule::Parsed SourceCodeModule::Parse(std::string_view text, SourceKind kind) {
  Parsed parsed;
  EndingTally endings;
  HiddenHeaderReader header{kind};
  bool inHeader = true;
  bool previousContinues = false;
  LineCursor cursor{text};
  for (LineView line; cursor.Next(line);) {
    endings.Add(line.ending);
    inHeader = inHeader && header.Take(line.text);
    // An Attribute line hides after the code line above it, unless that line goes on with " _"
    // (then it is part of the statement); before the first code line it joins the header.
    const bool hidden = !inHeader && IsAttributeLine(line.text) && !previousContinues;
    previousContinues = ContinuesOnNextLine(line.text);
    if (inHeader || (hidden && parsed.tails.empty())) {
      parsed.header.push_back({std::string{line.text}, std::string{line.ending}});
    } else if (hidden) {
      Tail& tail = parsed.tails.back();
      if (tail.hidden == 0) {
        parsed.hidden.emplace_back();
        tail.hidden = static_cast<std::uint32_t>(parsed.hidden.size());
      }
      parsed.hidden[tail.hidden - 1].push_back({std::string{line.text}, std::string{line.ending}});
    } else {
      parsed.code.emplace_back(line.text);
      parsed.tails.push_back({0, EndingIndex(line.ending)});
    }
    parsed.finalBreak = !line.ending.empty();
  }
  if (inHeader) header.Finish();
  parsed.newline = endings.Dominant();
  return parsed;
}

SourceCodeModule::SourceCodeModule(std::string_view text, SourceKind kind,
                                   std::optional<ComponentType> component)
    : SourceCodeModule(Parse(text, kind)) {
  if (component)
    code_.SetComponent(*component, *component == ComponentType::kClassModule && IsPersistable(header_));
}

SourceCodeModule::SourceCodeModule(Parsed&& parsed)
    : header_(std::move(parsed.header)),
      code_(std::move(parsed.code)),
      tails_(std::move(parsed.tails)),
      hidden_(std::move(parsed.hidden)),
      newline_(std::move(parsed.newline)),
      finalBreak_(parsed.finalBreak) {}

void SourceCodeModule::AttachFaults(FaultPlan* plan) noexcept {
  faults_ = plan;
  code_.AttachFaults(plan);
}

std::string SourceCodeModule::Text() const {
  const long total = FileLineCount();
  const std::deque<std::string>& code = code_.lines();
  // Sized first: a large file is built in one allocation.
  std::size_t size = static_cast<std::size_t>(total) * 2;
  for (const PhysicalLine& line : header_) size += line.text.size();
  for (std::size_t i = 0; i < code.size(); ++i) {
    size += code[i].size();
    if (tails_[i].hidden == 0) continue;
    for (const PhysicalLine& line : hidden_[tails_[i].hidden - 1]) size += line.text.size();
  }
  std::string text;
  text.reserve(size);
  // The break of every line but the last; the last keeps the file's own choice of ending or not.
  long written = 0;
  auto put = [&](std::string_view line, std::string_view ending) {
    ++written;
    text += line;
    if (written < total || finalBreak_) text += ending.empty() ? std::string_view{newline_} : ending;
  };
  for (const PhysicalLine& line : header_) put(line.text, line.ending);
  for (std::size_t i = 0; i < code.size(); ++i) {
    put(code[i], kEndings[tails_[i].ending]);
    if (tails_[i].hidden == 0) continue;
    for (const PhysicalLine& line : hidden_[tails_[i].hidden - 1]) put(line.text, line.ending);
  }
  return text;
}

long SourceCodeModule::FileLineCount() const noexcept {
  std::size_t count = header_.size() + tails_.size();
  for (const Tail& tail : tails_) count += HiddenCount(tail);
  return static_cast<long>(count);
}

long SourceCodeModule::CodeLineOfFileLine(long fileLine) const noexcept {
  long line = static_cast<long>(header_.size());
  if (fileLine <= line) return 0;
  for (std::size_t i = 0; i < tails_.size(); ++i) {
    line += 1 + static_cast<long>(HiddenCount(tails_[i]));
    if (fileLine <= line) return static_cast<long>(i) + 1;
  }
  return 0;
}

std::shared_ptr<host::CodePane> SourceCodeModule::CodePane() {
  if (faults_ != nullptr) faults_->Enter("CodePane");
  std::shared_ptr<SourceCodeModule> owner = weak_from_this().lock();
  return std::shared_ptr<host::CodePane>(std::move(owner), &pane_);
}

template <class Edit>
void SourceCodeModule::InsertWithTails(long line, std::string_view text, Edit&& edit) {
  if (line < 1 || line > static_cast<long>(tails_.size()) + 1) {
    edit();  // the module refuses the line with its own error
    return;
  }
  const auto at = tails_.begin() + static_cast<std::ptrdiff_t>(line - 1);
  const std::size_t count = CountSplitLines(text);
  tails_.insert(at, count, Tail{});  // (count is at least 1)
  try {
    edit();
  } catch (...) {
    const auto first = tails_.begin() + static_cast<std::ptrdiff_t>(line - 1);
    tails_.erase(first, first + static_cast<std::ptrdiff_t>(count));
    throw;
  }
}

void SourceCodeModule::InsertLines(long line, std::string_view text) {
  InsertWithTails(line, text, [&] { code_.InsertLines(line, text); });
}

void SourceCodeModule::AddFromString(std::string_view text) {
  InsertWithTails(code_.AddFromStringLine(), text, [&] { code_.AddFromString(text); });
}

}  // namespace host
