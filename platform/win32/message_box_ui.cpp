// platform/win32/message_box_ui.cpp: converts the texts and shows them, or hands them to the test sink.
#include "platform/win32/message_box_ui.h"

#include <windows.h>

#include <string>

#include "host/host_error.h"
#include "platform/win32/wide.h"

namespace platform::win32 {
namespace {

// One UI thread calls the add-in at a time (apartment threading), so a plain pair is enough.
MessageSink g_sink = nullptr;
void* g_sinkContext = nullptr;
HWND g_owner = nullptr;

HWND Owner() noexcept {
  if (g_owner != nullptr && ::IsWindow(g_owner)) return g_owner;
  return ::GetActiveWindow();
}

void Show(const wchar_t* text, const wchar_t* title) noexcept {
  if (g_sink != nullptr) {
    g_sink(g_sinkContext, text, title);
  } else {
    ::MessageBoxW(Owner(), text, title, MB_OK);
  }
}

}  // namespace

void SetMessageSink(MessageSink sink, void* context) noexcept {
  g_sink = sink;
  g_sinkContext = context;
}

void SetMessageOwner(HWND owner) noexcept {
  g_owner = owner;
}

HWND MessageOwner() noexcept {
  return g_owner;
}

void MessageBoxUi::MsgBox(std::string_view text, std::string_view title) noexcept {
  if (title.empty()) title = host::kProgramTitle;
  try {
    const std::wstring wideText = Wide(text);
    const std::wstring wideTitle = Wide(title);
    Show(wideText.c_str(), wideTitle.c_str());
  } catch (...) {
    // Memory is exhausted: the box still reports, with texts that need no allocation.
    Show(L"Out of memory", L"Scrivlet");
  }
}

bool MessageBoxUi::Confirm(std::string_view text, std::string_view title) noexcept {
  if (title.empty()) title = host::kProgramTitle;
  try {
    const std::wstring wideText = Wide(text);
    const std::wstring wideTitle = Wide(title);
    return ::MessageBoxW(Owner(), wideText.c_str(), wideTitle.c_str(), MB_YESNO | MB_ICONQUESTION) == IDYES;
  } catch (...) {
    return false;  // memory is exhausted: nothing is done
  }
}

}  // namespace platform::win32
