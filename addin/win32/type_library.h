// addin/win32/type_library.h: the type library embedded in this DLL, read from the DLL itself.
#pragma once

#include <windows.h>

#include <oaidl.h>

#include "platform/win32/com_handles.h"

namespace addin::com {

// Loads resource 1 TYPELIB of this DLL without touching the registry, so that the objects work
// before registration too. Throws HostError when it cannot be read.
platform::win32::ComPtr<ITypeLib> LoadOwnTypeLib();

// The description of `iid` in that library: the dual interface's dispatch half.
platform::win32::ComPtr<ITypeInfo> LoadOwnTypeInfo(const IID& iid);

}  // namespace addin::com
