// addin/win32/type_library_registration.h: the Penwright type library's registry entries: machine-wide
// through RegisterTypeLib, and their removal in either scope. Per user, the registry table's rows are
// the keys RegisterTypeLibForUser would write: Wine's registers machine-wide, which a user without
// administrator rights cannot, and which per-user registration must never do.
#pragma once

#include <windows.h>

#include <oaidl.h>

#include <string>

#include "addin/win32/registry_edit.h"

namespace addin::com {

// Machine-wide through RegisterTypeLib, recorded in `edit` so that a later failure unregisters it
// again (unless this platform's registration was there before).
void RegisterMachineTypeLibrary(RegistryEdit& edit, ITypeLib* library, std::wstring& serverPath);

// Removes this platform's registration under `root` (HKEY_LOCAL_MACHINE's or HKEY_CURRENT_USER's
// classes): its path, the interfaces' keys in this bitness's view, and the version key once no platform
// is left under it. While the other bitness's library is registered, its interfaces' keys stay: the
// interfaces are the same, and RegisterTypeLib writes them in both views, whose UnRegisterTypeLib would
// take them from the other bitness too.
void UnregisterTypeLibrary(HKEY root);

}  // namespace addin::com
