// Checks date patterns filled with the C library's day and month names in the user's locale.
#include "platform/posix/locale_date_formatter.h"
#include "host/vb_errors.h"

#include <gtest/gtest.h>
#include <locale.h>

#include <array>
#include <ctime>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

#include "host/host_error.h"
#include "tests/support/scoped_env.h"

namespace {

using host::CivilDate;
using host::HostError;
using platform::posix::LocaleDateFormatter;

struct FormatCase {
  const char* label;
  CivilDate date;
  std::string_view pattern;
  std::string_view expected;
};

void PrintTo(const FormatCase& c, std::ostream* os) {
  *os << c.label;
}

// Names in the C locale are English, whatever the machine's own settings.
class CLocaleFormatTest : public testing::TestWithParam<FormatCase> {
 protected:
  test::ScopedEnv all_{"LC_ALL", "C"};
};

TEST_P(CLocaleFormatTest, FillsEachRun) {
  const FormatCase& c = GetParam();
  EXPECT_EQ(LocaleDateFormatter{}.Format(c.date, c.pattern), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Dates, CLocaleFormatTest,
    testing::Values(
        FormatCase{"CreationDate", {2026, 12, 6}, host::kCreationDatePattern, "Sunday 06 December 2026"},
        // A weekday each, spread over centuries so that the weekday is computed, not counted on.
        FormatCase{"Monday1900", {1900, 1, 1}, "dddd dd mmmm yyyy", "Monday 01 January 1900"},
        FormatCase{"TuesdayLeapDay2000", {2000, 2, 29}, "dddd dd mmmm yyyy", "Tuesday 29 February 2000"},
        FormatCase{"WednesdayBefore1970", {1969, 12, 31}, "dddd dd mmmm yyyy", "Wednesday 31 December 1969"},
        FormatCase{"ThursdayLeapDay2024", {2024, 2, 29}, "dddd dd mmmm yyyy", "Thursday 29 February 2024"},
        FormatCase{"ThursdayEpoch", {1970, 1, 1}, "dddd", "Thursday"},
        FormatCase{"Friday", {2027, 7, 9}, "dddd dd mmmm yyyy", "Friday 09 July 2027"},
        FormatCase{"Saturday", {2000, 1, 1}, "dddd dd mmmm yyyy", "Saturday 01 January 2000"},
        FormatCase{"MondayAfterCenturyWithoutLeapDay", {2100, 3, 1}, "dddd", "Monday"},
        FormatCase{"WednesdayLongAgo", {1600, 3, 1}, "dddd", "Wednesday"},
        FormatCase{"ShortNames", {2026, 1, 5}, "ddd d mmm yy", "Mon 5 Jan 26"},
        FormatCase{"SingleDigitDayAndMonth", {2026, 1, 5}, "d/m/yyyy", "5/1/2026"},
        FormatCase{"TwoDigitDayAndMonth", {2026, 1, 5}, "dd/mm/yyyy", "05/01/2026"},
        FormatCase{"TwoDigitDayAlreadyTwoDigits", {2026, 11, 30}, "d dd m mm", "30 30 11 11"},
        FormatCase{"TwoDigitYear2000", {2000, 6, 15}, "yy", "00"},
        FormatCase{"TwoDigitYear2009", {2009, 6, 15}, "yy", "09"},
        FormatCase{"IsoOrder", {2026, 12, 6}, "yyyy-mm-dd", "2026-12-06"},
        FormatCase{"UpperCaseLetters", {2026, 12, 6}, "DDDD DD MMMM YYYY", "Sunday 06 December 2026"},
        FormatCase{"LiteralCharacters", {2026, 12, 6}, "[dd] (m) at: yy!", "[06] (12) at: 26!"},
        FormatCase{"Utf8Literal",
                   {2026, 12, 6},
                   "d\xC2\xB7m",
                   "6\xC2\xB7"
                   "12"},
        FormatCase{"RunsSideBySide", {2026, 12, 6}, "ddmmyyyy", "06122026"},
        FormatCase{"EmptyPattern", {2026, 12, 6}, "", ""},
        FormatCase{"January", {2026, 1, 1}, "mmm mmmm", "Jan January"},
        FormatCase{"February", {2026, 2, 1}, "mmm mmmm", "Feb February"},
        FormatCase{"March", {2026, 3, 1}, "mmm mmmm", "Mar March"},
        FormatCase{"April", {2026, 4, 1}, "mmm mmmm", "Apr April"},
        FormatCase{"May", {2026, 5, 1}, "mmm mmmm", "May May"},
        FormatCase{"June", {2026, 6, 1}, "mmm mmmm", "Jun June"},
        FormatCase{"July", {2026, 7, 1}, "mmm mmmm", "Jul July"},
        FormatCase{"August", {2026, 8, 1}, "mmm mmmm", "Aug August"},
        FormatCase{"September", {2026, 9, 1}, "mmm mmmm", "Sep September"},
        FormatCase{"October", {2026, 10, 1}, "mmm mmmm", "Oct October"},
        FormatCase{"November", {2026, 11, 1}, "mmm mmmm", "Nov November"},
        FormatCase{"December", {2026, 12, 1}, "mmm mmmm", "Dec December"}),
    [](const testing::TestParamInfo<FormatCase>& info) { return std::string{info.param.label}; });

struct RefusedCase {
  const char* label;
  CivilDate date;
  std::string_view pattern;
};

void PrintTo(const RefusedCase& c, std::ostream* os) {
  *os << c.label;
}

class RefusedFormatTest : public testing::TestWithParam<RefusedCase> {
 protected:
  test::ScopedEnv all_{"LC_ALL", "C"};
};

TEST_P(RefusedFormatTest, IsInvalidCall) {
  const RefusedCase& c = GetParam();
  try {
    const std::string text = LocaleDateFormatter{}.Format(c.date, c.pattern);
    ADD_FAILURE() << "gave \"" << text << '"';
  } catch (const HostError& error) {
    EXPECT_EQ(error.number(), host::kErrInvalidCall);
    EXPECT_FALSE(error.description().empty());
  }
}

INSTANTIATE_TEST_SUITE_P(
    Patterns, RefusedFormatTest,
    testing::Values(
        RefusedCase{"FiveDs", {2026, 12, 6}, "ddddd"}, RefusedCase{"FiveMs", {2026, 12, 6}, "mmmmm"},
        RefusedCase{"OneY", {2026, 12, 6}, "d/m/y"}, RefusedCase{"ThreeYs", {2026, 12, 6}, "yyy"},
        RefusedCase{"FiveYs", {2026, 12, 6}, "yyyyy"},
        RefusedCase{"BadRunAfterGoodOnes", {2026, 12, 6}, "dddd dd mmmm yyy"},
        RefusedCase{"Month13", {2026, 13, 1}, "dd mm yyyy"}, RefusedCase{"Month0", {2026, 0, 1}, "yyyy"},
        RefusedCase{"Day0", {2026, 12, 0}, "yyyy"}, RefusedCase{"Day32", {2026, 12, 32}, "yyyy"},
        RefusedCase{"February30", {2026, 2, 30}, "yyyy"},
        RefusedCase{"February29NotLeap", {2100, 2, 29}, "yyyy"},
        RefusedCase{"April31", {2026, 4, 31}, "yyyy"}, RefusedCase{"Month13EmptyPattern", {2026, 13, 1}, ""}),
    [](const testing::TestParamInfo<RefusedCase>& info) { return std::string{info.param.label}; });

TEST(LocaleFallbackTest, LocaleThatIsNotInstalledGivesEnglishNames) {
  const test::ScopedEnv all{"LC_ALL", "xx_XX.NOT-INSTALLED"};
  EXPECT_EQ(LocaleDateFormatter{}.Format({2026, 12, 6}, host::kCreationDatePattern),
            "Sunday 06 December 2026");
}

TEST(LocaleFallbackTest, LcTimeIsReadWhenLcAllIsUnset) {
  const test::ScopedEnv all{"LC_ALL", std::nullopt};
  const test::ScopedEnv time{"LC_TIME", "C"};
  const test::ScopedEnv lang{"LANG", "xx_XX.NOT-INSTALLED"};
  EXPECT_EQ(LocaleDateFormatter{}.Format({2024, 2, 29}, "ddd mmm"), "Thu Feb");
}

// The test build compiles these locales and points LOCPATH at them; a machine without the locale
// sources skips these tests.
bool LocaleInstalled(const char* name) {
  const locale_t locale = newlocale(LC_TIME_MASK, name, static_cast<locale_t>(nullptr));
  if (locale == static_cast<locale_t>(nullptr)) return false;
  freelocale(locale);
  return true;
}

// The C locale in its other spellings is not loaded from the locale files: its names must still be
// the ones the C library gives when it loads that locale itself.
TEST(LocaleFallbackTest, CLocaleInAnySpellingNamesAsTheLibraryDoes) {
  for (const char* name : {"C.UTF-8", "C.utf8", "POSIX"}) {
    SCOPED_TRACE(name);
    if (!LocaleInstalled(name)) continue;
    const locale_t library = newlocale(LC_TIME_MASK, name, static_cast<locale_t>(nullptr));
    const test::ScopedEnv all{"LC_ALL", name};
    const LocaleDateFormatter formatter;
    // The first of each month, then a week of days.
    for (int i = 0; i < 19; ++i) {
      const CivilDate date = i < 12 ? CivilDate{2026, i + 1, 1} : CivilDate{2026, 3, i - 10};
      std::tm tm{};
      tm.tm_year = date.year - 1900;
      tm.tm_mon = date.month - 1;
      tm.tm_mday = date.day;
      std::mktime(&tm);  // fills in the weekday
      std::array<char, 128> expected{};
      strftime_l(expected.data(), expected.size(), "%A %a %B %b", &tm, library);
      EXPECT_EQ(formatter.Format(date, "dddd ddd mmmm mmm"), expected.data());
    }
    freelocale(library);
  }
}

TEST(FrenchLocaleTest, NamesInFrenchAsUtf8) {
  if (!LocaleInstalled("fr_FR.UTF-8")) GTEST_SKIP() << "fr_FR.UTF-8 is not installed";
  const test::ScopedEnv all{"LC_ALL", "fr_FR.UTF-8"};
  EXPECT_EQ(LocaleDateFormatter{}.Format({2026, 12, 6}, host::kCreationDatePattern),
            "dimanche 06 d\xC3\xA9"
            "cembre 2026");
}

TEST(FrenchLocaleTest, Latin1NamesAreConvertedToUtf8) {
  if (!LocaleInstalled("fr_FR.ISO-8859-1")) GTEST_SKIP() << "fr_FR.ISO-8859-1 is not installed";
  const test::ScopedEnv all{"LC_ALL", "fr_FR.ISO-8859-1"};
  EXPECT_EQ(LocaleDateFormatter{}.Format({2026, 12, 6}, "mmmm"),
            "d\xC3\xA9"
            "cembre");
}

}  // namespace
