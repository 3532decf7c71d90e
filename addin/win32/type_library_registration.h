// addin/win32/type_library_registration.h: the Penwright type library's registry entries, machine-wide
// and per user.
#pragma once

#include <windows.h>

#include <oaidl.h>

#include <string>

#include "addin/win32/registry_edit.h"

namespace addin::com {

// The library's platform under its version key: "win32" or "win64", the bitness of this DLL.
std::wstring_view TypeLibraryPlatform() noexcept;

// Machine-wide through RegisterTypeLib, recorded in `edit` so that a later failure unregisters it
// again (unless this platform's registration was there before).
void RegisterMachineTypeLibrary(RegistryEdit& edit, ITypeLib* library, std::wstring& serverPath);

// Per user, under HKEY_CURRENT_USER\Software\Classes: the keys RegisterTypeLibForUser writes (the
// version key with its description, this platform's path, FLAGS and HELPDIR, and each automation
// interface's Interface key pointing at the library), written here through `edit`. Wine's
// RegisterTypeLibForUser registers machine-wide, which a user without administrator rights cannot,
// and which per-user registration must never do.
void RegisterUserTypeLibrary(RegistryEdit& edit, ITypeLib* library, const std::wstring& serverPath);
// Removes this platform's registration under `root` (HKEY_LOCAL_MACHINE's or HKEY_CURRENT_USER's
// classes): its path, the interfaces' keys in this bitness's view, and the version key once no platform
// is left under it. While the other bitness's library is registered, its interfaces' keys stay: the
// interfaces are the same, and RegisterTypeLib writes them in both views, whose UnRegisterTypeLib would
// take them from the other bitness too.
void UnregisterTypeLibrary(HKEY root);

}  // namespace addin::com
