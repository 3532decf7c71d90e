// platform/posix/system_clock.cpp: local time through localtime_r, the fixed epoch through gmtime_r.
#include "platform/posix/system_clock.h"

#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <limits>

#include "host/host_error.h"
#include "host/vb_errors.h"

namespace platform::posix {
namespace {

host::CivilDate FromTm(const std::tm& tm) {
  return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday};
}

}  // namespace

host::CivilDate DateOfEpochText(const std::string& text) {
  const std::string invalid = "SOURCE_DATE_EPOCH is not a number of seconds: \"" + text + "\"";
  if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos) {
    throw host::HostError{host::kErrInvalidCall, invalid};
  }
  errno = 0;
  const unsigned long long seconds = std::strtoull(text.c_str(), nullptr, 10);
  // time_t is signed: a larger count would wrap round to a date before 1970.
  constexpr auto kLatest = static_cast<unsigned long long>(std::numeric_limits<std::time_t>::max());
  if (errno != 0 || seconds > kLatest) throw host::HostError{host::kErrInvalidCall, invalid};
  const auto instant = static_cast<std::time_t>(seconds);
  std::tm tm{};
  if (gmtime_r(&instant, &tm) == nullptr) throw host::HostError{host::kErrInvalidCall, invalid};
  return FromTm(tm);
}

host::CivilDate SystemClock::Today() const {
  if (const char* epoch = std::getenv("SOURCE_DATE_EPOCH")) return DateOfEpochText(epoch);
  const std::time_t now = std::time(nullptr);
  std::tm tm{};
  if (now == static_cast<std::time_t>(-1) || localtime_r(&now, &tm) == nullptr) {
    throw host::HostError{host::kErrInvalidCall, "The current date cannot be read from the system clock."};
  }
  return FromTm(tm);
}

}  // namespace platform::posix
