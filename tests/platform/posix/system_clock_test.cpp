// tests/platform/posix/system_clock_test.cpp: the clock gives the day SOURCE_DATE_EPOCH fixes, in UTC.
#include "platform/posix/system_clock.h"

#include <gtest/gtest.h>

#include "host/host_error.h"
#include "tests/support/scoped_env.h"

namespace {

using host::CivilDate;
using host::HostError;
using platform::posix::SystemClock;

TEST(SystemClockTest, SourceDateEpochFixesToday) {
  const test::ScopedEnv epoch{"SOURCE_DATE_EPOCH", "1796515200"};
  const test::ScopedEnv zone{"TZ", "EST5"};  // 5 hours behind UTC: the local date would be the day before
  EXPECT_EQ(SystemClock{}.Today(), (CivilDate{2026, 12, 6}));
}

TEST(SystemClockTest, InvalidSourceDateEpochIsAnError) {
  const test::ScopedEnv epoch{"SOURCE_DATE_EPOCH", "12a"};
  EXPECT_THROW(SystemClock{}.Today(), HostError);
}

}  // namespace
