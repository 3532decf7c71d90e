// dialog/win32/view_text.cpp: label line breaks, mnemonics and the places of the controls in the window.
#include "dialog/win32/view_text.h"

#include <windows.h>

namespace dialog::win32 {
namespace {

wchar_t Upper(wchar_t c) noexcept {
  // CharUpperW takes a single character in the low word of its pointer argument.
  const auto upper =
      reinterpret_cast<ULONG_PTR>(::CharUpperW(reinterpret_cast<LPWSTR>(static_cast<ULONG_PTR>(c))));
  return static_cast<wchar_t>(upper & 0xFFFF);
}

}  // namespace

std::wstring LabelText(std::wstring_view caption) {
  std::wstring text;
  text.reserve(caption.size());
  for (std::size_t i = 0; i < caption.size(); ++i) {
    text += caption[i];
    if (caption[i] == L'\r' && (i + 1 == caption.size() || caption[i + 1] != L'\n')) text += L'\n';
  }
  return text;
}

bool HasMnemonic(std::wstring_view caption, wchar_t key) noexcept {
  for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != L'&') continue;
    if (caption[i + 1] == L'&') {
      ++i;  // a literal ampersand
      continue;
    }
    if (Upper(caption[i + 1]) == Upper(key)) return true;
  }
  return false;
}

Place WindowPlace(ControlId id) noexcept {
  Place place = Design(id).place;
  Container container = Design(id).container;
  if (container.kind == ContainerKind::kFrame1) {
    const ControlDesign& frame = Design(ControlId::Frame1);
    place.left += frame.place.left;
    place.top += frame.place.top;
    container = frame.container;
  }
  if (container.kind == ContainerKind::kTabPage) {
    const Place& tab = Design(ControlId::SSTab1).place;
    place.left += tab.left;
    place.top += tab.top;
  }
  return place;
}

int Pixels(long twips, int dotsPerInch) noexcept {
  return ::MulDiv(static_cast<int>(twips), dotsPerInch, 1440);
}

}  // namespace dialog::win32
