// Checks the lossless conversion between 16-bit host texts and UTF-8, both ways.
#include "host/wide_text.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "tests/support/visible.h"

namespace {

struct Case {
  const char* name;
  std::u16string units;
  std::string bytes;
};

// Each row converts both ways: units to bytes, and the bytes back to the same units.
const Case kRoundTrips[] = {
    {"empty", u"", ""},
    {"ascii", u"Sub Refresh( )\r", "Sub Refresh( )\r"},
    {"embedded_nul", std::u16string{u"a\0b", 3}, std::string{"a\0b", 3}},
    {"two_bytes", u"n\u00e9cessaire",
     "n\xC3\xA9"
     "cessaire"},
    {"last_two_byte", u"\u07FF", "\xDF\xBF"},
    {"first_three_byte", u"\u0800", "\xE0\xA0\x80"},
    {"three_bytes", u"\u20AC", "\xE2\x82\xAC"},
    {"last_bmp", u"\uFFFF", "\xEF\xBF\xBF"},
    {"surrogate_pair", u"\U0001F600", "\xF0\x9F\x98\x80"},
    {"last_code_point", u"\U0010FFFF", "\xF4\x8F\xBF\xBF"},
    {"lone_high_surrogate", std::u16string(1, char16_t{0xD800}), "\xED\xA0\x80"},
    {"lone_low_surrogate", std::u16string(1, char16_t{0xDFFF}), "\xED\xBF\xBF"},
    {"high_surrogate_then_text", std::u16string{char16_t{0xDBFF}, u'x'}, "\xED\xAF\xBFx"},
    {"reversed_pair", std::u16string{char16_t{0xDC00}, char16_t{0xD800}}, "\xED\xB0\x80\xED\xA0\x80"},
};

class WideTextRoundTrip : public ::testing::TestWithParam<Case> {};

TEST_P(WideTextRoundTrip, BothWays) {
  const Case& c = GetParam();
  EXPECT_EQ(test::Visible(host::Utf8FromUtf16(std::u16string_view{c.units})), test::Visible(c.bytes));
  EXPECT_EQ(host::Utf16FromUtf8<char16_t>(c.bytes), c.units);
}

INSTANTIATE_TEST_SUITE_P(Host, WideTextRoundTrip, ::testing::ValuesIn(kRoundTrips),
                         [](const auto& info) { return std::string{info.param.name}; });

struct Malformed {
  const char* name;
  std::string bytes;
  std::u16string units;
};

// Each byte that starts no well-formed sequence becomes one U+FFFD, and decoding goes on after it.
const Malformed kMalformed[] = {
    {"stray_continuation", "a\x80z", u"a\uFFFDz"},
    {"truncated_at_end", "a\xC3", u"a\uFFFD"},
    {"truncated_before_text", "\xE2\x82z", u"\uFFFD\uFFFDz"},
    {"overlong_two_byte", "\xC0\xAF", u"\uFFFD\uFFFD"},
    {"overlong_three_byte", "\xE0\x80\xAF", u"\uFFFD\uFFFD\uFFFD"},
    {"overlong_four_byte", "\xF0\x80\x80\xAF", u"\uFFFD\uFFFD\uFFFD\uFFFD"},
    {"above_unicode", "\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},
    {"invalid_lead", "\xF8\xFF", u"\uFFFD\uFFFD"},
};

class WideTextMalformed : public ::testing::TestWithParam<Malformed> {};

TEST_P(WideTextMalformed, ReplacesEachBadByte) {
  EXPECT_EQ(host::Utf16FromUtf8<char16_t>(GetParam().bytes), GetParam().units);
}

INSTANTIATE_TEST_SUITE_P(Host, WideTextMalformed, ::testing::ValuesIn(kMalformed),
                         [](const auto& info) { return std::string{info.param.name}; });

// Every 16-bit unit, alone, comes back as it was.
TEST(WideText, EverySingleUnitRoundTrips) {
  for (std::uint32_t unit = 0; unit <= 0xFFFF; ++unit) {
    const std::u16string units(1, static_cast<char16_t>(unit));
    ASSERT_EQ(host::Utf16FromUtf8<char16_t>(host::Utf8FromUtf16(std::u16string_view{units})), units) << unit;
  }
}

}  // namespace
