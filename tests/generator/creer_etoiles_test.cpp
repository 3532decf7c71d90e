// tests/generator/creer_etoiles_test.cpp: rule lines of any count and filler.
#include <gtest/gtest.h>

#include "tests/generator/generator_fixture.h"

namespace {

struct RuleCase {
  const char* name;
  std::int16_t count;
  std::string_view filler;
  std::string_view expected;
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const RuleCase& c, std::ostream* os) {
  *os << c.name;
}

const RuleCase kRules[] = {
    {"header_rule", 70, "*", test::kStars},
    {"body_rule", 35, "-", test::kDashes},
    {"one", 1, "*", "'*"},
    {"zero", 0, "*", "'"},
    {"negative", -3, "*", "'"},
    {"most_negative", INT16_MIN, "-", "'"},
    {"empty_filler", 35, "", "'"},
    {"filler_repeated_whole", 3, "ab", "'ababab"},
};

class CreerEtoiles : public ::testing::TestWithParam<RuleCase> {};

TEST_P(CreerEtoiles, WritesApostropheThenCountFillers) {
  test::TestPlatform platform;
  EXPECT_EQ(generator::CreerEtoiles(GetParam().count, GetParam().filler, platform.ui), GetParam().expected);
  EXPECT_TRUE(platform.ui.messages().empty());
}

INSTANTIATE_TEST_SUITE_P(Generator, CreerEtoiles, ::testing::ValuesIn(kRules),
                         [](const auto& info) { return std::string{info.param.name}; });

TEST(CreerEtoilesLimits, LargestCountGivesThatManyFillers) {
  test::TestPlatform platform;
  const std::string line = generator::CreerEtoiles(INT16_MAX, "-", platform.ui);
  ASSERT_EQ(line.size(), 32768U);
  EXPECT_EQ(line.front(), '\'');
  EXPECT_EQ(line.find_first_not_of('-', 1), std::string::npos);
}

}  // namespace
