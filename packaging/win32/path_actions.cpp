// packaging/win32/path_actions.cpp: the package's custom actions, which put its folder at the end of
// the user's PATH at install and take it out at removal, each the other's rollback; in a machine-wide
// install, of the system's PATH. Deferred actions:
// the folder comes as CustomActionData. The Environment table cannot: under Wine at least, it adds its
// separator even after one that ends the value, and takes the folder out without its separator.
#include <windows.h>

#include <msi.h>
#include <msiquery.h>

#include <string>

#include "packaging/path_entry.h"
#include "platform/win32/com_handles.h"

namespace {

using ChangeOfList = std::wstring (*)(std::wstring_view list, std::wstring_view folder);

std::wstring ActionData(MSIHANDLE install) {
  DWORD length = 0;
  wchar_t none[1] = L"";
  if (::MsiGetPropertyW(install, L"CustomActionData", none, &length) != ERROR_MORE_DATA) return {};
  std::wstring value(++length, L'\0');
  if (::MsiGetPropertyW(install, L"CustomActionData", value.data(), &length) != ERROR_SUCCESS) return {};
  value.resize(length);
  return value;
}

// The user's PATH, of type REG_EXPAND_SZ where there is none yet; false when it cannot be read.
bool ReadPath(HKEY environment, std::wstring& path, DWORD& type) {
  DWORD bytes = 0;
  const LSTATUS status = ::RegQueryValueExW(environment, L"PATH", nullptr, &type, nullptr, &bytes);
  if (status == ERROR_FILE_NOT_FOUND) {
    type = REG_EXPAND_SZ;
    return true;
  }
  if (status != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return false;
  path.resize(bytes / sizeof(wchar_t) + 1);
  bytes = static_cast<DWORD>(path.size() * sizeof(wchar_t));
  if (::RegQueryValueExW(environment, L"PATH", nullptr, &type, reinterpret_cast<BYTE*>(path.data()),
                         &bytes) != ERROR_SUCCESS) {
    return false;
  }
  path.resize(std::wstring_view{path.c_str()}.size());  // without the terminating NULs
  return true;
}

// Where a PATH is kept: the user's, or the system's, which the machine-wide actions (run as the system,
// not impersonating) change.
struct Environment {
  HKEY root;
  const wchar_t* key;
};
const Environment kUser{HKEY_CURRENT_USER, L"Environment"};
const Environment kSystem{HKEY_LOCAL_MACHINE,
                          L"SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment"};

UINT ChangePath(MSIHANDLE install, Environment where, ChangeOfList change) noexcept {
  try {
    const std::wstring folder = ActionData(install);
    platform::win32::UniqueHkey environment;
    if (folder.empty() ||
        ::RegCreateKeyExW(where.root, where.key, 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr,
                          platform::win32::OutPtr{environment}, nullptr) != ERROR_SUCCESS) {
      return ERROR_INSTALL_FAILURE;
    }
    std::wstring path;
    DWORD type = REG_EXPAND_SZ;
    if (!ReadPath(environment.get(), path, type)) return ERROR_INSTALL_FAILURE;
    const std::wstring changed = change(path, folder);
    if (changed == path) return ERROR_SUCCESS;
    const LSTATUS status = changed.empty()
                               ? ::RegDeleteValueW(environment.get(), L"PATH")
                               : ::RegSetValueExW(environment.get(), L"PATH", 0, type,
                                                  reinterpret_cast<const BYTE*>(changed.c_str()),
                                                  static_cast<DWORD>((changed.size() + 1) * sizeof(wchar_t)));
    if (status != ERROR_SUCCESS) return ERROR_INSTALL_FAILURE;
    // Programs started from now on (a Command Prompt opened from Explorer) see the new PATH.
    ::SendMessageTimeoutW(HWND_BROADCAST, WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(L"Environment"),
                          SMTO_ABORTIFHUNG, 5000, nullptr);
    return ERROR_SUCCESS;
  } catch (...) {
    return ERROR_INSTALL_FAILURE;
  }
}

}  // namespace

extern "C" UINT __stdcall AddFolderToPath(MSIHANDLE install) {
  return ChangePath(install, kUser, packaging::WithFolder);
}

extern "C" UINT __stdcall TakeFolderOutOfPath(MSIHANDLE install) {
  return ChangePath(install, kUser, packaging::WithoutFolder);
}

extern "C" UINT __stdcall AddFolderToSystemPath(MSIHANDLE install) {
  return ChangePath(install, kSystem, packaging::WithFolder);
}

extern "C" UINT __stdcall TakeFolderOutOfSystemPath(MSIHANDLE install) {
  return ChangePath(install, kSystem, packaging::WithoutFolder);
}
