// host/source_files/file_pieces.h: a module's file put together from spans of the text it was read
// from and lines made since, with the line breaks each takes.
#pragma once

#include <cstddef>
#include <span>
#include <string_view>
#include <vector>

#include "host/source_files/code_line_store.h"

namespace host {

// One stretch of the file a module writes: either bytes of the text it was read from, as they are,
// or text made since reading (lines added, the breaks they take).
struct TextPiece {
  std::string_view text;
  bool fromFile = false;
};

// The breaks a stored line can name; 0 stands for none.
inline constexpr std::string_view kLineEndings[] = {"", "\r\n", "\n", "\r"};

// Appends a file's stretches to `pieces` in order, joining into one piece what follows on in the
// text. A line without a break of its own takes one only when another line follows, or when the file
// ended with one: the break waits until then. A break made here never runs into the bytes around it
// to read as another: a lone CR before an LF takes the CR LF form, and so does an empty line's LF
// after a lone CR. `pieces` may be emptied between calls, once written: what is put next reads the
// same as if it had not been.
class FilePieces {
 public:
  FilePieces(std::string_view text, std::string_view newline, std::vector<TextPiece>& pieces)
      : text_(text), newline_(newline), pieces_(pieces) {}

  // Lines of the text read, kept as one view (the hidden header, Attribute lines); the last ends
  // without a break only when it was the file's last line.
  void Span(std::string_view span, bool lastBreak);
  // A code line nothing changed, its break included (none when it was the file's last line).
  void FileLine(const StoredLine& line);
  // A line made since reading, followed by `lineBreak`.
  void AddedLine(std::string_view text, std::string_view lineBreak);
  // The leading lines of `lines` that are unchanged, have a break and no hidden lines after them, and
  // follow the last piece in the text, joined to it: how many.
  std::size_t JoinUnchanged(std::span<const StoredLine> lines);
  // Lets the text the last added line's break views go: the break waiting to be put views one of
  // kLineEndings instead.
  void SettleBreak() noexcept {
    for (const std::string_view ending : kLineEndings) {
      if (pending_ == ending) pending_ = ending;
    }
  }
  // The end of the file.
  void End(bool finalBreak) {
    if (finalBreak) Follow({});
  }

 private:
  void Put(std::string_view text, bool fromFile);
  void Follow(std::string_view next);

  std::string_view text_;
  std::string_view newline_;
  std::vector<TextPiece>& pieces_;
  std::string_view pending_;  // the break the last line waits to take
  char last_ = 0;             // the last byte put
};

}  // namespace host
