// addin/win32/server_lifetime.cpp: the counts are atomic, so that a free-threaded client cannot tear them.
#include "addin/win32/server_lifetime.h"

#include <atomic>
#include <vector>

#include "host/host_error.h"
#include "host/vb_errors.h"
#include "host/win32/command_bar_events_sink.h"

namespace addin::com {
namespace {

HMODULE g_module = nullptr;
std::atomic<long> g_objects{0};
std::atomic<long> g_locks{0};

}  // namespace

void SetServerModule(HMODULE module) noexcept {
  g_module = module;
}

std::wstring ServerPath() {
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    const DWORD size = static_cast<DWORD>(buffer.size());
    const DWORD length = ::GetModuleFileNameW(g_module, buffer.data(), size);
    if (length == 0) throw host::HostError{host::kErrInvalidCall, "The path of Scrivlet.dll cannot be read."};
    if (length < size) return {buffer.data(), length};
    buffer.resize(buffer.size() * 2);  // truncated: a longer path than MAX_PATH
  }
}

void ObjectCreated() noexcept {
  ++g_objects;
}

void ObjectDestroyed() noexcept {
  --g_objects;
}

void AddLock() noexcept {
  ++g_locks;
}

bool RemoveLock() noexcept {
  long locks = g_locks.load();
  while (locks > 0) {
    if (g_locks.compare_exchange_weak(locks, locks - 1)) return true;
  }
  return false;
}

bool CanUnload() noexcept {
  // A menu's event source that still holds one of the DLL's sinks could call into it.
  return g_objects.load() == 0 && g_locks.load() == 0 && host::win32::LiveEventSinks() == 0;
}

}  // namespace addin::com
