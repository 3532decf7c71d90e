// addin/win32/registry_keys.cpp: existence checks and deletions, each in a chosen registry view.
#include "addin/win32/registry_keys.h"

#include <array>
#include <vector>

#include "addin/win32/registry_edit.h"
#include "platform/win32/com_handles.h"

namespace addin::com {

using platform::win32::UniqueHkey;

bool KeyExists(HKEY root, const std::wstring& path, REGSAM view) {
  HKEY key = nullptr;
  if (::RegOpenKeyExW(root, path.c_str(), 0, KEY_READ | view, &key) != ERROR_SUCCESS) return false;
  ::RegCloseKey(key);
  return true;
}

// RegDeleteTree takes no view, and a key opened in one view does not carry it to the keys it opens:
// each level is opened and deleted with the view named.
void DeleteTree(HKEY root, const std::wstring& path, REGSAM view) {
  if (view == 0) {
    const LSTATUS status = ::RegDeleteTreeW(root, path.c_str());
    if (status != ERROR_FILE_NOT_FOUND) CheckStatus(status);
    return;
  }
  HKEY opened = nullptr;
  LSTATUS status = ::RegOpenKeyExW(root, path.c_str(), 0, KEY_READ | view, &opened);
  if (status == ERROR_FILE_NOT_FOUND) return;
  CheckStatus(status);
  std::vector<std::wstring> children;
  {
    const UniqueHkey key{opened};
    for (DWORD index = 0;; ++index) {
      std::array<wchar_t, 256> name{};
      DWORD length = static_cast<DWORD>(name.size());
      status = ::RegEnumKeyExW(key.get(), index, name.data(), &length, nullptr, nullptr, nullptr, nullptr);
      if (status == ERROR_NO_MORE_ITEMS) break;
      CheckStatus(status);
      children.emplace_back(name.data(), length);
    }
  }
  for (const std::wstring& child : children) DeleteTree(root, path + L'\\' + child, view);
  status = ::RegDeleteKeyExW(root, path.c_str(), view, 0);
  if (status != ERROR_FILE_NOT_FOUND) CheckStatus(status);
}

void DeleteIfEmpty(HKEY root, const std::wstring& path) {
  HKEY opened = nullptr;
  if (::RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) return;
  const UniqueHkey key{opened};
  DWORD subkeys = 0;
  DWORD values = 0;
  CheckStatus(::RegQueryInfoKeyW(key.get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values,
                                 nullptr, nullptr, nullptr, nullptr));
  if (subkeys == 0 && values == 0) CheckStatus(::RegDeleteKeyW(root, path.c_str()));
}

void PruneEmptyUpTo(HKEY root, std::wstring path, const std::wstring& stop) {
  while (path.size() > stop.size() && path.starts_with(stop)) {
    DeleteIfEmpty(root, path);
    path.resize(path.rfind(L'\\'));
  }
}

}  // namespace addin::com
