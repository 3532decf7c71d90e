// platform/posix/safe_replace.cpp: temporary file, metadata, flush, swap and check, folder flush; and
// the edit in place, after a backup copy.
#include "platform/posix/safe_replace.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <system_error>
#include <vector>

#include "platform/posix/file_descriptor.h"
#include "platform/posix/open_writers.h"
#include "platform/posix/temporary_file_cleanup.h"

namespace platform::posix {
namespace {

constexpr const char* kAccessList = "system.posix_acl_access";

int ErrnoOf(int result) noexcept {
  return result == 0 ? 0 : errno;
}

// A file system that cannot swap two names says so with one of these.
bool CannotSwap(int error) noexcept {
  return error == EINVAL || error == ENOSYS || error == EOPNOTSUPP;
}

bool SameFile(const struct stat& a, const struct stat& b) noexcept {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// A temporary file that is removed unless it was renamed into place or kept: by its destructor on
// every path out of a failed replacement, and by the signal cleanup when the process is stopped.
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
    if (!created_ || gone_) return;
    const SignalsHeld held;
    ::unlink(path_.c_str());
    RemoveOnSignal(nullptr);
  }

  bool created() const noexcept { return created_; }
  const std::string& path() const noexcept { return path_; }
  int fd() const noexcept { return file_.get(); }
  int Close() noexcept { return file_.Close(); }

  // The name no longer holds a temporary file of ours (it was renamed into place, or removed), or
  // holds one that must stay. Call it with the signals held.
  void Release() noexcept {
    gone_ = true;
    RemoveOnSignal(nullptr);
  }

 private:
  std::string path_;
  FileDescriptor file_{-1};
  bool created_ = false;
  bool gone_ = false;
};

// The new file's owner and group. Root gives it the old file's both, whoever it belongs to and
// whatever group a setgid folder gave the new file. Anyone else owns what they create and sets the
// group alone, which a member of the group may: the caller edits in place where neither would do.
int CopyOwner(const struct stat& from, int to) noexcept {
  if (EffectiveUser() == 0) return ErrnoOf(::fchown(to, from.st_uid, from.st_gid));
  struct stat now {};
  if (::fstat(to, &now) != 0) return errno;
  if (now.st_gid == from.st_gid) return 0;
  return ErrnoOf(::fchown(to, static_cast<uid_t>(-1), from.st_gid));
}

bool NoAttribute(int error) noexcept {
  return error == ENODATA || error == EOPNOTSUPP;
}

// A folder's default access list is given to every file made in it: the new file must end with the
// old file's list, or with none when the old one had none.
void DropInheritedAccessList(int from, int to) {
  if (::fgetxattr(from, kAccessList, nullptr, 0) >= 0) return;  // replaced by the copy below
  if (!NoAttribute(errno)) throw ReplaceError(SaveStep::kAttributes, errno, kAccessList);
  if (::fremovexattr(to, kAccessList) != 0 && !NoAttribute(errno)) {
    throw ReplaceError(SaveStep::kAttributes, errno, kAccessList);
  }
}

// Every extended attribute of `from`, the access control list among them, set on `to`. Throws
// ReplaceError naming the attribute that cannot be copied.
void CopyAttributes(int from, int to) {
  std::vector<char> names;
  for (;;) {
    const ssize_t size = ::flistxattr(from, nullptr, 0);
    if (size < 0 && (errno == ENOTSUP || errno == ENOSYS)) return;  // a file system without them
    if (size < 0) throw ReplaceError(SaveStep::kAttributes, errno);
    if (size == 0) return;  // none to copy: the list need not be asked for again
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

// A copy of the file open as `from`, as it stands now, in a new file beside `target`: its name, or
// empty with `error` set.
std::string KeepAside(int from, const std::string& target, int& error) {
  std::string path = target + ".kept-XXXXXX";
  FileDescriptor copy{::mkstemp(path.data())};
  if (copy.get() < 0 && errno == ENAMETOOLONG) {
    path = FolderOf(target) + "/scrivlet-kept-XXXXXX";
    copy = FileDescriptor{::mkstemp(path.data())};
  }
  if (copy.get() < 0) {
    error = errno;
    return {};
  }
  FileBytes bytes;
  struct stat info {};
  if (::lseek(from, 0, SEEK_SET) < 0 || (error = ReadAll(from, bytes)) != 0 ||
      (error = WriteAll(copy.get(), bytes.view())) != 0 || (error = ErrnoOf(::fsync(copy.get()))) != 0 ||
      (error = ErrnoOf(::fstat(from, &info))) != 0 ||
      (error = ErrnoOf(::fchmod(copy.get(), info.st_mode & 0777))) != 0) {
    if (error == 0) error = errno;
    ::unlink(path.c_str());
    return {};
  }
  return path;
}

// What a replacement does with its planned faults: a step fails with its own errno, or with the one a
// test planned for it.
struct Planned {
  const SaveFaults& faults;
  int operator()(SaveStep step, int error) const {
    if (error == 0 && faults) error = faults(step);
    return error;
  }
  void Check(SaveStep step, int error) const {
    if (const int failure = (*this)(step, error); failure != 0) throw ReplaceError(step, failure);
  }
};

// The file open as `original` still holds what was read, checked after a planned failure of the check
// itself; its errno, 0, or -1 when it changed.
int CheckUnchanged(const Replacement& replacement, const Planned& planned) {
  if (const int failure = planned(SaveStep::kCheckUnchanged, 0); failure != 0) return failure;
  try {
    return replacement.unchanged && !replacement.unchanged(false) ? -1 : 0;
  } catch (const ReplaceError& failure) {
    return failure.error();
  } catch (const std::bad_alloc&) {
    return ENOMEM;
  }
}

// The new file as it was written: its identity and times, and a descriptor of it that shows whether
// another program has it open for writing.
struct MadeFile {
  struct stat info {};
  int fd = -1;
  // Still as written, untouched by any other program.
  bool Untouched(const struct stat& now) const noexcept {
    return SameFile(now, info) && now.st_size == info.st_size && now.st_mtim.tv_sec == info.st_mtim.tv_sec &&
           now.st_mtim.tv_nsec == info.st_mtim.tv_nsec && (fd < 0 || OtherWriters(fd) != Writers::kSome);
  }
};

int Exchange(const std::string& a, const std::string& b) noexcept {
  return ErrnoOf(::renameat2(AT_FDCWD, a.c_str(), AT_FDCWD, b.c_str(), RENAME_EXCHANGE));
}

// Puts back the file that the swap took out, now at the temporary name, and takes out what holds the
// target's name: the new file, as a rule, which is removed. A file that another program put at the
// name since the swap, or the new file if another program wrote to it, is newer than the one put
// back: it goes back to the name, and the one it superseded is removed. Throws ReplaceError naming
// what is kept where a file cannot go back.
void PutBack(const std::string& target, TemporaryFile& temporary, const MadeFile& made,
             const struct stat& swappedOut) {
  const auto keep = [&](int error) {
    temporary.Release();
    throw ReplaceError(SaveStep::kRename, error).Keeping(temporary.path());
  };
  if (const int error = Exchange(temporary.path(), target); error != 0) keep(error);
  struct stat out {};
  if (::lstat(temporary.path().c_str(), &out) == 0 && made.Untouched(out)) {
    ::unlink(temporary.path().c_str());
    temporary.Release();
    return;
  }
  if (const int error = Exchange(temporary.path(), target); error != 0) keep(error);
  if (::lstat(temporary.path().c_str(), &out) == 0 && SameFile(out, swappedOut)) {
    ::unlink(temporary.path().c_str());
    temporary.Release();
    return;
  }
  keep(EBUSY);
}

// Swaps the new file with the target, then makes sure that what it swapped out is the file that was
// read, as it was: if not, puts it back. False, with nothing done, when the file system cannot swap.
// `read` is what fstat said of the file open as `original`: its device and inode are the descriptor's.
bool SwapAndCheck(const Replacement& replacement, TemporaryFile& temporary, const MadeFile& made,
                  const Planned& planned, const struct stat& read) {
  // A quick look first, so that the new file is seen in the file's place, for the instant until it is
  // put back, only when another program saves in that instant.
  struct stat now {};
  if (::stat(replacement.target.c_str(), &now) != 0) throw ReplaceError(SaveStep::kCheckUnchanged, errno);
  try {
    if (!SameFile(now, read) || (replacement.unchanged && !replacement.unchanged(true)))
      throw ReplaceChanged();
  } catch (const std::bad_alloc&) {
    throw ReplaceError(SaveStep::kCheckUnchanged, ENOMEM);
  }
  const SignalsHeld held;
  int failure = planned(SaveStep::kRename, 0);
  if (failure == 0) failure = Exchange(temporary.path(), replacement.target);
  if (CannotSwap(failure)) return false;
  if (failure != 0) throw ReplaceError(SaveStep::kRename, failure);
  // The temporary name now holds whatever the target was: a program that saved by a rename of its own
  // since the quick look has put its file there.
  struct stat out {};
  if (::lstat(temporary.path().c_str(), &out) != 0) out = {};
  const int checked = SameFile(out, read) ? CheckUnchanged(replacement, planned) : -1;
  if (checked != 0) {
    PutBack(replacement.target, temporary, made, out);
    if (checked > 0) throw ReplaceError(SaveStep::kCheckUnchanged, checked);
    throw ReplaceChanged();
  }
  ::unlink(temporary.path().c_str());
  temporary.Release();
  SayOnSignal(replacement.madeLine.empty() ? nullptr : replacement.madeLine.c_str());
  return true;
}

// Where the file system cannot swap: the check, then a rename over the target. What another program
// writes to the old file after the check is kept beside it.
void RenameAfterCheck(const Replacement& replacement, TemporaryFile& temporary, const Planned& planned,
                      ReplaceOutcome& outcome, const struct stat& read) {
  struct stat now {};
  if (::stat(replacement.target.c_str(), &now) != 0) throw ReplaceError(SaveStep::kCheckUnchanged, errno);
  const int checked = SameFile(now, read) ? CheckUnchanged(replacement, planned) : -1;
  if (checked > 0) throw ReplaceError(SaveStep::kCheckUnchanged, checked);
  if (checked < 0) throw ReplaceChanged();
  {
    const SignalsHeld held;
    int failure = planned(SaveStep::kRename, 0);
    if (failure == 0) failure = ErrnoOf(::rename(temporary.path().c_str(), replacement.target.c_str()));
    if (failure != 0) throw ReplaceError(SaveStep::kRename, failure);
    temporary.Release();
    SayOnSignal(replacement.madeLine.empty() ? nullptr : replacement.madeLine.c_str());
  }
  bool unchanged = true;
  try {
    unchanged = !replacement.unchanged || replacement.unchanged(false);
  } catch (const ReplaceError&) {
    // The old file cannot be read again: nothing more can be learnt of it.
  } catch (const std::bad_alloc&) {
  }
  if (!unchanged) outcome.kept = KeepAside(replacement.original, replacement.target, outcome.keepError);
}

// A new file takes a name that nothing holds, and never one that another program gave a file meanwhile.
void RenameToNewName(const Replacement& replacement, TemporaryFile& temporary, const Planned& planned) {
  const SignalsHeld held;
  int failure = planned(SaveStep::kRename, 0);
  if (failure == 0 && ::renameat2(AT_FDCWD, temporary.path().c_str(), AT_FDCWD, replacement.target.c_str(),
                                  RENAME_NOREPLACE) != 0) {
    failure = errno;
    if (CannotSwap(failure)) {
      // link() never replaces a name either.
      failure = ErrnoOf(::link(temporary.path().c_str(), replacement.target.c_str()));
      if (failure == 0) ::unlink(temporary.path().c_str());
    }
  }
  if (failure == EEXIST) throw ReplaceChanged();
  if (failure != 0) throw ReplaceError(SaveStep::kRename, failure);
  temporary.Release();
  SayOnSignal(replacement.madeLine.empty() ? nullptr : replacement.madeLine.c_str());
}

int SyncFolder(const std::string& folder, const Planned& planned) {
  FileDescriptor directory{::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)};
  const int synced = directory.get() < 0 ? errno : ErrnoOf(::fsync(directory.get()));
  return planned(SaveStep::kSyncFolder, synced);
}

std::size_t TotalSize(std::span<const std::string_view> pieces) noexcept {
  std::size_t size = 0;
  for (const std::string_view piece : pieces) size += piece.size();
  return size;
}

}  // namespace

ReplaceError::ReplaceError(SaveStep step, int error, std::string attribute)
    : std::runtime_error(std::strerror(error)),
      step_(step),
      error_(error),
      attribute_(std::move(attribute)) {}

ReplaceOutcome ReplaceFile(const Replacement& replacement, host::NewBytesSource& pieces) {
  const Planned planned{replacement.faults};
  // Everything that may fail for want of memory happens before the swap: after it, the edit is made.
  const std::string folder = FolderOf(replacement.target);
  InstallSignalCleanup();
  SayOnSignal(nullptr);
  planned.Check(SaveStep::kCreateTemporary, 0);
  TemporaryFile temporary{replacement.temporaryPattern};
  if (!temporary.created()) throw ReplaceError(SaveStep::kCreateTemporary, errno);

  struct stat from {};
  if (replacement.original >= 0) {
    if (::fstat(replacement.original, &from) != 0) throw ReplaceError(SaveStep::kPermissions, errno);
    planned.Check(SaveStep::kPermissions, CopyOwner(from, temporary.fd()));
    planned.Check(SaveStep::kAttributes, 0);
    DropInheritedAccessList(replacement.original, temporary.fd());
    CopyAttributes(replacement.original, temporary.fd());
    // Last: a new owner clears the setuid and setgid bits, and an access list sets the group bits.
    if (::fchmod(temporary.fd(), from.st_mode & 07777) != 0)
      throw ReplaceError(SaveStep::kPermissions, errno);
  }
  int written = 0;
  while (written == 0) {
    const std::span<const std::string_view> batch = pieces.Next();
    if (batch.empty()) break;
    written = WriteAll(temporary.fd(), batch);
  }
  planned.Check(SaveStep::kWrite, written);
  planned.Check(SaveStep::kSync, ErrnoOf(::fsync(temporary.fd())));
  // Runs of ours that wait for the file take the new one, once in place, only when this run is done.
  FileDescriptor newLock{::open(temporary.path().c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY)};
  if (newLock.get() >= 0) ::flock(newLock.get(), LOCK_EX | LOCK_NB);
  planned.Check(SaveStep::kClose, ErrnoOf(temporary.Close()));
  MadeFile made;
  made.fd = newLock.get();
  const bool madeKnown = ::lstat(temporary.path().c_str(), &made.info) == 0;
  if (replacement.beforeSwap) replacement.beforeSwap();

  ReplaceOutcome outcome;
  if (replacement.original < 0) {
    RenameToNewName(replacement, temporary, planned);
  } else {
    const int cannotSwap = planned(SaveStep::kExchange, 0);
    if (cannotSwap != 0 && !CannotSwap(cannotSwap)) throw ReplaceError(SaveStep::kRename, cannotSwap);
    if (cannotSwap != 0 || !SwapAndCheck(replacement, temporary, made, planned, from)) {
      RenameAfterCheck(replacement, temporary, planned, outcome, from);
    }
  }
  // The new file is in place; this makes the swap itself durable.
  outcome.folderError = SyncFolder(folder, planned);
  // A program that saves by a rename of its own may have put its file in place of the new one since.
  struct stat now {};
  outcome.overtaken =
      madeKnown && ::lstat(replacement.target.c_str(), &now) == 0 && !SameFile(now, made.info);
  return outcome;
}

ReplaceOutcome EditInPlace(const Replacement& replacement, std::span<const std::string_view> pieces) {
  const Planned planned{replacement.faults};
  InstallSignalCleanup();
  SayOnSignal(nullptr);
  TemporaryFile backup{FolderOf(replacement.target) + "/.scrivlet-backup-XXXXXX"};
  int copied = backup.created() ? 0 : errno;
  if (copied == 0) copied = WriteAll(backup.fd(), replacement.originalBytes);
  if (copied == 0) copied = ErrnoOf(::fsync(backup.fd()));
  if (copied == 0) copied = ErrnoOf(backup.Close());
  planned.Check(SaveStep::kBackup, copied);
  if (replacement.beforeSwap) replacement.beforeSwap();

  const SignalsHeld held;
  // Checked before this run opens the file for writing itself, which the look for writers would see.
  if (const int checked = CheckUnchanged(replacement, planned); checked != 0) {
    if (checked > 0) throw ReplaceError(SaveStep::kCheckUnchanged, checked);
    throw ReplaceChanged();
  }
  FileDescriptor out{::open(replacement.target.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK)};
  if (out.get() < 0) throw ReplaceError(SaveStep::kWriteInPlace, errno);
  struct stat now {};
  struct stat read {};
  if (::fstat(out.get(), &now) != 0 || ::fstat(replacement.original, &read) != 0) {
    throw ReplaceError(SaveStep::kCheckUnchanged, errno);
  }
  if (!SameFile(now, read)) throw ReplaceChanged();
  const std::size_t size = TotalSize(pieces);
  // The room the new text needs, taken before a byte is written, where the file system can.
  if (::fallocate(out.get(), FALLOC_FL_KEEP_SIZE, 0, static_cast<off_t>(size)) != 0 && errno == ENOSPC) {
    throw ReplaceError(SaveStep::kWriteInPlace, ENOSPC);
  }
  int failure = WriteAllAt(out.get(), pieces, 0);
  if (failure == 0) failure = ErrnoOf(::ftruncate(out.get(), static_cast<off_t>(size)));
  if (failure == 0) failure = ErrnoOf(::fsync(out.get()));
  failure = planned(SaveStep::kWriteInPlace, failure);
  if (failure != 0) {
    const std::string_view old[] = {replacement.originalBytes};
    if (WriteAllAt(out.get(), old, 0) != 0 ||
        ::ftruncate(out.get(), static_cast<off_t>(replacement.originalBytes.size())) != 0 ||
        ::fsync(out.get()) != 0) {
      backup.Release();
      throw ReplaceError(SaveStep::kWriteInPlace, failure).Keeping(backup.path());
    }
    throw ReplaceError(SaveStep::kWriteInPlace, failure);
  }
  ::unlink(backup.path().c_str());
  backup.Release();
  SayOnSignal(replacement.madeLine.empty() ? nullptr : replacement.madeLine.c_str());
  ReplaceOutcome outcome;
  struct stat after {};
  outcome.overtaken = ::lstat(replacement.target.c_str(), &after) == 0 && !SameFile(after, read);
  return outcome;
}

uid_t EffectiveUser() noexcept {
  static const uid_t user = ::geteuid();
  return user;
}

std::string ResolveLinks(const std::string& path) {
  struct stat info {};
  if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
  std::unique_ptr<char, decltype(&std::free)> resolved{::realpath(path.c_str(), nullptr), &std::free};
  if (!resolved) throw std::system_error(errno, std::generic_category());
  return resolved.get();
}

}  // namespace platform::posix
