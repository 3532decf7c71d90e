// host/source_lines.h: a VB6 source file's physical lines, and the part of it the code pane hides.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace host {

// One line of a file as it stands on disk: its text and the break that ends it ("\r\n", "\n",
// "\r", or nothing for a last line without one).
struct PhysicalLine {
  std::string text;
  std::string ending;
};

// Splits a file's text into lines, keeping each line's own break. A final break ends the last
// line and does not start a further one, so "" gives no line and "a\r\n" gives one.
std::vector<PhysicalLine> SplitPhysicalLines(std::string_view text);

// The break most lines use; CR LF when the file has none or when two styles are equally common.
std::string DominantEnding(std::span<const PhysicalLine> lines);

// How the IDE reads a file: a standard module (.bas) hides only its leading Attribute lines; a
// form, user control, property page, designer or class also hides its VERSION line, its Begin
// blocks and its Object lines.
enum class SourceKind { kStandardModule, kDescribedModule };

// The kind a file's extension gives (in any case), or nothing for a file that is not VB6 source.
std::optional<SourceKind> SourceKindOfPath(std::string_view path);

// A file whose hidden part cannot be read: its form description never ends.
class SourceFormatError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// How many leading lines the code pane does not show: the VERSION line, the Begin...End blocks
// (nested, BEGIN...END too), the Object = lines and the Attribute VB_ lines among them; for a
// standard module, the leading Attribute VB_ lines only. Throws SourceFormatError when a Begin
// block runs to the end of the file.
std::size_t HiddenHeaderLength(std::span<const PhysicalLine> lines, SourceKind kind);

// An Attribute statement: hidden by the IDE wherever it stands in a module.
bool IsAttributeLine(std::string_view line);

}  // namespace host
