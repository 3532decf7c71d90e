// platform/win32/registry_settings_store.cpp: one registry key per section, one text value per setting.
#include "platform/win32/registry_settings_store.h"

#include <vector>

#include "host/host_error.h"
#include "host/vb_errors.h"
#include "platform/win32/com_handles.h"
#include "platform/win32/wide.h"

namespace platform::win32 {
namespace {

bool AnyEmpty(std::string_view application, std::string_view section, std::string_view key) {
  return application.empty() || section.empty() || key.empty();
}

host::HostError SaveFailure() {
  return host::VbError(host::kErrInvalidCall);
}

}  // namespace

std::wstring RegistrySettingsStore::SectionPath(std::string_view application,
                                                std::string_view section) const {
  return root_ + L'\\' + Wide(application) + L'\\' + Wide(section);
}

std::string RegistrySettingsStore::GetSetting(std::string_view application, std::string_view section,
                                              std::string_view key, std::string_view fallback) const {
  if (AnyEmpty(application, section, key)) return std::string{fallback};
  UniqueHkey sectionKey;
  if (::RegOpenKeyExW(HKEY_CURRENT_USER, SectionPath(application, section).c_str(), 0, KEY_QUERY_VALUE,
                      OutPtr{sectionKey}) != ERROR_SUCCESS) {
    return std::string{fallback};
  }
  const std::wstring name = Wide(key);
  // The value may change between the two calls; read again until the buffer was large enough.
  for (int attempt = 0; attempt < 4; ++attempt) {
    DWORD type = 0;
    DWORD size = 0;
    if (::RegQueryValueExW(sectionKey.get(), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        type != REG_SZ) {
      return std::string{fallback};
    }
    std::vector<wchar_t> data(size / sizeof(wchar_t) + 1, L'\0');
    DWORD read = static_cast<DWORD>(data.size()) * DWORD{sizeof(wchar_t)};
    const LSTATUS status = ::RegQueryValueExW(sectionKey.get(), name.c_str(), nullptr, &type,
                                              reinterpret_cast<BYTE*>(data.data()), &read);
    if (status == ERROR_MORE_DATA) continue;
    if (status != ERROR_SUCCESS || type != REG_SZ) return std::string{fallback};
    std::wstring_view text{data.data(), read / sizeof(wchar_t)};
    // The stored terminator is not part of the text; a value written without one has none to drop.
    if (!text.empty() && text.back() == L'\0') text.remove_suffix(1);
    return Narrow(text);
  }
  return std::string{fallback};
}

void RegistrySettingsStore::SaveSetting(std::string_view application, std::string_view section,
                                        std::string_view key, std::string_view value) {
  if (AnyEmpty(application, section, key)) throw SaveFailure();
  UniqueHkey sectionKey;
  if (::RegCreateKeyExW(HKEY_CURRENT_USER, SectionPath(application, section).c_str(), 0, nullptr,
                        REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr, OutPtr{sectionKey},
                        nullptr) != ERROR_SUCCESS) {
    throw SaveFailure();
  }
  const std::wstring text = Wide(value);
  const DWORD bytes = static_cast<DWORD>(text.size() + 1) * DWORD{sizeof(wchar_t)};  // with its terminator
  if (::RegSetValueExW(sectionKey.get(), Wide(key).c_str(), 0, REG_SZ,
                       reinterpret_cast<const BYTE*>(text.c_str()), bytes) != ERROR_SUCCESS) {
    throw SaveFailure();
  }
}

}  // namespace platform::win32
