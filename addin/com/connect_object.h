// addin/com/connect_object.h: the COM class Connect, the object the host creates when it loads the add-in.
#pragma once

#include "addin/com/dispatch_object.h"
#include "addin/com/penwright.h"

namespace addin::com {

// The published members of the connection: the FormDisplayed flag, the host's VBE and the menu
// entry's event source it holds (one reference each, dropped with the object), Show and Hide, and
// AddToAddInCommandBar. The host's notifications and the options dialog join it with the add-in's
// lifecycle; until then Show and Hide only record whether the dialog is meant to be on screen.
class ConnectObject final : public DispatchObject<_Connect> {
 public:
  // Throws std::bad_alloc.
  static ConnectObject* Create() { return new ConnectObject(); }

  HRESULT STDMETHODCALLTYPE get_FormDisplayed(VARIANT_BOOL* FormDisplayed) override;
  HRESULT STDMETHODCALLTYPE put_FormDisplayed(VARIANT_BOOL FormDisplayed) override;
  HRESULT STDMETHODCALLTYPE get_VBInstance(IDispatch** VBInstance) override;
  HRESULT STDMETHODCALLTYPE putref_VBInstance(IDispatch* VBInstance) override;
  HRESULT STDMETHODCALLTYPE get_MenuHandler(IDispatch** MenuHandler) override;
  HRESULT STDMETHODCALLTYPE putref_MenuHandler(IDispatch* MenuHandler) override;
  HRESULT STDMETHODCALLTYPE Hide() override;
  HRESULT STDMETHODCALLTYPE Show() override;
  // Adds a plain button captioned `sCaption` at the end of the host's "Add-Ins" menu and answers it.
  // Never reports: a host without that menu, or any failing step, answers Nothing (a button already
  // added stays when setting its caption fails). `sCaption` is read, not changed.
  HRESULT STDMETHODCALLTYPE AddToAddInCommandBar(BSTR* sCaption, IDispatch** AddToAddInCommandBar) override;

 private:
  ConnectObject() noexcept : DispatchObject(IID__Connect) {}

  bool formDisplayed_ = false;
  host::win32::ComPtr<IDispatch> vbInstance_;
  host::win32::ComPtr<IDispatch> menuHandler_;
};

}  // namespace addin::com
