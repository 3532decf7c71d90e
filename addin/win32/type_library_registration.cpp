// addin/win32/type_library_registration.cpp: RegisterTypeLib machine-wide, and the undoing of either scope's
// type library keys.
#include "addin/win32/type_library_registration.h"

#include <oleauto.h>

#include <array>
#include <string>
#include <string_view>

#include "addin/registry_table.h"
#include "addin/win32/registry_keys.h"
#include "platform/win32/com_handles.h"
#include "platform/win32/wide.h"

namespace addin::com {
namespace {

namespace table = addin::registry;
using platform::win32::Wide;

constexpr table::Bits kOwnBits = sizeof(void*) == 8 ? table::Bits::k64 : table::Bits::k32;
// Under HKEY_LOCAL_MACHINE machine-wide, under HKEY_CURRENT_USER per user.
constexpr std::wstring_view kClasses = L"Software\\Classes\\";

std::wstring ClassesKey(const std::string& key) {
  return std::wstring{kClasses} + Wide(key);
}

std::wstring VersionKey() {
  return ClassesKey(table::LibraryVersionKey());
}

std::wstring PlatformKey() {
  return VersionKey() + L'\\' + Wide(table::LibraryPlatformKey(kOwnBits));
}

// Whether the version key holds anything but FLAGS and HELPDIR, in the view `view`: a platform still
// registered.
bool AnyPlatformLeft(HKEY root, const std::wstring& versionKey, REGSAM view) {
  HKEY opened = nullptr;
  if (::RegOpenKeyExW(root, versionKey.c_str(), 0, KEY_READ | view, &opened) != ERROR_SUCCESS) return false;
  const platform::win32::UniqueHkey key{opened};
  for (DWORD index = 0;; ++index) {
    std::array<wchar_t, 256> name{};
    DWORD length = static_cast<DWORD>(name.size());
    const LSTATUS status =
        ::RegEnumKeyExW(key.get(), index, name.data(), &length, nullptr, nullptr, nullptr, nullptr);
    if (status == ERROR_NO_MORE_ITEMS) return false;
    CheckStatus(status);
    const std::wstring_view child{name.data(), length};
    if (::CompareStringOrdinal(child.data(), static_cast<int>(child.size()), L"FLAGS", -1, TRUE) !=
            CSTR_EQUAL &&
        ::CompareStringOrdinal(child.data(), static_cast<int>(child.size()), L"HELPDIR", -1, TRUE) !=
            CSTR_EQUAL) {
      return true;
    }
  }
}

}  // namespace

void RegisterMachineTypeLibrary(RegistryEdit& edit, ITypeLib* library, std::wstring& serverPath) {
  const bool registeredBefore = KeyExists(HKEY_LOCAL_MACHINE, PlatformKey());
  // Recorded first: a RegisterTypeLib that fails half-way may have written some of its keys.
  edit.Recorded([registeredBefore] {
    if (!registeredBefore) UnregisterTypeLibrary(HKEY_LOCAL_MACHINE);
  });
  const HRESULT hr = ::RegisterTypeLib(library, serverPath.data(), nullptr);
  if (FAILED(hr)) throw RegistrationFailure{hr};
}

void UnregisterTypeLibrary(HKEY root) {
  const std::wstring version = VersionKey();
  DeleteTree(root, PlatformKey());
  DeleteIfEmpty(root, version + L'\\' + Wide(table::kLibraryLocale));
  // One TypeLib key serves both bitnesses on Windows; a registry that keeps one per bitness (Wine's
  // per-user classes) is asked in both views.
  const bool otherRegistered =
      AnyPlatformLeft(root, version, 0) || AnyPlatformLeft(root, version, kOtherView);
  for (const table::InterfaceEntry& entry : table::kInterfaces) {
    const std::wstring key = ClassesKey(table::InterfaceKey(entry));
    DeleteTree(root, key);
    if (!otherRegistered) DeleteTree(root, key, kOtherView);
  }
  if (AnyPlatformLeft(root, version, 0)) return;
  DeleteTree(root, version);
  DeleteIfEmpty(root, ClassesKey(table::LibraryKey()));
}

}  // namespace addin::com
