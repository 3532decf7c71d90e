// Checks the settings file's text form: exact layout, lossless round trips, inih's limits, older files.
#include "platform/posix/settings_ini.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <string_view>

#include "testing/ide/memory_settings_store.h"
#include "tests/support/visible.h"

namespace {

using host::SettingAddress;
using host::SettingValues;
using platform::posix::ReadSettingsIni;
using platform::posix::WriteSettingsIni;
using namespace std::string_literals;

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

TEST(WriteSettingsIniTest, EscapesWhatWouldBreakALineOrBeLostToInih) {
  SettingValues values;
  values[{" A\\pp", "[S]:", "#k=y;"}] = " 50% \\ [x] = ; # : \r\n\t";
  EXPECT_EQ(
      test::Visible(WriteSettingsIni(values)),
      test::Visible("[%20A%5Cpp\\%5BS%5D%3A]\n%23k%3Dy%3B=%2050%25 %5C %5Bx%5D %3D %3B %23 %3A %0D%0A%09\n"));
}

// inih keeps 49 bytes of a section's name, and reads no line longer than 198 bytes whole.
TEST(WriteSettingsIniTest, NamesTooLongToReadBackAreRefused) {
  const auto error = [](const SettingAddress& address) -> std::string {
    SettingValues values;
    values[address] = "v";
    try {
      const std::string text = WriteSettingsIni(values);
      return ReadSettingsIni(text).at(address) == "v" ? "read back" : "lost";
    } catch (const platform::posix::SettingsIniError& failure) {
      return failure.what();
    }
  };
  EXPECT_EQ(error({"Scrivlet", std::string(39, 's'), "k"}), "read back");
  EXPECT_EQ(error({"Scrivlet", std::string(40, 's'), "k"}),
            "the section [Scrivlet\\" + std::string(40, 's') +
                "] takes 49 bytes once written: at most 48 can be read back");
  EXPECT_EQ(error({"Scrivlet", "Options", std::string(194, 'k')}), "read back");
  EXPECT_EQ(error({"Scrivlet", "Options", std::string(195, 'k')}),
            "a key that takes 195 bytes once written is too long: at most 194 fit on a line");
  // Nor is such a section read, as inih may have cut its name.
  EXPECT_TRUE(ReadSettingsIni("[Scrivlet\\" + std::string(40, 's') + "]\nk=v\n").empty());
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
                    RoundTripCase{"SemicolonAfterABlank", "Jo ; Al"},
                    RoundTripCase{"ColonAndHash", "C:\\x #1"}, RoundTripCase{"Nul", "a\0b"s},
                    RoundTripCase{"LoneSurrogate", "\xED\xA0\x80"}, RoundTripCase{"NotUtf8", "\xFF\xFE\x80"},
                    RoundTripCase{"OtherBlanksAtTheEnds", "\t\v\fJo\f\v\t"},
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

// What earlier versions wrote, before blanks at the ends, ';', '#', ':' and NUL were escaped, reads
// back as it was written.
TEST(ReadSettingsIniTest, ReadsWhatEarlierVersionsWrote) {
  const SettingValues read =
      ReadSettingsIni("[Scrivlet\\Options]\nAuthor=50%25 %5C %5Bx%5D %3D%0D%0A\nCompany=a;b#c:d\0e\n"s);
  ASSERT_EQ(read.size(), 2U);
  EXPECT_EQ(read.at({"Scrivlet", "Options", "Author"}), "50% \\ [x] =\r\n");
  EXPECT_EQ(read.at({"Scrivlet", "Options", "Company"}), "a;b#c:d\0e"s);
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
