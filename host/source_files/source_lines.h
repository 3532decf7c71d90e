// host/source_files/source_lines.h: a VB6 source file's physical lines, and the part of it the code pane
// hides.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "host/vb_component.h"

namespace host {

// One line of a file as it stands on disk: its text and the break that ends it ("\r\n", "\n",
// "\r", or nothing for a last line without one).
struct PhysicalLine {
  std::string text;
  std::string ending;
};

// A line as a view into the text it was read from.
struct LineView {
  std::string_view text;
  std::string_view ending;
};

// Reads a file's text line by line, keeping each line's own break. A final break ends the last
// line and does not start a further one.
class LineCursor {
 public:
  explicit LineCursor(std::string_view text) : text_(text) {
    if (!text_.empty()) LoadBlock(0);
  }
  // The next line, or false at the end of the text.
  bool Next(LineView& line);

 private:
  // The breaks are found a block of bytes at a time, which costs a line of a few dozen bytes far
  // less than looking for its own break would.
  static constexpr std::size_t kBlock = 64;
  // Finds the breaks of the block that starts at `at`.
  void LoadBlock(std::size_t at) noexcept;

  std::string_view text_;
  std::size_t start_ = 0;
  std::size_t block_ = 0;     // where the block starts
  std::uint64_t breaks_ = 0;  // bit i: its byte i is a CR or an LF
};

// Counts line breaks by kind and tells the one most lines use: CR LF when there is none or when two
// kinds are equally common.
class EndingTally {
 public:
  void Add(std::string_view ending);
  std::string Dominant() const;

 private:
  std::array<std::size_t, 3> counts_{};  // CR LF, LF, CR
};

// How the IDE reads a file: a standard module (.bas) hides only its leading Attribute lines; a
// form, user control, user document, property page, designer or class also hides its VERSION line,
// its Begin blocks and its Object lines.
enum class SourceKind { kStandardModule, kDescribedModule };

// What a file's extension (in any case) says it holds: how to read it, and the kind of component
// the IDE makes of it (.bas, .cls, .ctl, .dob, .frm, .pag, .dsr). Nothing for a file that is not VB6
// source.
struct SourceFileKind {
  SourceKind source;
  ComponentType component;
};
std::optional<SourceFileKind> SourceFileKindOfPath(std::string_view path);

// A file whose hidden part cannot be read: its form description never ends.
class SourceFormatError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Tells, line by line from the first, which lines make the hidden header the code pane does not
// show: the VERSION line, the Begin...End blocks (nested, BEGIN...END too), the Object = lines and
// the Attribute VB_ lines among them; for a standard module, the leading Attribute VB_ lines only.
class HiddenHeaderReader {
 public:
  explicit HiddenHeaderReader(SourceKind kind) : kind_(kind) {}
  // Whether the next line belongs to the header; once one does not, no later line does.
  bool Take(std::string_view line);
  // At the end of the file: throws SourceFormatError when a Begin block is still open.
  void Finish() const;

 private:
  SourceKind kind_;
  std::size_t lines_ = 0;       // lines taken
  std::size_t depth_ = 0;       // Begin blocks open
  std::size_t blockStart_ = 0;  // the line that opened the outermost one, from 1
  bool ended_ = false;
};

// Text that VB6 never saves: a byte-order mark (UTF-8 or UTF-16) at the start, or a NUL byte. Throws
// SourceFormatError saying which, so that such a file is refused rather than edited as if it were
// in a Windows code page.
void RequireVb6Bytes(std::string_view bytes);

// An Attribute statement: hidden by the IDE wherever it stands in a module.
bool IsAttributeLine(std::string_view line);

// "Attribute VB_Name = ...": VB6 writes it into every module it saves, in its hidden header.
bool IsModuleNameLine(std::string_view line);
// The name a VB_Name line gives, without its quotes.
std::string ModuleNameOf(std::string_view line);

}  // namespace host
