// addin/win32/server_exports.cpp: the functions Scrivlet.dll exports, each one a boundary of its own.
#include <windows.h>

#include <objbase.h>

#include "addin/win32/class_factory.h"
#include "addin/win32/registration.h"
#include "addin/win32/server_lifetime.h"
#include "dialog/win32/win32_form_view.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    addin::com::SetServerModule(instance);
    ::DisableThreadLibraryCalls(instance);
  }
  return TRUE;
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID riid, LPVOID* factory) {
  return addin::com::GetClassFactory(clsid, riid, factory);
}

// When nothing of the DLL is alive, the dialog's window class goes too: the DLL may be unloaded next.
STDAPI DllCanUnloadNow() {
  if (!addin::com::CanUnload()) return S_FALSE;
  dialog::win32::ReleaseWindowClass();
  return S_OK;
}

STDAPI DllRegisterServer() {
  return addin::com::RegisterServer();
}

STDAPI DllUnregisterServer() {
  return addin::com::UnregisterServer();
}

// regsvr32 /n /i:user registers for the current user alone, regsvr32 /u /n /i:user unregisters that;
// /i:hosts does the same for the host entries alone.
STDAPI DllInstall(BOOL install, PCWSTR commandLine) {
  return addin::com::Install(install != FALSE, commandLine);
}
