// platform/win32/code_page_codec.cpp: whole texts through UTF-16, and the offending byte or character
// looked for one at a time only once a conversion has failed.
#include "platform/win32/code_page_codec.h"

#include <windows.h>

#include <algorithm>
#include <climits>
#include <stdexcept>
#include <string>

#include "host/wide_text.h"

namespace platform::win32 {
namespace {

bool IsAscii(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

int Length(std::size_t size) {
  if (size > static_cast<std::size_t>(INT_MAX)) throw std::length_error("the text is too long to convert");
  return static_cast<int>(size);
}

// The UTF-16 of `bytes`, or nothing when a sequence is undefined in the code page.
bool ToWide(unsigned codePage, std::string_view bytes, std::wstring& wide) {
  wide.clear();
  if (bytes.empty()) return true;
  const int needed =
      ::MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), Length(bytes.size()), nullptr, 0);
  if (needed <= 0) return false;
  wide.resize(static_cast<std::size_t>(needed));
  return ::MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), Length(bytes.size()),
                               wide.data(), needed) == needed;
}

// The bytes of `wide`, or nothing when a character has none of its own in the code page (no default
// character, no best fit).
bool FromWide(unsigned codePage, std::wstring_view wide, std::string& bytes) {
  bytes.clear();
  if (wide.empty()) return true;
  BOOL usedDefault = FALSE;
  const int needed = ::WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, wide.data(), Length(wide.size()),
                                           nullptr, 0, nullptr, &usedDefault);
  if (needed <= 0 || usedDefault) return false;
  bytes.resize(static_cast<std::size_t>(needed));
  return ::WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, wide.data(), Length(wide.size()), bytes.data(),
                               needed, nullptr, &usedDefault) == needed &&
         !usedDefault;
}

}  // namespace

WindowsCodePage::WindowsCodePage(int codePage) : codePage_(static_cast<unsigned>(codePage)) {
  if (!host::IsWindowsAnsiCodePage(codePage)) throw host::NotAnsiCodePage(codePage);
  if (!::IsValidCodePage(codePage_)) throw host::UnavailableCodePage(codePage);
}

bool WindowsCodePage::Holds(wchar_t unit) const noexcept {
  if (unit < 0x80 || unit > 0x9F) return true;
  constexpr std::wstring_view kDefined1252 = L"\u0081\u008D\u008F\u0090\u009D";
  return codePage_ == 1252 && kDefined1252.find(unit) != std::wstring_view::npos;
}

std::size_t WindowsCodePage::FirstUnreadable(std::string_view bytes) const {
  CPINFO info{};
  ::GetCPInfo(codePage_, &info);
  std::wstring wide;
  for (std::size_t at = 0; at < bytes.size();) {
    std::size_t length = 1;
    if (info.MaxCharSize > 1 && ::IsDBCSLeadByteEx(codePage_, static_cast<BYTE>(bytes[at])) &&
        at + 1 < bytes.size()) {
      length = 2;
    }
    if (!ToWide(codePage_, bytes.substr(at, length), wide) ||
        !std::all_of(wide.begin(), wide.end(), [&](wchar_t unit) { return Holds(unit); })) {
      return at;
    }
    at += length;
  }
  return bytes.size();
}

std::string WindowsCodePage::Decode(std::string_view bytes) const {
  if (IsAscii(bytes)) return std::string{bytes};
  std::wstring wide;
  if (!ToWide(codePage_, bytes, wide) ||
      !std::all_of(wide.begin(), wide.end(), [&](wchar_t unit) { return Holds(unit); })) {
    const std::size_t at = FirstUnreadable(bytes);
    if (at < bytes.size()) throw host::UnreadableByte(bytes, at, static_cast<int>(codePage_));
    throw host::NotWrittenBackUnchanged(static_cast<int>(codePage_));
  }
  std::string text = host::Utf8FromUtf16(std::wstring_view{wide});
  // A code page with two byte sequences for one character would not write the file back as it was.
  if (Encode(text) != bytes) throw host::NotWrittenBackUnchanged(static_cast<int>(codePage_));
  return text;
}

std::string WindowsCodePage::EncodeTaking(std::string&& text) const {
  if (IsAscii(text)) return std::move(text);
  return Encode(text);
}

std::string WindowsCodePage::Encode(std::string_view text) const {
  // UTF-16 only from well-formed UTF-8: the conversion to UTF-16 would replace what is not.
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t length = host::Utf8SequenceLength(text, at);
    if (length == 0) throw host::UnwritableCharacter(text, at, static_cast<int>(codePage_));
    at += length;
  }
  const std::wstring wide = host::Utf16FromUtf8<wchar_t>(text);
  std::string bytes;
  if (FromWide(codePage_, wide, bytes) &&
      std::all_of(wide.begin(), wide.end(), [&](wchar_t unit) { return Holds(unit); })) {
    return bytes;
  }
  // The first character that the code page cannot hold, one character at a time.
  std::string one;
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t length = host::Utf8SequenceLength(text, at);
    const std::wstring character = host::Utf16FromUtf8<wchar_t>(text.substr(at, length));
    if (!FromWide(codePage_, character, one) ||
        !std::all_of(character.begin(), character.end(), [&](wchar_t unit) { return Holds(unit); })) {
      throw host::UnwritableCharacter(text, at, static_cast<int>(codePage_));
    }
    at += length;
  }
  throw host::CodePageError("the text cannot be written in code page " + std::to_string(codePage_));
}

}  // namespace platform::win32
