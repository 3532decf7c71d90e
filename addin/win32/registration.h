// addin/win32/registration.h: what DllRegisterServer and DllInstall write, and what their undoing removes.
#pragma once

#include <windows.h>

namespace addin::com {

// What is written is the registry table's rows for this DLL's bitness (addin/registry_table.h).
// Machine-wide, as administrator: the type library through RegisterTypeLib, both classes under
// HKEY_LOCAL_MACHINE's classes (InprocServer32 with apartment threading, ProgID and CLSID pointing at
// each other) and the add-in entry in each host list of this bitness. Registering again rewrites the same
// entries. A failure takes back everything written and is returned.
HRESULT RegisterServer() noexcept;
// Removes all of it, and the keys above each add-in entry that it leaves empty; what is already absent
// is no failure, and every step runs even when one fails (the first failure is returned).
HRESULT UnregisterServer() noexcept;

// DllInstall: `commandLine` "user" (in any case) registers (`install`) or unregisters the same for the
// current user alone, without administrator rights: classes, ProgIDs, interfaces and type library under
// HKEY_CURRENT_USER\Software\Classes, and the host entries. "hosts" registers or unregisters the host
// entries alone, for the current user: what a machine-wide install runs once for each user, whose
// classes are the machine's. Unregistering them keeps them while the user's own classes are registered.
// Any other command line writes nothing and answers E_INVALIDARG.
HRESULT Install(bool install, const wchar_t* commandLine) noexcept;

}  // namespace addin::com
