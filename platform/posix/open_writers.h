// platform/posix/open_writers.h: whether another program holds a file open for writing.
#pragma once

namespace platform::posix {

enum class Writers { kNone, kSome, kUnknown };

// Asks the system, through the file open as `fd` (read-only), whether any other descriptor of the
// file is open for writing: Linux refuses a read lease while one is. The lease is let go at once, so
// no other program waits for it. kUnknown where the system cannot say: not Linux, a file system
// without leases, or a file of another user's (only its owner, or root, may take a lease).
Writers OtherWriters(int fd) noexcept;

}  // namespace platform::posix
