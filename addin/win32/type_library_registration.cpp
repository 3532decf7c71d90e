// addin/win32/type_library_registration.cpp: RegisterTypeLib machine-wide, and its per-user keys by hand.
#include "addin/win32/type_library_registration.h"

#include <oleauto.h>

#include <array>
#include <string>
#include <string_view>

#include "addin/win32/penwright.h"
#include "addin/win32/registry_keys.h"
#include "platform/win32/com_handles.h"

namespace addin::com {
namespace {

constexpr SYSKIND kSysKind = sizeof(void*) == 8 ? SYS_WIN64 : SYS_WIN32;
// Under HKEY_LOCAL_MACHINE machine-wide, under HKEY_CURRENT_USER per user.
constexpr wchar_t kClasses[] = L"Software\\Classes\\";
// The library's version and locale, as penwright.idl declares them.
constexpr wchar_t kVersion[] = L"1.0";
constexpr wchar_t kLocale[] = L"0";
// The automation marshaller (PSOAInterface), the proxy of every dual interface a type library describes.
constexpr wchar_t kAutomationProxy[] = L"{00020424-0000-0000-C000-000000000046}";

struct Interface {
  const IID& iid;
  std::wstring_view name;
};
const std::array<Interface, 2> kInterfaces = {
    {{IID__Connect, L"_Connect"}, {IID__CEcrireCode, L"_CEcrireCode"}}};

std::wstring VersionKey(std::wstring_view classes) {
  return std::wstring{classes} + L"TypeLib\\" + GuidText(LIBID_Penwright) + L'\\' + kVersion;
}

std::wstring PlatformKey(std::wstring_view classes) {
  return VersionKey(classes) + L'\\' + kLocale + L'\\' + std::wstring{TypeLibraryPlatform()};
}

std::wstring LibraryKey() {
  return std::wstring{kClasses} + L"TypeLib\\" + GuidText(LIBID_Penwright);
}

std::wstring InterfaceKey(const Interface& entry) {
  return std::wstring{kClasses} + L"Interface\\" + GuidText(entry.iid);
}

// The library's flags, as RegisterTypeLib writes them under FLAGS: a decimal number.
std::wstring LibraryFlags(ITypeLib* library) {
  TLIBATTR* attributes = nullptr;
  if (FAILED(library->GetLibAttr(&attributes))) throw RegistrationFailure{E_FAIL};
  const WORD flags = attributes->wLibFlags;
  library->ReleaseTLibAttr(attributes);
  return std::to_wstring(flags);
}

std::wstring LibraryDescription(ITypeLib* library) {
  platform::win32::UniqueBstr text;
  if (FAILED(library->GetDocumentation(-1, nullptr, platform::win32::OutPtr{text}, nullptr, nullptr)))
    throw RegistrationFailure{E_FAIL};
  return std::wstring{platform::win32::BstrView(text.get())};
}

// Whether the version key holds anything but FLAGS and HELPDIR, in the view `view`: a platform still
// registered.
bool AnyPlatformLeft(HKEY root, const std::wstring& versionKey, REGSAM view) {
  platform::win32::UniqueHkey key;
  if (::RegOpenKeyExW(root, versionKey.c_str(), 0, KEY_READ | view, platform::win32::OutPtr{key}) !=
      ERROR_SUCCESS) {
    return false;
  }
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

std::wstring_view TypeLibraryPlatform() noexcept {
  return kSysKind == SYS_WIN64 ? L"win64" : L"win32";
}

void RegisterMachineTypeLibrary(RegistryEdit& edit, ITypeLib* library, std::wstring& serverPath) {
  const bool registeredBefore = KeyExists(HKEY_LOCAL_MACHINE, PlatformKey(kClasses));
  // Recorded first: a RegisterTypeLib that fails half-way may have written some of its keys.
  edit.Recorded([registeredBefore] {
    if (!registeredBefore) UnregisterTypeLibrary(HKEY_LOCAL_MACHINE);
  });
  const HRESULT hr = ::RegisterTypeLib(library, serverPath.data(), nullptr);
  if (FAILED(hr)) throw RegistrationFailure{hr};
}

void RegisterUserTypeLibrary(RegistryEdit& edit, ITypeLib* library, const std::wstring& serverPath) {
  const std::wstring version = VersionKey(kClasses);
  edit.SetText(HKEY_CURRENT_USER, version, {}, LibraryDescription(library));
  edit.SetText(HKEY_CURRENT_USER, PlatformKey(kClasses), {}, serverPath);
  edit.SetText(HKEY_CURRENT_USER, version + L"\\FLAGS", {}, LibraryFlags(library));
  edit.SetText(HKEY_CURRENT_USER, version + L"\\HELPDIR", {}, serverPath.substr(0, serverPath.rfind(L'\\')));
  const std::wstring libid = GuidText(LIBID_Penwright);
  for (const Interface& entry : kInterfaces) {
    const std::wstring key = InterfaceKey(entry);
    edit.SetText(HKEY_CURRENT_USER, key, {}, entry.name);
    edit.SetText(HKEY_CURRENT_USER, key + L"\\ProxyStubClsid", {}, kAutomationProxy);
    edit.SetText(HKEY_CURRENT_USER, key + L"\\ProxyStubClsid32", {}, kAutomationProxy);
    edit.SetText(HKEY_CURRENT_USER, key + L"\\TypeLib", {}, libid);
    edit.SetText(HKEY_CURRENT_USER, key + L"\\TypeLib", L"Version", kVersion);
  }
}

void UnregisterTypeLibrary(HKEY root) {
  const std::wstring version = VersionKey(kClasses);
  DeleteTree(root, PlatformKey(kClasses));
  DeleteIfEmpty(root, version + L'\\' + kLocale);
  // One TypeLib key serves both bitnesses on Windows; a registry that keeps one per bitness (Wine's
  // per-user classes) is asked in both views.
  const bool otherRegistered =
      AnyPlatformLeft(root, version, 0) || AnyPlatformLeft(root, version, kOtherView);
  for (const Interface& entry : kInterfaces) {
    DeleteTree(root, InterfaceKey(entry));
    if (!otherRegistered) DeleteTree(root, InterfaceKey(entry), kOtherView);
  }
  if (AnyPlatformLeft(root, version, 0)) return;
  DeleteTree(root, version);
  DeleteIfEmpty(root, LibraryKey());
}

}  // namespace addin::com
