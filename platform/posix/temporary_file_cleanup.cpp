// platform/posix/temporary_file_cleanup.cpp: the signal handler, the one path it removes and the one
// line it writes.
#include "platform/posix/temporary_file_cleanup.h"

#include <limits.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstring>

namespace platform::posix {
namespace {

constexpr std::array<int, 4> kSignals{SIGINT, SIGTERM, SIGHUP, SIGQUIT};

// What the handler may touch: fixed buffers and flags, nothing that allocates or locks.
char g_temporary[PATH_MAX];
volatile sig_atomic_t g_registered = 0;
char g_line[PATH_MAX + 128];
volatile sig_atomic_t g_lineLength = 0;
std::array<struct sigaction, kSignals.size()> g_previous{};

void CleanUpThenStop(int signal) {
  if (g_registered != 0) ::unlink(g_temporary);
  if (g_lineLength > 0) {
    // Nothing more can be done for a line that cannot be written while the process ends.
    [[maybe_unused]] const ssize_t written =
        ::write(STDERR_FILENO, g_line, static_cast<size_t>(g_lineLength));
  }
  for (std::size_t i = 0; i < kSignals.size(); ++i) {
    if (kSignals[i] == signal) ::sigaction(signal, &g_previous[i], nullptr);
  }
  ::raise(signal);  // held until the handler returns, then acted on as before
}

sigset_t HeldSignals() noexcept {
  sigset_t set;
  sigemptyset(&set);
  for (const int signal : kSignals) sigaddset(&set, signal);
  return set;
}

}  // namespace

void InstallSignalCleanup() noexcept {
  static bool installed = false;
  if (installed) return;
  installed = true;
  for (std::size_t i = 0; i < kSignals.size(); ++i) {
    struct sigaction previous {};
    if (::sigaction(kSignals[i], nullptr, &previous) != 0 || previous.sa_handler == SIG_IGN) continue;
    g_previous[i] = previous;
    struct sigaction action {};
    action.sa_handler = CleanUpThenStop;
    action.sa_mask = HeldSignals();
    ::sigaction(kSignals[i], &action, nullptr);
  }
  struct sigaction ignore {};
  ignore.sa_handler = SIG_IGN;
  ::sigaction(SIGXFSZ, &ignore, nullptr);
}

void RemoveOnSignal(const char* path) noexcept {
  g_registered = 0;
  if (path == nullptr || std::strlen(path) >= sizeof g_temporary) return;
  std::strcpy(g_temporary, path);  // NOLINT(clang-analyzer-security.insecureAPI.strcpy): length checked
  g_registered = 1;
}

void SayOnSignal(const char* line) noexcept {
  g_lineLength = 0;
  if (line == nullptr) return;
  const std::size_t length = std::min(std::strlen(line), sizeof g_line);
  std::copy_n(line, length, g_line);
  g_lineLength = static_cast<sig_atomic_t>(length);
}

SignalsHeld::SignalsHeld() noexcept {
  const sigset_t held = HeldSignals();
  ::sigprocmask(SIG_BLOCK, &held, &previous_);
}

SignalsHeld::~SignalsHeld() {
  ::sigprocmask(SIG_SETMASK, &previous_, nullptr);
}

}  // namespace platform::posix
