// platform/win32/system_error_text.cpp: FormatMessageW, trimmed.
#include "platform/win32/system_error_text.h"

#include <array>
#include <string_view>

#include "platform/win32/wide.h"

namespace platform::win32 {

std::string SystemErrorText(DWORD error) {
  std::array<wchar_t, 512> buffer{};
  const DWORD length = ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                        error, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), buffer.data(),
                                        static_cast<DWORD>(buffer.size()), nullptr);
  std::wstring_view text{buffer.data(), length};
  while (!text.empty() &&
         (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' ' || text.back() == L'.')) {
    text.remove_suffix(1);
  }
  if (text.empty()) return "error " + std::to_string(error);
  return Narrow(text);
}

}  // namespace platform::win32
