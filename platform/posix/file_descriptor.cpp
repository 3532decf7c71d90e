// platform/posix/file_descriptor.cpp: read, write and close with EINTR and partial transfers handled.
#include "platform/posix/file_descriptor.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>

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

int ReadAll(int fd, std::string& contents, std::size_t expected) {
  // Reads into the string itself, growing it as the file turns out longer than expected.
  std::size_t size = contents.size();
  contents.resize(size + std::max<std::size_t>(expected, 65536) + 1);
  for (;;) {
    if (size == contents.size()) contents.resize(size * 2);
    const ssize_t n = ::read(fd, contents.data() + size, contents.size() - size);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      contents.resize(size);
      return errno;
    }
    if (n == 0) {
      contents.resize(size);
      return 0;
    }
    size += static_cast<std::size_t>(n);
  }
}

}  // namespace platform::posix
