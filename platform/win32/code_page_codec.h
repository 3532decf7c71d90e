// platform/win32/code_page_codec.h: text in a Windows ANSI code page to UTF-8 and back, through the
// system's own conversion.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "host/code_page.h"

namespace platform::win32 {

// Converts whole texts with MultiByteToWideChar and WideCharToMultiByte, refusing what they would
// replace or approximate. Windows reads a byte that a code page leaves undefined as the C1 control of
// its value; such a byte is refused as it is on Linux, but for code page 1252's five (0x81, 0x8D,
// 0x8F, 0x90, 0x9D), which stand for U+0081, U+008D, U+008F, U+0090 and U+009D both ways.
class WindowsCodePage final : public host::CodePage {
 public:
  // Throws host::CodePageError for a code page that is not a Windows ANSI code page, or that the
  // system does not have.
  explicit WindowsCodePage(int codePage);

  std::string Decode(std::string_view bytes) const override;
  std::string EncodeTaking(std::string&& text) const override;

 private:
  // Whether the code page may hold the character: no C1 control but 1252's five.
  bool Holds(wchar_t unit) const noexcept;
  // The offset of the first byte sequence that does not decode, or decodes to what the code page
  // may not hold; bytes.size() when there is none.
  std::size_t FirstUnreadable(std::string_view bytes) const;
  std::string Encode(std::string_view text) const;

  unsigned codePage_;
};

class WindowsCodePages final : public host::CodePages {
 public:
  std::unique_ptr<host::CodePage> Open(int codePage) const override {
    return std::make_unique<WindowsCodePage>(codePage);
  }
};

}  // namespace platform::win32
