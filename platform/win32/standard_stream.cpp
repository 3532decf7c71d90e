// platform/win32/standard_stream.cpp: WriteConsoleW in a console, WriteFile elsewhere.
#include "platform/win32/standard_stream.h"

#include <string_view>

#include "host/wide_text.h"

namespace platform::win32 {
namespace {

// Past this much, what is pending is written without waiting for a flush.
constexpr std::size_t kPendingLimit = std::size_t{64} * 1024;

// How many bytes at the end of `text` start a UTF-8 sequence that is not yet complete (0 to 3).
std::size_t IncompleteTail(std::string_view text) {
  for (std::size_t back = 1; back <= 3 && back <= text.size(); ++back) {
    const auto byte = static_cast<unsigned char>(text[text.size() - back]);
    if ((byte & 0xC0U) == 0x80U) continue;  // a continuation byte: look further back
    std::size_t length = 1;
    if (byte >= 0xC2 && byte <= 0xDF) length = 2;
    if (byte >= 0xE0 && byte <= 0xEF) length = 3;
    if (byte >= 0xF0 && byte <= 0xF4) length = 4;
    return length > back ? back : 0;
  }
  return 0;
}

bool WriteBytes(HANDLE handle, std::string_view bytes) {
  while (!bytes.empty()) {
    DWORD written = 0;
    const DWORD chunk = bytes.size() > (1U << 30U) ? (1U << 30U) : static_cast<DWORD>(bytes.size());
    if (!::WriteFile(handle, bytes.data(), chunk, &written, nullptr) || written == 0) return false;
    bytes.remove_prefix(written);
  }
  return true;
}

// Consoles take a limited amount at a time; a surrogate pair is never cut in two.
bool WriteConsoleText(HANDLE handle, std::wstring_view text) {
  constexpr std::size_t kChunk = 8192;
  while (!text.empty()) {
    std::size_t count = text.size() > kChunk ? kChunk : text.size();
    if (count < text.size() && text[count - 1] >= 0xD800 && text[count - 1] <= 0xDBFF) --count;
    DWORD written = 0;
    if (!::WriteConsoleW(handle, text.data(), static_cast<DWORD>(count), &written, nullptr) || written == 0) {
      return false;
    }
    text.remove_prefix(written);
  }
  return true;
}

}  // namespace

StandardStreamBuffer::StandardStreamBuffer(HANDLE handle) : handle_(handle) {
  DWORD mode = 0;
  console_ = handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE && ::GetConsoleMode(handle_, &mode);
}

StandardStreamBuffer::~StandardStreamBuffer() {
  Drain(true);
}

StandardStreamBuffer::int_type StandardStreamBuffer::overflow(int_type c) {
  if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
  pending_ += traits_type::to_char_type(c);
  if (pending_.size() >= kPendingLimit && !Drain(false)) return traits_type::eof();
  return c;
}

std::streamsize StandardStreamBuffer::xsputn(const char* s, std::streamsize n) {
  pending_.append(s, static_cast<std::size_t>(n));
  if (pending_.size() >= kPendingLimit && !Drain(false)) return 0;
  return n;
}

int StandardStreamBuffer::sync() {
  return Drain(false) ? 0 : -1;
}

bool StandardStreamBuffer::Drain(bool everything) {
  if (pending_.empty()) return true;
  if (handle_ == nullptr || handle_ == INVALID_HANDLE_VALUE) {
    pending_.clear();
    return false;
  }
  if (!console_) {
    const bool written = WriteBytes(handle_, pending_);
    pending_.clear();
    return written;
  }
  const std::size_t keep = everything ? 0 : IncompleteTail(pending_);
  const std::string_view complete{pending_.data(), pending_.size() - keep};
  const bool written = WriteConsoleText(handle_, host::Utf16FromUtf8<wchar_t>(complete));
  pending_.erase(0, complete.size());
  return written;
}

}  // namespace platform::win32
