// platform/posix/safe_replace.h: replaces a file whole, so that a crash leaves the old file or the
// new one and never a mixture, another program's save is never overwritten, and a stopped run leaves
// no temporary file behind; or, where a new file could not be the old one (its owner, its links),
// edits it in place after a backup copy.
#pragma once

#include <sys/types.h>

#include <functional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>

#include "host/source_file.h"

namespace platform::posix {

// The steps of a replacement, in order; a test can make any of them fail.
enum class SaveStep {
  kCreateTemporary,  // the new file, beside the old one
  kPermissions,      // its owner, group and mode
  kAttributes,       // its extended attributes, the access list among them
  kWrite,
  kSync,
  kClose,
  kExchange,        // asked before the new file and the old are swapped: a failure falls back on a rename
  kRename,          // the swap, or the rename in its place: the edit itself
  kCheckUnchanged,  // the look at the file that was read: still the same file, as it was read
  kSyncFolder,
  kBackup,        // editing in place: the copy of the file as it was, beside it
  kWriteInPlace,  // editing in place: the new text written over the old, flushed
};
// Returns 0 to let the step run, or the errno with which it should fail.
using SaveFaults = std::function<int(SaveStep)>;

// A step that failed, with the errno it failed with and, for an extended attribute, its name. The
// file is as it was and the temporary file is gone, unless `kept` names where the file as it was is
// kept because it could not be put back.
class ReplaceError : public std::runtime_error {
 public:
  ReplaceError(SaveStep step, int error, std::string attribute = {});
  SaveStep step() const noexcept { return step_; }
  int error() const noexcept { return error_; }
  const std::string& attribute() const noexcept { return attribute_; }
  const std::string& kept() const noexcept { return kept_; }
  ReplaceError& Keeping(std::string kept) {
    kept_ = std::move(kept);
    return *this;
  }

 private:
  SaveStep step_;
  int error_;
  std::string attribute_;
  std::string kept_;
};

// The file is no longer the one that was read, or no longer as it was read: another program saved
// it. Nothing was written.
class ReplaceChanged : public std::runtime_error {
 public:
  ReplaceChanged() : std::runtime_error("changed on disk since it was read") {}
};

struct Replacement {
  // The file to replace (links already resolved: the swap replaces whatever this names) and the
  // temporary file's name, a path in the same folder ending in "XXXXXX".
  std::string target;
  std::string temporaryPattern;
  // The file being replaced, open: the new file takes its owner, group, mode, access list and other
  // extended attributes, and it is the file that must be swapped out. -1: the target is a new file,
  // and a file that takes its name meanwhile is not overwritten.
  int original = -1;
  // Whether the file open as `original` still holds the version that was read, and no other program
  // has it open for writing; throws ReplaceError(kCheckUnchanged, errno) when it cannot be read.
  // `quick` looks at what the system says of the file (its size, times, mode, owner) and leaves its
  // bytes unread.
  std::function<bool(bool quick)> unchanged;
  // Called once the new file is written, before the swap: waits for other programs that write the
  // file; throws to stop the replacement.
  std::function<void()> beforeSwap;
  // Editing in place (see EditInPlace): the file's bytes as they were read.
  std::string_view originalBytes;
  // The line to write on standard error if a signal stops the run once the edit is made.
  std::string madeLine;
  SaveFaults faults;
};

// What happened after the edit was made, for the caller to tell.
struct ReplaceOutcome {
  int folderError = 0;  // the errno with which the folder could not be flushed, or 0
  // Where the text that another program wrote into the old file, after it was checked and before it
  // was let go, is kept (a file beside the target); empty when nothing was written to it.
  std::string kept;
  int keepError = 0;  // the errno with which that text could not be kept, or 0
  // Another program's file has taken the target's name since the edit: the edit is not there.
  bool overtaken = false;
};

// Writes the pieces `pieces` hands over, one after another, to a new temporary file, gives it the old file's
// metadata, flushes and closes it, looks quickly that the target is still the file that was read, and swaps
// the two in one step (renameat2's RENAME_EXCHANGE); then it checks that what it swapped out is the file that
// was read, as it was read, and that no other program has it open for writing: if not, it swaps the two back
// and throws ReplaceChanged. Where the file system cannot swap, the check is made before a rename, and once
// more on the old file after it: what another program wrote to it in between is kept beside the target.
// Throws ReplaceError (or what beforeSwap throws) for a failure before the edit. The swap is the edit: a
// folder that cannot be flushed after it does not undo it. SIGINT, SIGTERM, SIGHUP and SIGQUIT
// remove the temporary file before they end the process, and once the edit is made write madeLine.
// What `pieces` throws stops the replacement before the swap, as a failure to write would.
ReplaceOutcome ReplaceFile(const Replacement& replacement, host::NewBytesSource& pieces);

// Writes `pieces` over the file open as `original` (reopened for writing through the target's
// path, which must name it), keeping its inode, and with it its owner, group, mode, access list and
// every hard link: a copy of originalBytes is made beside it first, the new text is written and
// flushed with the signals held, the file is cut to its new length, and the copy is removed. A
// failure while writing puts the old bytes back; if even that fails, the ReplaceError names the
// copy that keeps them. A crash while writing leaves the copy beside the file
// (".scrivlet-backup-XXXXXX").
ReplaceOutcome EditInPlace(const Replacement& replacement, std::span<const std::string_view> pieces);

// The user the process acts as, asked of the system once: nothing in a run changes it.
uid_t EffectiveUser() noexcept;

// The file a path names, links followed, so that a replacement keeps a link a link. A path that is
// no link is its own answer. Throws std::system_error when a link cannot be followed.
std::string ResolveLinks(const std::string& path);

}  // namespace platform::posix
