// host/source_files/vb6_limits.cpp: counting lines, and the characters of the lines long enough to matter.
#include "host/source_files/vb6_limits.h"

#include <algorithm>
#include <stdexcept>
#include <string>
#include <string_view>

namespace host {
namespace {

std::size_t Characters(std::string_view line) {
  std::size_t count = 0;
  for (const char c : line) count += (static_cast<unsigned char>(c) & 0xC0U) != 0x80U ? 1 : 0;
  return count;
}

// A line has at least as many bytes as characters: most lines are ruled out by their size alone.
bool TooLong(std::string_view line) {
  return line.size() > kLongestLine && Characters(line) > kLongestLine;
}

// The first characters of a line, cut between two characters.
std::string Start(std::string_view line) {
  std::size_t cut = std::min<std::size_t>(40, line.size());
  while (cut > 0 && cut < line.size() && (static_cast<unsigned char>(line[cut]) & 0xC0U) == 0x80U) --cut;
  return std::string{line.substr(0, cut)};
}

std::string Grouped(long long value) {
  std::string digits = std::to_string(value);
  for (auto at = static_cast<long long>(digits.size()) - 3; at > 0; at -= 3) {
    digits.insert(static_cast<std::size_t>(at), ",");
  }
  return digits;
}

}  // namespace

void Vb6Limits::RequireWithin(const SourceCodeModule& after) const {
  RequireLineCount(after.CountOfLines());
  after.ForEachAddedLine(RequireLineLength);
}

void Vb6Limits::RequireLineCount(long lines) const {
  if (lines > kMostModuleLines && lines_ <= kMostModuleLines) {
    throw std::runtime_error("the module would have " + Grouped(lines) + " lines, more than the " +
                             Grouped(kMostModuleLines) + " that VB6 loads");
  }
}

void Vb6Limits::RequireLineLength(std::string_view line) {
  if (!TooLong(line)) return;
  throw std::runtime_error("a new line (\"" + Start(line) + "...\") would be " +
                           Grouped(static_cast<long long>(Characters(line))) +
                           " characters long, more than the " +
                           Grouped(static_cast<long long>(kLongestLine)) + " that VB6 loads");
}

}  // namespace host
