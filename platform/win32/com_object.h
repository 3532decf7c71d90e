// platform/win32/com_object.h: IUnknown for the COM objects the system implements itself.
#pragma once

#include <windows.h>

#include <unknwn.h>

#include <atomic>

namespace platform::win32 {

// COM interfaces have no virtual destructor; an object is destroyed by its own last Release, through
// this class's virtual destructor, never through an interface pointer.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
// Implements IUnknown once for an object that answers `Primary` and `Others`: QueryInterface gives
// the object's identity (its `Primary` half) for IID_IUnknown and asks Find for any other interface;
// the count starts at one, the creator's reference, and is atomic, since a client may release from
// any thread; the last Release deletes the object.
template <class Primary, class... Others>
class ComObject : public Primary, public Others... {
 public:
  ComObject(const ComObject&) = delete;
  ComObject& operator=(const ComObject&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
    if (object == nullptr) return E_POINTER;
    *object = IsEqualIID(riid, IID_IUnknown) ? static_cast<Primary*>(this) : Find(riid);
    if (*object == nullptr) return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
  }

 protected:
  ComObject() noexcept = default;
  virtual ~ComObject() = default;

  // The pointer to hand out for `riid` (any interface but IUnknown), cast to that interface, or
  // nullptr when the object does not answer it.
  virtual void* Find(REFIID riid) noexcept = 0;

 private:
  std::atomic<ULONG> references_{1};
};
#pragma GCC diagnostic pop

}  // namespace platform::win32
