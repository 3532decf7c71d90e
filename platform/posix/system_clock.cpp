// platform/posix/system_clock.cpp: local time through localtime_r, the fixed epoch through gmtime_r.
#include "platform/posix/system_clock.h"

#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <limits>

#include "host/epoch_date.h"
#include "host/host_error.h"
#include "host/vb_errors.h"

namespace platform::posix {
namespace {

host::CivilDate FromTm(const std::tm& tm) {
  return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday};
}

}  // namespace

host::CivilDate SystemClock::Today() const {
  if (const char* epoch = std::getenv("SOURCE_DATE_EPOCH")) return host::DateOfEpochText(epoch);
  const std::time_t now = std::time(nullptr);
  std::tm tm{};
  if (now == static_cast<std::time_t>(-1) || localtime_r(&now, &tm) == nullptr) {
    throw host::HostError{host::kErrInvalidCall, "The current date cannot be read from the system clock."};
  }
  return FromTm(tm);
}

}  // namespace platform::posix
