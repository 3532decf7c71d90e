// host/error_trap.h: how a trap shows the failure it caught.
#pragma once

#include <string_view>

#include "host/ui.h"

namespace host {

// Shows the description of the exception being handled in a box titled `title`. Call it only from a
// catch block. It allocates nothing, so it works when memory is exhausted.
void ShowCaughtFailure(host::Ui& ui, std::string_view title) noexcept;

}  // namespace host
