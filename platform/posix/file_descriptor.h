// platform/posix/file_descriptor.h: an owned file descriptor, and the file calls that go with it.
#pragma once

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

// Reads to the end of the file into `contents`, straight into its buffer when `expected` (the size
// the file had) is right; 0, or the errno of the failure.
int ReadAll(int fd, std::string& contents, std::size_t expected = 0);

}  // namespace platform::posix
