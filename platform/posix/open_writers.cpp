// platform/posix/open_writers.cpp: the read lease taken and let go.
#include "platform/posix/open_writers.h"

#include <fcntl.h>
#include <signal.h>

#include <cerrno>

namespace platform::posix {

Writers OtherWriters(int fd) noexcept {
#if defined(F_SETLEASE)
  // A program that opens the file for writing while the lease is held breaks it, and the system then
  // sends SIGIO, whose default is to end the process: it must find nothing to end.
  static const bool quiet = [] {
    struct sigaction previous {};
    if (::sigaction(SIGIO, nullptr, &previous) == 0 && previous.sa_handler == SIG_DFL) {
      struct sigaction ignore {};
      ignore.sa_handler = SIG_IGN;
      ::sigaction(SIGIO, &ignore, nullptr);
    }
    return true;
  }();
  static_cast<void>(quiet);
  if (::fcntl(fd, F_SETLEASE, F_RDLCK) == 0) {
    ::fcntl(fd, F_SETLEASE, F_UNLCK);
    return Writers::kNone;
  }
  return errno == EAGAIN ? Writers::kSome : Writers::kUnknown;
#else
  static_cast<void>(fd);
  return Writers::kUnknown;
#endif
}

}  // namespace platform::posix
