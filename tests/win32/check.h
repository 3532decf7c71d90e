// tests/win32/check.h: the small harness of the programs run under Wine, one line per failed check and
// "N passed, N failed" as the last line.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

#include "platform/win32/wide.h"

namespace test {

// Shows CR, LF, tabs and every character outside printable ASCII as an escape, so that two texts
// that differ in an invisible way differ visibly.
inline std::string Visible(std::string_view text) {
  std::string out;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '\r') {
      out += "\\r";
    } else if (c == '\n') {
      out += "\\n";
    } else if (byte < 0x20 || byte >= 0x7F || c == '\\') {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
      out += escaped;
    } else {
      out += c;
    }
  }
  return out;
}

inline std::string Visible(std::wstring_view text) {
  return Visible(platform::win32::Narrow(text));
}

inline std::string Show(std::string_view v) {
  return '"' + Visible(v) + '"';
}
inline std::string Show(const std::string& v) {
  return Show(std::string_view{v});
}
inline std::string Show(const char* v) {
  return Show(std::string_view{v});
}
inline std::string Show(std::wstring_view v) {
  return "L\"" + Visible(v) + '"';
}
inline std::string Show(const std::wstring& v) {
  return Show(std::wstring_view{v});
}
inline std::string Show(const wchar_t* v) {
  return Show(std::wstring_view{v});
}
inline std::string Show(bool v) {
  return v ? "true" : "false";
}
template <class Number>
std::string Show(Number v) {
  char text[40];
  std::snprintf(text, sizeof text, "%lld (0x%llX)", static_cast<long long>(v),
                static_cast<unsigned long long>(static_cast<long long>(v)));
  return text;
}

// A handle or any other pointer, as its address.
template <class T>
std::string Show(T* v) {
  char text[40];
  std::snprintf(text, sizeof text, "%p", static_cast<const void*>(v));
  return text;
}

class Checks {
 public:
  void Expect(bool ok, std::string_view what) {
    if (ok) {
      ++passed_;
    } else {
      ++failed_;
      std::printf("FAILED: %.*s\n", static_cast<int>(what.size()), what.data());
    }
  }

  template <class Actual, class Expected>
  void Equal(const Actual& actual, const Expected& expected, std::string_view what) {
    const bool ok = actual == expected;
    Expect(ok, what);
    if (!ok) std::printf("  actual:   %s\n  expected: %s\n", Show(actual).c_str(), Show(expected).c_str());
  }

  // Prints the closing line; the program's exit code.
  int Finish() const {
    std::printf("%d passed, %d failed\n", passed_, failed_);
    std::fflush(stdout);
    return failed_ == 0 ? 0 : 1;
  }

 private:
  int passed_ = 0;
  int failed_ = 0;
};

}  // namespace test
