// platform/win32/safe_replace.h: replaces a file whole through a new file beside it and ReplaceFileW,
// so that a failure leaves the old file as it was and no new file behind.
#pragma once

#include <windows.h>

#include <functional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>

#include "host/source_file.h"
#include "platform/win32/file_handle.h"

namespace platform::win32 {

// The steps of a replacement, in order; a test can make any of them fail.
enum class SaveStep {
  kCreateTemporary,
  kSecurity,
  kAttributes,
  kWrite,
  kFlush,
  kClose,
  kCheckUnchanged,
  kReplace,
  kRemoveOldCopy
};
// Returns ERROR_SUCCESS to let the step run, or the Windows error with which it should fail.
using SaveFaults = std::function<DWORD(SaveStep)>;

// A step that failed before the replacement, with its Windows error. The file is as it was, and the
// new file is gone; but for a replacement that stopped half-way with the old file under another name
// that it could not be given back: then both names are kept, for the message to tell.
class ReplaceError : public std::runtime_error {
 public:
  ReplaceError(SaveStep step, DWORD error, std::wstring oldCopy = {}, std::wstring newFile = {});
  SaveStep step() const noexcept { return step_; }
  DWORD error() const noexcept { return error_; }
  const std::wstring& oldCopy() const noexcept { return oldCopy_; }
  const std::wstring& newFile() const noexcept { return newFile_; }

 private:
  SaveStep step_;
  DWORD error_;
  std::wstring oldCopy_;
  std::wstring newFile_;
};

struct Replacement {
  // The file to replace, as the system names it (links resolved), and its folder.
  std::wstring target;
  std::wstring folder;
  // The file, open since it was read (sharing reading and deletion only): the new file takes its
  // permissions, attributes and creation time, and it is closed once it has been replaced.
  UniqueFile* original = nullptr;
  // The last look before the replacement, once the new file is flushed (SaveStep::kCheckUnchanged);
  // it throws to stop the replacement.
  std::function<void()> beforeReplace;
  SaveFaults faults;
};

// What became of the file's old copy once the new file took its place.
struct Replaced {
  std::wstring oldCopy;   // the name ReplaceFileW gave it
  DWORD removeError = 0;  // ERROR_SUCCESS once it is deleted
};

// Writes the pieces `pieces` hands over to a new file in the folder, gives it the old file's permissions (its
// DACL), attributes and creation time, flushes and closes it, runs the last check, and puts it in the old
// file's place with ReplaceFileW, which also keeps what else Windows keeps of a file (its named
// streams, short name, object identifier, encryption and compression). The old file goes to a name
// of its own first, so that no failure can leave the path without a file, and is then deleted.
// Throws ReplaceError (or what beforeReplace or `pieces` throws) for a failure before the
// replacement. Nothing after the replacement throws.
Replaced ReplaceSafely(const Replacement& replacement, host::NewBytesSource& pieces);

}  // namespace platform::win32
