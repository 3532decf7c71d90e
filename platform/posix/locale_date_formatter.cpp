// platform/posix/locale_date_formatter.cpp: splits the pattern into runs of d, m and y and fills each.
#include "platform/posix/locale_date_formatter.h"

#include <iconv.h>
#include <langinfo.h>
#include <locale.h>

#include <array>
#include <cctype>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <string_view>

#include "host/host_error.h"
#include "host/vb_errors.h"

namespace platform::posix {
namespace {

// The locale the C library takes for LC_TIME: the first of LC_ALL, LC_TIME and LANG that is set.
std::string_view TimeLocaleName() {
  for (const char* variable : {"LC_ALL", "LC_TIME", "LANG"}) {
    const char* value = std::getenv(variable);
    if (value != nullptr && *value != '\0') return value;
  }
  return "C";
}

locale_t UserTimeLocale() {
  // The C locale in any character set (C.UTF-8, C.utf8) names days and months as the built-in C
  // locale does, in ASCII. Loading it from the locale files would read the alias file, the LC_TIME
  // file and the converters' cache: more than the rest of a small run's date and text work.
  const std::string_view name = TimeLocaleName();
  const bool builtIn = name == "C" || name == "POSIX" || name.starts_with("C.");
  locale_t locale = newlocale(LC_TIME_MASK, builtIn ? "C" : "", static_cast<locale_t>(nullptr));
  if (locale == static_cast<locale_t>(nullptr))
    locale = newlocale(LC_TIME_MASK, "C", static_cast<locale_t>(nullptr));
  if (locale == static_cast<locale_t>(nullptr)) throw host::VbError(host::kErrOutOfMemory);
  return locale;
}

// Days since 1970-01-01 of a proleptic Gregorian date (H. Hinnant's days_from_civil).
long DaysFromCivil(int year, int month, int day) {
  const int y = year - (month <= 2 ? 1 : 0);
  const int era = (y >= 0 ? y : y - 399) / 400;
  const int yearOfEra = y - era * 400;
  const int dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const int dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return static_cast<long>(era) * 146097 + dayOfEra - 719468;
}

int DaysInMonth(int year, int month) {
  constexpr std::array<int, 12> kDays = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month == 2 && leap ? 29 : kDays[static_cast<std::size_t>(month - 1)];
}

std::tm ToTm(const host::CivilDate& date) {
  if (date.month < 1 || date.month > 12 || date.day < 1 || date.day > DaysInMonth(date.year, date.month)) {
    throw host::HostError{host::kErrInvalidCall, "Invalid date"};
  }
  std::tm tm{};
  tm.tm_year = date.year - 1900;
  tm.tm_mon = date.month - 1;
  tm.tm_mday = date.day;
  const long days = DaysFromCivil(date.year, date.month, date.day);
  tm.tm_wday = static_cast<int>(((days % 7) + 11) % 7);  // 1970-01-01 was a Thursday (4)
  return tm;
}

struct IconvClose {
  void operator()(iconv_t converter) const noexcept { iconv_close(converter); }
};
using UniqueIconv = std::unique_ptr<std::remove_pointer_t<iconv_t>, IconvClose>;

std::string ToUtf8(std::string text, locale_t locale) {
  // The names are in the character set of the LC_TIME data, whatever LC_CTYPE says.
#ifdef __GLIBC__
  const std::string_view codeset = nl_langinfo_l(_NL_TIME_CODESET, locale);
#else
  const std::string_view codeset = nl_langinfo_l(CODESET, locale);
#endif
  if (codeset == "UTF-8" || codeset == "ANSI_X3.4-1968") return text;
  iconv_t opened = iconv_open("UTF-8", std::string{codeset}.c_str());
  // iconv_open reports failure as (iconv_t)-1.
  if (opened == reinterpret_cast<iconv_t>(-1)) {  // NOLINT(performance-no-int-to-ptr)
    throw host::HostError{host::kErrInvalidCall, "Unknown character set"};
  }
  const UniqueIconv converter{opened};
  std::string out(text.size() * 4, '\0');
  char* in = text.data();
  std::size_t inLeft = text.size();
  char* outPtr = out.data();
  std::size_t outLeft = out.size();
  if (iconv(converter.get(), &in, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1)) {
    throw host::HostError{host::kErrInvalidCall, "Invalid date name"};
  }
  out.resize(out.size() - outLeft);
  return out;
}

std::string Name(const char* conversion, const std::tm& tm, locale_t locale) {
  std::array<char, 256> buffer{};
  const std::size_t size = strftime_l(buffer.data(), buffer.size(), conversion, &tm, locale);
  return ToUtf8(std::string(buffer.data(), size), locale);
}

std::string TwoDigits(int value) {
  const std::string digits = std::to_string(value);
  return digits.size() < 2 ? '0' + digits : digits;
}

}  // namespace

std::string LocaleDateFormatter::Format(const host::CivilDate& date, std::string_view pattern) const {
  const std::tm tm = ToTm(date);
  if (!locale_) locale_.reset(UserTimeLocale());
  const auto& locale = locale_;
  std::string text;
  for (std::size_t i = 0; i < pattern.size();) {
    const char letter = static_cast<char>(std::tolower(static_cast<unsigned char>(pattern[i])));
    std::size_t run = 1;
    if (letter == 'd' || letter == 'm' || letter == 'y') {
      while (i + run < pattern.size() && std::tolower(static_cast<unsigned char>(pattern[i + run])) ==
                                             static_cast<unsigned char>(letter)) {
        ++run;
      }
    }
    const auto unsupported = [&] {
      return host::HostError{host::kErrInvalidCall, "Unsupported date pattern"};
    };
    if (letter == 'd') {
      if (run == 1)
        text += std::to_string(date.day);
      else if (run == 2)
        text += TwoDigits(date.day);
      else if (run == 3)
        text += Name("%a", tm, locale.get());
      else if (run == 4)
        text += Name("%A", tm, locale.get());
      else
        throw unsupported();
    } else if (letter == 'm') {
      if (run == 1)
        text += std::to_string(date.month);
      else if (run == 2)
        text += TwoDigits(date.month);
      else if (run == 3)
        text += Name("%b", tm, locale.get());
      else if (run == 4)
        text += Name("%B", tm, locale.get());
      else
        throw unsupported();
    } else if (letter == 'y') {
      if (run == 2)
        text += TwoDigits(((date.year % 100) + 100) % 100);
      else if (run == 4)
        text += std::to_string(date.year);
      else
        throw unsupported();
    } else {
      text += pattern[i];
    }
    i += run;
  }
  return text;
}

}  // namespace platform::posix
