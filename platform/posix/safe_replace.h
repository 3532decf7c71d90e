// platform/posix/safe_replace.h: replaces a file whole, so that a crash leaves the old file or the
// new one and never a mixture, and a stopped run leaves no temporary file behind.
#pragma once

#include <functional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>

namespace platform::posix {

// The steps of a replacement, in order; a test can make any of them fail.
enum class SaveStep {
  kCreateTemporary,
  kPermissions,
  kAttributes,
  kWrite,
  kSync,
  kClose,
  kCheckUnchanged,
  kRename,
  kSyncFolder
};
// Returns 0 to let the step run, or the errno with which it should fail.
using SaveFaults = std::function<int(SaveStep)>;

// A step that failed before the rename, with the errno it failed with and, for an extended
// attribute, its name. The file is as it was and the temporary file is gone.
class ReplaceError : public std::runtime_error {
 public:
  ReplaceError(SaveStep step, int error, std::string attribute = {});
  SaveStep step() const noexcept { return step_; }
  int error() const noexcept { return error_; }
  const std::string& attribute() const noexcept { return attribute_; }

 private:
  SaveStep step_;
  int error_;
  std::string attribute_;
};

struct Replacement {
  // The file to replace (links already resolved: the rename replaces whatever this names) and
  // the temporary file's name, a path in the same folder ending in "XXXXXX".
  std::string target;
  std::string temporaryPattern;
  // An open descriptor of the file being replaced, whose owner (for root), mode, setuid and setgid
  // bits, access control list and other extended attributes the new file takes; -1 leaves the
  // new file as mkstemp makes it (0600, the user's).
  int metadataFrom = -1;
  // The last look before the rename, once the new file is flushed (SaveStep::kCheckUnchanged); it
  // throws to stop the replacement.
  std::function<void()> beforeRename;
  SaveFaults faults;
};

// Writes `pieces`, one after another, to a new temporary file, gives it the old file's metadata, flushes and
// closes it, runs the last check, renames it over the target and flushes the folder. Throws ReplaceError (or
// what beforeRename throws) for a failure before the rename. The rename is the edit: a folder that
// cannot be flushed after it does not undo it, so its errno is returned (0 when the folder was
// flushed). SIGINT, SIGTERM and SIGHUP remove the temporary file before they end the process.
int ReplaceFile(const Replacement& replacement, std::span<const std::string_view> pieces);

// The file a path names, links followed, so that a replacement keeps a link a link. A path that is
// no link is its own answer. Throws std::system_error when a link cannot be followed.
std::string ResolveLinks(const std::string& path);

}  // namespace platform::posix
