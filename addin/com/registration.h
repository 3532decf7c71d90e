// addin/com/registration.h: what DllRegisterServer writes and DllUnregisterServer removes.
#pragma once

#include <windows.h>

#include <string_view>

namespace addin::com {

// The add-in entry through which the VB6 IDE finds and loads Scrivlet, under HKEY_CURRENT_USER.
inline constexpr std::wstring_view kAddinsKey = L"Software\\Microsoft\\Visual Basic\\6.0\\Addins";
inline constexpr std::wstring_view kAddinProgId = L"Penwright.Connect";
inline constexpr std::wstring_view kFriendlyName = L"Scrivlet";
// Six lines joined by CR LF, without a final line break.
inline constexpr std::wstring_view kDescription =
    L"Scrivlet\r\n"
    L"-----------------------\r\n"
    L"Petite application permettant de faire la mise en page n\u00e9cessaire des proc\u00e9dures, \r\n"
    L"fonctions et propri\u00e9t\u00e9.\r\n"
    L"\r\n"
    L"AddIn permitting to automate the layout of procedure, functions and property.";
inline constexpr DWORD kLoadBehavior = 5;  // load at the host's start, also from the command line
inline constexpr DWORD kCommandLineSafe = 1;

// Registers the type library, both classes (InprocServer32 with apartment threading, ProgID and
// CLSID pointing at each other) and the add-in entry. Registering again rewrites the same entries.
// On a failure whatever was written is removed again and the failure is returned.
HRESULT RegisterServer() noexcept;

// Removes all of it, and the keys above the add-in entry that it leaves empty; what is already
// absent is no failure.
HRESULT UnregisterServer() noexcept;

}  // namespace addin::com
