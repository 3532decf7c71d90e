// platform/posix/source_file.h: a source file read whole, and replaced whole and durably.
#pragma once

#include <sys/types.h>

#include <ctime>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

#include "host/source_file.h"
#include "platform/posix/bounded_wait.h"
#include "platform/posix/file_descriptor.h"
#include "platform/posix/safe_replace.h"

namespace platform::posix {

// What tells one version of a file from another, and what a new file must keep of it.
struct FileIdentity {
  dev_t device = 0;
  ino_t inode = 0;
  off_t size = 0;
  timespec modified{};
  mode_t mode = 0;
  uid_t owner = 0;
  gid_t group = 0;
  nlink_t links = 0;
};

// How a run waits for other programs and what it says meanwhile, and how a line it writes on its own
// on standard error begins (when a signal stops it once the edit is made).
struct EditPolicy {
  WaitLimits limits;
  WaitNotice notice;
  std::string linePrefix = "scrivlet: ";
};

// A file on disk, held open and locked against our other runs from its reading to its replacement.
// A symbolic link is followed, and the file it points to is the one a replacement writes.
class DiskSourceFile final : public host::SourceFile {
 public:
  // Reads the whole file, once no other run of ours holds it and no other program has it open for
  // writing, waiting for them as `policy` says. Throws host::SourceFileError when the path is missing,
  // is a folder or another kind of non-regular file, cannot be read, or is still held when the wait
  // is over.
  static DiskSourceFile Read(const std::string& path, const EditPolicy& policy = {});

  const std::string& path() const noexcept { return path_; }
  std::string_view bytes() const noexcept override { return bytes_.view(); }
  // No write bit is set, as source control leaves a file that is not checked out, or the user may
  // not write the file (its owner, its access list, a read-only file system).
  std::string ReadOnlyReason() const override { return readOnly_; }

  // Replaces the file with `pieces`: a temporary file in the same folder, with the file's owner,
  // group, permissions and extended attributes, written and flushed, then swapped with the file and
  // the folder flushed, so that a crash leaves either the old file or the new one. A file with more
  // than one hard link, or whose owner or group a new file of this user's could not have, is edited
  // in place instead, after a backup copy beside it. Refuses a read-only file and a file that
  // changed on disk since it was read. Until the edit, any failure leaves the file as it was and
  // removes the temporary file. Throws host::SourceFileError.
  std::string Replace(host::NewBytesSource& pieces) override;
  using host::SourceFile::Replace;

  // Every later Replace() meets `faults`.
  void InjectFaults(SaveFaults faults) { faults_ = std::move(faults); }

 private:
  DiskSourceFile(std::string path, std::string target, FileDescriptor file, FileBytes bytes,
                 const FileIdentity& identity, std::string readOnly, std::shared_ptr<BoundedWait> wait,
                 std::string madeLine)
      : path_(std::move(path)),
        target_(std::move(target)),
        file_(std::move(file)),
        bytes_(std::move(bytes)),
        identity_(identity),
        readOnly_(std::move(readOnly)),
        wait_(std::move(wait)),
        madeLine_(std::move(madeLine)) {}

  // The held file still holds what was read (`quick`: as far as its size and times tell), and no
  // other program has it open for writing.
  bool StillAsRead(bool quick) const;
  // Waits, within the run's time, until no other program has the file open for writing.
  void WaitForWriters() const;

  std::string path_;     // as given, for messages
  std::string target_;   // the file itself, links followed
  FileDescriptor file_;  // open and locked while this object lives
  FileBytes bytes_;
  FileIdentity identity_;
  std::string readOnly_;
  std::shared_ptr<BoundedWait> wait_;
  std::string madeLine_;           // what a signal that stops the run after the edit has it say
  std::span<char> compareBuffer_;  // for the checks around the swap, while Replace runs
  SaveFaults faults_;
};

// Source files on disk; `faults` (empty outside tests) reaches every replacement, and `policy` says
// how long each run waits for other programs and what it says meanwhile.
class DiskSourceFiles final : public host::SourceFiles {
 public:
  explicit DiskSourceFiles(SaveFaults faults = {}, EditPolicy policy = {})
      : faults_(std::move(faults)), policy_(std::move(policy)) {}
  std::unique_ptr<host::SourceFile> Read(const std::string& path) override;
  std::optional<host::FileList> FilesBelow(const std::string& path) const override;

 private:
  SaveFaults faults_;
  EditPolicy policy_;
};

}  // namespace platform::posix
