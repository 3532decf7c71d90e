// platform/win32/standard_stream.h: standard output and standard error as C++ streams, shown right in a
// console and written byte for byte anywhere else.
#pragma once

#include <windows.h>

#include <streambuf>
#include <string>

namespace platform::win32 {

// A stream buffer over a standard handle. In a console, the UTF-8 written to it is shown through
// WriteConsoleW, whatever the console's code page (a byte that is not UTF-8 shows as U+FFFD, as in a
// UTF-8 terminal); redirected to a file or a pipe, the bytes go as they are, with no line-end
// translation, as on Linux. A write that fails fails the stream (badbit), so that a run can tell.
class StandardStreamBuffer final : public std::streambuf {
 public:
  explicit StandardStreamBuffer(HANDLE handle);
  ~StandardStreamBuffer() override;
  StandardStreamBuffer(const StandardStreamBuffer&) = delete;
  StandardStreamBuffer& operator=(const StandardStreamBuffer&) = delete;

  bool isConsole() const noexcept { return console_; }

 protected:
  int_type overflow(int_type c) override;
  std::streamsize xsputn(const char* s, std::streamsize n) override;
  int sync() override;

 private:
  // Writes what is pending; in a console, a UTF-8 sequence that may still be completed by the next
  // write waits for it, unless `everything`. False when the handle refuses the write.
  bool Drain(bool everything);

  HANDLE handle_;
  bool console_ = false;
  std::string pending_;
};

}  // namespace platform::win32
