// tests/win32/raise_as_host.h: a failure of the built-in IDE raised as the real IDE raises its errors.
#pragma once

#include <windows.h>

#include "host/host_error.h"
#include "platform/win32/wide.h"
#include "tests/win32/fake_dispatch.h"

namespace test {

// Runs `body`; a HostError becomes DISP_E_EXCEPTION with scode 0x800A0000 | number and its text.
template <class Body>
void AsHost(Body&& body) {
  try {
    body();
  } catch (const host::HostError& e) {
    throw Raised{static_cast<HRESULT>(0x800A0000UL | static_cast<unsigned long>(e.number())),
                 platform::win32::Wide(e.description())};
  }
}

}  // namespace test
