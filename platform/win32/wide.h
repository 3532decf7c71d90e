// platform/win32/wide.h: the system's UTF-8 texts as Windows wide strings and BSTRs, and back.
#pragma once

#include <string>
#include <string_view>

#include "host/wide_text.h"
#include "platform/win32/com_handles.h"

namespace platform::win32 {

inline std::wstring Wide(std::string_view utf8) {
  return host::Utf16FromUtf8<wchar_t>(utf8);
}

inline std::string Narrow(std::wstring_view wide) {
  return host::Utf8FromUtf16(wide);
}

inline UniqueBstr BstrFromUtf8(std::string_view utf8) {
  return MakeBstr(Wide(utf8));
}

inline std::string Utf8FromBstr(BSTR b) {
  return Narrow(BstrView(b));
}

}  // namespace platform::win32
