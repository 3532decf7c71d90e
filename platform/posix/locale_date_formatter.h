// platform/posix/locale_date_formatter.h: VB date patterns with the names of the user's LC_TIME locale.
#pragma once

#include <locale.h>

#include <memory>
#include <string>
#include <string_view>
#include <type_traits>

#include "host/date_formatter.h"

namespace platform::posix {

// Day and month names come from the C library (strftime_l) in the locale that LC_ALL, LC_TIME or
// LANG name; a locale that is not installed falls back to the C locale, whose names are English.
// Names in a locale whose character set is not UTF-8 are converted to UTF-8.
// The locale is loaded at the first date and kept for the next ones.
class LocaleDateFormatter final : public host::DateFormatter {
 public:
  std::string Format(const host::CivilDate& date, std::string_view pattern) const override;

 private:
  struct LocaleFree {
    void operator()(locale_t locale) const noexcept { freelocale(locale); }
  };
  mutable std::unique_ptr<std::remove_pointer_t<locale_t>, LocaleFree> locale_;
};

}  // namespace platform::posix
