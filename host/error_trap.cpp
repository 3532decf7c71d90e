// host/error_trap.cpp: maps the caught exception to the description a VB error would carry.
#include "host/error_trap.h"

#include <exception>
#include <new>

#include "host/host_error.h"
#include "host/vb_errors.h"

namespace host {

void ShowCaughtFailure(host::Ui& ui, std::string_view title) noexcept {
  try {
    throw;
  } catch (const host::HostError& error) {
    ui.MsgBox(error.description(), title);
  } catch (const std::bad_alloc&) {
    ui.MsgBox(host::VbErrorText(host::kErrOutOfMemory), title);
  } catch (const std::exception& error) {
    ui.MsgBox(error.what(), title);
  } catch (...) {
    ui.MsgBox("Unexpected error", title);
  }
}

}  // namespace host
