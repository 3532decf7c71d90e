// host/code_page.cpp: the list of code pages, reading UTF-8 sequence by sequence, and the messages of
// a conversion that fails.
#include "host/code_page.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace host {
namespace {

constexpr std::array<int, 14> kCodePages{874,  932,  936,  949,  950,  1250, 1251,
                                         1252, 1253, 1254, 1255, 1256, 1257, 1258};

// "line N: " for the line that holds offset `at` of `text`.
std::string LinePrefix(std::string_view text, std::size_t at) {
  std::size_t line = 1;
  for (std::size_t i = 0; i < at && i < text.size(); ++i) {
    if (text[i] == '\n' || (text[i] == '\r' && (i + 1 >= text.size() || text[i + 1] != '\n'))) ++line;
  }
  return "line " + std::to_string(line) + ": ";
}

std::string Hex(unsigned value, int digits) {
  std::array<char, 16> buffer{};
  std::snprintf(buffer.data(), buffer.size(), "%0*X", digits, value);
  return buffer.data();
}

}  // namespace

CodePageError UnreadableByte(std::string_view bytes, std::size_t at, int codePage) {
  const auto byte = static_cast<unsigned char>(bytes[at]);
  return CodePageError(LinePrefix(bytes, at) + "the byte 0x" + Hex(byte, 2) +
                       " cannot be read in code page " + std::to_string(codePage));
}

CodePageError UnwritableCharacter(std::string_view text, std::size_t at, int codePage) {
  const std::size_t length = Utf8SequenceLength(text, at);
  if (length == 0) return CodePageError(LinePrefix(text, at) + "the text is not valid UTF-8");
  const auto byte = [&](std::size_t i) { return static_cast<unsigned>(static_cast<unsigned char>(text[i])); };
  unsigned codePoint = length == 1 ? byte(at) : byte(at) & (0xFFU >> (length + 1));
  for (std::size_t i = 1; i < length; ++i) codePoint = (codePoint << 6U) | (byte(at + i) & 0x3FU);
  return CodePageError(LinePrefix(text, at) + "the character U+" + Hex(codePoint, 4) +
                       " cannot be written in code page " + std::to_string(codePage));
}

CodePageError OnLine(const CodePageError& error, long line) {
  constexpr std::string_view kFirstLine = "line 1: ";
  const std::string_view message = error.what();
  if (!message.starts_with(kFirstLine)) return error;
  return CodePageError("line " + std::to_string(line) + ": " +
                       std::string{message.substr(kFirstLine.size())});
}

CodePageError NotWrittenBackUnchanged(int codePage) {
  return CodePageError("the file would not be written back unchanged in code page " +
                       std::to_string(codePage));
}

CodePageError NotAnsiCodePage(int codePage) {
  return CodePageError("code page " + std::to_string(codePage) + " is not a Windows ANSI code page");
}

CodePageError UnavailableCodePage(int codePage) {
  return CodePageError("code page " + std::to_string(codePage) + " is not available on this system");
}

std::span<const int> WindowsAnsiCodePages() noexcept {
  return kCodePages;
}

bool IsWindowsAnsiCodePage(int codePage) noexcept {
  return std::find(kCodePages.begin(), kCodePages.end(), codePage) != kCodePages.end();
}

bool IsAscii(std::string_view text) noexcept {
  // Eight bytes at a time: a large file is mostly ASCII, and mostly read here.
  constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;
  std::size_t at = 0;
  std::uint64_t seen = 0;
  for (; at + 8 <= text.size(); at += 8) {
    std::uint64_t word = 0;
    std::memcpy(&word, text.data() + at, sizeof word);
    seen |= word;
  }
  for (; at < text.size(); ++at) seen |= static_cast<unsigned char>(text[at]);
  return (seen & kHighBits) == 0;
}

std::size_t Utf8SequenceLength(std::string_view text, std::size_t at) noexcept {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned lead = byte(at);
  std::size_t length = 0;
  unsigned low = 0x80;
  unsigned high = 0xBF;
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;  // no surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  if (at + length > text.size()) return 0;
  for (std::size_t i = 1; i < length; ++i) {
    const unsigned next = byte(at + i);
    if (next < (i == 1 ? low : 0x80) || next > (i == 1 ? high : 0xBF)) return 0;
  }
  return length;
}

bool IsValidUtf8(std::string_view text) noexcept {
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t length = Utf8SequenceLength(text, i);
    if (length == 0) return false;
    i += length;
  }
  return true;
}

}  // namespace host
