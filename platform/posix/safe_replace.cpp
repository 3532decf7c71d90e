// platform/posix/safe_replace.cpp: temporary file, metadata, flush, rename, folder flush.
#include "platform/posix/safe_replace.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <system_error>
#include <vector>

#include "platform/posix/file_descriptor.h"
#include "platform/posix/temporary_file_cleanup.h"

namespace platform::posix {
namespace {

int ErrnoOf(int result) noexcept {
  return result == 0 ? 0 : errno;
}

// A temporary file that is removed unless it was renamed into place: by its destructor on every
// path out of a failed replacement, and by the signal cleanup when the process is stopped.
class TemporaryFile {
 public:
  explicit TemporaryFile(std::string pattern) : path_(std::move(pattern)) {
    // No signal may come between the file's creation and its registration for removal.
    const SignalsHeld held;
    file_ = FileDescriptor{::mkstemp(path_.data())};
    created_ = file_.get() >= 0;
    if (created_) RemoveOnSignal(path_.c_str());
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
  ~TemporaryFile() {
    if (!created_ || renamed_) return;
    const SignalsHeld held;
    ::unlink(path_.c_str());
    RemoveOnSignal(nullptr);
  }

  bool created() const noexcept { return created_; }
  int fd() const noexcept { return file_.get(); }
  int Close() noexcept { return file_.Close(); }

  // Renames the file over `target`; 0, or the errno. Once renamed it is no longer temporary.
  int RenameOver(const std::string& target) noexcept {
    const SignalsHeld held;
    if (::rename(path_.c_str(), target.c_str()) != 0) return errno;
    renamed_ = true;
    RemoveOnSignal(nullptr);
    return 0;
  }

 private:
  std::string path_;
  FileDescriptor file_{-1};
  bool created_ = false;
  bool renamed_ = false;
};

// Owner first, then mode: changing the owner clears the setuid and setgid bits that the mode then
// restores. Only root can give a file away; anyone else keeps what they create.
int CopyOwnerAndMode(int from, int to) noexcept {
  struct stat info {};
  if (::fstat(from, &info) != 0) return errno;
  if (::geteuid() == 0 && (info.st_uid != 0 || info.st_gid != 0)) {
    if (::fchown(to, info.st_uid, info.st_gid) != 0) return errno;
  }
  return ErrnoOf(::fchmod(to, info.st_mode & 07777));
}

// Every extended attribute of `from`, the access control list (system.posix_acl_access) among
// them, set on `to`. Throws ReplaceError naming the attribute that cannot be copied.
void CopyAttributes(int from, int to) {
  std::vector<char> names;
  for (;;) {
    const ssize_t size = ::flistxattr(from, nullptr, 0);
    if (size < 0 && (errno == ENOTSUP || errno == ENOSYS)) return;  // a file system without them
    if (size < 0) throw ReplaceError(SaveStep::kAttributes, errno);
    names.resize(static_cast<std::size_t>(size));
    const ssize_t listed = ::flistxattr(from, names.data(), names.size());
    if (listed >= 0) {
      names.resize(static_cast<std::size_t>(listed));
      break;
    }
    if (errno != ERANGE) throw ReplaceError(SaveStep::kAttributes, errno);  // ERANGE: it grew meanwhile
  }
  std::vector<char> value;
  for (std::size_t at = 0; at < names.size();) {
    const char* name = names.data() + at;
    at += std::strlen(name) + 1;
    for (;;) {
      const ssize_t size = ::fgetxattr(from, name, nullptr, 0);
      if (size < 0) throw ReplaceError(SaveStep::kAttributes, errno, name);
      value.resize(static_cast<std::size_t>(size));
      const ssize_t read = ::fgetxattr(from, name, value.data(), value.size());
      if (read >= 0) {
        value.resize(static_cast<std::size_t>(read));
        break;
      }
      if (errno != ERANGE) throw ReplaceError(SaveStep::kAttributes, errno, name);
    }
    if (::fsetxattr(to, name, value.data(), value.size(), 0) != 0) {
      throw ReplaceError(SaveStep::kAttributes, errno, name);
    }
  }
}

}  // namespace

ReplaceError::ReplaceError(SaveStep step, int error, std::string attribute)
    : std::runtime_error(std::strerror(error)),
      step_(step),
      error_(error),
      attribute_(std::move(attribute)) {}

int ReplaceFile(const Replacement& replacement, std::span<const std::string_view> pieces) {
  // A step fails with its own errno, or with the one a test planned for it.
  const auto planned = [&](SaveStep step, int error) {
    if (error == 0 && replacement.faults) error = replacement.faults(step);
    return error;
  };
  const auto check = [&](SaveStep step, int error) {
    if (const int failure = planned(step, error); failure != 0) throw ReplaceError(step, failure);
  };

  // Everything that may fail for want of memory happens before the rename: after it, the edit is made.
  const std::string folder = FolderOf(replacement.target);
  InstallSignalCleanup();
  check(SaveStep::kCreateTemporary, 0);
  TemporaryFile temporary{replacement.temporaryPattern};
  if (!temporary.created()) throw ReplaceError(SaveStep::kCreateTemporary, errno);

  if (replacement.metadataFrom >= 0) {
    check(SaveStep::kPermissions, CopyOwnerAndMode(replacement.metadataFrom, temporary.fd()));
    check(SaveStep::kAttributes, 0);
    CopyAttributes(replacement.metadataFrom, temporary.fd());
  }
  check(SaveStep::kWrite, WriteAll(temporary.fd(), pieces));
  check(SaveStep::kSync, ErrnoOf(::fsync(temporary.fd())));
  check(SaveStep::kClose, ErrnoOf(temporary.Close()));
  check(SaveStep::kCheckUnchanged, 0);
  if (replacement.beforeRename) replacement.beforeRename();
  // A failure planned for the rename stands for the rename itself: the file must stay as it was.
  int renamed = planned(SaveStep::kRename, 0);
  if (renamed == 0) renamed = temporary.RenameOver(replacement.target);
  if (renamed != 0) throw ReplaceError(SaveStep::kRename, renamed);

  // The new file is in place; this makes the rename itself durable.
  FileDescriptor directory{::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)};
  const int synced = directory.get() < 0 ? errno : ErrnoOf(::fsync(directory.get()));
  return planned(SaveStep::kSyncFolder, synced);
}

std::string ResolveLinks(const std::string& path) {
  struct stat info {};
  if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
  std::unique_ptr<char, decltype(&std::free)> resolved{::realpath(path.c_str(), nullptr), &std::free};
  if (!resolved) throw std::system_error(errno, std::generic_category());
  return resolved.get();
}

}  // namespace platform::posix
