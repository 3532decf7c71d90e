// host/error_trap.h: how a trap shows the failure it caught.
#pragma once

#include <string_view>

#include "host/ui.h"

namespace host {

// Shows the description of the exception being handled in a box titled `title`. Call it only from a
// catch block. It allocates nothing, so it works when memory is exhausted.
void ShowCaughtFailure(host::Ui& ui, std::string_view title) noexcept;

// The same, with `afterword` as a paragraph of its own after the description; it too allocates nothing
// (a description too long for the box's buffer is cut, the afterword never).
void ShowCaughtFailure(host::Ui& ui, std::string_view title, std::string_view afterword) noexcept;

}  // namespace host
