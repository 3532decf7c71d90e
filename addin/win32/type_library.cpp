// addin/win32/type_library.cpp: LoadTypeLibEx on this DLL's own path, REGKIND_NONE.
#include "addin/win32/type_library.h"

#include <oleauto.h>

#include <string>

#include "addin/win32/server_lifetime.h"
#include "host/host_error.h"
#include "host/vb_errors.h"

namespace addin::com {

using platform::win32::ComPtr;

ComPtr<ITypeLib> LoadOwnTypeLib() {
  const std::wstring path = ServerPath();
  ComPtr<ITypeLib> library;
  if (FAILED(::LoadTypeLibEx(path.c_str(), REGKIND_NONE, library.put()))) {
    throw host::HostError{host::kErrInvalidCall, "The type library of Scrivlet.dll cannot be loaded."};
  }
  return library;
}

ComPtr<ITypeInfo> LoadOwnTypeInfo(const IID& iid) {
  const ComPtr<ITypeLib> library = LoadOwnTypeLib();
  ComPtr<ITypeInfo> info;
  if (FAILED(library->GetTypeInfoOfGuid(iid, info.put()))) {
    throw host::HostError{host::kErrInvalidCall, "The type library of Scrivlet.dll lacks an interface."};
  }
  return info;
}

}  // namespace addin::com
