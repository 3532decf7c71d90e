// platform/posix/source_file.h: a source file read whole, and replaced whole and durably.
#pragma once

#include <sys/types.h>

#include <ctime>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace platform::posix {

// A file that cannot be read or replaced. what() is "PATH: reason".
class SourceFileError : public std::runtime_error {
 public:
  SourceFileError(const std::string& path, const std::string& reason)
      : std::runtime_error(path + ": " + reason), path_(path), reason_(reason) {}
  const std::string& path() const noexcept { return path_; }
  const std::string& reason() const noexcept { return reason_; }

 private:
  std::string path_;
  std::string reason_;
};

// The steps of a replacement, in order; a test can make any of them fail.
enum class SaveStep {
  kCreateTemporary,
  kPermissions,
  kWrite,
  kSync,
  kClose,
  kCheckUnchanged,
  kRename,
  kSyncFolder
};
// Returns 0 to let the step run, or the errno with which it should fail.
using SaveFaults = std::function<int(SaveStep)>;

// What tells one version of a file from another.
struct FileIdentity {
  dev_t device = 0;
  ino_t inode = 0;
  off_t size = 0;
  timespec modified{};
  timespec changed{};
  mode_t mode = 0;
  uid_t owner = 0;
  gid_t group = 0;
};

class SourceFile {
 public:
  // Reads the whole file. A symbolic link is followed, and the file it points to is the one a
  // replacement writes. Throws SourceFileError when the path is missing, is a folder or another
  // kind of non-regular file, or cannot be read.
  static SourceFile Read(const std::string& path);

  const std::string& path() const noexcept { return path_; }
  const std::string& bytes() const noexcept { return bytes_; }
  // No write bit is set, as source control leaves a file that is not checked out.
  bool IsReadOnly() const noexcept;

  // Replaces the file with `bytes`: a temporary file in the same folder, with the file's
  // permissions, written and flushed, then renamed over the file, then the folder flushed, so
  // that a crash leaves either the old file or the new one. Refuses a read-only file and a file
  // that changed on disk since it was read. Until the rename, any failure leaves the file as it was
  // and removes the temporary file. Throws SourceFileError.
  void Replace(std::string_view bytes, const SaveFaults& faults = {}) const;

 private:
  SourceFile(std::string path, std::string target, std::string bytes, const FileIdentity& identity)
      : path_(std::move(path)), target_(std::move(target)), bytes_(std::move(bytes)), identity_(identity) {}

  std::string path_;    // as given, for messages
  std::string target_;  // the file itself, links followed
  std::string bytes_;
  FileIdentity identity_;
};

}  // namespace platform::posix
