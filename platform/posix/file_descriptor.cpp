// platform/posix/file_descriptor.cpp: read, write and close with EINTR and partial transfers handled.
#include "platform/posix/file_descriptor.h"

#include <sys/uio.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <utility>

namespace platform::posix {

FileDescriptor::~FileDescriptor() {
  if (fd_ >= 0) ::close(fd_);
}

int FileDescriptor::Close() noexcept {
  if (fd_ < 0) return 0;
  const int result = ::close(fd_);
  fd_ = -1;
  return result;
}

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

int WriteAll(int fd, std::string_view data) noexcept {
  std::size_t written = 0;
  while (written < data.size()) {
    const ssize_t n = ::write(fd, data.data() + written, data.size() - written);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return errno;
    written += static_cast<std::size_t>(n);
  }
  return 0;
}

int WriteAll(int fd, std::span<const std::string_view> pieces) noexcept {
  // Up to 256 pieces a call (IOV_MAX allows more), enough for a module with a hundred edits; a
  // partial write goes on from the byte where it stopped.
  std::array<iovec, 256> vector{};
  std::size_t next = 0;    // the first piece not yet handed to the system
  std::size_t offset = 0;  // of it, the bytes already written
  while (next < pieces.size()) {
    std::size_t count = 0;
    std::size_t asked = 0;
    for (std::size_t i = next; i < pieces.size() && count < vector.size(); ++i) {
      const std::string_view piece = i == next ? pieces[i].substr(offset) : pieces[i];
      // iovec's base is not const-qualified, but writev only reads through it.
      vector[count++] = {const_cast<char*>(piece.data()),  // NOLINT(cppcoreguidelines-pro-type-const-cast)
                         piece.size()};
      asked += piece.size();
    }
    const ssize_t n = ::writev(fd, vector.data(), static_cast<int>(count));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return errno;
    if (n == 0 && asked > 0) return EIO;
    auto left = static_cast<std::size_t>(n);
    while (next < pieces.size() && left >= pieces[next].size() - offset) {
      left -= pieces[next].size() - offset;
      offset = 0;
      ++next;
    }
    offset += left;
  }
  return 0;
}

int WriteAllAt(int fd, std::span<const std::string_view> pieces, long long offset) noexcept {
  std::array<iovec, 256> vector{};
  std::size_t next = 0;
  std::size_t within = 0;  // of the first piece not yet written, the bytes already written
  while (next < pieces.size()) {
    std::size_t count = 0;
    for (std::size_t i = next; i < pieces.size() && count < vector.size(); ++i) {
      const std::string_view piece = i == next ? pieces[i].substr(within) : pieces[i];
      vector[count++] = {const_cast<char*>(piece.data()),  // NOLINT(cppcoreguidelines-pro-type-const-cast)
                         piece.size()};
    }
    const ssize_t n = ::pwritev(fd, vector.data(), static_cast<int>(count), static_cast<off_t>(offset));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return errno;
    auto left = static_cast<std::size_t>(n);
    offset += n;
    bool progressed = n > 0;
    while (next < pieces.size() && left >= pieces[next].size() - within) {
      left -= pieces[next].size() - within;
      within = 0;
      ++next;
      progressed = true;
    }
    within += left;
    if (!progressed) return EIO;
  }
  return 0;
}

int CompareFrom0(int fd, std::string_view bytes, std::span<char> buffer, bool& same) noexcept {
  std::size_t offset = 0;
  for (;;) {
    const ssize_t n = ::pread(fd, buffer.data(), buffer.size(), static_cast<off_t>(offset));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return errno;
    if (n == 0) {
      same = offset == bytes.size();
      return 0;
    }
    const auto length = static_cast<std::size_t>(n);
    if (offset + length > bytes.size() ||
        bytes.substr(offset, length) != std::string_view{buffer.data(), length}) {
      same = false;
      return 0;
    }
    offset += length;
  }
}

int ReadAll(int fd, FileBytes& contents, std::size_t expected) {
  // One byte more than expected, so that a file that grew meanwhile is seen to, and read on.
  std::size_t capacity = std::max<std::size_t>(expected, 4096) + 1;
  contents.data_ =
      std::make_unique_for_overwrite<char[]>(capacity);  // NOLINT(cppcoreguidelines-avoid-c-arrays)
  contents.size_ = 0;
  for (;;) {
    if (contents.size_ == capacity) {
      capacity *= 2;
      auto larger =
          std::make_unique_for_overwrite<char[]>(capacity);  // NOLINT(cppcoreguidelines-avoid-c-arrays)
      std::memcpy(larger.get(), contents.data_.get(), contents.size_);
      contents.data_ = std::move(larger);
    }
    const ssize_t n = ::read(fd, contents.data_.get() + contents.size_, capacity - contents.size_);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return errno;
    if (n == 0) return 0;
    contents.size_ += static_cast<std::size_t>(n);
  }
}

}  // namespace platform::posix
