// platform/posix/system_clock.h: today's local date, or the day that SOURCE_DATE_EPOCH fixes.
#pragma once

#include "host/clock.h"

namespace platform::posix {

// With SOURCE_DATE_EPOCH set (seconds since 1970, the reproducible-output convention) the date is
// that instant's UTC date, so that two runs give the same text; otherwise today in local time.
class SystemClock final : public host::Clock {
 public:
  host::CivilDate Today() const override;
};

}  // namespace platform::posix
