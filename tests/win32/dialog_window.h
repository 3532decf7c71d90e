// tests/win32/dialog_window.h: the dialog's window as a test program reads and drives it, with window
// messages only, and the message boxes that appear on the way.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

#include "dialog/controls.h"

namespace test {

// A message box as it appeared: its title, the text of its static controls, and its owner.
struct Box {
  std::wstring title;
  std::wstring text;
  HWND owner = nullptr;

  friend bool operator==(const Box&, const Box&) = default;
};

// While one lives, every message box of the thread is recorded in CaughtBoxes the moment it is
// activated, then its OK button is pressed. One at a time.
class BoxCatcher {
 public:
  BoxCatcher() noexcept;
  ~BoxCatcher();
  BoxCatcher(const BoxCatcher&) = delete;
  BoxCatcher& operator=(const BoxCatcher&) = delete;

  bool installed() const noexcept;
};

// The boxes caught so far, oldest first; a test clears it before the step it checks.
std::vector<Box>& CaughtBoxes() noexcept;
// The button the caught boxes are answered with: IDOK, or IDYES or IDNO for a question.
void AnswerBoxesWith(int button) noexcept;

// A plain message loop, without IsDialogMessage, as the host runs it: runs until the queue holds
// nothing more than what was posted before (several rounds, for the messages that handling posts).
void Pump();

// The dialog's window ("Penwright", of the view's class), or nullptr.
HWND Dialog();
HWND Item(dialog::ControlId id);
std::wstring TextOf(HWND window);
bool IsChecked(dialog::ControlId id);
// BM_CLICK on a button or check box, then the loop.
void Click(dialog::ControlId id);
// Each character posted as WM_CHAR to `target` and taken through the loop.
void Type(HWND target, std::wstring_view text);

}  // namespace test
