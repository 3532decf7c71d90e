// platform/win32/message_box_ui.h: the modal Windows message box with a single OK button.
#pragma once

#include <windows.h>

#include "host/ui.h"

namespace platform::win32 {

// Where boxes go instead of the screen while a sink is set: the text and the title as they would
// be shown. Lets a test program driving the DLL read every box without a window appearing.
using MessageSink = void (*)(void* context, const wchar_t* text, const wchar_t* title);

// Sets the process's sink (nullptr shows real boxes again).
void SetMessageSink(MessageSink sink, void* context) noexcept;

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
