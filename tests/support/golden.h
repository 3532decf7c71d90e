// tests/support/golden.h: whole expected outputs kept as files under tests/golden, compared byte for byte.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace test {

// The bytes of the file at `name`, relative to tests/golden; a missing file fails the test.
std::string Golden(std::string_view name);

// Whether `actual` is byte for byte the golden file `name`; the failure shows the first differing
// lines with CR and LF made visible. With SCRIVLET_UPDATE_GOLDEN=1 in the environment, the file is
// (re)written from `actual` instead, so that a deliberate change to the generated text is one command
// and one reviewable diff.
testing::AssertionResult MatchesGolden(std::string_view name, std::string_view actual);

}  // namespace test
