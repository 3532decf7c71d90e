// platform/win32/windows_date_formatter.h: VB date patterns through GetDateFormatEx in the user's locale.
#pragma once

#include <string>
#include <string_view>

#include "host/date_formatter.h"

namespace platform::win32 {

// The names follow the user's default locale (LOCALE_NAME_USER_DEFAULT), as VB's Format does.
class WindowsDateFormatter final : public host::DateFormatter {
 public:
  std::string Format(const host::CivilDate& date, std::string_view pattern) const override;
};

// The GetDateFormatEx picture for a VB pattern: runs of d (1 to 4) stay, runs of m (1 to 4) become
// M, yy and yyyy stay, letters in any case; every other character is quoted so that it stands for
// itself (a quote as two quotes). Any other run length is HostError 5 "Unsupported date pattern".
std::wstring WindowsDatePicture(std::string_view pattern);

}  // namespace platform::win32
