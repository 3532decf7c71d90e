#include <gtest/gtest.h>

#include "host/code_lines.h"

TEST(Placeholder, SplitsLines) { EXPECT_EQ(host::SplitLines("a\r\nb").size(), 2U); }
