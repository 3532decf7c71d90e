// addin/win32/com_boundary.h: the one place where C++ exceptions become HRESULTs and error information.
#pragma once

#include <windows.h>

#include <oaidl.h>

#include <new>
#include <string_view>

#include "host/host_error.h"
#include "host/vb_errors.h"

namespace addin::com {

// Sets the thread's error information (description and source, as VB's Err reads them) and gives
// the HRESULT of a VB error: 0x800A0000 | number for the numbers VB raises, the number itself when
// it already is a failure HRESULT. Never throws.
HRESULT ReportHostError(const IID& iid, std::wstring_view source, long number,
                        std::string_view description) noexcept;

// Runs `body` and turns whatever it throws into the method's HRESULT; S_OK when it returns.
template <class Body>
HRESULT ComBoundary(const IID& iid, std::wstring_view source, Body&& body) noexcept {
  try {
    body();
    return S_OK;
  } catch (const host::HostError& e) {
    return ReportHostError(iid, source, e.number(), e.description());
  } catch (const std::bad_alloc&) {
    return ReportHostError(iid, source, host::kErrOutOfMemory, host::VbErrorText(host::kErrOutOfMemory));
  } catch (...) {
    return E_UNEXPECTED;
  }
}

}  // namespace addin::com
