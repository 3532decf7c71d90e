// platform/win32/windows_date_formatter.cpp: the pattern's Windows picture, then one GetDateFormatEx call.
#include "platform/win32/windows_date_formatter.h"

#include <windows.h>

#include <cctype>
#include <vector>

#include "host/host_error.h"
#include "host/vb_errors.h"
#include "platform/win32/wide.h"

namespace platform::win32 {
namespace {

bool IsLeapYear(int year) {
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
  constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

host::HostError Unsupported() {
  return host::HostError{host::kErrInvalidCall, "Unsupported date pattern"};
}

}  // namespace

std::wstring WindowsDatePicture(std::string_view pattern) {
  std::wstring picture;
  std::string literal;  // characters that stand for themselves, quoted when the run ends
  const auto flushLiteral = [&] {
    if (literal.empty()) return;
    picture += L'\'';
    for (const wchar_t c : Wide(literal)) {
      picture += c;
      if (c == L'\'') picture += L'\'';
    }
    picture += L'\'';
    literal.clear();
  };
  for (std::size_t i = 0; i < pattern.size();) {
    const char letter = static_cast<char>(std::tolower(static_cast<unsigned char>(pattern[i])));
    if (letter != 'd' && letter != 'm' && letter != 'y') {
      literal += pattern[i];
      ++i;
      continue;
    }
    std::size_t run = 1;
    while (i + run < pattern.size() &&
           std::tolower(static_cast<unsigned char>(pattern[i + run])) == static_cast<unsigned char>(letter)) {
      ++run;
    }
    const bool supported = letter == 'y' ? (run == 2 || run == 4) : run <= 4;
    if (!supported) throw Unsupported();
    flushLiteral();
    picture.append(run, letter == 'm' ? L'M' : static_cast<wchar_t>(letter));
    i += run;
  }
  flushLiteral();
  return picture;
}

std::string WindowsDateFormatter::Format(const host::CivilDate& date, std::string_view pattern) const {
  const host::HostError invalid{host::kErrInvalidCall, "Invalid date"};
  // Checked here rather than left to the system: not every implementation rejects 29 February 2027.
  if (date.year < 1601 || date.year > 30827 || date.month < 1 || date.month > 12 || date.day < 1 ||
      date.day > DaysInMonth(date.year, date.month)) {
    throw invalid;
  }
  SYSTEMTIME time{};
  time.wYear = static_cast<WORD>(date.year);
  time.wMonth = static_cast<WORD>(date.month);
  time.wDay = static_cast<WORD>(date.day);
  const std::wstring picture = WindowsDatePicture(pattern);
  if (picture.empty()) return {};
  const int length =
      ::GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, 0, &time, picture.c_str(), nullptr, 0, nullptr);
  if (length <= 0) throw invalid;
  std::vector<wchar_t> text(static_cast<std::size_t>(length), L'\0');
  if (::GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, 0, &time, picture.c_str(), text.data(), length, nullptr) <=
      0) {
    throw invalid;
  }
  return Narrow({text.data(), static_cast<std::size_t>(length - 1)});
}

}  // namespace platform::win32
