// addin/win32/registration.h: what DllRegisterServer and DllInstall write, and what their undoing removes.
#pragma once

#include <windows.h>

#include <span>
#include <string_view>

namespace addin::com {

// The add-in entry's values, the same in every host's list of add-ins.
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

// One host's list of add-ins under HKEY_CURRENT_USER, and how that host is told to load Scrivlet.
struct HostList {
  std::wstring_view addinsKey;
  DWORD loadBehavior;
  bool commandLineSafe;  // the VB6 IDE's CommandLineSafe 1: it may load the add-in for a command-line build
};

// The hosts that load a DLL of this bitness. A 32-bit DLL serves the VB6 IDE (which loads at start-up
// and from the command line, 5) and 32-bit Office's VBA editor (3: load at start-up); a 64-bit DLL
// serves 64-bit Office's VBA editor, whose list has a name of its own because HKEY_CURRENT_USER's
// software keys are one for both bitnesses.
std::span<const HostList> HostLists() noexcept;

// Machine-wide, as administrator: the type library, both classes under HKEY_LOCAL_MACHINE's classes
// (InprocServer32 with apartment threading, ProgID and CLSID pointing at each other) and the add-in
// entry in each host list above. Registering again rewrites the same entries. A failure takes back
// everything written and is returned.
HRESULT RegisterServer() noexcept;
// Removes all of it, and the keys above each add-in entry that it leaves empty; what is already absent
// is no failure, and every step runs even when one fails (the first failure is returned).
HRESULT UnregisterServer() noexcept;

// DllInstall: `commandLine` "user" (in any case) registers (`install`) or unregisters the same for the
// current user alone, without administrator rights: classes, ProgIDs, interfaces and type library under
// HKEY_CURRENT_USER\Software\Classes, and the host entries. Any other command line writes nothing and
// answers E_INVALIDARG.
HRESULT Install(bool install, const wchar_t* commandLine) noexcept;

}  // namespace addin::com
