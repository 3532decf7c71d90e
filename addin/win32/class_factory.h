// addin/win32/class_factory.h: the class factories of Connect and CEcrireCode.
#pragma once

#include <windows.h>

#include <objbase.h>

namespace addin::com {

// A new factory for `clsid`, asked for `riid`; CLASS_E_CLASSNOTAVAILABLE for a class of another server.
HRESULT GetClassFactory(REFCLSID clsid, REFIID riid, void** factory) noexcept;

}  // namespace addin::com
