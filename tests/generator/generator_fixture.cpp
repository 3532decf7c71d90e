// tests/generator/generator_fixture.cpp: literal texts shared by the generator's tests.
#include "tests/generator/generator_fixture.h"

namespace test {

std::string Cr(std::string_view text) {
  std::string converted{text};
  for (char& c : converted) {
    if (c == '\n') c = '\r';
  }
  return converted;
}

std::string CrLf(std::string_view text) {
  std::string converted;
  for (const char c : text) {
    if (c == '\n') converted += '\r';
    converted += c;
  }
  return converted;
}

std::string Header(std::string_view usage, std::string_view programmer) {
  std::string header{kStars};
  header += "\r' Utility: ";
  header += usage;
  header += "\r'\r' Functions called: \r' Functions calling: \r'\r'\r' Programmer's name: ";
  header += programmer;
  header += "\r' Creation date: Sunday 06 December 2026\r' Last modification:          by\r";
  header += kStars;
  header += '\r';
  return header;
}

}  // namespace test
