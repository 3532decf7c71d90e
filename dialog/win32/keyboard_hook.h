// dialog/win32/keyboard_hook.h: the dialog's keys in a host whose message loop knows nothing of dialogs.
#pragma once

#include <windows.h>

namespace dialog::win32 {

// A window that handles Tab and its mnemonics itself.
class KeyboardTarget {
 public:
  virtual ~KeyboardTarget() = default;

  // The top-level window; keys aimed at it or at any of its children are its own.
  virtual HWND Window() const noexcept = 0;
  // Tab or Shift+Tab; true when the key was used.
  virtual bool Tab(bool backwards) noexcept = 0;
  // Alt with a character; true when a control answered to it, false to let the key go on.
  virtual bool Mnemonic(wchar_t key) noexcept = 0;

 protected:
  KeyboardTarget() = default;
  KeyboardTarget(const KeyboardTarget&) = default;
  KeyboardTarget& operator=(const KeyboardTarget&) = default;
};

// The host's message loop does not call IsDialogMessage, so a message hook of the thread
// (WH_GETMESSAGE) sees each message as the loop takes it: Tab and Shift+Tab (without Ctrl or Alt) and
// WM_SYSCHAR aimed at a target that is on screen and enabled go to that target, and a key it uses
// becomes WM_NULL, so that no WM_CHAR '\t' follows and no beep sounds.
//
// The hook is installed with the first target and removed with the last. Throws HostError when the
// hook cannot be installed.
void AddKeyboardTarget(KeyboardTarget* target);
void RemoveKeyboardTarget(KeyboardTarget* target) noexcept;
// Whether the hook is installed now.
bool KeyboardHookInstalled() noexcept;

}  // namespace dialog::win32
