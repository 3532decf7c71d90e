// platform/win32/system_error_text.h: the system's own words for a Windows error code.
#pragma once

#include <windows.h>

#include <string>

namespace platform::win32 {

// FormatMessageW's text for `error` in UTF-8, without its final period and line break ("Access is
// denied"), so that it reads inside a sentence as strerror's texts do; "error N" when the system has
// no text for it.
std::string SystemErrorText(DWORD error);

}  // namespace platform::win32
