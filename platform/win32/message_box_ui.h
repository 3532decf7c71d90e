// platform/win32/message_box_ui.h: the modal Windows message box with a single OK button.
#pragma once

#include <windows.h>

#include "host/ui.h"

namespace platform::win32 {

// Sets the window that owns the process's boxes from now on, such as the add-in's dialog while it is on
// screen; nullptr (or a window that no longer exists) gives the boxes to the thread's active window.
void SetMessageOwner(HWND owner) noexcept;
// The owner set last (nullptr when none is).
HWND MessageOwner() noexcept;

// MessageBoxW, MB_OK, owned by the window set with SetMessageOwner, else by the active window of the
// thread, so that it is modal to the window the programmer is using.
class MessageBoxUi final : public host::Ui {
 public:
  void MsgBox(std::string_view text, std::string_view title) noexcept override;
  bool Confirm(std::string_view text, std::string_view title) noexcept override;
};

}  // namespace platform::win32
