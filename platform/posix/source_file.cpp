// platform/posix/source_file.cpp: reading with the kind of file checked, once other programs let go
// of it, and the safe replacement.
#include "platform/posix/source_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <system_error>
#include <vector>

#include "host/source_file_messages.h"
#include "platform/posix/file_descriptor.h"
#include "platform/posix/open_writers.h"
#include "platform/posix/safe_replace.h"

namespace platform::posix {
namespace {

std::string Reason(const std::string& what, int error) {
  return what + ": " + std::strerror(error);
}

// A failure that the shared table words, and one that gives the system's reason for `error`.
host::SourceFileError Failure(const std::string& path, host::FileMessage message) {
  return {path, host::FileMessageText(message)};
}
host::SourceFileError Failure(const std::string& path, host::FileMessage message, int error) {
  return {path, host::FileMessageText(message, {.reason = std::strerror(error)})};
}

FileIdentity IdentityOf(const struct stat& info) {
  return {info.st_dev,  info.st_ino, info.st_size, info.st_mtim,
          info.st_mode, info.st_uid, info.st_gid,  info.st_nlink};
}

bool operator==(const timespec& a, const timespec& b) {
  return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

// The same file, as it was: its change time is left out, since a rename or an unlink moves it.
bool SameVersion(const FileIdentity& a, const FileIdentity& b) {
  return a.device == b.device && a.inode == b.inode && a.size == b.size && a.modified == b.modified &&
         a.mode == b.mode && a.owner == b.owner && a.group == b.group;
}

std::string WaitNoticeFor(const std::string& path, const BoundedWait& wait) {
  return path + ": waiting for another program to let go of it (up to " + wait.LimitText() + ")";
}

// Opens the file to read it, without blocking: a named pipe would wait for a writer, and a run of ours
// that looks for writers holds a lease for an instant, during which an open that would block fails.
// `info` is what fstat said of it then: its device and inode are the descriptor's for good.
FileDescriptor OpenRegular(const std::string& path, const std::string& target, BoundedWait& wait,
                           struct stat& info) {
  for (;;) {
    FileDescriptor file{::open(target.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK)};
    if (file.get() >= 0) {
      if (::fstat(file.get(), &info) != 0) throw Failure(path, host::FileMessage::kUnreadable, errno);
      if (S_ISDIR(info.st_mode)) throw Failure(path, host::FileMessage::kFolder);
      if (!S_ISREG(info.st_mode)) throw Failure(path, host::FileMessage::kNotRegular);
      return file;
    }
    if (errno == ENOENT) throw Failure(path, host::FileMessage::kNoSuchFile);
    if (errno != EWOULDBLOCK || !wait.Pause(WaitNoticeFor(path, wait))) {
      throw Failure(path, host::FileMessage::kUnreadable, errno);
    }
  }
}

// Takes the advisory lock that runs of ours hold on a file from before they read it until after
// their new file is in place. False on a file system without such locks: the checks around the swap
// still stand.
void Lock(const std::string& path, int fd, BoundedWait& wait) {
  for (;;) {
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) return;
    if (errno == EINTR) continue;
    if (errno == ENOLCK || errno == EOPNOTSUPP || errno == EINVAL) return;
    if (errno != EWOULDBLOCK) throw host::SourceFileError(path, Reason("cannot be locked", errno));
    if (!wait.Pause(WaitNoticeFor(path, wait))) {
      throw host::SourceFileError(
          path, "is locked by another program, which did not let go of it within " + wait.LimitText());
    }
  }
}

// Waits until no other program has the file open for writing, as far as the system can tell.
void WaitForNoWriter(const std::string& path, int fd, BoundedWait& wait) {
  while (OtherWriters(fd) == Writers::kSome) {
    if (!wait.Pause(WaitNoticeFor(path, wait))) {
      throw host::SourceFileError(
          path, "is open for writing in another program, which did not close it within " + wait.LimitText());
    }
  }
}

// The file opened, locked against our other runs, and read once no other program writes it.
struct LockedSnapshot {
  FileDescriptor file{-1};
  FileBytes bytes;
  FileIdentity identity;
};

// A run that waited may then hold the lock on a file that was just swapped away, so it opens the one
// the path names now and locks again.
LockedSnapshot ReadLocked(const std::string& path, const std::string& target, BoundedWait& wait) {
  for (;;) {
    struct stat opened {};
    FileDescriptor file = OpenRegular(path, target, wait, opened);
    Lock(path, file.get(), wait);
    struct stat now {};
    if (::stat(target.c_str(), &now) != 0) {
      if (errno == ENOENT) throw Failure(path, host::FileMessage::kNoSuchFile);
      throw Failure(path, host::FileMessage::kUnreadable, errno);
    }
    if (now.st_dev != opened.st_dev || now.st_ino != opened.st_ino) continue;
    WaitForNoWriter(path, file.get(), wait);
    // What the file holds now that no run of ours can change it, and no other program writes it.
    struct stat info {};
    if (::fstat(file.get(), &info) != 0) throw Failure(path, host::FileMessage::kUnreadable, errno);
    LockedSnapshot snapshot{std::move(file), {}, IdentityOf(info)};
    if (const int error =
            ReadAll(snapshot.file.get(), snapshot.bytes, static_cast<std::size_t>(info.st_size));
        error != 0) {
      throw Failure(path, host::FileMessage::kUnreadable, error);
    }
    return snapshot;
  }
}

// Why the user may not replace the file: no write bit at all (source control leaves a file that is
// not checked out so, and root is refused it too), or no right to write it (the owner's, the access
// list's, a read-only file system's); empty when the user may.
std::string ReadOnlyReasonOf(const std::string& target, mode_t mode) {
  if ((mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return host::FileMessageText(host::FileMessage::kReadOnly);
  if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0)
    return Reason("may not be written", errno);
  return {};
}

bool InGroup(gid_t group) {
  if (group == ::getegid()) return true;
  const int count = ::getgroups(0, nullptr);
  if (count <= 0) return false;
  std::vector<gid_t> groups(static_cast<std::size_t>(count));
  const int listed = ::getgroups(count, groups.data());
  return listed > 0 && std::find(groups.begin(), groups.begin() + listed, group) != groups.begin() + listed;
}

// Whether a new file made by this user can end with the file's owner and group: root's can; anyone
// else's belongs to them, and takes a group that they are a member of or that the folder gives it.
bool NewFileKeepsOwnership(const FileIdentity& file, const std::string& folder) {
  if (EffectiveUser() == 0) return true;
  if (file.owner != EffectiveUser()) return false;
  if (InGroup(file.group)) return true;
  struct stat info {};
  return ::stat(folder.c_str(), &info) == 0 && (info.st_mode & S_ISGID) != 0 && info.st_gid == file.group;
}

// The row of the shared table that tells of a step that failed.
host::FileMessage MessageOf(const ReplaceError& failure) {
  using host::FileMessage;
  const int error = failure.error();
  switch (failure.step()) {
    case SaveStep::kCreateTemporary:
      return FileMessage::kCreateTemporary;
    case SaveStep::kPermissions:
      return FileMessage::kSamePermissions;
    case SaveStep::kAttributes:
      return failure.attribute().empty() ? FileMessage::kReadExtendedAttributes
                                         : FileMessage::kSameExtendedAttribute;
    case SaveStep::kWrite:
      return FileMessage::kWriteNewFile;
    case SaveStep::kSync:
      return FileMessage::kFlushNewFile;
    case SaveStep::kClose:
      return FileMessage::kCloseNewFile;
    case SaveStep::kCheckUnchanged:
      return error == ENOENT ? FileMessage::kNoSuchFile : FileMessage::kReadAgain;
    case SaveStep::kBackup:
      return FileMessage::kBackup;
    case SaveStep::kWriteInPlace:
      if (!failure.kept().empty()) return FileMessage::kWriteInPlaceKeptAside;
      return error == EACCES || error == EPERM ? FileMessage::kWriteInPlaceRefused
                                               : FileMessage::kWriteInPlace;
    case SaveStep::kRename:
      if (!failure.kept().empty()) return FileMessage::kSwappedKeptAside;
      if (error == ENOENT) return FileMessage::kNoSuchFile;
      break;
    case SaveStep::kExchange:
    case SaveStep::kSyncFolder:
      break;
  }
  return FileMessage::kReplace;
}

// The message for a step that failed.
std::string ReasonOf(const ReplaceError& failure, const std::string& folder) {
  const std::string_view place = failure.step() == SaveStep::kAttributes ? failure.attribute() : folder;
  return host::FileMessageText(
      MessageOf(failure), {.reason = std::strerror(failure.error()), .place = place, .kept = failure.kept()});
}

// Every piece `pieces` hands over, as one text.
std::string Joined(host::NewBytesSource& pieces) {
  std::string whole;
  for (std::span<const std::string_view> batch = pieces.Next(); !batch.empty(); batch = pieces.Next()) {
    for (const std::string_view piece : batch) whole += piece;
  }
  return whole;
}

}  // namespace

DiskSourceFile DiskSourceFile::Read(const std::string& path, const EditPolicy& policy) {
  std::string target;
  try {
    target = ResolveLinks(path);
  } catch (const std::system_error& error) {
    throw host::SourceFileError(path, Reason("cannot follow the link", error.code().value()));
  }
  auto wait = std::make_shared<BoundedWait>(policy.limits, policy.notice);
  LockedSnapshot snapshot = ReadLocked(path, target, *wait);
  std::string readOnly = ReadOnlyReasonOf(target, snapshot.identity.mode);
  std::string madeLine = policy.linePrefix + path + ": the edit was made before the run was stopped\n";
  return DiskSourceFile(path, std::move(target), std::move(snapshot.file), std::move(snapshot.bytes),
                        snapshot.identity, std::move(readOnly), std::move(wait), std::move(madeLine));
}

bool DiskSourceFile::StillAsRead(bool quick) const {
  struct stat info {};
  if (::fstat(file_.get(), &info) != 0) throw ReplaceError(SaveStep::kCheckUnchanged, errno);
  if (!SameVersion(IdentityOf(info), identity_)) return false;
  if (quick) return OtherWriters(file_.get()) != Writers::kSome;
  bool same = false;
  if (const int error = CompareFrom0(file_.get(), bytes_.view(), compareBuffer_, same); error != 0) {
    throw ReplaceError(SaveStep::kCheckUnchanged, error);
  }
  return same && OtherWriters(file_.get()) != Writers::kSome;
}

void DiskSourceFile::WaitForWriters() const {
  WaitForNoWriter(path_, file_.get(), *wait_);
}

std::string DiskSourceFile::Replace(host::NewBytesSource& pieces) {
  if (file_.get() < 0) throw Failure(path_, host::FileMessage::kReplacedAlready);
  // However it ends, the lock goes with it: a run waiting for this file may go on.
  struct Unlock {
    FileDescriptor& file;
    ~Unlock() { file.Close(); }
  } unlock{file_};
  if (!readOnly_.empty()) throw host::SourceFileError(path_, readOnly_ + std::string{host::kNothingWritten});
  // The checks once the new file is in place allocate nothing: no failure there may leave the swap half
  // told. Their buffer is taken once the new file is written, before the swap, so that it never
  // stands beside the new text as a caller makes it. Not cleared first: a cleared buffer touches all
  // its pages. A quarter of the file, so that a run over a project holds little more than the file
  // itself, read in a few calls: at least a page, and at most 64 KiB, which a large file reads in
  // calls enough.
  constexpr std::size_t kLeastBlock = 4096;
  constexpr std::size_t kMostBlock = 65536;
  const std::size_t compareSize =
      std::min(bytes_.view().size() + 1, std::clamp((bytes_.view().size() + 1) / 4, kLeastBlock, kMostBlock));
  std::unique_ptr<char[]> buffer;  // NOLINT(cppcoreguidelines-avoid-c-arrays)
  struct Forget {
    std::span<char>& buffer;
    ~Forget() { buffer = {}; }
  } forget{compareBuffer_};
  const std::string folder = FolderOf(target_);
  Replacement replacement;
  replacement.target = target_;
  // Short, so that a file whose name is near the system's limit can still be replaced.
  replacement.temporaryPattern = folder + "/.scrivlet-XXXXXX";
  replacement.original = file_.get();
  replacement.unchanged = [this](bool quick) { return StillAsRead(quick); };
  replacement.beforeSwap = [&] {
    buffer = std::make_unique_for_overwrite<char[]>(compareSize);  // NOLINT(cppcoreguidelines-avoid-c-arrays)
    compareBuffer_ = {buffer.get(), compareSize};
    WaitForWriters();
  };
  replacement.originalBytes = bytes_.view();
  replacement.madeLine = madeLine_;
  replacement.faults = faults_;
  // A new file would split the hard links, or end with this user as its owner or group: the file
  // itself takes the new text instead.
  const bool inPlace = identity_.links > 1 || !NewFileKeepsOwnership(identity_, folder);
  // Made before the edit, with room for the system's reason, so that nothing after it can fail for
  // want of memory and report an edit that was made as one that was not.
  std::string warning = path_ + ": was replaced, but its folder " + folder + " cannot be flushed: ";
  constexpr std::string_view kPowerLoss = ", so the change may not survive a power loss";
  warning.reserve(warning.size() + 256 + kPowerLoss.size());
  ReplaceOutcome outcome;
  try {
    if (inPlace) {
      // Editing in place needs the whole new text before it writes a byte: its size first, and the
      // old bytes put back if a write fails.
      const std::string whole = Joined(pieces);
      const std::string_view wholePieces[] = {whole};
      outcome = EditInPlace(replacement, wholePieces);
    } else {
      outcome = ReplaceFile(replacement, pieces);
    }
  } catch (const ReplaceChanged&) {
    throw Failure(path_, host::FileMessage::kChanged);
  } catch (const ReplaceError& failure) {
    throw host::SourceFileError(path_, ReasonOf(failure, folder));
  }
  if (outcome.overtaken) {
    throw host::SourceFileError(path_,
                                "was edited, but another program then saved its own file in its place, which "
                                "does not hold the edit; run again");
  }
  if (outcome.keepError != 0) {
    throw host::SourceFileError(
        path_, Reason("was edited, but another program wrote to the file it replaced meanwhile, and what it "
                      "wrote cannot be kept",
                      outcome.keepError));
  }
  if (!outcome.kept.empty()) {
    return path_ +
           ": was edited, but another program wrote to the file it replaced meanwhile: what it wrote "
           "is kept in " +
           outcome.kept;
  }
  if (outcome.folderError == 0) return {};
  const std::string_view reason = std::strerror(outcome.folderError);
  warning.append(reason.substr(0, 256));
  warning.append(kPowerLoss);
  return warning;
}

std::unique_ptr<host::SourceFile> DiskSourceFiles::Read(const std::string& path) {
  auto file = std::make_unique<DiskSourceFile>(DiskSourceFile::Read(path, policy_));
  file->InjectFaults(faults_);
  return file;
}

}  // namespace platform::posix
