// tests/support/visible.cpp: text helpers for byte-exact comparisons.
#include "tests/support/visible.h"

namespace test {

std::string Visible(std::string_view text) {
  std::string shown;
  for (const char c : text) {
    if (c == '\r') {
      shown += "<CR>\n";
    } else if (c == '\n') {
      shown += "<LF>\n";
    } else {
      shown += c;
    }
  }
  return shown;
}

std::string CrJoin(std::initializer_list<std::string_view> lines) {
  std::string text;
  bool first = true;
  for (const std::string_view line : lines) {
    if (!first) text += '\r';
    text += line;
    first = false;
  }
  return text;
}

}  // namespace test
