// platform/posix/source_file.h: a source file read whole, and replaced whole and durably.
#pragma once

#include <sys/types.h>

#include <ctime>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

#include "host/source_file.h"
#include "platform/posix/file_descriptor.h"
#include "platform/posix/safe_replace.h"

namespace platform::posix {

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

// A file on disk, held open and locked against our other runs from its reading to its replacement.
// A symbolic link is followed, and the file it points to is the one a replacement writes.
class DiskSourceFile final : public host::SourceFile {
 public:
  // Reads the whole file. Throws host::SourceFileError when the path is missing, is a folder or
  // another kind of non-regular file, or cannot be read.
  static DiskSourceFile Read(const std::string& path);

  const std::string& path() const noexcept { return path_; }
  std::string_view bytes() const noexcept override { return bytes_.view(); }
  // No write bit is set, as source control leaves a file that is not checked out.
  bool IsReadOnly() const noexcept override;

  // Replaces the file with `bytes`: a temporary file in the same folder, with the file's owner,
  // permissions and extended attributes, written and flushed, then renamed over the file, then the
  // folder flushed, so that a crash leaves either the old file or the new one. Refuses a read-only
  // file and a file that changed on disk since it was read. Until the rename, any failure leaves the
  // file as it was and removes the temporary file. Throws host::SourceFileError.
  std::string Replace(std::span<const std::string_view> pieces) override;
  using host::SourceFile::Replace;

  // Every later Replace() meets `faults`.
  void InjectFaults(SaveFaults faults) { faults_ = std::move(faults); }

 private:
  DiskSourceFile(std::string path, std::string target, FileDescriptor file, FileBytes bytes,
                 const FileIdentity& identity)
      : path_(std::move(path)),
        target_(std::move(target)),
        file_(std::move(file)),
        bytes_(std::move(bytes)),
        identity_(identity) {}

  std::string path_;     // as given, for messages
  std::string target_;   // the file itself, links followed
  FileDescriptor file_;  // open and locked while this object lives
  FileBytes bytes_;
  FileIdentity identity_;
  SaveFaults faults_;
};

// Source files on disk; `faults` (empty outside tests) reaches every replacement.
class DiskSourceFiles final : public host::SourceFiles {
 public:
  explicit DiskSourceFiles(SaveFaults faults = {}) : faults_(std::move(faults)) {}
  std::unique_ptr<host::SourceFile> Read(const std::string& path) override;

 private:
  SaveFaults faults_;
};

}  // namespace platform::posix
