// platform/posix/file_descriptor.h: an owned file descriptor, and the file calls that go with it.
#pragma once

#include <cstddef>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <utility>

namespace platform::posix {

// Closes the descriptor it owns when it goes out of scope.
class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) noexcept : fd_(fd) {}
  ~FileDescriptor();
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  FileDescriptor(FileDescriptor&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
  FileDescriptor& operator=(FileDescriptor&& other) noexcept {
    if (this != &other) {
      FileDescriptor old{std::exchange(fd_, std::exchange(other.fd_, -1))};
    }
    return *this;
  }
  int get() const noexcept { return fd_; }
  // Closes now, reporting the error that a deferred write may only show here.
  int Close() noexcept;

 private:
  int fd_;
};

// The folder part of `path`: "." for a bare name, "/" for a file at the root.
std::string FolderOf(const std::string& path);

// Writes all of `data`, retrying interrupted and partial writes; 0, or the errno of the failure.
int WriteAll(int fd, std::string_view data) noexcept;

// Writes all of `pieces`, one after another, in as few calls as the system allows; 0, or the errno of
// the failure.
int WriteAll(int fd, std::span<const std::string_view> pieces) noexcept;

// Writes all of `pieces`, one after another, from `offset` of the file on, whatever its offset for
// reads and writes; 0, or the errno of the failure.
int WriteAllAt(int fd, std::span<const std::string_view> pieces, long long offset) noexcept;

// Reads the file from its start, whatever its offset for reads, through `buffer`, and compares it
// with `bytes`: `same` tells whether it holds exactly them. 0, or the errno of a failed read.
int CompareFrom0(int fd, std::string_view bytes, std::span<char> buffer, bool& same) noexcept;

// A file's bytes in storage of their own that nothing zero-fills first: the read is the first touch.
class FileBytes {
 public:
  std::string_view view() const noexcept { return {data_.get(), size_}; }

 private:
  friend int ReadAll(int fd, FileBytes& contents, std::size_t expected);
  std::unique_ptr<char[]> data_;  // NOLINT(cppcoreguidelines-avoid-c-arrays): sized at run time
  std::size_t size_ = 0;
};

// Reads to the end of the file into `contents`, in one allocation when `expected` (the size the
// file had) is right; 0, or the errno of the failure.
int ReadAll(int fd, FileBytes& contents, std::size_t expected = 0);

}  // namespace platform::posix
