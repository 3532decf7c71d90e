// platform/posix/source_file.cpp: reading with the kind of file checked, and the safe replacement.
#include "platform/posix/source_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <system_error>

#include "platform/posix/file_descriptor.h"
#include "platform/posix/safe_replace.h"

namespace platform::posix {
namespace {

std::string Reason(const char* what, int error) {
  return std::string{what} + ": " + std::strerror(error);
}

FileIdentity IdentityOf(const struct stat& info) {
  return {info.st_dev,  info.st_ino,  info.st_size, info.st_mtim,
          info.st_ctim, info.st_mode, info.st_uid,  info.st_gid};
}

bool operator==(const timespec& a, const timespec& b) {
  return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

bool SameVersion(const FileIdentity& a, const FileIdentity& b) {
  return a.device == b.device && a.inode == b.inode && a.size == b.size && a.modified == b.modified &&
         a.changed == b.changed && a.mode == b.mode;
}

// The file opened, locked against our other runs, and read.
struct LockedSnapshot {
  FileDescriptor file{-1};
  FileBytes bytes;
  FileIdentity identity;
};

FileDescriptor OpenRegular(const std::string& path, const std::string& target, struct stat& info) {
  FileDescriptor file{::open(target.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK)};
  if (file.get() < 0) {
    if (errno == ENOENT) throw host::SourceFileError(path, "no such file");
    throw host::SourceFileError(path, Reason("cannot be read", errno));
  }
  if (::fstat(file.get(), &info) != 0) throw host::SourceFileError(path, Reason("cannot be read", errno));
  if (S_ISDIR(info.st_mode)) throw host::SourceFileError(path, "is a folder, not a source file");
  if (!S_ISREG(info.st_mode)) throw host::SourceFileError(path, "is not a regular file");
  return file;
}

// Runs of scrivlet on one file take turns: each holds an advisory lock on the file from before it
// reads it until after its new file is renamed into place. A run that waited may then hold the lock
// on a file that was just renamed away, so it opens the one the path names now and locks again. A
// file system without such locks still has the comparison made before the rename.
LockedSnapshot ReadLocked(const std::string& path, const std::string& target) {
  for (;;) {
    struct stat info {};
    FileDescriptor file = OpenRegular(path, target, info);
    int locked = 0;
    while ((locked = ::flock(file.get(), LOCK_EX)) != 0 && errno == EINTR) {
    }
    if (locked != 0 && errno != ENOLCK && errno != EOPNOTSUPP && errno != EINVAL) {
      throw host::SourceFileError(path, Reason("cannot be locked", errno));
    }
    struct stat now {};
    if (::stat(target.c_str(), &now) != 0) {
      if (errno == ENOENT) throw host::SourceFileError(path, "no such file");
      throw host::SourceFileError(path, Reason("cannot be read", errno));
    }
    if (now.st_dev != info.st_dev || now.st_ino != info.st_ino) continue;
    // What the file holds now that no run of ours can change it.
    if (::fstat(file.get(), &info) != 0) throw host::SourceFileError(path, Reason("cannot be read", errno));
    LockedSnapshot snapshot{std::move(file), {}, IdentityOf(info)};
    if (const int error =
            ReadAll(snapshot.file.get(), snapshot.bytes, static_cast<std::size_t>(info.st_size));
        error != 0) {
      throw host::SourceFileError(path, Reason("cannot be read", error));
    }
    return snapshot;
  }
}

// Whether the file is still the version that was read: the same identity and the same bytes,
// compared piece by piece as they are read again.
bool IsUnchanged(const std::string& path, const std::string& target, const FileIdentity& identity,
                 std::string_view bytes) {
  FileDescriptor file{::open(target.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK)};
  if (file.get() < 0) {
    if (errno == ENOENT) throw host::SourceFileError(path, "no such file");
    throw host::SourceFileError(path, Reason("cannot be read again", errno) + "; nothing was written");
  }
  struct stat info {};
  if (::fstat(file.get(), &info) != 0 || !SameVersion(IdentityOf(info), identity)) return false;
  // Not cleared first: a cleared buffer touches all its pages, though a small file fills few.
  constexpr std::size_t kBlock = 65536;
  const auto buffer = std::make_unique_for_overwrite<char[]>(kBlock);
  std::size_t offset = 0;
  for (;;) {
    const ssize_t n = ::read(file.get(), buffer.get(), kBlock);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0)
      throw host::SourceFileError(path, Reason("cannot be read again", errno) + "; nothing was written");
    if (n == 0) return offset == bytes.size();
    const auto length = static_cast<std::size_t>(n);
    if (offset + length > bytes.size() ||
        bytes.substr(offset, length) != std::string_view{buffer.get(), length}) {
      return false;
    }
    offset += length;
  }
}

// The message for a step that failed: the file is as it was.
std::string ReasonOf(const ReplaceError& failure, const std::string& folder) {
  switch (failure.step()) {
    case SaveStep::kCreateTemporary:
      return Reason(("cannot create a temporary file in " + folder).c_str(), failure.error());
    case SaveStep::kPermissions:
      return Reason("cannot give the new file the same permissions", failure.error()) +
             "; nothing was written";
    case SaveStep::kAttributes:
      if (failure.attribute().empty()) {
        return Reason("cannot read the extended attributes", failure.error()) + "; nothing was written";
      }
      return Reason(("cannot give the new file the extended attribute " + failure.attribute()).c_str(),
                    failure.error()) +
             "; nothing was written";
    case SaveStep::kWrite:
      return Reason("cannot write the new file", failure.error()) + "; nothing was written";
    case SaveStep::kSync:
      return Reason("cannot flush the new file", failure.error()) + "; nothing was written";
    case SaveStep::kClose:
      return Reason("cannot close the new file", failure.error()) + "; nothing was written";
    case SaveStep::kCheckUnchanged:
      return Reason("cannot be read again", failure.error()) + "; nothing was written";
    case SaveStep::kRename:
    case SaveStep::kSyncFolder:
      break;
  }
  return Reason("cannot replace the file", failure.error()) + "; nothing was written";
}

}  // namespace

DiskSourceFile DiskSourceFile::Read(const std::string& path) {
  std::string target;
  try {
    target = ResolveLinks(path);
  } catch (const std::system_error& error) {
    throw host::SourceFileError(path, Reason("cannot follow the link", error.code().value()));
  }
  LockedSnapshot snapshot = ReadLocked(path, target);
  return DiskSourceFile(path, std::move(target), std::move(snapshot.file), std::move(snapshot.bytes),
                        snapshot.identity);
}

bool DiskSourceFile::IsReadOnly() const noexcept {
  return (identity_.mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}

std::string DiskSourceFile::Replace(std::span<const std::string_view> pieces) {
  // However it ends, the lock goes with it: a run waiting for this file may go on.
  struct Unlock {
    FileDescriptor& file;
    ~Unlock() { file.Close(); }
  } unlock{file_};
  if (IsReadOnly()) throw host::SourceFileError(path_, "is read-only; nothing was written");
  const std::string folder = FolderOf(target_);
  Replacement replacement;
  replacement.target = target_;
  // Short, so that a file whose name is near the system's limit can still be replaced.
  replacement.temporaryPattern = folder + "/.scrivlet-XXXXXX";
  replacement.metadataFrom = file_.get();
  if (replacement.metadataFrom < 0)
    throw host::SourceFileError(path_, "was replaced once already; nothing was written");
  // The last look before the rename: a program that takes no lock may have saved the file meanwhile.
  replacement.beforeRename = [&] {
    if (!IsUnchanged(path_, target_, identity_, bytes_.view())) {
      throw host::SourceFileError(path_, "changed on disk since it was read; nothing was written");
    }
  };
  replacement.faults = faults_;
  // Made before the rename, with room for the system's reason, so that nothing after the edit can
  // fail for want of memory and report an edit that was made as one that was not.
  std::string warning = path_ + ": was replaced, but its folder " + folder + " cannot be flushed: ";
  constexpr std::string_view kPowerLoss = ", so the change may not survive a power loss";
  warning.reserve(warning.size() + 256 + kPowerLoss.size());
  int folderError = 0;
  try {
    folderError = ReplaceFile(replacement, pieces);
  } catch (const ReplaceError& failure) {
    throw host::SourceFileError(path_, ReasonOf(failure, folder));
  }
  if (folderError == 0) return {};
  const std::string_view reason = std::strerror(folderError);
  warning.append(reason.substr(0, 256));
  warning.append(kPowerLoss);
  return warning;
}

std::unique_ptr<host::SourceFile> DiskSourceFiles::Read(const std::string& path) {
  auto file = std::make_unique<DiskSourceFile>(DiskSourceFile::Read(path));
  file->InjectFaults(faults_);
  return file;
}

}  // namespace platform::posix
