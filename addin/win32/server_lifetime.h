// addin/win32/server_lifetime.h: this DLL's module handle and the counts that decide when it may unload.
#pragma once

#include <windows.h>

#include <string>

namespace addin::com {

// Set by DllMain when the DLL is loaded.
void SetServerModule(HMODULE module) noexcept;
// The full path of this DLL, as registered under InprocServer32; throws std::bad_alloc, or
// HostError when Windows cannot tell it.
std::wstring ServerPath();

// Every COM object of the DLL (class factories included) counts from construction to destruction;
// IClassFactory::LockServer adds and removes locks. The DLL may unload only when both are zero and no
// event sink of the DLL is held by the host.
void ObjectCreated() noexcept;
void ObjectDestroyed() noexcept;
void AddLock() noexcept;
// A LockServer(FALSE) without a matching LockServer(TRUE) is refused rather than counted below zero.
bool RemoveLock() noexcept;
bool CanUnload() noexcept;

}  // namespace addin::com
