// platform/win32/system_clock.h: today's local date, or the day that SOURCE_DATE_EPOCH fixes.
#pragma once

#include "host/clock.h"

namespace platform::win32 {

// As on POSIX systems: with SOURCE_DATE_EPOCH set (seconds since 1970) the date is that instant's
// UTC date, so that two runs give the same text; otherwise today in the user's local time.
class SystemClock final : public host::Clock {
 public:
  host::CivilDate Today() const override;
};

}  // namespace platform::win32
