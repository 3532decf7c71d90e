// host/source_files/file_pieces.cpp: the breaks between the stretches of a file, and the runs of
// unchanged lines joined into one view.
#include "host/source_files/file_pieces.h"

namespace host {

void FilePieces::Put(std::string_view text, bool fromFile) {
  if (text.empty()) return;
  last_ = text.back();
  if (!pieces_.empty()) {
    TextPiece& last = pieces_.back();
    if (last.fromFile == fromFile && last.text.data() + last.text.size() == text.data()) {
      last.text = {last.text.data(), last.text.size() + text.size()};
      return;
    }
  }
  pieces_.push_back({text, fromFile});
}

void FilePieces::Follow(std::string_view next) {
  if (pending_ == "\r" && next.starts_with('\n')) pending_ = kLineEndings[1];
  Put(pending_, false);
  pending_ = {};
}

void FilePieces::Span(std::string_view span, bool lastBreak) {
  Follow(span);
  Put(span, true);
  if (!lastBreak) pending_ = newline_;
}

void FilePieces::FileLine(const StoredLine& line) {
  const std::string_view text = text_.substr(line.offset, line.length + kLineEndings[line.ending].size());
  Follow(text);
  Put(text, true);
  if (line.ending == 0) pending_ = newline_;
}

void FilePieces::AddedLine(std::string_view text, std::string_view lineBreak) {
  Follow(text.empty() ? lineBreak : text);
  if (text.empty() && lineBreak == "\n" && last_ == '\r') lineBreak = kLineEndings[1];
  Put(text, false);
  pending_ = lineBreak;
}

std::size_t FilePieces::JoinUnchanged(std::span<const StoredLine> lines) {
  if (!pending_.empty() || pieces_.empty() || !pieces_.back().fromFile) return 0;
  TextPiece& last = pieces_.back();
  const auto from = static_cast<std::size_t>(last.text.data() + last.text.size() - text_.data());
  std::size_t at = from;
  std::size_t count = 0;
  for (const StoredLine& line : lines) {
    if (line.added != 0 || line.hidden != 0 || line.ending == 0 || line.offset != at) break;
    at += line.length + kLineEndings[line.ending].size();
    ++count;
  }
  if (at > from) {
    last.text = {last.text.data(), last.text.size() + (at - from)};
    last_ = text_[at - 1];
  }
  return count;
}

}  // namespace host
