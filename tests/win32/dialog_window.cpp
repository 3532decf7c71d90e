// tests/win32/dialog_window.cpp: a WH_CBT hook for the boxes, and the dialog found by class and caption.
#include "tests/win32/dialog_window.h"

#include <cwchar>

#include "dialog/win32/win32_form_view.h"

namespace test {
namespace {

HHOOK g_hook = nullptr;
HWND g_lastBox = nullptr;
int g_answer = IDOK;

BOOL CALLBACK CollectStatic(HWND child, LPARAM lParam) {
  wchar_t type[16] = {};
  ::GetClassNameW(child, type, 16);
  if (_wcsicmp(type, L"Static") == 0) {
    wchar_t text[512] = {};
    ::GetWindowTextW(child, text, 512);
    if (text[0] != L'\0') *reinterpret_cast<std::wstring*>(lParam) += text;
  }
  return TRUE;
}

LRESULT CALLBACK CatchBox(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_ACTIVATE) {
    auto* box = reinterpret_cast<HWND>(wParam);
    wchar_t type[16] = {};
    ::GetClassNameW(box, type, 16);
    if (std::wcscmp(type, L"#32770") == 0 && box != g_lastBox) {
      g_lastBox = box;
      Box seen{{}, {}, ::GetWindow(box, GW_OWNER)};
      wchar_t title[256] = {};
      ::GetWindowTextW(box, title, 256);
      seen.title = title;
      ::EnumChildWindows(box, CollectStatic, reinterpret_cast<LPARAM>(&seen.text));
      CaughtBoxes().push_back(seen);
      ::PostMessageW(box, WM_COMMAND, static_cast<WPARAM>(g_answer), 0);
    }
  }
  return ::CallNextHookEx(g_hook, code, wParam, lParam);
}

constexpr UINT kPumpDone = WM_APP + 17;

}  // namespace

void AnswerBoxesWith(int button) noexcept {
  g_answer = button;
}

BoxCatcher::BoxCatcher() noexcept {
  g_hook = ::SetWindowsHookExW(WH_CBT, CatchBox, nullptr, ::GetCurrentThreadId());
}

BoxCatcher::~BoxCatcher() {
  if (g_hook != nullptr) ::UnhookWindowsHookEx(g_hook);
  g_hook = nullptr;
}

bool BoxCatcher::installed() const noexcept {
  return g_hook != nullptr;
}

std::vector<Box>& CaughtBoxes() noexcept {
  static std::vector<Box> boxes;
  return boxes;
}

void Pump() {
  for (int round = 0; round < 4; ++round) {
    ::PostThreadMessageW(::GetCurrentThreadId(), kPumpDone, 0, 0);
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
      if (msg.hwnd == nullptr && msg.message == kPumpDone) break;
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
  }
}

HWND Dialog() {
  return ::FindWindowW(dialog::win32::kWindowClass, L"Penwright");
}

HWND Item(dialog::ControlId id) {
  return ::GetDlgItem(Dialog(), dialog::win32::ControlWindowId(id));
}

std::wstring TextOf(HWND window) {
  wchar_t text[2048] = {};
  ::GetWindowTextW(window, text, 2048);
  return text;
}

bool IsChecked(dialog::ControlId id) {
  return ::SendMessageW(Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Click(dialog::ControlId id) {
  ::SendMessageW(Item(id), BM_CLICK, 0, 0);
  Pump();
}

void Type(HWND target, std::wstring_view text) {
  for (const wchar_t c : text) {
    ::PostMessageW(target, WM_CHAR, c, 1);
    Pump();
  }
}

}  // namespace test
