// host/source_code_module.cpp: reading a file into code lines and tails, and writing it back.
#include "host/source_code_module.h"

#include <algorithm>
#include <utility>

#include "host/code_lines.h"

namespace host {
namespace {

// The stored form of a break: a view of a constant, so that a tail stays small.
std::string_view StoredEnding(std::string_view ending) {
  for (const std::string_view known :
       {std::string_view{"\r\n"}, std::string_view{"\n"}, std::string_view{"\r"}}) {
    if (ending == known) return known;
  }
  return {};
}

std::size_t CountTextLines(std::string_view text) {
  std::size_t count = 1;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    if (text[i] == '\r' || text[i] == '\n') ++count;
  }
  return count;
}

}  // namespace

std::size_t SourceCodeModule::HiddenCount(const Tail& tail) noexcept {
  return tail.hidden ? tail.hidden->size() : 0;
}

std::shared_ptr<host::CodeModule> SourceCodePane::CodeModule() {
  std::shared_ptr<SourceCodeModule> owner = module_.weak_from_this().lock();
  return std::shared_ptr<host::CodeModule>(std::move(owner), &module_);
}

SourceCodeModule::Parsed SourceCodeModule::Parse(std::string_view text, SourceKind kind) {
  std::vector<PhysicalLine> lines = SplitPhysicalLines(text);
  Parsed parsed;
  parsed.newline = DominantEnding(lines);
  parsed.finalBreak = lines.empty() || !lines.back().ending.empty();
  const std::size_t headerLength = HiddenHeaderLength(lines, kind);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    PhysicalLine& line = lines[i];
    // An Attribute line hides after the code line above it, unless that line goes on with " _"
    // (then it is part of the statement); before the first code line it joins the header.
    const bool hidden =
        i >= headerLength && IsAttributeLine(line.text) && !(i > 0 && ContinuesOnNextLine(lines[i - 1].text));
    if (i < headerLength || (hidden && parsed.tails.empty())) {
      parsed.header.push_back(std::move(line));
    } else if (hidden) {
      std::unique_ptr<std::vector<PhysicalLine>>& tail = parsed.tails.back().hidden;
      if (!tail) tail = std::make_unique<std::vector<PhysicalLine>>();
      tail->push_back(std::move(line));
    } else {
      parsed.code.push_back(std::move(line.text));
      parsed.tails.push_back({StoredEnding(line.ending), nullptr});
    }
  }
  return parsed;
}

SourceCodeModule::SourceCodeModule(std::string_view text, SourceKind kind)
    : SourceCodeModule(Parse(text, kind)) {}

SourceCodeModule::SourceCodeModule(Parsed&& parsed)
    : header_(std::move(parsed.header)),
      code_(std::move(parsed.code)),
      tails_(std::move(parsed.tails)),
      newline_(std::move(parsed.newline)),
      finalBreak_(parsed.finalBreak) {}

void SourceCodeModule::AttachFaults(FaultPlan* plan) noexcept {
  faults_ = plan;
  code_.AttachFaults(plan);
}

std::string SourceCodeModule::Text() const {
  // The break of every line but the last; the last keeps the file's own choice of ending or not.
  std::string text;
  const long total = FileLineCount();
  long written = 0;
  auto put = [&](std::string_view line, std::string_view ending) {
    ++written;
    text += line;
    if (written < total || finalBreak_) text += ending.empty() ? newline_ : ending;
  };
  for (const PhysicalLine& line : header_) put(line.text, line.ending);
  const std::deque<std::string>& code = code_.lines();
  for (std::size_t i = 0; i < code.size(); ++i) {
    put(code[i], tails_[i].ending);
    if (!tails_[i].hidden) continue;
    for (const PhysicalLine& line : *tails_[i].hidden) put(line.text, line.ending);
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
  const std::size_t count = CountTextLines(text);
  std::vector<Tail> added(count);  // (count is at least 1)
  tails_.insert(at, std::make_move_iterator(added.begin()), std::make_move_iterator(added.end()));
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
