// addin/com/connect_object.cpp: the connection's fields, and its menu entry made by late binding.
#include "addin/com/connect_object.h"

#include <array>

#include "host/win32/dispatch_call.h"

namespace addin::com {
namespace {

using host::win32::CallByName;
using host::win32::ComPtr;
using host::win32::UniqueVariant;

constexpr WORD kGet = DISPATCH_PROPERTYGET | DISPATCH_METHOD;
constexpr long kPlainButton = 1;  // msoControlButton

// The object that `member` of `object` answers; an empty pointer for Nothing.
ComPtr<IDispatch> Member(IDispatch* object, const wchar_t* member, std::span<VARIANT> arguments = {}) {
  UniqueVariant result;
  CallByName(object, member, kGet, arguments, result);
  return host::win32::ResultAsObject(result);
}

}  // namespace

HRESULT ConnectObject::get_FormDisplayed(VARIANT_BOOL* FormDisplayed) {
  if (FormDisplayed == nullptr) return E_POINTER;
  *FormDisplayed = formDisplayed_ ? VARIANT_TRUE : VARIANT_FALSE;
  return S_OK;
}

HRESULT ConnectObject::put_FormDisplayed(VARIANT_BOOL FormDisplayed) {
  formDisplayed_ = FormDisplayed != VARIANT_FALSE;
  return S_OK;
}

HRESULT ConnectObject::get_VBInstance(IDispatch** VBInstance) {
  if (VBInstance == nullptr) return E_POINTER;
  *VBInstance = ComPtr<IDispatch>{vbInstance_}.Detach();
  return S_OK;
}

HRESULT ConnectObject::putref_VBInstance(IDispatch* VBInstance) {
  vbInstance_ = ComPtr<IDispatch>{VBInstance};
  return S_OK;
}

HRESULT ConnectObject::get_MenuHandler(IDispatch** MenuHandler) {
  if (MenuHandler == nullptr) return E_POINTER;
  *MenuHandler = ComPtr<IDispatch>{menuHandler_}.Detach();
  return S_OK;
}

HRESULT ConnectObject::putref_MenuHandler(IDispatch* MenuHandler) {
  menuHandler_ = ComPtr<IDispatch>{MenuHandler};
  return S_OK;
}

HRESULT ConnectObject::Hide() {
  formDisplayed_ = false;
  return S_OK;
}

HRESULT ConnectObject::Show() {
  formDisplayed_ = true;
  return S_OK;
}

HRESULT ConnectObject::AddToAddInCommandBar(BSTR* sCaption, IDispatch** AddToAddInCommandBar) {
  if (AddToAddInCommandBar == nullptr) return E_POINTER;
  *AddToAddInCommandBar = nullptr;
  try {
    const ComPtr<IDispatch> bars = Member(vbInstance_.get(), L"CommandBars");
    const host::win32::UniqueBstr name = host::win32::MakeBstr(L"Add-Ins");
    std::array<VARIANT, 1> item = {host::win32::TextArgument(name.get())};
    const ComPtr<IDispatch> bar = Member(bars.get(), L"Item", item);
    if (!bar) return S_OK;
    const ComPtr<IDispatch> controls = Member(bar.get(), L"Controls");
    std::array<VARIANT, 1> type = {host::win32::LongArgument(kPlainButton)};
    UniqueVariant added;
    CallByName(controls.get(), L"Add", DISPATCH_METHOD, type, added);
    ComPtr<IDispatch> control = host::win32::ResultAsObject(added);
    std::array<VARIANT, 1> caption = {host::win32::TextArgument(sCaption == nullptr ? nullptr : *sCaption)};
    UniqueVariant ignored;
    CallByName(control.get(), L"Caption", DISPATCH_PROPERTYPUT, caption, ignored);
    *AddToAddInCommandBar = control.Detach();
  } catch (...) {
    // This member reports nothing: whatever failed, the answer is Nothing.
  }
  return S_OK;
}

}  // namespace addin::com
