// tests/generator/description_test.cpp: the eleven-line comment header, its usage text and its traps.
#include <gtest/gtest.h>

#include <algorithm>

#include "host/host_error.h"
#include "tests/generator/generator_fixture.h"
#include "tests/support/visible.h"

namespace {

using generator::Request;

struct HeaderCase {
  const char* name;
  std::string_view usage;
  std::string_view programmer;
  std::string_view expected;  // LF stands for the header's CR; a real line break in the usage is spelt out
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const HeaderCase& c, std::ostream* os) {
  *os << c.name;
}

const HeaderCase kHeaders[] = {
    {"worked_example", "Reloads the list", "My name",
     "'**********************************************************************\n"
     "' Utility: Reloads the list\n"
     "'\n"
     "' Functions called: \n"
     "' Functions calling: \n"
     "'\n"
     "'\n"
     "' Programmer's name: My name\n"
     "' Creation date: Sunday 06 December 2026\n"
     "' Last modification:          by\n"
     "'**********************************************************************\n"},
    {"empty_texts_keep_label_blanks", "", "",
     "'**********************************************************************\n"
     "' Utility: \n"
     "'\n"
     "' Functions called: \n"
     "' Functions calling: \n"
     "'\n"
     "'\n"
     "' Programmer's name: \n"
     "' Creation date: Sunday 06 December 2026\n"
     "' Last modification:          by\n"
     "'**********************************************************************\n"},
    {"texts_verbatim", "  padded  ", " Jean-Noël ",
     "'**********************************************************************\n"
     "' Utility:   padded  \n"
     "'\n"
     "' Functions called: \n"
     "' Functions calling: \n"
     "'\n"
     "'\n"
     "' Programmer's name:  Jean-Noël \n"
     "' Creation date: Sunday 06 December 2026\n"
     "' Last modification:          by\n"
     "'**********************************************************************\n"},
};

class Description : public ::testing::TestWithParam<HeaderCase> {};

TEST_P(Description, WritesElevenLines) {
  test::TestPlatform platform;
  generator::Request request;
  request.sUsage = std::string{GetParam().usage};
  request.sNomutilisateur = std::string{GetParam().programmer};
  const std::string header = generator::Description(request, platform.platform());
  EXPECT_EQ(test::Visible(header), test::Visible(test::Cr(GetParam().expected)));
  EXPECT_EQ(std::count(header.begin(), header.end(), '\r'), 11);
  EXPECT_TRUE(platform.ui.messages().empty());
}

INSTANTIATE_TEST_SUITE_P(Generator, Description, ::testing::ValuesIn(kHeaders),
                         [](const auto& info) { return std::string{info.param.name}; });

// Each line break typed in the usage box is kept and followed by "' ", so that what follows it stays
// a comment.
struct UsageCase {
  const char* name;
  std::string_view usage;
  std::string_view line2;  // the text between "' Utility: " and the header's own CR before line 3
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const UsageCase& c, std::ostream* os) {
  *os << c.name;
}

const UsageCase kUsages[] = {
    {"dialog_default_ends_with_crlf", "Description of its utility\r\n", "Description of its utility\r\n' "},
    {"lone_cr", "first\rsecond", "first\r' second"},
    {"lone_lf", "first\nsecond", "first\n' second"},
    {"mixed_breaks", "a\r\nb\nc\rd", "a\r\n' b\n' c\r' d"},
    {"lf_cr_is_two_breaks", "a\n\rb", "a\n' \r' b"},
    {"only_a_break", "\r\n", "\r\n' "},
    {"two_breaks_in_a_row", "a\r\n\r\nb", "a\r\n' \r\n' b"},
};

class UsageText : public ::testing::TestWithParam<UsageCase> {};

TEST_P(UsageText, EveryLineStaysAComment) {
  test::TestPlatform platform;
  generator::Request request;
  request.sUsage = std::string{GetParam().usage};
  request.sNomutilisateur = "My name";
  std::string expected = test::Header("");
  expected.insert(std::string{test::kStars}.size() + std::string_view{"\r' Utility: "}.size(),
                  GetParam().line2);
  EXPECT_EQ(test::Visible(generator::Description(request, platform.platform())), test::Visible(expected));
}

INSTANTIATE_TEST_SUITE_P(Generator, UsageText, ::testing::ValuesIn(kUsages),
                         [](const auto& info) { return std::string{info.param.name}; });

TEST(DescriptionDates, EachCallAsksTheClock) {
  test::TestPlatform platform;
  generator::Request request;
  request.sUsage = "Reloads the list";
  request.sNomutilisateur = "My name";
  const std::string first = generator::Description(request, platform.platform());
  EXPECT_EQ(generator::Description(request, platform.platform()), first);
  platform.clock.Set({2027, 1, 1});
  const std::string later = generator::Description(request, platform.platform());
  EXPECT_NE(later.find("\r' Creation date: Friday 01 January 2027\r"), std::string::npos)
      << test::Visible(later);
}

TEST(DescriptionFailure, BrokenClockGivesTheFailureText) {
  test::TestPlatform platform;
  platform.clock.FailWith(host::HostError{5, "The date cannot be read."});
  const generator::Request request;
  EXPECT_EQ(generator::Description(request, platform.platform()), "'-Erreur Description - ");
  ASSERT_EQ(platform.ui.messages().size(), 1U);
  EXPECT_EQ(platform.ui.messages()[0], (host::ShownMessage{"The date cannot be read.", "Description"}));
}

}  // namespace
