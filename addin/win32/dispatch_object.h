// addin/win32/dispatch_object.h: reference counting, QueryInterface and IDispatch for a dual interface.
#pragma once

#include <windows.h>

#include <oaidl.h>

#include "addin/win32/server_lifetime.h"
#include "addin/win32/type_library.h"
#include "platform/win32/com_handles.h"
#include "platform/win32/com_object.h"

namespace addin::com {

// Implements IUnknown, IDispatch and ISupportErrorInfo for an object whose default interface is the
// dual `Interface`. IDispatch goes through the type library: GetIDsOfNames and Invoke are the type
// information's own, with Invoke calling the interface half (the vtable) of this object, so that
// late-bound and early-bound callers reach the same methods with the same argument checks.
// Objects live on the heap, start with one reference and count as live objects of the server.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
template <class Interface>
class DispatchObject : public platform::win32::ComObject<Interface, ISupportErrorInfo> {
 public:
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    if (count == nullptr) return E_POINTER;
    *count = 1;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID, ITypeInfo** info) override {
    if (info == nullptr) return E_POINTER;
    *info = nullptr;
    if (index != 0) return DISP_E_BADINDEX;
    if (InterfaceHalf() == nullptr) return TYPE_E_CANTLOADLIBRARY;
    dispatchHalf_.get()->AddRef();
    *info = dispatchHalf_.get();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID,
                                          DISPID* ids) override {
    if (!IsEqualIID(riid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
    ITypeInfo* own = InterfaceHalf();
    if (own == nullptr) return TYPE_E_CANTLOADLIBRARY;
    return own->GetIDsOfNames(names, count, ids);
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS* parameters,
                                   VARIANT* result, EXCEPINFO* exception, UINT* argumentError) override {
    if (!IsEqualIID(riid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
    ITypeInfo* own = InterfaceHalf();
    if (own == nullptr) return TYPE_E_CANTLOADLIBRARY;
    return own->Invoke(static_cast<Interface*>(this), id, flags, parameters, result, exception,
                       argumentError);
  }

  HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID riid) override {
    return IsEqualIID(riid, iid_) ? S_OK : S_FALSE;
  }

 protected:
  explicit DispatchObject(const IID& iid) noexcept : iid_(iid) { ObjectCreated(); }
  ~DispatchObject() override { ObjectDestroyed(); }

  void* Find(REFIID riid) noexcept override {
    if (IsEqualIID(riid, IID_IDispatch) || IsEqualIID(riid, iid_)) return static_cast<Interface*>(this);
    if (IsEqualIID(riid, IID_ISupportErrorInfo)) return static_cast<ISupportErrorInfo*>(this);
    return nullptr;
  }

  const IID& iid() const noexcept { return iid_; }

 private:
  // The interface half of the dual interface (the dispatch half, which GetTypeInfo hands out, is
  // loaded with it), loaded on first use and kept while the object lives; nullptr when the type
  // library cannot be read.
  ITypeInfo* InterfaceHalf() noexcept {
    if (!interfaceHalf_) {
      try {
        platform::win32::ComPtr<ITypeInfo> dispatchHalf = LoadOwnTypeInfo(iid_);
        HREFTYPE interfaceRef = 0;
        platform::win32::ComPtr<ITypeInfo> interfaceHalf;
        if (SUCCEEDED(dispatchHalf->GetRefTypeOfImplType(static_cast<UINT>(-1), &interfaceRef)) &&
            SUCCEEDED(dispatchHalf->GetRefTypeInfo(interfaceRef, interfaceHalf.put()))) {
          dispatchHalf_ = std::move(dispatchHalf);
          interfaceHalf_ = std::move(interfaceHalf);
        }
      } catch (...) {
        // Left empty: the caller answers TYPE_E_CANTLOADLIBRARY.
      }
    }
    return interfaceHalf_.get();
  }

  const IID& iid_;
  platform::win32::ComPtr<ITypeInfo> dispatchHalf_;
  platform::win32::ComPtr<ITypeInfo> interfaceHalf_;
};
#pragma GCC diagnostic pop

}  // namespace addin::com
