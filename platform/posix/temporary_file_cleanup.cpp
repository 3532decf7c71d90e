// platform/posix/temporary_file_cleanup.cpp: the signal handler and the one path it removes.
#include "platform/posix/temporary_file_cleanup.h"

#include <limits.h>
#include <unistd.h>

#include <array>
#include <cstring>

namespace platform::posix {
namespace {

constexpr std::array<int, 3> kSignals{SIGINT, SIGTERM, SIGHUP};

// What the handler may touch: a fixed buffer and a flag, nothing that allocates or locks.
char g_temporary[PATH_MAX];
volatile sig_atomic_t g_registered = 0;
std::array<struct sigaction, kSignals.size()> g_previous{};

void RemoveTemporaryThenStop(int signal) {
  if (g_registered != 0) ::unlink(g_temporary);
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
    action.sa_handler = RemoveTemporaryThenStop;
    action.sa_mask = HeldSignals();
    ::sigaction(kSignals[i], &action, nullptr);
  }
}

void RemoveOnSignal(const char* path) noexcept {
  g_registered = 0;
  if (path == nullptr || std::strlen(path) >= sizeof g_temporary) return;
  std::strcpy(g_temporary, path);  // NOLINT(clang-analyzer-security.insecureAPI.strcpy): length checked
  g_registered = 1;
}

SignalsHeld::SignalsHeld() noexcept {
  const sigset_t held = HeldSignals();
  ::sigprocmask(SIG_BLOCK, &held, &previous_);
}

SignalsHeld::~SignalsHeld() {
  ::sigprocmask(SIG_SETMASK, &previous_, nullptr);
}

}  // namespace platform::posix
