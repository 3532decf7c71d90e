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

std::string CrLf(std::string_view text) {
  std::string converted;
  for (const char c : text) {
    if (c == '\n') converted += '\r';
    converted += c;
  }
  return converted;
}

}  // namespace test
