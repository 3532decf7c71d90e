// platform/win32/system_clock.cpp: GetLocalTime, or the civil date of the fixed epoch by arithmetic.
#include "platform/win32/system_clock.h"

#include <windows.h>

#include <vector>

#include "host/epoch_date.h"
#include "platform/win32/wide.h"

namespace platform::win32 {

host::CivilDate SystemClock::Today() const {
  const DWORD length = ::GetEnvironmentVariableW(L"SOURCE_DATE_EPOCH", nullptr, 0);
  if (length > 0) {
    std::vector<wchar_t> value(length, L'\0');
    const DWORD copied = ::GetEnvironmentVariableW(L"SOURCE_DATE_EPOCH", value.data(), length);
    if (copied > 0 && copied < length) return host::DateOfEpochText(Narrow({value.data(), copied}));
  }
  SYSTEMTIME now{};
  ::GetLocalTime(&now);
  return {now.wYear, now.wMonth, now.wDay};
}

}  // namespace platform::win32
