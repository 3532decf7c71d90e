// dialog/win32/keyboard_hook.cpp: the thread's message hook that gives Tab and Alt keys to the dialog.
#include "dialog/win32/keyboard_hook.h"

#include <algorithm>
#include <vector>

#include "host/host_error.h"
#include "host/vb_errors.h"
#include "platform/win32/com_handles.h"

namespace dialog::win32 {
namespace {

// The add-in runs on the host's one user-interface thread, so a plain list is enough. A hook still in
// when the DLL is unloaded goes with it, rather than be left pointing into code that is gone.
platform::win32::UniqueHook g_hook;
std::vector<KeyboardTarget*> g_targets;

bool KeyDown(int key) noexcept {
  return ::GetKeyState(key) < 0;
}

KeyboardTarget* TargetOf(HWND window) noexcept {
  if (window == nullptr) return nullptr;
  HWND root = ::GetAncestor(window, GA_ROOT);
  if (root == nullptr || !::IsWindowVisible(root) || !::IsWindowEnabled(root)) return nullptr;
  for (KeyboardTarget* target : g_targets) {
    if (target->Window() == root) return target;
  }
  return nullptr;
}

bool Use(KeyboardTarget& target, const MSG& msg) noexcept {
  if (msg.message == WM_KEYDOWN && msg.wParam == VK_TAB && !KeyDown(VK_CONTROL) && !KeyDown(VK_MENU)) {
    return target.Tab(KeyDown(VK_SHIFT));
  }
  if (msg.message == WM_SYSCHAR) return target.Mnemonic(static_cast<wchar_t>(msg.wParam));
  return false;
}

LRESULT CALLBACK GetMessageHook(int code, WPARAM wParam, LPARAM lParam) {
  // Only a message taken off the queue counts: one that PeekMessage merely looks at comes again.
  if (code == HC_ACTION && wParam == PM_REMOVE) {
    auto* msg = reinterpret_cast<MSG*>(lParam);
    if (KeyboardTarget* target = TargetOf(msg->hwnd); target != nullptr && Use(*target, *msg)) {
      msg->message = WM_NULL;
      msg->wParam = 0;
      msg->lParam = 0;
    }
  }
  return ::CallNextHookEx(g_hook.get(), code, wParam, lParam);
}

}  // namespace

void AddKeyboardTarget(KeyboardTarget* target) {
  if (std::find(g_targets.begin(), g_targets.end(), target) != g_targets.end()) return;
  if (!g_hook) {
    g_hook.reset(::SetWindowsHookExW(WH_GETMESSAGE, GetMessageHook, nullptr, ::GetCurrentThreadId()));
    if (!g_hook) {
      throw host::HostError{host::kErrInvalidCall, "The dialog's keyboard hook could not be installed"};
    }
  }
  try {
    g_targets.push_back(target);
  } catch (...) {
    if (g_targets.empty()) g_hook.reset();
    throw;
  }
}

void RemoveKeyboardTarget(KeyboardTarget* target) noexcept {
  g_targets.erase(std::remove(g_targets.begin(), g_targets.end(), target), g_targets.end());
  if (g_targets.empty()) g_hook.reset();
}

bool KeyboardHookInstalled() noexcept {
  return g_hook != nullptr;
}

}  // namespace dialog::win32
