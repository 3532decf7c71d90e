// tests/win32/fake_dispatch.cpp: the members by name, case-insensitively, with ids from 1 in definition
// order.
#include "tests/win32/fake_dispatch.h"

#include <oleauto.h>

namespace test {

using platform::win32::ComPtr;
using platform::win32::UniqueVariant;

long Arguments::Long(UINT index) const {
  if (index >= count()) throw DISP_E_PARAMNOTOPTIONAL;
  UniqueVariant converted;
  if (FAILED(::VariantChangeType(converted.put(), &at(index), 0, VT_I4))) throw DISP_E_TYPEMISMATCH;
  return V_I4(converted.get());
}

std::wstring Arguments::Text(UINT index) const {
  if (index >= count()) throw DISP_E_PARAMNOTOPTIONAL;
  UniqueVariant converted;
  if (FAILED(::VariantChangeType(converted.put(), &at(index), 0, VT_BSTR))) throw DISP_E_TYPEMISMATCH;
  return std::wstring{platform::win32::BstrView(V_BSTR(converted.get()))};
}

void Arguments::SetLong(UINT index, long value) const {
  if (index >= count()) throw DISP_E_PARAMNOTOPTIONAL;
  VARIANT& v = at(index);
  if (V_VT(&v) != (VT_I4 | VT_BYREF)) throw DISP_E_TYPEMISMATCH;
  *V_I4REF(&v) = value;
}

ComPtr<IDispatch> FakeDispatch::Create(FakeDispatch** self) {
  auto* made = new FakeDispatch();
  if (self != nullptr) *self = made;
  return ComPtr<IDispatch>::Attach(made);
}

void FakeDispatch::Define(std::wstring name, Member member) {
  members_.emplace_back(std::move(name), std::move(member));
}

HRESULT FakeDispatch::GetTypeInfoCount(UINT* count) {
  if (count == nullptr) return E_POINTER;
  *count = 0;
  return S_OK;
}

HRESULT FakeDispatch::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
  if (info != nullptr) *info = nullptr;
  return DISP_E_BADINDEX;
}

HRESULT FakeDispatch::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
  if (count != 1) return DISP_E_UNKNOWNNAME;
  for (std::size_t i = 0; i < members_.size(); ++i) {
    if (::lstrcmpiW(members_[i].first.c_str(), names[0]) == 0) {
      ids[0] = static_cast<DISPID>(i + 1);
      return S_OK;
    }
  }
  ids[0] = DISPID_UNKNOWN;
  return DISP_E_UNKNOWNNAME;
}

HRESULT FakeDispatch::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* parameters, VARIANT* result,
                             EXCEPINFO* exception, UINT*) {
  if (id < 1 || static_cast<std::size_t>(id) > members_.size()) return DISP_E_MEMBERNOTFOUND;
  const auto& [name, member] = members_[static_cast<std::size_t>(id - 1)];
  calls_.push_back(name);
  UniqueVariant ignored;
  try {
    member(flags, Arguments{parameters}, result != nullptr ? result : ignored.get());
    return S_OK;
  } catch (const Raised& raised) {
    if (exception != nullptr) {
      *exception = EXCEPINFO{};
      exception->scode = raised.scode;
      exception->bstrDescription = ::SysAllocString(raised.description.c_str());
      exception->bstrSource = ::SysAllocString(L"FakeDispatch");
    }
    return DISP_E_EXCEPTION;
  } catch (HRESULT hr) {
    return hr;
  }
}

void ReturnLong(VARIANT* result, long value) {
  ::VariantClear(result);
  V_VT(result) = VT_I4;
  V_I4(result) = value;
}

void ReturnText(VARIANT* result, std::wstring_view text) {
  ::VariantClear(result);
  V_VT(result) = VT_BSTR;
  V_BSTR(result) = ::SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
}

void ReturnObject(VARIANT* result, IDispatch* object) {
  ::VariantClear(result);
  V_VT(result) = VT_DISPATCH;
  V_DISPATCH(result) = object;
  if (object != nullptr) object->AddRef();
}

}  // namespace test
