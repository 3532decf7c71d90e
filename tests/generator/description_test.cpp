// tests/generator/description_test.cpp: the eleven-line comment header, its usage text and its traps.
#include <gtest/gtest.h>

#include <algorithm>

#include "host/host_error.h"
#include "tests/generator/generator_fixture.h"
#include "tests/support/golden.h"
#include "tests/support/visible.h"

namespace {

// The golden file of each case, under tests/golden/generator/description, is named after it; its lines
// end with CR alone, as the generator writes them.
struct HeaderCase {
  const char* name;
  std::string_view usage;
  std::string_view programmer;
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const HeaderCase& c, std::ostream* os) {
  *os << c.name;
}

const HeaderCase kHeaders[] = {
    {"worked_example", "Reloads the list", "My name"},
    {"empty_texts_keep_label_blanks", "", ""},
    {"texts_verbatim", "  padded  ", " Jean-Noël "},
};

class Description : public ::testing::TestWithParam<HeaderCase> {};

TEST_P(Description, WritesElevenLines) {
  test::TestPlatform platform;
  generator::Request request;
  request.sUsage = std::string{GetParam().usage};
  request.sNomutilisateur = std::string{GetParam().programmer};
  const std::string header =
      generator::Description(request, generator::pkSub, {"N", "N"}, platform.platform());
  EXPECT_TRUE(test::MatchesGolden(std::string{"generator/description/"} + GetParam().name + ".txt", header));
  EXPECT_EQ(std::count(header.begin(), header.end(), '\r'), 11);
  EXPECT_TRUE(platform.ui.messages().empty());
}

INSTANTIATE_TEST_SUITE_P(Generator, Description, ::testing::ValuesIn(kHeaders),
                         [](const auto& info) { return std::string{info.param.name}; });

// Each line break typed in the usage box, or stored in the programmer's name by hand, is kept and
// followed by "' ", so that what follows it stays a comment and never becomes code. The rest of the
// header is the worked example's.
struct UsageCase {
  const char* name;
  std::string_view usage;
  std::string_view line2;   // the text between "' Utility: " and the header's own CR before line 3
  bool programmer = false;  // the text is the programmer's name, and line2 follows its label
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
    {"programmer_with_code_after_a_break", "Ada\nEnd Sub\r\nSub Evil()", "Ada\n' End Sub\r\n' Sub Evil()",
     true},
};

class UsageText : public ::testing::TestWithParam<UsageCase> {};

TEST_P(UsageText, EveryLineStaysAComment) {
  test::TestPlatform platform;
  generator::Request request;
  const std::string_view replaced = GetParam().programmer ? "My name" : "Reloads the list";
  request.sUsage = GetParam().programmer ? "Reloads the list" : std::string{GetParam().usage};
  request.sNomutilisateur = GetParam().programmer ? std::string{GetParam().usage} : "My name";
  std::string expected = test::Golden("generator/description/worked_example.txt");
  const std::size_t at = expected.find(replaced);
  ASSERT_NE(at, std::string::npos);
  expected.replace(at, replaced.size(), GetParam().line2);
  EXPECT_EQ(test::Visible(generator::Description(request, generator::pkSub, {"N", "N"}, platform.platform())),
            test::Visible(expected));
}

INSTANTIATE_TEST_SUITE_P(Generator, UsageText, ::testing::ValuesIn(kUsages),
                         [](const auto& info) { return std::string{info.param.name}; });

TEST(DescriptionDates, EachCallAsksTheClock) {
  test::TestPlatform platform;
  generator::Request request;
  request.sUsage = "Reloads the list";
  request.sNomutilisateur = "My name";
  const std::string first =
      generator::Description(request, generator::pkSub, {"N", "N"}, platform.platform());
  EXPECT_EQ(generator::Description(request, generator::pkSub, {"N", "N"}, platform.platform()), first);
  platform.clock.Set({2027, 1, 1});
  const std::string later =
      generator::Description(request, generator::pkSub, {"N", "N"}, platform.platform());
  EXPECT_NE(later.find("\r' Creation date: Friday 01 January 2027\r"), std::string::npos)
      << test::Visible(later);
}

TEST(DescriptionFailure, BrokenClockGivesTheFailureText) {
  test::TestPlatform platform;
  platform.clock.FailWith(host::HostError{5, "The date cannot be read."});
  const generator::Request request;
  EXPECT_EQ(generator::Description(request, generator::pkSub, {"N", "N"}, platform.platform()),
            "'-Erreur Description - ");
  ASSERT_EQ(platform.ui.messages().size(), 1U);
  EXPECT_EQ(platform.ui.messages()[0], (host::ShownMessage{"The date cannot be read.", "Description"}));
}

}  // namespace
