// addin/win32/registry_keys.h: the small registry operations that registering and unregistering share.
#pragma once

#include <windows.h>

#include <string>

namespace addin::com {

// The registry view of the other bitness: a 32-bit process's look at the 64-bit keys, and back. On
// 32-bit Windows there is one view, and the flag is ignored.
inline constexpr REGSAM kOtherView = sizeof(void*) == 8 ? KEY_WOW64_32KEY : KEY_WOW64_64KEY;

// Whether `path` is there under `root`, in the view `view` (0: the process's own).
bool KeyExists(HKEY root, const std::wstring& path, REGSAM view = 0);

// Deletes `path` with everything under it, in the view `view`; a key that is not there is no failure.
// Throws RegistrationFailure when the registry refuses.
void DeleteTree(HKEY root, const std::wstring& path, REGSAM view = 0);

// Deletes `path` when it holds neither a subkey nor a value.
void DeleteIfEmpty(HKEY root, const std::wstring& path);

// Deletes each key from `path` up to, not including, `stop` (a key above it), while each is empty.
void PruneEmptyUpTo(HKEY root, std::wstring path, const std::wstring& stop);

}  // namespace addin::com
