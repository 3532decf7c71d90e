// addin/win32/class_factory.cpp: one factory object per request; each counts as a live object of the server.
#include "addin/win32/class_factory.h"

#include <new>

#include "addin/win32/c_ecrire_code_object.h"
#include "addin/win32/connect_object.h"
#include "addin/win32/server_lifetime.h"
#include "platform/win32/com_object.h"

namespace addin::com {
namespace {

// Makes a new object with one reference; throws std::bad_alloc.
using Creator = IDispatch* (*)();

IDispatch* CreateConnect() {
  return ConnectObject::Create();
}

IDispatch* CreateCEcrireCode() {
  return CEcrireCodeObject::Create();
}

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
class ClassFactory final : public platform::win32::ComObject<IClassFactory> {
 public:
  explicit ClassFactory(Creator create) noexcept : create_(create) { ObjectCreated(); }
  ~ClassFactory() override { ObjectDestroyed(); }

  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** object) override {
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    if (outer != nullptr) return CLASS_E_NOAGGREGATION;
    IDispatch* created = nullptr;
    try {
      created = create_();
    } catch (const std::bad_alloc&) {
      return E_OUTOFMEMORY;
    } catch (...) {
      return E_UNEXPECTED;
    }
    const HRESULT hr = created->QueryInterface(riid, object);
    created->Release();  // the caller's reference, if any, keeps it alive
    return hr;
  }

  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
    if (lock) {
      AddLock();
      return S_OK;
    }
    return RemoveLock() ? S_OK : E_UNEXPECTED;
  }

 private:
  void* Find(REFIID riid) noexcept override {
    return IsEqualIID(riid, IID_IClassFactory) ? static_cast<IClassFactory*>(this) : nullptr;
  }

  Creator create_;
};
#pragma GCC diagnostic pop

}  // namespace

HRESULT GetClassFactory(REFCLSID clsid, REFIID riid, void** factory) noexcept {
  if (factory == nullptr) return E_POINTER;
  *factory = nullptr;
  Creator create = nullptr;
  if (IsEqualCLSID(clsid, CLSID_Connect)) {
    create = CreateConnect;
  } else if (IsEqualCLSID(clsid, CLSID_CEcrireCode)) {
    create = CreateCEcrireCode;
  } else {
    return CLASS_E_CLASSNOTAVAILABLE;
  }
  auto* made = new (std::nothrow) ClassFactory(create);
  if (made == nullptr) return E_OUTOFMEMORY;
  const HRESULT hr = made->QueryInterface(riid, factory);
  made->Release();
  return hr;
}

}  // namespace addin::com
