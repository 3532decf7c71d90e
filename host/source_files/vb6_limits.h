// host/source_files/vb6_limits.h: the sizes past which VB6 no longer loads a module, and the refusal of a
// generation that would take a module past them.
#pragma once

#include <cstddef>
#include <string_view>

#include "host/source_files/source_code_module.h"

namespace host {

// VB6 loads a module of at most this many lines, each of at most this many characters.
inline constexpr long kMostModuleLines = 65534;
inline constexpr std::size_t kLongestLine = 1023;

// Taken of a module before a generation, it tells whether the generation took the module past a
// limit it kept. A file already past one is read as it is: only a new excess is refused. The
// generator only adds lines, so only the added ones are measured.
class Vb6Limits {
 public:
  explicit Vb6Limits(const SourceCodeModule& before) : lines_(before.CountOfLines()) {}

  // Throws std::runtime_error describing the excess: of the line count first, then of the first new
  // line too long.
  void RequireWithin(const SourceCodeModule& after) const;
  // The two checks apart, for an edit that is written as it is made: the count of the module's
  // lines once edited, and one new line.
  void RequireLineCount(long lines) const;
  static void RequireLineLength(std::string_view line);

 private:
  long lines_;
};

}  // namespace host
