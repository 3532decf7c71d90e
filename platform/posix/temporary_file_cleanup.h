// platform/posix/temporary_file_cleanup.h: what a signal that stops the process does to an edit under
// way: a temporary file is removed, and an edit already made is said to be made.
#pragma once

#include <signal.h>

namespace platform::posix {

// Makes SIGINT, SIGTERM, SIGHUP and SIGQUIT remove the registered temporary file and write the
// registered message, then end the process as they would have (a shell sees 128 + the signal's
// number). A signal the process ignores stays ignored. SIGXFSZ is ignored, so that a file size
// limit makes a write fail with EFBIG, which a replacement reports like any other failed write,
// instead of killing the process in the middle of it. Called once before the first temporary file;
// later calls do nothing.
void InstallSignalCleanup() noexcept;

// Registers the one temporary file to remove (nullptr: none). A path too long to keep is not
// registered. Call it with the signals held.
void RemoveOnSignal(const char* path) noexcept;

// Registers the line to write on standard error when a signal stops the process from now on
// (nullptr: none), such as the news that the edit was made before the run was stopped. A line too
// long to keep is cut. Call it with the signals held; nullptr needs no hold, being one store that a
// handler sees whole, before or after.
void SayOnSignal(const char* line) noexcept;

// Holds SIGINT, SIGTERM, SIGHUP and SIGQUIT back for its lifetime, so that a file and its
// registration change together, and an edit and what is said of it.
class SignalsHeld {
 public:
  SignalsHeld() noexcept;
  ~SignalsHeld();
  SignalsHeld(const SignalsHeld&) = delete;
  SignalsHeld& operator=(const SignalsHeld&) = delete;

 private:
  sigset_t previous_{};
};

}  // namespace platform::posix
