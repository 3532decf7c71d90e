// addin/win32/connect_object.h: the COM class Connect, the object the host creates when it loads the add-in.
#pragma once

#include "addin/connect.h"
#include "addin/win32/dispatch_object.h"
#include "addin/win32/penwright.h"

namespace addin::com {

// The add-in connection as the host sees it: the published members of _Connect, and the host's
// IDTExtensibility2 notifications, all carried out by the portable connection it owns (with the
// host's objects reached by late binding and the dialog in a Win32 window).
class ConnectObject final : public DispatchObject<_Connect> {
 public:
  // Throws std::bad_alloc.
  static ConnectObject* Create() { return new ConnectObject(); }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;

  HRESULT STDMETHODCALLTYPE get_FormDisplayed(VARIANT_BOOL* FormDisplayed) override;
  HRESULT STDMETHODCALLTYPE put_FormDisplayed(VARIANT_BOOL FormDisplayed) override;
  HRESULT STDMETHODCALLTYPE get_VBInstance(IDispatch** VBInstance) override;
  HRESULT STDMETHODCALLTYPE putref_VBInstance(IDispatch* VBInstance) override;
  HRESULT STDMETHODCALLTYPE get_MenuHandler(IDispatch** MenuHandler) override;
  // Connects to the new source's click events before letting go of the old one; a source without
  // them is refused with error 459 and the old one stays.
  HRESULT STDMETHODCALLTYPE putref_MenuHandler(IDispatch* MenuHandler) override;
  HRESULT STDMETHODCALLTYPE Hide() override;
  HRESULT STDMETHODCALLTYPE Show() override;
  // Adds a plain button captioned `sCaption` at the end of the host's "Add-Ins" menu and answers it.
  // Never reports: a host without that menu, or any failing step, answers Nothing (a button already
  // added stays when setting its caption fails). `sCaption` is read, not changed.
  HRESULT STDMETHODCALLTYPE AddToAddInCommandBar(BSTR* sCaption, IDispatch** AddToAddInCommandBar) override;

 private:
  // IDTExtensibility2 on its own vtable; its IUnknown is the object's.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
  class Extensibility final : public IDTExtensibility2 {
   public:
    explicit Extensibility(ConnectObject& owner) noexcept : owner_(owner) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID,
                                            DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS* parameters,
                                     VARIANT* result, EXCEPINFO* exception, UINT* argumentError) override;

    HRESULT STDMETHODCALLTYPE OnConnection(IDispatch* Application, ext_ConnectMode ConnectMode,
                                           IDispatch* AddInInst, SAFEARRAY** custom) override;
    HRESULT STDMETHODCALLTYPE OnDisconnection(ext_DisconnectMode RemoveMode, SAFEARRAY** custom) override;
    HRESULT STDMETHODCALLTYPE OnAddInsUpdate(SAFEARRAY** custom) override;
    HRESULT STDMETHODCALLTYPE OnStartupComplete(SAFEARRAY** custom) override;
    HRESULT STDMETHODCALLTYPE OnBeginShutdown(SAFEARRAY** custom) override;

   private:
    ConnectObject& owner_;
  };
#pragma GCC diagnostic pop

  ConnectObject();

  Extensibility extensibility_{*this};
  addin::Connect connect_;
};

}  // namespace addin::com
