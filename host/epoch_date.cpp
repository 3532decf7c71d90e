// host/epoch_date.cpp: decimal seconds to a proleptic Gregorian date, by arithmetic alone.
#include "host/epoch_date.h"

#include <cstdint>
#include <string>

#include "host/host_error.h"
#include "host/vb_errors.h"

namespace host {
namespace {

constexpr std::uint64_t kSecondsPerDay = 86400;
constexpr std::uint64_t kLastSecond = 253402300799;  // 9999-12-31 23:59:59 UTC

// The proleptic Gregorian date of a day count since 1970-01-01 (H. Hinnant's civil_from_days).
CivilDate CivilFromDays(std::int64_t days) {
  days += 719468;
  const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
  const std::int64_t dayOfEra = days - era * 146097;
  const std::int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const std::int64_t monthIndex = (5 * dayOfYear + 2) / 153;
  const std::int64_t day = dayOfYear - (153 * monthIndex + 2) / 5 + 1;
  const std::int64_t month = monthIndex < 10 ? monthIndex + 3 : monthIndex - 9;
  const std::int64_t year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);
  return {static_cast<int>(year), static_cast<int>(month), static_cast<int>(day)};
}

}  // namespace

CivilDate DateOfEpochText(std::string_view text) {
  const auto invalid = [&] {
    return HostError{kErrInvalidCall, "SOURCE_DATE_EPOCH is not a number of seconds up to the year 9999: \"" +
                                          std::string{text} + "\""};
  };
  if (text.empty() || text.find_first_not_of("0123456789") != std::string_view::npos) throw invalid();
  std::uint64_t seconds = 0;
  for (const char digit : text) {
    seconds = seconds * 10 + static_cast<std::uint64_t>(digit - '0');
    if (seconds > kLastSecond) throw invalid();  // checked at every digit, so it never wraps round
  }
  return CivilFromDays(static_cast<std::int64_t>(seconds / kSecondsPerDay));
}

}  // namespace host
