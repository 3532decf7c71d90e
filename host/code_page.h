// host/code_page.h: the Windows code pages VB6 saves source files in, and the conversion of a whole
// text between one of them and UTF-8, which each platform provides.
#pragma once

#include <cstddef>
#include <memory>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>

namespace host {

// The Windows ANSI code pages, single- and double-byte, in which VB6 saves source files.
std::span<const int> WindowsAnsiCodePages() noexcept;
bool IsWindowsAnsiCodePage(int codePage) noexcept;

// Whether `text` is well-formed UTF-8.
bool IsValidUtf8(std::string_view text) noexcept;
// The length of the well-formed UTF-8 sequence at `text[at]`, or 0 when none starts there.
std::size_t Utf8SequenceLength(std::string_view text, std::size_t at) noexcept;

// Whether every byte of `text` is ASCII: such bytes read and write alike in every Windows ANSI code
// page and in UTF-8, so that they need no conversion either way.
bool IsAscii(std::string_view text) noexcept;

// Text that cannot cross between the code page and UTF-8; the message says where and why.
class CodePageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The failures every platform's conversion reports, in the same words. A line is counted as an editor
// counts it (CR LF, CR or LF ends one).
// The byte at `bytes[at]` is no character of the code page.
CodePageError UnreadableByte(std::string_view bytes, std::size_t at, int codePage);
// The character at `text[at]` has no bytes in the code page; or no well-formed UTF-8 starts there.
CodePageError UnwritableCharacter(std::string_view text, std::size_t at, int codePage);
// `error`, which a text of one line gave, told of line `line` of the larger text that line stands in:
// for a text encoded a line at a time.
CodePageError OnLine(const CodePageError& error, long line);
// The text read would be written back as other bytes than the file's.
CodePageError NotWrittenBackUnchanged(int codePage);
// `codePage` is not in WindowsAnsiCodePages(), or the platform has no conversion for it.
CodePageError NotAnsiCodePage(int codePage);
CodePageError UnavailableCodePage(int codePage);

// One code page. Every conversion is lossless or fails: what decodes encodes back to the same bytes.
class CodePage {
 public:
  virtual ~CodePage() = default;

  // Bytes in the code page to UTF-8. Throws CodePageError naming the line of a byte sequence the
  // code page does not define, or when the text would not convert back to the same bytes.
  virtual std::string Decode(std::string_view bytes) const = 0;
  // UTF-8 to bytes in the code page, giving `text` itself back when it is all ASCII (the same bytes
  // in every code page). Throws CodePageError naming the character and its line when the code page
  // cannot hold it, or when the text is not valid UTF-8.
  virtual std::string EncodeTaking(std::string&& text) const = 0;

 protected:
  CodePage() = default;
  CodePage(const CodePage&) = default;
  CodePage& operator=(const CodePage&) = default;
};

class CodePages {
 public:
  virtual ~CodePages() = default;

  // Throws CodePageError for a code page that is not a Windows ANSI code page, or that the platform
  // cannot convert.
  virtual std::unique_ptr<CodePage> Open(int codePage) const = 0;

 protected:
  CodePages() = default;
  CodePages(const CodePages&) = default;
  CodePages& operator=(const CodePages&) = default;
};

}  // namespace host
