// host/source_file.h: a source file the command line edits, read whole and replaced whole by the
// platform.
#pragma once

#include <memory>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>

#include "host/file_list.h"

namespace host {

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

// The bytes of a new file, handed over a few pieces at a time, so that a large edit is written as
// it is made rather than held whole. Each call's pieces hold until the next call; a call that gives
// none says that all were given. A call may throw: the replacement then stops, and the file is left
// as it was.
class NewBytesSource {
 public:
  virtual ~NewBytesSource() = default;
  virtual std::span<const std::string_view> Next() = 0;

 protected:
  NewBytesSource() = default;
  NewBytesSource(const NewBytesSource&) = default;
  NewBytesSource& operator=(const NewBytesSource&) = default;
};

// Pieces held whole, handed over at once.
class WholeBytes final : public NewBytesSource {
 public:
  explicit WholeBytes(std::span<const std::string_view> pieces) : pieces_(pieces) {}
  std::span<const std::string_view> Next() override { return std::exchange(pieces_, {}); }

 private:
  std::span<const std::string_view> pieces_;
};

class SourceFile {
 public:
  virtual ~SourceFile() = default;

  // The file's bytes as they were read.
  virtual std::string_view bytes() const noexcept = 0;
  // Why this user may not replace the file ("is read-only", as source control leaves a file that is
  // not checked out, or the system's reason), to follow the path in a message; empty when they may.
  virtual std::string ReadOnlyReason() const = 0;

  // Replaces the file with `pieces`, one after another, so that a crash leaves either the old file or
  // the new one, and keeps what the platform keeps of a file (owner, permissions, links). Refuses a
  // read-only file and a file that changed since it was read. Throws SourceFileError; until the
  // replacement itself, a failure leaves the file as it was. Once the file is replaced nothing
  // throws: what went wrong after that (the folder could not be flushed) comes back as a warning to
  // show, else empty. The pieces let a caller write unchanged spans of the old bytes as they are.
  virtual std::string Replace(NewBytesSource& pieces) = 0;
  std::string Replace(std::span<const std::string_view> pieces) {
    WholeBytes whole{pieces};
    return Replace(whole);
  }
  std::string Replace(std::string_view bytes) {
    const std::string_view whole[] = {bytes};
    return Replace(std::span<const std::string_view>{whole});
  }

 protected:
  SourceFile() = default;
  SourceFile(const SourceFile&) = default;
  SourceFile& operator=(const SourceFile&) = default;
};

class SourceFiles {
 public:
  virtual ~SourceFiles() = default;

  // Reads the whole file. Throws SourceFileError when the path is missing, is a folder or another
  // kind of non-regular file, or cannot be read.
  virtual std::unique_ptr<SourceFile> Read(const std::string& path) = 0;

  // Every file in the folder `path` and the folders below it, in the byte order of their whole paths,
  // leaving out what a leading dot hides (.git, .scrivlet); the list's prefix is `path` with the
  // platform's separator after it, unless it ends with one. Nothing when `path` is not a folder.
  // Throws SourceFileError when a folder cannot be read.
  virtual std::optional<FileList> FilesBelow(const std::string& path) const {
    static_cast<void>(path);
    return std::nullopt;
  }

 protected:
  SourceFiles() = default;
  SourceFiles(const SourceFiles&) = default;
  SourceFiles& operator=(const SourceFiles&) = default;
};

}  // namespace host
