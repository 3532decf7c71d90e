// platform/posix/code_page_codec.h: text in a Windows ANSI code page to UTF-8 and back, through iconv.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "host/code_page.h"

namespace platform::posix {

// Converts whole texts, with the mappings of the C library's iconv. In code page 1252 the five bytes that
// Windows leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) stand for U+0081, U+008D, U+008F, U+0090 and
// U+009D, as Windows reads them, so that every 1252 file converts both ways.
class CodePageCodec final : public host::CodePage {
 public:
  // Throws host::CodePageError for a code page that is not supported. One that iconv lacks is
  // reported by the first conversion of a text that is not all ASCII.
  explicit CodePageCodec(int codePage);
  ~CodePageCodec() override;
  CodePageCodec(const CodePageCodec&) = delete;
  CodePageCodec& operator=(const CodePageCodec&) = delete;

  int codePage() const noexcept { return codePage_; }

  // Bytes in the code page to UTF-8. Throws CodePageError naming the line of a byte sequence the
  // code page does not define, or when the text would not convert back to the same bytes.
  std::string Decode(std::string_view bytes) const override;
  // UTF-8 to bytes in the code page. Throws CodePageError naming the character and its line when
  // the code page cannot hold it, or when the text is not valid UTF-8.
  std::string Encode(std::string_view text) const;
  // The same, giving `text` itself back when it is all ASCII (the same bytes in every code page).
  std::string EncodeTaking(std::string&& text) const override;

 private:
  struct Converter;
  struct ByteTable;
  void OpenConverters() const;
  std::string DecodeThroughIconv(std::string_view bytes) const;
  std::string EncodeThroughIconv(std::string_view text) const;

  int codePage_;
  // Opened on the first text that is not all ASCII; not for use from two threads at once.
  // For a code page of single bytes: iconv's answer for each byte, asked once, so that whole files
  // convert by table. Empty for the double-byte code pages, which go through iconv each time.
  mutable std::unique_ptr<ByteTable> table_;
  mutable std::unique_ptr<Converter> toUtf8_;
  mutable std::unique_ptr<Converter> fromUtf8_;
};

// The code pages as the C library's iconv converts them.
class IconvCodePages final : public host::CodePages {
 public:
  std::unique_ptr<host::CodePage> Open(int codePage) const override {
    return std::make_unique<CodePageCodec>(codePage);
  }
};

}  // namespace platform::posix
