// addin/win32/com_boundary.h: the one place where C++ exceptions become HRESULTs and error information.
#pragma once

#include <windows.h>

#include <oaidl.h>

#include <exception>
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

// Sets the thread's error information for a failure that is no VB error, with `description` (UTF-8)
// as its text, and gives `hr`; with no description, clears what an earlier call left, so that a host
// that asks never reads another call's reason. Never throws.
HRESULT ReportFailure(const IID& iid, std::wstring_view source, HRESULT hr,
                      std::string_view description) noexcept;

// Runs `body` and turns whatever it throws into the method's HRESULT; S_OK when it returns. Whatever
// the exception says becomes the error's description, which the host shows.
template <class Body>
HRESULT ComBoundary(const IID& iid, std::wstring_view source, Body&& body) noexcept {
  try {
    body();
    return S_OK;
  } catch (const host::HostError& e) {
    return ReportHostError(iid, source, e.number(), e.description());
  } catch (const std::bad_alloc&) {
    return ReportHostError(iid, source, host::kErrOutOfMemory, host::VbErrorText(host::kErrOutOfMemory));
  } catch (const std::exception& e) {
    return ReportFailure(iid, source, E_UNEXPECTED, e.what());
  } catch (...) {
    return ReportFailure(iid, source, E_UNEXPECTED, {});
  }
}

}  // namespace addin::com
