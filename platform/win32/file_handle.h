// platform/win32/file_handle.h: an owner for the handle of an open file.
#pragma once

#include <windows.h>

#include <utility>

namespace platform::win32 {

// Closes the file handle it owns; INVALID_HANDLE_VALUE, as CreateFileW gives on failure, owns nothing.
class UniqueFile {
 public:
  UniqueFile() noexcept = default;
  explicit UniqueFile(HANDLE handle) noexcept : handle_(handle) {}
  ~UniqueFile() { Close(); }
  UniqueFile(const UniqueFile&) = delete;
  UniqueFile& operator=(const UniqueFile&) = delete;
  UniqueFile(UniqueFile&& other) noexcept : handle_(std::exchange(other.handle_, INVALID_HANDLE_VALUE)) {}
  UniqueFile& operator=(UniqueFile&& other) noexcept {
    if (this != &other) {
      Close();
      handle_ = std::exchange(other.handle_, INVALID_HANDLE_VALUE);
    }
    return *this;
  }

  HANDLE get() const noexcept { return handle_; }
  explicit operator bool() const noexcept { return handle_ != INVALID_HANDLE_VALUE; }
  // Closes now; ERROR_SUCCESS, or the error CloseHandle gave.
  DWORD Close() noexcept {
    if (handle_ == INVALID_HANDLE_VALUE) return ERROR_SUCCESS;
    const BOOL closed = ::CloseHandle(std::exchange(handle_, INVALID_HANDLE_VALUE));
    return closed ? ERROR_SUCCESS : ::GetLastError();
  }

 private:
  HANDLE handle_ = INVALID_HANDLE_VALUE;
};

}  // namespace platform::win32
