// tests/host/epoch_date_test.cpp: SOURCE_DATE_EPOCH values to UTC dates, and the values refused.
#include "host/epoch_date.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "host/host_error.h"
#include "host/vb_errors.h"

namespace {

using host::CivilDate;
using host::DateOfEpochText;
using host::HostError;

struct EpochCase {
  const char* label;
  std::string text;
  CivilDate date;
};

void PrintTo(const EpochCase& c, std::ostream* os) {
  *os << c.label;
}

class EpochDateTest : public testing::TestWithParam<EpochCase> {};

TEST_P(EpochDateTest, GivesTheUtcDate) {
  const EpochCase& c = GetParam();
  const CivilDate date = DateOfEpochText(c.text);
  EXPECT_EQ(date.year, c.date.year);
  EXPECT_EQ(date.month, c.date.month);
  EXPECT_EQ(date.day, c.date.day);
}

// Each date is 86400 seconds a day after 1970-01-01: e.g. 2026-12-06 is 56 years (14 leap days) and
// 339 days later, 20793 days, 1796515200 seconds.
INSTANTIATE_TEST_SUITE_P(Values, EpochDateTest,
                         testing::Values(EpochCase{"Zero", "0", {1970, 1, 1}},
                                         EpochCase{"LastSecondOfFirstDay", "86399", {1970, 1, 1}},
                                         EpochCase{"SecondDay", "86400", {1970, 1, 2}},
                                         EpochCase{"LeadingZeros", "000086400", {1970, 1, 2}},
                                         EpochCase{"LeapDay2000", "951782400", {2000, 2, 29}},
                                         EpochCase{"LeapDay2024", "1709164800", {2024, 2, 29}},
                                         EpochCase{"Sunday6December2026", "1796515200", {2026, 12, 6}},
                                         EpochCase{"NextDay", "1796601600", {2026, 12, 7}},
                                         EpochCase{"LastSecondOfThatSunday", "1796601599", {2026, 12, 6}},
                                         EpochCase{"Largest32BitSecond", "2147483647", {2038, 1, 19}},
                                         EpochCase{"Past32Bits", "2147483648", {2038, 1, 19}},
                                         EpochCase{"Year2100", "4102444800", {2100, 1, 1}},
                                         EpochCase{"LastDayOfYear9999", "253402300799", {9999, 12, 31}}),
                         [](const testing::TestParamInfo<EpochCase>& info) {
                           return std::string{info.param.label};
                         });

struct InvalidCase {
  const char* label;
  std::string text;
};

void PrintTo(const InvalidCase& c, std::ostream* os) {
  *os << c.label;
}

class InvalidEpochTest : public testing::TestWithParam<InvalidCase> {};

TEST_P(InvalidEpochTest, IsAHostErrorNamingTheValue) {
  const std::string& text = GetParam().text;
  try {
    const CivilDate date = DateOfEpochText(text);
    ADD_FAILURE() << "gave " << date.year << '-' << date.month << '-' << date.day;
  } catch (const HostError& error) {
    EXPECT_EQ(error.number(), host::kErrInvalidCall);
    EXPECT_NE(error.description().find("SOURCE_DATE_EPOCH"), std::string::npos) << error.description();
    EXPECT_NE(error.description().find('"' + text + '"'), std::string::npos) << error.description();
  }
}

INSTANTIATE_TEST_SUITE_P(
    Values, InvalidEpochTest,
    testing::Values(InvalidCase{"Empty", ""}, InvalidCase{"TrailingLetter", "12a"},
                    InvalidCase{"Negative", "-5"}, InvalidCase{"Plus", "+5"},
                    InvalidCase{"LeadingBlank", " 5"}, InvalidCase{"TrailingBlank", "5 "},
                    InvalidCase{"TrailingLineBreak", "5\n"}, InvalidCase{"Fraction", "1.5"},
                    InvalidCase{"Exponent", "1e9"}, InvalidCase{"Hexadecimal", "0x10"},
                    InvalidCase{"OverflowsEveryInteger", "99999999999999999999999"},
                    InvalidCase{"OneMoreThan64Bits", "18446744073709551616"},
                    InvalidCase{"LargestSigned64Bits", "9223372036854775807"},
                    // These fit 64 unsigned bits but not a signed count: they must not wrap round.
                    InvalidCase{"Largest64Bits", "18446744073709551615"},
                    InvalidCase{"WrapsToOneDayBefore1970", "18446744073709465216"},
                    // Past the year 9999, and where a year in an int would overflow.
                    InvalidCase{"FirstSecondOfYear10000", "253402300800"},
                    InvalidCase{"YearOverflowsAnInt", "67767976233532800"}),
    [](const testing::TestParamInfo<InvalidCase>& info) { return std::string{info.param.label}; });

}  // namespace
