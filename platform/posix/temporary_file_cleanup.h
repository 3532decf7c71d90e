// platform/posix/temporary_file_cleanup.h: removes the temporary file of a replacement under way when
// SIGINT, SIGTERM or SIGHUP stops the process.
#pragma once

#include <signal.h>

namespace platform::posix {

// Makes the three signals remove the registered temporary file, then end the process as they would
// have (a shell sees 128 + the signal's number). A signal the process ignores stays ignored. Called
// once before the first temporary file; later calls do nothing.
void InstallSignalCleanup() noexcept;

// Registers the one temporary file to remove (nullptr: none). A path too long to keep is not
// registered. Call it with the signals held.
void RemoveOnSignal(const char* path) noexcept;

// Holds SIGINT, SIGTERM and SIGHUP back for its lifetime, so that a file and its registration
// change together.
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
