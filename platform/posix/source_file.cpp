// platform/posix/source_file.cpp: reading with the kind of file checked, and the safe replacement.
#include "platform/posix/source_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>

#include "platform/posix/file_descriptor.h"

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

// The file a replacement writes: the target of a symbolic link, so that the link stays a link.
std::string ResolveLinks(const std::string& path) {
  struct stat info {};
  if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
  std::unique_ptr<char, decltype(&std::free)> resolved{::realpath(path.c_str(), nullptr), &std::free};
  if (!resolved) throw host::SourceFileError(path, Reason("cannot follow the link", errno));
  return resolved.get();
}

// The contents and identity of the file now; `path` names it in messages.
struct Snapshot {
  std::string bytes;
  FileIdentity identity;
};

Snapshot ReadSnapshot(const std::string& path, const std::string& target) {
  FileDescriptor file{::open(target.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK)};
  if (file.get() < 0) {
    if (errno == ENOENT) throw host::SourceFileError(path, "no such file");
    throw host::SourceFileError(path, Reason("cannot be read", errno));
  }
  struct stat info {};
  if (::fstat(file.get(), &info) != 0) throw host::SourceFileError(path, Reason("cannot be read", errno));
  if (S_ISDIR(info.st_mode)) throw host::SourceFileError(path, "is a folder, not a source file");
  if (!S_ISREG(info.st_mode)) throw host::SourceFileError(path, "is not a regular file");
  Snapshot snapshot{{}, IdentityOf(info)};
  if (const int error = ReadAll(file.get(), snapshot.bytes, static_cast<std::size_t>(info.st_size));
      error != 0) {
    throw host::SourceFileError(path, Reason("cannot be read", error));
  }
  return snapshot;
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
  std::array<char, 65536> buffer{};
  std::size_t offset = 0;
  for (;;) {
    const ssize_t n = ::read(file.get(), buffer.data(), buffer.size());
    if (n < 0 && errno == EINTR) continue;
    if (n < 0)
      throw host::SourceFileError(path, Reason("cannot be read again", errno) + "; nothing was written");
    if (n == 0) return offset == bytes.size();
    const auto length = static_cast<std::size_t>(n);
    if (offset + length > bytes.size() ||
        bytes.substr(offset, length) != std::string_view{buffer.data(), length}) {
      return false;
    }
    offset += length;
  }
}

std::string BaseName(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

DiskSourceFile DiskSourceFile::Read(const std::string& path) {
  std::string target = ResolveLinks(path);
  Snapshot snapshot = ReadSnapshot(path, target);
  return DiskSourceFile(path, std::move(target), std::move(snapshot.bytes), snapshot.identity);
}

bool DiskSourceFile::IsReadOnly() const noexcept {
  return (identity_.mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}

void DiskSourceFile::Replace(std::string_view bytes) {
  const SaveFaults& faults = faults_;
  const auto fail = [&](SaveStep step, int error) {
    if (error == 0 && faults) error = faults(step);
    return error;
  };
  if (IsReadOnly()) throw host::SourceFileError(path_, "is read-only; nothing was written");

  const std::string folder = FolderOf(target_);
  std::string temporary = folder + "/." + BaseName(target_) + ".scrivlet-XXXXXX";
  int error = 0;
  std::optional<FileDescriptor> file;
  if (error = fail(SaveStep::kCreateTemporary, 0); error == 0) {
    file.emplace(::mkstemp(temporary.data()));
    if (file->get() < 0) error = errno;
  }
  if (error != 0) {
    throw host::SourceFileError(path_,
                                Reason(("cannot create a temporary file in " + folder).c_str(), error));
  }
  try {
    // `error` is the errno of the step's own call, or 0 when it succeeded.
    const auto check = [&](SaveStep step, int error, const char* what) {
      if (const int stepError = fail(step, error); stepError != 0) {
        throw host::SourceFileError(path_, Reason(what, stepError) + "; nothing was written");
      }
    };
    const auto errorOf = [](int result) { return result == 0 ? 0 : errno; };
    int permissions = errorOf(::fchmod(file->get(), identity_.mode & 07777));
    // Root keeps the file's owner too; anyone else can only own what they create.
    if (permissions == 0 && ::geteuid() == 0 && (identity_.owner != 0 || identity_.group != 0)) {
      permissions = errorOf(::fchown(file->get(), identity_.owner, identity_.group));
    }
    check(SaveStep::kPermissions, permissions, "cannot give the new file the same permissions");
    check(SaveStep::kWrite, WriteAll(file->get(), bytes), "cannot write the new file");
    check(SaveStep::kSync, errorOf(::fsync(file->get())), "cannot flush the new file");
    check(SaveStep::kClose, errorOf(file->Close()), "cannot close the new file");

    // The last look before the rename: another program may have saved the file meanwhile.
    const bool unchanged = IsUnchanged(path_, target_, identity_, bytes_);
    if (const int stepError = fail(SaveStep::kCheckUnchanged, 0); stepError != 0) {
      throw host::SourceFileError(path_, Reason("cannot be read again", stepError) + "; nothing was written");
    }
    if (!unchanged) {
      throw host::SourceFileError(path_, "changed on disk since it was read; nothing was written");
    }
    // A failure planned for the rename stands for the rename itself: the file must stay as it was.
    int renamed = fail(SaveStep::kRename, 0);
    if (renamed == 0) renamed = errorOf(::rename(temporary.c_str(), target_.c_str()));
    if (renamed != 0)
      throw host::SourceFileError(path_,
                                  Reason("cannot replace the file", renamed) + "; nothing was written");
  } catch (...) {
    ::unlink(temporary.c_str());
    throw;
  }

  // The new file is in place; this makes the rename itself durable.
  FileDescriptor directory{::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)};
  const int synced = directory.get() < 0 ? errno : (::fsync(directory.get()) == 0 ? 0 : errno);
  if (const int stepError = fail(SaveStep::kSyncFolder, synced); stepError != 0) {
    throw host::SourceFileError(
        path_, Reason(("was replaced, but its folder " + folder + " cannot be flushed").c_str(), stepError));
  }
}

std::unique_ptr<host::SourceFile> DiskSourceFiles::Read(const std::string& path) {
  auto file = std::make_unique<DiskSourceFile>(DiskSourceFile::Read(path));
  file->InjectFaults(faults_);
  return file;
}

}  // namespace platform::posix
