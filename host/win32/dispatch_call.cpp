// host/win32/dispatch_call.cpp: GetIDsOfNames, then Invoke, with every failure turned into a HostError.
#include "host/win32/dispatch_call.h"

#include <string_view>
#include <vector>

#include "host/vb_errors.h"
#include "platform/win32/wide.h"

namespace host::win32 {
namespace {

constexpr HRESULT kFacilityControlBase = static_cast<HRESULT>(0x800A0000UL);

bool IsVbError(HRESULT hr) noexcept {
  return (static_cast<unsigned long>(hr) & 0xFFFF0000UL) == static_cast<unsigned long>(kFacilityControlBase);
}

struct KnownFailure {
  HRESULT hr;
  long number;
};

// The VB errors that the failures of a late-bound call become, the common HRESULTs among them.
constexpr KnownFailure kKnownFailures[] = {
    {DISP_E_UNKNOWNNAME, host::kErrNoSuchMember},
    {DISP_E_MEMBERNOTFOUND, host::kErrNoSuchMember},
    {DISP_E_TYPEMISMATCH, host::kErrTypeMismatch},
    {DISP_E_BADPARAMCOUNT, 450},     // "Wrong number of arguments or invalid property assignment"
    {DISP_E_PARAMNOTOPTIONAL, 449},  // "Argument not optional"
    {DISP_E_OVERFLOW, 6},            // "Overflow"
    {E_OUTOFMEMORY, host::kErrOutOfMemory},
    {E_INVALIDARG, host::kErrInvalidCall},
    {E_ACCESSDENIED, 70},  // "Permission denied"
    {E_NOTIMPL, 445},      // "Object doesn't support this action"
    {E_NOINTERFACE, 430},  // "Class doesn't support Automation"
};

host::HostError FromHresult(HRESULT hr) {
  for (const KnownFailure& known : kKnownFailures) {
    if (known.hr == hr) return host::VbError(known.number);
  }
  if (IsVbError(hr)) return host::VbError(static_cast<long>(hr & 0xFFFF));
  return host::HostError{static_cast<long>(hr), "Automation error"};
}

// VariantChangeType takes its source as non-const, but only reads it.
VARIANT* Source(const platform::win32::UniqueVariant& result) {
  return const_cast<VARIANT*>(result.get());
}

}  // namespace

host::HostError HostErrorFromCall(HRESULT hr, EXCEPINFO* info) {
  if (hr != DISP_E_EXCEPTION || info == nullptr) return FromHresult(hr);
  if (info->pfnDeferredFillIn != nullptr) info->pfnDeferredFillIn(info);
  long number = 0;
  HRESULT code = info->scode;
  if (info->wCode != 0) {
    number = info->wCode;
    code = kFacilityControlBase | info->wCode;
  } else if (IsVbError(code)) {
    number = static_cast<long>(code & 0xFFFF);
  } else if (FAILED(code)) {
    number = static_cast<long>(code);
  } else {
    code = E_FAIL;  // an exception without a code: the object failed all the same
    number = static_cast<long>(E_FAIL);
  }
  const std::wstring_view description = platform::win32::BstrView(info->bstrDescription);
  if (!description.empty()) return host::HostError{number, platform::win32::Narrow(description)};
  host::HostError fallback = FromHresult(code);
  return host::HostError{number, fallback.description()};
}

bool HasMember(IDispatch* object, const wchar_t* name) {
  if (object == nullptr) throw host::VbError(host::kErrObjectNotSet);
  DISPID id = DISPID_UNKNOWN;
  LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
  const HRESULT hr = object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
  if (hr == DISP_E_UNKNOWNNAME || hr == DISP_E_MEMBERNOTFOUND) return false;
  if (FAILED(hr)) throw FromHresult(hr);
  return true;
}

void CallByName(IDispatch* object, const wchar_t* name, WORD flags, std::span<VARIANT> arguments,
                platform::win32::UniqueVariant& result) {
  if (object == nullptr) throw host::VbError(host::kErrObjectNotSet);
  DISPID id = DISPID_UNKNOWN;
  // GetIDsOfNames takes a non-const name array.
  LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
  HRESULT hr = object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
  if (FAILED(hr)) throw FromHresult(hr == DISP_E_UNKNOWNNAME ? DISP_E_MEMBERNOTFOUND : hr);

  // Invoke wants the arguments last to first.
  std::vector<VARIANT> reversed(arguments.rbegin(), arguments.rend());
  DISPID putId = DISPID_PROPERTYPUT;
  DISPPARAMS parameters{};
  parameters.rgvarg = reversed.empty() ? nullptr : reversed.data();
  parameters.cArgs = static_cast<UINT>(reversed.size());
  if ((flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0) {
    parameters.rgdispidNamedArgs = &putId;
    parameters.cNamedArgs = 1;
  }
  platform::win32::ExcepInfo info;
  UINT argumentError = 0;
  hr = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &parameters, result.put(), info.get(),
                      &argumentError);
  if (FAILED(hr)) throw HostErrorFromCall(hr, info.get());
}

long ResultAsLong(const platform::win32::UniqueVariant& result) {
  platform::win32::UniqueVariant converted;
  if (FAILED(::VariantChangeType(converted.put(), Source(result), 0, VT_I4))) {
    throw host::VbError(host::kErrTypeMismatch);
  }
  return V_I4(converted.get());
}

std::wstring ResultAsText(const platform::win32::UniqueVariant& result) {
  platform::win32::UniqueVariant converted;
  if (FAILED(::VariantChangeType(converted.put(), Source(result), 0, VT_BSTR))) {
    throw host::VbError(host::kErrTypeMismatch);
  }
  return std::wstring{platform::win32::BstrView(V_BSTR(converted.get()))};
}

platform::win32::ComPtr<IDispatch> ResultAsObject(const platform::win32::UniqueVariant& result) {
  const VARIANT* v = result.get();
  switch (V_VT(v)) {
    case VT_EMPTY:
    case VT_NULL:
      return {};
    case VT_DISPATCH:
      return platform::win32::ComPtr<IDispatch>{V_DISPATCH(v)};
    case VT_UNKNOWN: {
      if (V_UNKNOWN(v) == nullptr) return {};
      platform::win32::ComPtr<IDispatch> dispatch =
          platform::win32::ComPtr<IUnknown>{V_UNKNOWN(v)}.As<IDispatch>(IID_IDispatch);
      if (!dispatch) throw host::VbError(host::kErrTypeMismatch);
      return dispatch;
    }
    default:
      throw host::VbError(host::kErrTypeMismatch);
  }
}

platform::win32::ComPtr<IDispatch> ResultAsRequiredObject(const platform::win32::UniqueVariant& result) {
  platform::win32::ComPtr<IDispatch> object = ResultAsObject(result);
  if (!object) throw host::VbError(host::kErrObjectNotSet);
  return object;
}

VARIANT LongArgument(long value) noexcept {
  VARIANT v;
  ::VariantInit(&v);
  V_VT(&v) = VT_I4;
  V_I4(&v) = value;
  return v;
}

VARIANT TextArgument(BSTR text) noexcept {
  VARIANT v;
  ::VariantInit(&v);
  V_VT(&v) = VT_BSTR;
  V_BSTR(&v) = text;
  return v;
}

VARIANT ObjectArgument(IDispatch* object) noexcept {
  VARIANT v;
  ::VariantInit(&v);
  V_VT(&v) = VT_DISPATCH;
  V_DISPATCH(&v) = object;
  return v;
}

VARIANT LongReference(long* target) noexcept {
  VARIANT v;
  ::VariantInit(&v);
  V_VT(&v) = VT_I4 | VT_BYREF;
  V_I4REF(&v) = target;
  return v;
}

}  // namespace host::win32
