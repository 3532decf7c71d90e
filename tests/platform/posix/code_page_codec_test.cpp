// Checks the conversion between Windows code pages and UTF-8: round trips, code page 1252's undefined
// bytes, and the errors that name the line and the byte or character at fault.
#include "platform/posix/code_page_codec.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <span>
#include <string>
#include <string_view>

#include "tests/support/visible.h"

namespace {

using host::CodePageError;
using platform::posix::CodePageCodec;

// Bytes as two-digit hexadecimal, for readable comparisons of encoded text.
std::string Hex(std::string_view bytes) {
  static constexpr std::string_view kDigits = "0123456789ABCDEF";
  std::string shown;
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    if (!shown.empty()) shown += ' ';
    shown += kDigits[byte >> 4U];
    shown += kDigits[byte & 0x0FU];
  }
  return shown;
}

// The message of the CodePageError that `action` throws, or "no error".
template <class Action>
std::string ErrorOf(Action&& action) {
  try {
    action();
  } catch (const CodePageError& error) {
    return error.what();
  }
  return "no error";
}

// ---------------------------------------------------------------------------------------------
// Round trips

struct RoundTripCase {
  const char* label;
  int codePage;
  std::string_view text;   // UTF-8
  std::string_view bytes;  // in the code page
};

void PrintTo(const RoundTripCase& c, std::ostream* os) {
  *os << c.label;
}

class CodePageRoundTripTest : public testing::TestWithParam<RoundTripCase> {};

TEST_P(CodePageRoundTripTest, DecodesAndEncodesBackToTheSameBytes) {
  const RoundTripCase& c = GetParam();
  const CodePageCodec codec{c.codePage};
  EXPECT_EQ(codec.codePage(), c.codePage);
  EXPECT_EQ(codec.Decode(c.bytes), c.text);
  EXPECT_EQ(Hex(codec.Encode(c.text)), Hex(c.bytes));
}

INSTANTIATE_TEST_SUITE_P(
    CodePages, CodePageRoundTripTest,
    testing::Values(
        RoundTripCase{"Ascii1252", 1252, "Option Explicit\r\n\tx = \"a\\b\"\r\n",
                      "Option Explicit\r\n\tx = \"a\\b\"\r\n"},
        RoundTripCase{"Empty", 1252, "", ""},
        RoundTripCase{"French1252", 1252, "' Caf\u00E9 cr\u00E8me \u0153uvre \u20AC \u00C0 \u00FF\r\n",
                      "' Caf\xE9 cr\xE8me \x9Cuvre \x80 \xC0 \xFF\r\n"},
        RoundTripCase{"German1252", 1252, "Gr\u00F6\u00DFe = \"\u00C4\u00D6\u00DC\"",
                      "Gr\xF6\xDF"
                      "e = \"\xC4\xD6\xDC\""},
        // Each undefined byte stands for the C1 control of its value, alone or beside others.
        RoundTripCase{"Undefined1252", 1252, "\u0081\u008D\u008F\u0090\u009D", "\x81\x8D\x8F\x90\x9D"},
        RoundTripCase{"Undefined1252AmongText", 1252, "a\u0081b\r\n\u20AC\u0090\u00E9\r\n\u009D",
                      "a\x81"
                      "b\r\n\x80\x90\xE9\r\n\x9D"},
        RoundTripCase{"Polish1250", 1250, "' \u0141\u00F3d\u017A \u017C\u00F3\u0142w\r\n",
                      "' \xA3\xF3"
                      "d\x9F \xBF\xF3\xB3w\r\n"},
        RoundTripCase{"Russian1251", 1251, "MsgBox \"\u041F\u0440\u0438\u0432\u0435\u0442\"",
                      "MsgBox \"\xCF\xF0\xE8\xE2\xE5\xF2\""},
        // Double-byte characters, one whose second byte is a backslash, and half-width katakana.
        RoundTripCase{"Japanese932", 932, "' \u65E5\u672C\u8A9E \u30BD \uFF71 C:\\Temp ~\r\n",
                      "' \x93\xFA\x96\x7B\x8C\xEA \x83\x5C \xB1 C:\\Temp ~\r\n"},
        RoundTripCase{"Greek1253", 1253, "\u03A3\u03CD\u03BD\u03BF\u03BB\u03BF", "\xD3\xFD\xED\xEF\xEB\xEF"}),
    [](const testing::TestParamInfo<RoundTripCase>& info) { return std::string{info.param.label}; });

TEST(CodePageRoundTripTest, EveryByteOf1252ComesBack) {
  std::string bytes;
  for (int byte = 0; byte < 256; ++byte) bytes += static_cast<char>(byte);
  const CodePageCodec codec{1252};
  const std::string text = codec.Decode(bytes);
  EXPECT_EQ(Hex(codec.Encode(text)), Hex(bytes));
}

TEST(CodePageRoundTripTest, LongTextAcrossConversionBuffers) {
  std::string bytes;
  for (int i = 0; i < 5000; ++i) bytes += "\xE9\x81\x80z\r\n";
  const CodePageCodec codec{1252};
  const std::string text = codec.Decode(bytes);
  EXPECT_EQ(text.size(), 5000U * 10U);
  EXPECT_EQ(codec.Encode(text), bytes);
}

// ---------------------------------------------------------------------------------------------
// Errors

TEST(DecodeTest, UndecodableInputNamesItsLineAndByte) {
  struct Case {
    int codePage;
    std::string_view bytes;
    std::string_view message;
  };
  const Case cases[] = {
      // Code page 1250 leaves 0x81 undefined, and only 1252 carries such bytes through.
      {1250, "\x81", "line 1: the byte 0x81 cannot be read in code page 1250"},
      {1250, "a\r\nb\r\n\xE9\x98", "line 3: the byte 0x98 cannot be read in code page 1250"},
      // LF, CR and CR LF each end a line.
      {1250, "a\rb\nc\r\nd\x98", "line 4: the byte 0x98 cannot be read in code page 1250"},
      {1251, "ok\n\x98", "line 2: the byte 0x98 cannot be read in code page 1251"},
      // A lead byte without its second byte, at the end and before a line break.
      {932, "' \x93\xFA\x82", "line 1: the byte 0x82 cannot be read in code page 932"},
      {932, "a\r\n\x82\r\n", "line 2: the byte 0x82 cannot be read in code page 932"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Hex(c.bytes));
    const CodePageCodec codec{c.codePage};
    EXPECT_EQ(ErrorOf([&] { codec.Decode(c.bytes); }), c.message);
  }
}

// Code page 932 has two codes for some characters: reading one and writing the other would change a
// file that nobody edited.
TEST(DecodeTest, TextThatWouldNotWriteBackUnchangedIsRefused) {
  const CodePageCodec codec{932};
  EXPECT_EQ(ErrorOf([&] { codec.Decode("' \xED\x40"); }),
            "the file would not be written back unchanged in code page 932");
  // The other code of the same character is the one written, and it reads fine.
  EXPECT_EQ(codec.Decode("' \xFA\x5C"), "' \u7E8A");
}

TEST(EncodeTest, UnmappableCharacterNamesItAndItsLine) {
  struct Case {
    int codePage;
    std::string_view text;
    std::string_view message;
  };
  const Case cases[] = {
      {1252, "Sub A()\r\n' \u03A3\r\nEnd Sub",
       "line 2: the character U+03A3 cannot be written in code page 1252"},
      {1252, "\u65E5", "line 1: the character U+65E5 cannot be written in code page 1252"},
      {1252, "a\nb\rc\r\n\U0001F600", "line 4: the character U+1F600 cannot be written in code page 1252"},
      // Only the five undefined bytes come back from C1 controls.
      {1252, "\u0080", "line 1: the character U+0080 cannot be written in code page 1252"},
      {1251, "Caf\u00E9", "line 1: the character U+00E9 cannot be written in code page 1251"},
      {1250, "\u0081", "line 1: the character U+0081 cannot be written in code page 1250"},
      {932, "\u00E9", "line 1: the character U+00E9 cannot be written in code page 932"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const CodePageCodec codec{c.codePage};
    EXPECT_EQ(ErrorOf([&] { codec.Encode(c.text); }), c.message);
  }
}

TEST(EncodeTest, InvalidUtf8IsAnError) {
  const std::string_view texts[] = {
      "abc\xFF",          // never in UTF-8
      "\xC0\x80",         // overlong
      "\xED\xA0\x80",     // a surrogate
      "x\r\n\xE2\x82",    // cut short
      "\xC2",             // lead byte alone, where 1252's undefined bytes are looked for
      "\x80",             // continuation byte alone
      "\xF4\x90\x80\x80"  // past U+10FFFF
  };
  const CodePageCodec codec{1252};
  for (const std::string_view text : texts) {
    SCOPED_TRACE(Hex(text));
    const std::string message = ErrorOf([&] { codec.Encode(text); });
    EXPECT_TRUE(message.ends_with(": the text is not valid UTF-8")) << message;
    EXPECT_TRUE(message.starts_with("line ")) << message;
  }
  EXPECT_EQ(ErrorOf([&] { codec.Encode("x\r\n\xE2\x82"); }), "line 2: the text is not valid UTF-8");
}

// Taking the text gives it back as it is when it is all ASCII, and converts it like Encode otherwise.
TEST(EncodeTest, TakingTheTextGivesTheSameBytesAsEncode) {
  const CodePageCodec codec{1252};
  for (const std::string& text :
       {std::string{}, std::string{"Sub Go()\r\nEnd Sub\r\n"}, std::string{"' caf\xC3\xA9 \xE2\x82\xAC\r\n"},
        std::string(100, 'x') + "\xC2\x81"}) {
    SCOPED_TRACE(test::Visible(text));
    EXPECT_EQ(codec.EncodeTaking(std::string{text}), codec.Encode(text));
  }
  EXPECT_EQ(ErrorOf([&] { codec.EncodeTaking("ab\r\n\xE4\xB8\xAD"); }),
            "line 2: the character U+4E2D cannot be written in code page 1252");
}

TEST(CodePageTest, OnlyWindowsAnsiCodePages) {
  for (const int codePage : {65001, 437, 850, 0, -1, 1200}) {
    SCOPED_TRACE(codePage);
    EXPECT_FALSE(host::IsWindowsAnsiCodePage(codePage));
    EXPECT_EQ(ErrorOf([&] { const CodePageCodec codec{codePage}; }),
              "code page " + std::to_string(codePage) + " is not a Windows ANSI code page");
  }
}

// Every code page the command offers converts here, both ways, and holds plain ASCII unchanged. The
// converters open only for text beyond ASCII, so each is given a character its code page defines.
TEST(CodePageTest, EverySupportedCodePageIsAvailable) {
  const std::span<const int> codePages = host::WindowsAnsiCodePages();
  for (const int expected : {874, 932, 936, 949, 950, 1250, 1251, 1252, 1253, 1254, 1255, 1256, 1257, 1258}) {
    EXPECT_NE(std::find(codePages.begin(), codePages.end(), expected), codePages.end()) << expected;
  }
  for (const int codePage : codePages) {
    SCOPED_TRACE(codePage);
    EXPECT_TRUE(host::IsWindowsAnsiCodePage(codePage));
    const CodePageCodec codec{codePage};
    EXPECT_EQ(codec.Decode("Sub A()\r\nEnd Sub\r\n"), "Sub A()\r\nEnd Sub\r\n");
    EXPECT_EQ(codec.Encode("Sub A()\r\nEnd Sub\r\n"), "Sub A()\r\nEnd Sub\r\n");
    const std::string beyondAscii = codePage == 950                      ? "' \xA1\x40"
                                    : codePage == 949                    ? "' \x81\x41"
                                    : codePage >= 932 && codePage <= 936 ? "' \x81\x40"
                                                                         : "' \xC0";
    const std::string text = codec.Decode(beyondAscii);
    EXPECT_NE(text, beyondAscii);
    EXPECT_EQ(codec.Encode(text), beyondAscii);
  }
}

TEST(Utf8Test, WellFormedText) {
  struct Case {
    std::string_view text;
    bool valid;
  };
  const Case cases[] = {
      {"", true},
      {"Title", true},
      {"\u00E9\u65E5\U0001F600", true},
      {"\u0081", true},
      {"\xEF\xBF\xBF", true},       // U+FFFF
      {"\xF4\x8F\xBF\xBF", true},   // U+10FFFF
      {"\xE9", false},              // a 1252 byte
      {"\xC1\xBF", false},          // overlong
      {"\xE0\x9F\xBF", false},      // overlong
      {"\xF0\x8F\xBF\xBF", false},  // overlong
      {"\xED\xBF\xBF", false},      // a surrogate
      {"\xF4\x90\x80\x80", false},  // past U+10FFFF
      {"\xF5\x80\x80\x80", false},
      {"\xE6\x97", false},  // cut short
      {"a\xBF"
       "b",
       false},              // stray continuation
      {"\xC3\x28", false},  // bad continuation
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Hex(c.text));
    EXPECT_EQ(host::IsValidUtf8(c.text), c.valid);
  }
}

}  // namespace
