// platform/posix/safe_replace.cpp: temporary file, flush, rename, folder flush.
#include "platform/posix/safe_replace.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <system_error>

#include "platform/posix/file_descriptor.h"

namespace platform::posix {
namespace {

int ErrnoOf(int result) noexcept {
  return result == 0 ? 0 : errno;
}

// A temporary file that is removed unless it was renamed into place.
class TemporaryFile {
 public:
  explicit TemporaryFile(std::string pattern)
      : path_(std::move(pattern)), file_(::mkstemp(path_.data())), created_(file_.get() >= 0) {}
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
  ~TemporaryFile() {
    if (created_ && !renamed_) ::unlink(path_.c_str());
  }

  bool created() const noexcept { return created_; }
  int fd() const noexcept { return file_.get(); }
  const std::string& path() const noexcept { return path_; }
  int Close() noexcept { return file_.Close(); }
  void Renamed() noexcept { renamed_ = true; }

 private:
  std::string path_;
  FileDescriptor file_;
  bool created_;
  bool renamed_ = false;
};

}  // namespace

ReplaceError::ReplaceError(SaveStep step, int error)
    : std::runtime_error(std::strerror(error)), step_(step), error_(error) {}

int ReplaceFile(const Replacement& replacement, std::string_view bytes) {
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
  int error = planned(SaveStep::kCreateTemporary, 0);
  if (error != 0) throw ReplaceError(SaveStep::kCreateTemporary, error);
  TemporaryFile temporary{replacement.temporaryPattern};
  if (!temporary.created()) throw ReplaceError(SaveStep::kCreateTemporary, errno);

  int permissions = 0;
  if (const std::optional<Ownership>& own = replacement.ownership) {
    permissions = ErrnoOf(::fchmod(temporary.fd(), own->mode & 07777));
    // Root keeps the file's owner too; anyone else can only own what they create.
    if (permissions == 0 && ::geteuid() == 0 && (own->owner != 0 || own->group != 0)) {
      permissions = ErrnoOf(::fchown(temporary.fd(), own->owner, own->group));
    }
  }
  check(SaveStep::kPermissions, permissions);
  check(SaveStep::kWrite, WriteAll(temporary.fd(), bytes));
  check(SaveStep::kSync, ErrnoOf(::fsync(temporary.fd())));
  check(SaveStep::kClose, ErrnoOf(temporary.Close()));
  check(SaveStep::kCheckUnchanged, 0);
  if (replacement.beforeRename) replacement.beforeRename();
  // A failure planned for the rename stands for the rename itself: the file must stay as it was.
  int renamed = planned(SaveStep::kRename, 0);
  if (renamed == 0) renamed = ErrnoOf(::rename(temporary.path().c_str(), replacement.target.c_str()));
  if (renamed != 0) throw ReplaceError(SaveStep::kRename, renamed);
  temporary.Renamed();

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
