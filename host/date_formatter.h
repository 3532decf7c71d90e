// host/date_formatter.h: turns a date into text with a VB-style pattern in the user's language.
#pragma once

#include <string>
#include <string_view>

#include "host/clock.h"

namespace host {

// The one pattern the generator uses: weekday, two-digit day, month name, four-digit year.
inline constexpr std::string_view kCreationDatePattern = "dddd dd mmmm yyyy";

class DateFormatter {
 public:
  virtual ~DateFormatter() = default;

  // Formats `date` with `pattern` (VB's d, dd, ddd, dddd, m, mm, mmm, mmmm, yy, yyyy; any other
  // character stands for itself). Throws HostError when the date cannot be formatted.
  virtual std::string Format(const CivilDate& date, std::string_view pattern) const = 0;

 protected:
  DateFormatter() = default;
  DateFormatter(const DateFormatter&) = default;
  DateFormatter& operator=(const DateFormatter&) = default;
};

}  // namespace host
