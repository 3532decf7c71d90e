// tests/win32/code_page_win32_test.cpp: the Windows conversions accept and refuse the same bytes as
// Linux's, byte by byte, in every single-byte code page.
#include <gtest/gtest.h>

#include <string>

#include "platform/win32/code_page_codec.h"

namespace {

struct ByteCase {
  int codePage;
  const char* refused;  // the bytes from 0x80 that glibc's iconv does not read, in hexadecimal
};

// What Linux refuses (0x81, 0x8D, 0x8F, 0x90 and 0x9D of 1252 are read by hand there, as here). Windows
// reads each of these bytes as the C1 control of its value, or not at all; 0xCA of 1255 is the one
// byte that Windows defines (U+05BA) and glibc does not.
const ByteCase kSingleByte[] = {
    {874, "81 82 83 84 86 87 88 89 8A 8B 8C 8D 8E 8F 90 98 99 9A 9B 9C 9D 9E 9F DB DC DD DE FC FD FE FF"},
    {1250, "81 83 88 90 98"},
    {1251, "98"},
    {1252, ""},
    {1253, "81 88 8A 8C 8D 8E 8F 90 98 9A 9C 9D 9E 9F AA D2 FF"},
    {1254, "81 8D 8E 8F 90 9D 9E"},
    {1255, "81 8A 8C 8D 8E 8F 90 9A 9C 9D 9E 9F D9 DA DB DC DD DE DF FB FC FF"},
    {1256, ""},
    {1257, "81 83 88 8A 8C 90 98 9A 9C 9F A1 A5"},
    {1258, "81 8A 8D 8E 8F 90 9A 9D 9E"},
};

std::string Hex(unsigned byte) {
  constexpr char kDigits[] = "0123456789ABCDEF";
  return {kDigits[byte >> 4U], kDigits[byte & 15U]};
}

TEST(WindowsCodePage, ReadsTheBytesLinuxReadsAndWritesThemBack) {
  for (const ByteCase& c : kSingleByte) {
    SCOPED_TRACE(c.codePage);
    const platform::win32::WindowsCodePage codec{c.codePage};
    std::string refused;
    for (unsigned byte = 0x80; byte <= 0xFF; ++byte) {
      // On the second line, after a CR LF, so that the line is counted too.
      const std::string bytes = std::string{"'\r\n'"} + static_cast<char>(byte);
      try {
        const std::string text = codec.Decode(bytes);
        EXPECT_EQ(codec.EncodeTaking(std::string{text}), bytes) << Hex(byte);
      } catch (const host::CodePageError& error) {
        EXPECT_EQ(
            std::string{error.what()},
            "line 2: the byte 0x" + Hex(byte) + " cannot be read in code page " + std::to_string(c.codePage));
        refused += (refused.empty() ? "" : " ") + Hex(byte);
      }
    }
    EXPECT_EQ(refused, c.refused);
  }
}

// The C1 controls that stand for undefined bytes are refused on the way out too, but for 1252's five.
TEST(WindowsCodePage, WritesNoC1ControlButThoseOf1252) {
  const platform::win32::WindowsCodePage western{1252};
  EXPECT_EQ(western.EncodeTaking("\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D"), "\x81\x8D\x8F\x90\x9D");
  const platform::win32::WindowsCodePage central{1250};
  try {
    central.EncodeTaking("'\n\xC2\x98");
    ADD_FAILURE() << "U+0098 was written in code page 1250";
  } catch (const host::CodePageError& error) {
    EXPECT_STREQ(error.what(), "line 2: the character U+0098 cannot be written in code page 1250");
  }
}

// Every code page that Linux accepts opens here; any other number is refused as on Linux.
TEST(WindowsCodePages, OpenEveryAnsiCodePage) {
  const platform::win32::WindowsCodePages codePages;
  for (const int codePage : host::WindowsAnsiCodePages()) {
    SCOPED_TRACE(codePage);
    EXPECT_NO_THROW(codePages.Open(codePage));
  }
  try {
    codePages.Open(65001);
    ADD_FAILURE() << "65001 was opened";
  } catch (const host::CodePageError& error) {
    EXPECT_STREQ(error.what(), "code page 65001 is not a Windows ANSI code page");
  }
}

}  // namespace
