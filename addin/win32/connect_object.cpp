// addin/win32/connect_object.cpp: the published members and the host's notifications, each handed to the
// portable connection with the host's objects wrapped for late binding.
#include "addin/win32/connect_object.h"

#include <array>
#include <memory>
#include <string>

#include "addin/win32/com_boundary.h"
#include "addin/win32/process_platform.h"
#include "dialog/win32/win32_form_view.h"
#include "host/error_trap.h"
#include "host/win32/dispatch_vbe.h"
#include "platform/win32/wide.h"

namespace addin::com {
namespace {

using platform::win32::ComPtr;

constexpr std::wstring_view kSource = L"Penwright.Connect";

// The notifications by name, for a host that calls them late-bound; ids as the host's library gives them.
struct Notification {
  const wchar_t* name;
  DISPID id;
  UINT arguments;
};
constexpr std::array<Notification, 5> kNotifications = {{
    {L"OnConnection", 1, 4},
    {L"OnDisconnection", 2, 2},
    {L"OnAddInsUpdate", 3, 1},
    {L"OnStartupComplete", 4, 1},
    {L"OnBeginShutdown", 5, 1},
}};

std::shared_ptr<host::Vbe> WrapVbe(IDispatch* vbe) {
  if (vbe == nullptr) return nullptr;
  return std::make_shared<host::win32::DispatchVbe>(ComPtr<IDispatch>{vbe});
}

// An object argument of a late-bound call; Nothing, Empty and Null are nullptr. False when the
// argument is no object.
bool ObjectOf(VARIANT& argument, ComPtr<IDispatch>& object) {
  if (V_VT(&argument) == VT_EMPTY || V_VT(&argument) == VT_NULL) return true;
  platform::win32::UniqueVariant converted;
  if (FAILED(::VariantChangeType(converted.put(), &argument, 0, VT_DISPATCH))) return false;
  object = ComPtr<IDispatch>{V_DISPATCH(converted.get())};
  return true;
}

}  // namespace

ConnectObject::ConnectObject()
    : DispatchObject(IID__Connect), connect_(ProcessPlatform(), dialog::win32::MakeWin32View) {}

HRESULT ConnectObject::QueryInterface(REFIID riid, void** object) {
  if (object != nullptr && IsEqualIID(riid, IID_IDTExtensibility2)) {
    *object = static_cast<IDTExtensibility2*>(&extensibility_);
    AddRef();
    return S_OK;
  }
  return DispatchObject::QueryInterface(riid, object);
}

HRESULT ConnectObject::get_FormDisplayed(VARIANT_BOOL* FormDisplayed) {
  if (FormDisplayed == nullptr) return E_POINTER;
  *FormDisplayed = connect_.FormDisplayed ? VARIANT_TRUE : VARIANT_FALSE;
  return S_OK;
}

HRESULT ConnectObject::put_FormDisplayed(VARIANT_BOOL FormDisplayed) {
  connect_.FormDisplayed = FormDisplayed != VARIANT_FALSE;
  return S_OK;
}

HRESULT ConnectObject::get_VBInstance(IDispatch** VBInstance) {
  if (VBInstance == nullptr) return E_POINTER;
  const auto* vbe = dynamic_cast<const host::win32::DispatchVbe*>(connect_.VBInstance.get());
  *VBInstance = ComPtr<IDispatch>{vbe == nullptr ? nullptr : vbe->dispatch()}.Detach();
  return S_OK;
}

HRESULT ConnectObject::putref_VBInstance(IDispatch* VBInstance) {
  return ComBoundary(iid(), kSource, [&] { connect_.VBInstance = WrapVbe(VBInstance); });
}

HRESULT ConnectObject::get_MenuHandler(IDispatch** MenuHandler) {
  if (MenuHandler == nullptr) return E_POINTER;
  const auto* source =
      dynamic_cast<const host::win32::DispatchCommandBarEvents*>(connect_.MenuHandler().get());
  *MenuHandler = ComPtr<IDispatch>{source == nullptr ? nullptr : source->dispatch()}.Detach();
  return S_OK;
}

HRESULT ConnectObject::putref_MenuHandler(IDispatch* MenuHandler) {
  return ComBoundary(iid(), kSource, [&] {
    std::shared_ptr<host::CommandBarEvents> source;
    if (MenuHandler != nullptr) {
      source = std::make_shared<host::win32::DispatchCommandBarEvents>(ComPtr<IDispatch>{MenuHandler});
    }
    connect_.MenuHandler(std::move(source));
  });
}

HRESULT ConnectObject::Hide() {
  connect_.Hide();
  return S_OK;
}

HRESULT ConnectObject::Show() {
  connect_.Show();
  return S_OK;
}

HRESULT ConnectObject::AddToAddInCommandBar(BSTR* sCaption, IDispatch** AddToAddInCommandBar) {
  if (AddToAddInCommandBar == nullptr) return E_POINTER;
  *AddToAddInCommandBar = nullptr;
  try {
    const std::string caption = platform::win32::Utf8FromBstr(sCaption == nullptr ? nullptr : *sCaption);
    const std::shared_ptr<host::CommandBarControl> control = connect_.AddToAddInCommandBar(caption);
    const auto* own = dynamic_cast<const host::win32::DispatchCommandBarControl*>(control.get());
    if (own != nullptr) *AddToAddInCommandBar = ComPtr<IDispatch>{own->dispatch()}.Detach();
  } catch (...) {
    // This member reports nothing: whatever failed, the answer is Nothing.
  }
  return S_OK;
}

// --- IDTExtensibility2 ----------------------------------------------------------------------------------

HRESULT ConnectObject::Extensibility::QueryInterface(REFIID riid, void** object) {
  return owner_.QueryInterface(riid, object);
}

ULONG ConnectObject::Extensibility::AddRef() {
  return owner_.AddRef();
}

ULONG ConnectObject::Extensibility::Release() {
  return owner_.Release();
}

HRESULT ConnectObject::Extensibility::GetTypeInfoCount(UINT* count) {
  if (count == nullptr) return E_POINTER;
  *count = 0;
  return S_OK;
}

HRESULT ConnectObject::Extensibility::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
  if (info != nullptr) *info = nullptr;
  return DISP_E_BADINDEX;
}

HRESULT ConnectObject::Extensibility::GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID,
                                                    DISPID* ids) {
  if (!IsEqualIID(riid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
  if (names == nullptr || ids == nullptr || count == 0) return E_POINTER;
  for (UINT i = 0; i < count; ++i) ids[i] = DISPID_UNKNOWN;
  for (const Notification& notification : kNotifications) {
    if (::lstrcmpiW(names[0], notification.name) == 0) ids[0] = notification.id;
  }
  // The arguments are passed by position; named arguments are not known.
  return ids[0] == DISPID_UNKNOWN || count > 1 ? DISP_E_UNKNOWNNAME : S_OK;
}

HRESULT ConnectObject::Extensibility::Invoke(DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS* parameters,
                                             VARIANT*, EXCEPINFO*, UINT* argumentError) {
  if (!IsEqualIID(riid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
  if ((flags & DISPATCH_METHOD) == 0) return DISP_E_MEMBERNOTFOUND;
  const Notification* called = nullptr;
  for (const Notification& notification : kNotifications) {
    if (notification.id == id) called = &notification;
  }
  if (called == nullptr) return DISP_E_MEMBERNOTFOUND;
  // Every notification takes arguments: none at all is the wrong count.
  if (parameters == nullptr || parameters->cArgs != called->arguments) return DISP_E_BADPARAMCOUNT;
  const UINT count = parameters->cArgs;
  if (parameters->cNamedArgs != 0) return DISP_E_NONAMEDARGS;
  // DISPPARAMS holds the arguments last to first; only the first two of a connection are read.
  const auto argument = [&](UINT index) -> VARIANT& { return parameters->rgvarg[count - 1 - index]; };
  switch (id) {
    case 1: {
      ComPtr<IDispatch> application;
      if (!ObjectOf(argument(0), application)) {
        if (argumentError != nullptr) *argumentError = count - 1;
        return DISP_E_TYPEMISMATCH;
      }
      platform::win32::UniqueVariant mode;
      if (FAILED(::VariantChangeType(mode.put(), &argument(1), 0, VT_I4))) {
        if (argumentError != nullptr) *argumentError = count - 2;
        return DISP_E_TYPEMISMATCH;
      }
      return OnConnection(application.get(), static_cast<ext_ConnectMode>(V_I4(mode.get())), nullptr,
                          nullptr);
    }
    case 2:
      return OnDisconnection(ext_dm_HostShutdown, nullptr);
    default:
      return S_OK;
  }
}

// The connection reports its own failures; only wrapping the root object can fail before it runs, and
// that is reported the same way, in a box without a title of its own.
HRESULT ConnectObject::Extensibility::OnConnection(IDispatch* Application, ext_ConnectMode ConnectMode,
                                                   IDispatch* /*AddInInst*/, SAFEARRAY** /*custom*/) {
  std::shared_ptr<host::Vbe> vbe;
  try {
    vbe = WrapVbe(Application);
  } catch (...) {
    host::ShowCaughtFailure(ProcessPlatform().ui, {}, kConnectionFailureAfterword);
    return S_OK;
  }
  owner_.connect_.OnConnection(std::move(vbe), static_cast<long>(ConnectMode));
  return S_OK;
}

HRESULT ConnectObject::Extensibility::OnDisconnection(ext_DisconnectMode /*RemoveMode*/,
                                                      SAFEARRAY** /*custom*/) {
  owner_.connect_.OnDisconnection();
  return S_OK;
}

HRESULT ConnectObject::Extensibility::OnAddInsUpdate(SAFEARRAY** /*custom*/) {
  return S_OK;
}

HRESULT ConnectObject::Extensibility::OnStartupComplete(SAFEARRAY** /*custom*/) {
  return S_OK;
}

HRESULT ConnectObject::Extensibility::OnBeginShutdown(SAFEARRAY** /*custom*/) {
  return S_OK;
}

}  // namespace addin::com
