// tests/win32/fake_dispatch.h: an automation object whose members a test defines, counting its references.
#pragma once

#include <windows.h>

#include <oaidl.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/win32/com_handles.h"
#include "platform/win32/com_object.h"

namespace test {

// The arguments of one call in the order a VB caller writes them (DISPPARAMS holds them reversed).
class Arguments {
 public:
  explicit Arguments(DISPPARAMS* parameters) noexcept : parameters_(parameters) {}

  UINT count() const noexcept { return parameters_ == nullptr ? 0 : parameters_->cArgs; }
  VARIANT& at(UINT index) const { return parameters_->rgvarg[count() - 1 - index]; }
  // The argument converted (by-reference ones dereferenced); throws HRESULT DISP_E_TYPEMISMATCH.
  long Long(UINT index) const;
  std::wstring Text(UINT index) const;
  // Writes through a VT_BYREF | VT_I4 argument; throws DISP_E_TYPEMISMATCH for any other.
  void SetLong(UINT index, long value) const;

 private:
  DISPPARAMS* parameters_;
};

// A raised failure, as an object's member reports it through EXCEPINFO.
struct Raised {
  HRESULT scode;
  std::wstring description;
};

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
class FakeDispatch final : public platform::win32::ComObject<IDispatch> {
 public:
  // A member gets the call's flags and arguments and fills the result; it may throw a Raised (given
  // back as DISP_E_EXCEPTION) or an HRESULT (given back as it is).
  using Member = std::function<void(WORD flags, const Arguments& arguments, VARIANT* result)>;

  // With one reference, the caller's.
  static platform::win32::ComPtr<IDispatch> Create(FakeDispatch** self);

  void Define(std::wstring name, Member member);
  // The references held now, the creator's first one among them.
  ULONG references() noexcept {
    AddRef();
    return Release();
  }
  // The names of the members called, in order.
  const std::vector<std::wstring>& calls() const noexcept { return calls_; }

  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* parameters,
                                   VARIANT* result, EXCEPINFO* exception, UINT* argumentError) override;

 private:
  FakeDispatch() = default;
  ~FakeDispatch() override = default;
  void* Find(REFIID riid) noexcept override {
    return IsEqualIID(riid, IID_IDispatch) ? static_cast<IDispatch*>(this) : nullptr;
  }

  std::vector<std::pair<std::wstring, Member>> members_;
  std::vector<std::wstring> calls_;
};
#pragma GCC diagnostic pop

// Result helpers for members.
void ReturnLong(VARIANT* result, long value);
void ReturnText(VARIANT* result, std::wstring_view text);
// Hands out one new reference to `object` (or Nothing).
void ReturnObject(VARIANT* result, IDispatch* object);

}  // namespace test
