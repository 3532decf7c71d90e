// addin/win32/registry_edit.h: registry writes that remember how to take themselves back, so that a
// registration that fails half-way leaves the registry as it found it.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/win32/com_handles.h"

namespace addin::com {

// Carries a failing HRESULT out of a registration step to the exported function's boundary.
struct RegistrationFailure {
  HRESULT hr;
};

// Throws RegistrationFailure for anything but ERROR_SUCCESS.
void CheckStatus(LSTATUS status);

// One registration's writes, in order. Each write first records what undoes it: a key it creates is
// deleted again, a value it replaces gets its old type and data back, a value it adds goes. Keys are
// opened in the caller's own registry view, as COM in a process of the same bitness reads them.
class RegistryEdit {
 public:
  RegistryEdit() = default;
  RegistryEdit(const RegistryEdit&) = delete;
  RegistryEdit& operator=(const RegistryEdit&) = delete;

  // `name` empty sets the key's default value. Both create `path` and every missing key above it.
  // Throw RegistrationFailure (or std::bad_alloc) when the registry refuses; what was recorded stays
  // undoable.
  void SetText(HKEY root, const std::wstring& path, std::wstring_view name, std::wstring_view text);
  void SetNumber(HKEY root, const std::wstring& path, std::wstring_view name, DWORD number);
  // A step done elsewhere (a system call that writes keys of its own), with the call that undoes it.
  void Recorded(std::function<void()> undo);

  // Takes every write back, the last first, and forgets them. A step that cannot be undone is
  // skipped: the others still are. Never throws.
  void Undo() noexcept;
  // Keeps everything written: the registration succeeded.
  void Commit() noexcept { undo_.clear(); }

 private:
  // Opens `path`, creating each missing key level by level so that each one created is recorded.
  platform::win32::UniqueHkey Create(HKEY root, const std::wstring& path);
  void SetValue(HKEY root, const std::wstring& path, std::wstring_view name, DWORD type, const BYTE* data,
                DWORD size);

  std::vector<std::function<void()>> undo_;
};

}  // namespace addin::com
