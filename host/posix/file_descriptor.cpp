// host/posix/file_descriptor.cpp: read, write and close with EINTR and partial transfers handled.
#include "host/posix/file_descriptor.h"

#include <unistd.h>

#include <array>
#include <cerrno>

namespace host::posix {

FileDescriptor::~FileDescriptor() {
  if (fd_ >= 0) ::close(fd_);
}

int FileDescriptor::Close() noexcept {
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

int ReadAll(int fd, std::string& contents) {
  std::array<char, 65536> buffer{};
  for (;;) {
    const ssize_t n = ::read(fd, buffer.data(), buffer.size());
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return errno;
    if (n == 0) return 0;
    contents.append(buffer.data(), static_cast<std::size_t>(n));
  }
}

}  // namespace host::posix
