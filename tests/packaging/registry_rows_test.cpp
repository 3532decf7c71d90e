// The registry table as the package and the Wine scripts read it, whole: a change to any key, value or
// row order shows as a diff of a golden file.
#include "packaging/registry_rows.h"

#include <gtest/gtest.h>

#include "tests/support/golden.h"

namespace {

TEST(RegistryRows, WixInclude) {
  EXPECT_TRUE(test::MatchesGolden("packaging/dll_registration.wxi", packaging::WixRegistryInclude()));
}

TEST(RegistryRows, TextTable) {
  EXPECT_TRUE(test::MatchesGolden("packaging/registry.txt", packaging::RegistryText()));
}

}  // namespace
