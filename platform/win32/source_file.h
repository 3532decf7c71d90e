// platform/win32/source_file.h: a source file read whole, held against other writers, and replaced
// whole.
#pragma once

#include <windows.h>

#include <chrono>
#include <memory>
#include <string>
#include <string_view>

#include "host/source_file.h"
#include "platform/win32/file_handle.h"
#include "platform/win32/safe_replace.h"

namespace platform::win32 {

// What tells one version of a file from another.
struct FileVersion {
  DWORD volume = 0;
  ULONGLONG index = 0;
  ULONGLONG size = 0;
  ULONGLONG lastWrite = 0;
  DWORD attributes = 0;

  friend bool operator==(const FileVersion&, const FileVersion&) = default;
};

// A file on disk, open from its reading to its replacement with a share mode that lets others read it
// and nobody else write it: a second run of ours, which asks to write, waits for the first, and a
// program that holds the file without letting others write it is waited for, then refused. A link is
// followed, and the file it points to is the one a replacement writes.
class WindowsSourceFile final : public host::SourceFile {
 public:
  std::string_view bytes() const noexcept override { return bytes_; }
  // The read-only attribute is set, as source control leaves a file that is not checked out.
  std::string ReadOnlyReason() const override;

  // Refuses a read-only file and one that changed on disk since it was read; writes a new file beside
  // it and puts it in its place (ReplaceSafely). Until then, any failure leaves the file as it was
  // and no new file. Throws host::SourceFileError; the warning it returns is about the old copy,
  // once the file is replaced.
  std::string Replace(host::NewBytesSource& pieces) override;
  using host::SourceFile::Replace;

 private:
  bool IsReadOnly() const noexcept { return (version_.attributes & FILE_ATTRIBUTE_READONLY) != 0; }
  friend class WindowsSourceFiles;
  WindowsSourceFile(std::string path, std::wstring target, UniqueFile file, std::string bytes,
                    const FileVersion& version, SaveFaults faults);
  // Whether the path still names the version that was read, with the same bytes.
  bool IsUnchanged() const;

  std::string path_;     // as given, for messages
  std::wstring target_;  // the file itself, as the system names it
  UniqueFile file_;
  std::string bytes_;
  FileVersion version_;
  SaveFaults faults_;
};

class WindowsSourceFiles final : public host::SourceFiles {
 public:
  std::optional<host::FileList> FilesBelow(const std::string& path) const override;
  // How long a run waits for a file that another program (or another run) holds.
  static constexpr std::chrono::milliseconds kPatience{10000};

  // `faults` (empty outside tests) reaches every replacement.
  explicit WindowsSourceFiles(std::chrono::milliseconds patience = kPatience, SaveFaults faults = {})
      : patience_(patience), faults_(std::move(faults)) {}

  // Reads the whole file. Throws host::SourceFileError when the path is missing, is a folder or a
  // device, cannot be read, or is held by another program for longer than the patience.
  std::unique_ptr<host::SourceFile> Read(const std::string& path) override;

 private:
  std::chrono::milliseconds patience_;
  SaveFaults faults_;
};

}  // namespace platform::win32
