// host/vb_code/joined_lines.h: CodeModule.Lines over any store of code lines.
#pragma once

#include <cstddef>
#include <string>

#include "host/vb_errors.h"

namespace host {

// Lines start to start + count - 1 of `lines` (1-based), joined with CR LF, as CodeModule.Lines
// answers: a count past the end stops at the last line, and a start past the line after the last, a
// start before 1 or a negative count is error 5. `lines` has size() and operator[] giving text.
template <typename Lines>
std::string JoinedLines(const Lines& lines, long start, long count) {
  const auto size = static_cast<long>(lines.size());
  if (start < 1 || count < 0 || start > size + 1) throw VbError(kErrInvalidCall);
  const long last = count > size - start + 1 ? size : start + count - 1;
  std::string text;
  for (long line = start; line <= last; ++line) {
    if (line > start) text += "\r\n";
    text += lines[static_cast<std::size_t>(line - 1)];
  }
  return text;
}

}  // namespace host
