// host/win32/command_bar_events_sink.cpp: Click's arguments taken from DISPPARAMS and handed to the handler.
#include "host/win32/command_bar_events_sink.h"

#include <atomic>
#include <memory>
#include <new>

#include "host/win32/dispatch_vbe.h"
#include "platform/win32/com_handles.h"

namespace host::win32 {
namespace {

std::atomic<std::size_t> g_liveSinks{0};

// A Boolean argument passed by reference, as VB passes `handled` and `CancelDefault`: a VT_BOOL or a
// Variant holding one. nullptr when the caller passed it by value (nothing can be written back).
VARIANT_BOOL* BooleanReference(VARIANT& argument) noexcept {
  if (V_VT(&argument) == (VT_BOOL | VT_BYREF)) return V_BOOLREF(&argument);
  if (V_VT(&argument) == (VT_VARIANT | VT_BYREF) && V_VARIANTREF(&argument) != nullptr &&
      V_VT(V_VARIANTREF(&argument)) == VT_BOOL) {
    return &V_BOOL(V_VARIANTREF(&argument));
  }
  return nullptr;
}

bool BooleanValue(VARIANT& argument) noexcept {
  if (const VARIANT_BOOL* reference = BooleanReference(argument)) return *reference != VARIANT_FALSE;
  platform::win32::UniqueVariant converted;
  if (FAILED(::VariantChangeType(converted.put(), &argument, 0, VT_BOOL))) return false;
  return V_BOOL(converted.get()) != VARIANT_FALSE;
}

}  // namespace

std::size_t LiveEventSinks() noexcept {
  return g_liveSinks.load();
}

CommandBarEventsSink* CommandBarEventsSink::Create(host::CommandBarClickHandler& handler) {
  return new CommandBarEventsSink(handler);
}

CommandBarEventsSink::CommandBarEventsSink(host::CommandBarClickHandler& handler) noexcept
    : handler_(&handler) {
  ++g_liveSinks;
}

CommandBarEventsSink::~CommandBarEventsSink() {
  --g_liveSinks;
}

// The IDE's connection point asks for its events dispinterface; IDispatch answers it.
void* CommandBarEventsSink::Find(REFIID riid) noexcept {
  if (IsEqualIID(riid, IID_IDispatch) || IsEqualIID(riid, kCommandBarControlEventsIid)) {
    return static_cast<IDispatch*>(this);
  }
  return nullptr;
}

HRESULT CommandBarEventsSink::GetTypeInfoCount(UINT* count) {
  if (count == nullptr) return E_POINTER;
  *count = 0;
  return S_OK;
}

HRESULT CommandBarEventsSink::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
  if (info != nullptr) *info = nullptr;
  return DISP_E_BADINDEX;
}

HRESULT CommandBarEventsSink::GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
  if (!IsEqualIID(riid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
  if (names == nullptr || ids == nullptr || count == 0) return E_POINTER;
  HRESULT hr = S_OK;
  for (UINT i = 0; i < count; ++i) ids[i] = DISPID_UNKNOWN;
  if (::lstrcmpiW(names[0], L"Click") == 0) {
    ids[0] = kClickDispatchId;
  } else {
    hr = DISP_E_UNKNOWNNAME;
  }
  // Click's arguments are passed by position; named arguments are not known.
  if (count > 1) hr = DISP_E_UNKNOWNNAME;
  return hr;
}

HRESULT CommandBarEventsSink::Invoke(DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS* parameters,
                                     VARIANT* /*result*/, EXCEPINFO* /*exception*/, UINT* argumentError) {
  if (!IsEqualIID(riid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
  if (id != kClickDispatchId) return DISP_E_MEMBERNOTFOUND;
  if ((flags & DISPATCH_METHOD) == 0) return DISP_E_MEMBERNOTFOUND;
  if (parameters == nullptr || parameters->cArgs != 3) return DISP_E_BADPARAMCOUNT;
  if (parameters->cNamedArgs != 0) return DISP_E_NONAMEDARGS;
  // DISPPARAMS holds the arguments last to first.
  VARIANT& controlArgument = parameters->rgvarg[2];
  VARIANT& handledArgument = parameters->rgvarg[1];
  VARIANT& cancelArgument = parameters->rgvarg[0];
  // The handler may stop listening from inside the click; the sink lives until the call ends.
  const platform::win32::ComPtr<CommandBarEventsSink> self{this};
  try {
    std::shared_ptr<host::CommandBarControl> control;
    platform::win32::UniqueVariant converted;
    if (SUCCEEDED(::VariantChangeType(converted.put(), &controlArgument, 0, VT_DISPATCH)) &&
        V_DISPATCH(converted.get()) != nullptr) {
      control = std::make_shared<DispatchCommandBarControl>(
          platform::win32::ComPtr<IDispatch>{V_DISPATCH(converted.get())});
    } else if (V_VT(&controlArgument) != VT_EMPTY && V_VT(&controlArgument) != VT_NULL &&
               V_VT(&controlArgument) != VT_DISPATCH && V_VT(&controlArgument) != VT_UNKNOWN) {
      if (argumentError != nullptr) *argumentError = 0;
      return DISP_E_TYPEMISMATCH;
    }
    bool handled = BooleanValue(handledArgument);
    bool cancelDefault = BooleanValue(cancelArgument);
    if (handler_ != nullptr) handler_->Click(control, handled, cancelDefault);
    if (VARIANT_BOOL* back = BooleanReference(handledArgument))
      *back = handled ? VARIANT_TRUE : VARIANT_FALSE;
    if (VARIANT_BOOL* back = BooleanReference(cancelArgument)) {
      *back = cancelDefault ? VARIANT_TRUE : VARIANT_FALSE;
    }
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
  return S_OK;
}

}  // namespace host::win32
