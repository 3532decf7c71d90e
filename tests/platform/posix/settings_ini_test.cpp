// Checks the settings file's text form: exact layout, lossless round trips and tolerant reading.
#include "platform/posix/settings_ini.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <string_view>

#include "host/builtin_ide/memory_settings_store.h"
#include "tests/support/visible.h"

namespace {

using host::SettingAddress;
using host::SettingValues;
using platform::posix::ReadSettingsIni;
using platform::posix::WriteSettingsIni;

TEST(WriteSettingsIniTest, OneHeaderPerSectionThenKeyLines) {
  SettingValues values;
  values[{"Scrivlet", "Options", "Author"}] = "Jo";
  values[{"Scrivlet", "Options", "Company"}] = "Penwright";
  values[{"Scrivlet", "Window", "Left"}] = "120";
  EXPECT_EQ(
      test::Visible(WriteSettingsIni(values)),
      test::Visible("[Scrivlet\\Options]\nAuthor=Jo\nCompany=Penwright\n\n[Scrivlet\\Window]\nLeft=120\n"));
}

TEST(WriteSettingsIniTest, NothingGivesEmptyText) {
  EXPECT_EQ(WriteSettingsIni({}), "");
}

TEST(WriteSettingsIniTest, EscapesEveryCharacterThatWouldBreakALine) {
  SettingValues values;
  values[{"A\\pp", "[S]", "k=y"}] = "50% \\ [x] = \r\n";
  EXPECT_EQ(test::Visible(WriteSettingsIni(values)),
            test::Visible("[A%5Cpp\\%5BS%5D]\nk%3Dy=50%25 %5C %5Bx%5D %3D %0D%0A\n"));
}

struct RoundTripCase {
  const char* label;
  std::string text;
};

void PrintTo(const RoundTripCase& c, std::ostream* os) {
  *os << c.label;
}

class RoundTripTest : public testing::TestWithParam<RoundTripCase> {};

// The text is used in turn as the value, the key, the section and the application.
TEST_P(RoundTripTest, ComesBackAsItWas) {
  const std::string& text = GetParam().text;
  const SettingAddress addresses[] = {{"Scrivlet", "Options", "Author"},
                                      {"Scrivlet", "Options", text},
                                      {"Scrivlet", text, "Author"},
                                      {text, "Options", "Author"}};
  for (const SettingAddress& address : addresses) {
    SCOPED_TRACE(test::Visible(address.application + " | " + address.section + " | " + address.key));
    SettingValues values;
    values[address] = text;
    values[{"Scrivlet", "Other", "Before"}] = "1";
    values[{"Scrivlet", "~Last", "After"}] = "2";
    const SettingValues read = ReadSettingsIni(WriteSettingsIni(values));
    ASSERT_EQ(read.size(), 3U) << test::Visible(WriteSettingsIni(values));
    const auto it = read.find(address);
    ASSERT_NE(it, read.end());
    EXPECT_EQ(it->first.application, address.application);
    EXPECT_EQ(it->first.section, address.section);
    EXPECT_EQ(it->first.key, address.key);
    EXPECT_EQ(test::Visible(it->second), test::Visible(text));
    EXPECT_EQ(read.at({"Scrivlet", "Other", "Before"}), "1");
    EXPECT_EQ(read.at({"Scrivlet", "~Last", "After"}), "2");
  }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, RoundTripTest,
    testing::Values(RoundTripCase{"Plain", "Jo Smith"}, RoundTripCase{"LeadingAndTrailingBlanks", "  Jo  "},
                    RoundTripCase{"BlankOnly", " "}, RoundTripCase{"Tab", "a\tb"},
                    RoundTripCase{"Equals", "a=b=c"}, RoundTripCase{"Brackets", "[Scrivlet\\Options]"},
                    RoundTripCase{"ClosingBracketLast", "x]"}, RoundTripCase{"OpeningBracketFirst", "[x"},
                    RoundTripCase{"Percent", "100%"}, RoundTripCase{"EscapeLookalike", "%41%5C%%0A"},
                    RoundTripCase{"Backslash", "C:\\Users\\jo"}, RoundTripCase{"Cr", "a\rb"},
                    RoundTripCase{"Lf", "a\nb"}, RoundTripCase{"CrLf", "line 1\r\nline 2\r\n"},
                    RoundTripCase{"OnlyBreaks", "\n\n"},
                    RoundTripCase{"Utf8", "Ren\xC3\xA9 \xE2\x82\xAC \xE6\x97\xA5"},
                    RoundTripCase{"Semicolon", "; not a comment"}, RoundTripCase{"Hash", "# not a comment"},
                    RoundTripCase{"Everything", " =[]%\\\r\n\xC3\xA9 "}),
    [](const testing::TestParamInfo<RoundTripCase>& info) { return std::string{info.param.label}; });

TEST(RoundTripTest, EmptyValueStaysEmpty) {
  SettingValues values;
  values[{"Scrivlet", "Options", "Author"}] = "";
  const SettingValues read = ReadSettingsIni(WriteSettingsIni(values));
  ASSERT_EQ(read.size(), 1U);
  EXPECT_EQ(read.at({"Scrivlet", "Options", "Author"}), "");
}

TEST(SettingAddressTest, ApplicationSectionAndKeyIgnoreCase) {
  const SettingValues read = ReadSettingsIni("[Scrivlet\\Options]\nAuthor=Jo\n");
  const SettingAddress lookups[] = {{"Scrivlet", "Options", "Author"},
                                    {"SCRIVLET", "options", "aUTHOR"},
                                    {"scrivlet", "OPTIONS", "AUTHOR"}};
  for (const SettingAddress& lookup : lookups) {
    SCOPED_TRACE(lookup.application + "\\" + lookup.section + "\\" + lookup.key);
    const auto it = read.find(lookup);
    ASSERT_NE(it, read.end());
    EXPECT_EQ(it->second, "Jo");
  }
  EXPECT_EQ(read.find({"Scrivlet", "Options", "Author2"}), read.end());
  EXPECT_EQ(read.find({"Scrivlet", "Option", "Author"}), read.end());
  EXPECT_EQ(read.find({"Scriv", "Options", "Author"}), read.end());
}

TEST(SettingAddressTest, SectionsDifferingInCaseAreOne) {
  const SettingValues read = ReadSettingsIni("[Scrivlet\\Options]\nA=1\n\n[SCRIVLET\\options]\nB=2\nA=3\n");
  ASSERT_EQ(read.size(), 2U);
  EXPECT_EQ(read.at({"Scrivlet", "Options", "a"}), "3");
  EXPECT_EQ(read.at({"scrivlet", "OPTIONS", "b"}), "2");
  // Written back, they share a single header.
  EXPECT_EQ(WriteSettingsIni(read).find('[', 1), std::string::npos) << WriteSettingsIni(read);
}

struct MalformedCase {
  const char* label;
  std::string_view text;
};

void PrintTo(const MalformedCase& c, std::ostream* os) {
  *os << c.label;
}

class MalformedTest : public testing::TestWithParam<MalformedCase> {};

// Every case holds one good value, Scrivlet\Options\Author = "Jo", among lines that must be skipped.
TEST_P(MalformedTest, SkipsWhatItCannotReadAndKeepsTheRest) {
  SCOPED_TRACE(test::Visible(GetParam().text));
  const SettingValues read = ReadSettingsIni(GetParam().text);
  ASSERT_EQ(read.size(), 1U);
  EXPECT_EQ(read.at({"Scrivlet", "Options", "Author"}), "Jo");
}

INSTANTIATE_TEST_SUITE_P(
    Files, MalformedTest,
    testing::Values(MalformedCase{"KeyBeforeAnyHeader", "Stray=1\n[Scrivlet\\Options]\nAuthor=Jo\n"},
                    MalformedCase{"LineWithoutEquals", "[Scrivlet\\Options]\njunk\nAuthor=Jo\n"},
                    MalformedCase{"HeaderWithoutSeparator",
                                  "[Scrivlet\\Options]\nAuthor=Jo\n[Scrivlet]\nCompany=Penwright\n"},
                    MalformedCase{"HeaderWithTwoSeparators",
                                  "[Scrivlet\\Options]\nAuthor=Jo\n[a\\b\\c]\nCompany=Penwright\n"},
                    MalformedCase{"EmptyHeader", "[]\nCompany=Penwright\n[Scrivlet\\Options]\nAuthor=Jo\n"},
                    MalformedCase{"NoFinalLineBreak", "[Scrivlet\\Options]\nAuthor=Jo"},
                    MalformedCase{"BlankLines", "\n\n[Scrivlet\\Options]\n\n\nAuthor=Jo\n\n"},
                    MalformedCase{"LaterValueWins", "[Scrivlet\\Options]\nAuthor=Al\nAuthor=Jo\n"},
                    MalformedCase{"SectionOfJunkOnly",
                                  "[Scrivlet\\Options]\nAuthor=Jo\n[Scrivlet\\Other]\nnot a line\n"},
                    MalformedCase{"BinaryGarbage", "\x01\x02\xFF\n[Scrivlet\\Options]\nAuthor=Jo\n\xFE\xFF"}),
    [](const testing::TestParamInfo<MalformedCase>& info) { return std::string{info.param.label}; });

TEST(MalformedTest, UnterminatedHeaderLeavesTheSectionAsItWas) {
  const SettingValues read = ReadSettingsIni("[Scrivlet\\Options]\n[Scrivlet\\Other\nAuthor=Jo\n");
  ASSERT_EQ(read.size(), 1U);
  EXPECT_EQ(read.at({"Scrivlet", "Options", "Author"}), "Jo");
}

TEST(MalformedTest, BadEscapesAreKeptAsTheyStand) {
  struct Case {
    std::string_view written;
    std::string_view read;
  };
  const Case cases[] = {{"%", "%"},     {"%4", "%4"},   {"50%", "50%"}, {"%G1", "%G1"},
                        {"%1G", "%1G"}, {"%%41", "%A"}, {"%3d", "="},   {"%41%", "A%"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string{c.written});
    const SettingValues read =
        ReadSettingsIni("[Scrivlet\\Options]\nAuthor=" + std::string{c.written} + "\n");
    ASSERT_EQ(read.size(), 1U);
    EXPECT_EQ(read.begin()->second, c.read);
  }
}

TEST(MalformedTest, EqualsSignsAfterTheFirstBelongToTheValue) {
  const SettingValues read = ReadSettingsIni("[Scrivlet\\Options]\nAuthor==Jo=\n");
  EXPECT_EQ(read.at({"Scrivlet", "Options", "Author"}), "=Jo=");
}

}  // namespace

// The in-memory store addresses its values as the settings file does.
TEST(MemorySettingsStoreTest, AddressesIgnoreCaseAndEmptyValuesAreKept) {
  host::MemorySettingsStore store;
  EXPECT_EQ(store.GetSetting("Scrivlet", "Identification", "Programmer", "My name"), "My name");
  store.SaveSetting("Scrivlet", "Identification", "Programmer", "Jo");
  EXPECT_EQ(store.GetSetting("SCRIVLET", "identification", "PROGRAMMER", "My name"), "Jo");
  store.SaveSetting("scrivlet", "IDENTIFICATION", "programmer", "");
  EXPECT_EQ(store.GetSetting("Scrivlet", "Identification", "Programmer", "My name"), "");
}
