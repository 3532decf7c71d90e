// host/source_files/edited_pieces.cpp: the lines an edit keeps put as the module would put them, and
// its new lines made into bytes a call at a time.
#include "host/source_files/edited_pieces.h"

#include <algorithm>
#include <utility>

#include "host/vb_errors.h"

namespace host {
namespace {

// Calls visit with each line of `text`, split at CR LF, CR and LF alike, as InsertLines splits it. A
// text without LF, as generators write theirs, has its lines found by the library's search for CR.
template <class Visit>
void ForEachLine(std::string_view text, Visit&& visit) {
  const bool crAlone = text.find('\n') == std::string_view::npos;
  for (std::size_t start = 0;;) {
    std::size_t end = crAlone ? std::min(text.find('\r', start), text.size()) : start;
    while (!crAlone && end < text.size() && text[end] != '\r' && text[end] != '\n') ++end;
    visit(text.substr(start, end - start));
    if (end == text.size()) return;
    if (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ++end;
    start = end + 1;
  }
}

}  // namespace

EditedPieces::EditedPieces(const SourceCodeModule& module, NewLine newLine)
    : module_(module),
      newLine_(std::move(newLine)),
      file_(module.text_, module.newline_, pieces_),
      fileLines_(static_cast<long>(module.header_.lines)) {}

std::size_t EditedPieces::RequireEditable(const LineEdit& edit, std::size_t from) const {
  const std::size_t size = module_.lines_.size();
  if (edit.first < 1 || edit.count < 0 || static_cast<std::size_t>(edit.first - 1) < from ||
      static_cast<std::size_t>(edit.first - 1) > size ||
      static_cast<std::size_t>(edit.count) > size - static_cast<std::size_t>(edit.first - 1)) {
    throw VbError(kErrInvalidCall);
  }
  const auto first = static_cast<std::size_t>(edit.first - 1);
  for (std::size_t i = first; i < first + static_cast<std::size_t>(edit.count); ++i) {
    if (module_.lines_.at(i).hidden != 0) throw VbError(kErrInvalidCall);
  }
  return first;
}

long EditedPieces::FileLinesOf(std::size_t from, std::size_t to) const {
  long count = 0;
  while (from < to) {
    const std::span<const StoredLine> run = module_.lines_.RunFrom(from);
    const std::size_t take = std::min(run.size(), to - from);
    for (const StoredLine& line : run.first(take)) {
      count += 1 + (line.hidden != 0 ? static_cast<long>(module_.HiddenAfter(line).lines) : 0);
    }
    from += take;
  }
  return count;
}

void EditedPieces::PutUnchanged(std::size_t from, std::size_t to) {
  codeLines_ += static_cast<long>(to - from);
  fileLines_ += FileLinesOf(from, to);
  while (from < to) {
    std::span<const StoredLine> run = module_.lines_.RunFrom(from);
    run = run.first(std::min(run.size(), to - from));
    for (std::size_t i = 0; i < run.size();) {
      if (const std::size_t joined = file_.JoinUnchanged(run.subspan(i)); joined > 0) {
        i += joined;
        continue;
      }
      const StoredLine& line = run[i++];
      file_.FileLine(line);
      if (line.hidden != 0) {
        const SourceCodeModule::Span& hidden = module_.HiddenAfter(line);
        file_.Span(module_.SpanText(hidden), hidden.lastBreak);
      }
    }
    from += run.size();
  }
}

std::span<const TextPiece> EditedPieces::Next(std::span<const LineEdit> edits) {
  pieces_.clear();
  if (!std::exchange(started_, true) && module_.header_.lines > 0) {
    file_.Span(module_.SpanText(module_.header_), module_.header_.lastBreak);
  }
  if (edits.empty()) {
    PutUnchanged(next_, module_.lines_.size());
    next_ = module_.lines_.size();
    file_.End(module_.finalBreak_);
    return pieces_;
  }
  // First every new line's bytes, numbered as the file will number it: the views of them are taken
  // once made_ no longer grows.
  made_.clear();
  madeEnds_.clear();
  const std::string_view newline = module_.newline_;
  // Room for them all at once, which their encoding never outgrows: a string that grows by doubling
  // would hold twice as much, and for a moment three times.
  std::size_t room = 0;
  std::size_t lines = 0;  // as the edits count them; should one hold more, made_ still grows for it
  for (const LineEdit& edit : edits) {
    if (edit.lineCount <= 0) continue;
    room += edit.text.size();
    lines += static_cast<std::size_t>(edit.lineCount);
  }
  made_.reserve(room + lines * newline.size());
  madeEnds_.reserve(lines);
  madeEdits_.clear();
  std::size_t at = next_;
  long fileLine = fileLines_;
  for (const LineEdit& edit : edits) {
    const std::size_t first = RequireEditable(edit, at);
    fileLine += FileLinesOf(at, first);
    if (edit.lineCount > 0) {
      ForEachLine(edit.text, [&](std::string_view line) {
        newLine_(line, ++fileLine, made_);
        madeEnds_.push_back(made_.size());
        made_ += newline;
      });
    }
    madeEdits_.push_back(madeEnds_.size());
    at = first + static_cast<std::size_t>(edit.count);
  }
  std::size_t made = 0;  // the next of madeEnds_
  std::size_t start = 0;
  for (std::size_t i = 0; i < edits.size(); ++i) {
    const auto first = static_cast<std::size_t>(edits[i].first - 1);
    PutUnchanged(next_, first);
    for (; made < madeEdits_[i]; ++made) {
      const std::size_t end = madeEnds_[made];
      file_.AddedLine(std::string_view{made_}.substr(start, end - start),
                      std::string_view{made_}.substr(end, newline.size()));
      start = end + newline.size();
      ++codeLines_;
      ++fileLines_;
    }
    next_ = first + static_cast<std::size_t>(edits[i].count);
  }
  file_.SettleBreak();  // made_ is made afresh next call
  return pieces_;
}

}  // namespace host
