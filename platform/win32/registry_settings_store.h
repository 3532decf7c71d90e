// platform/win32/registry_settings_store.h: settings where VB's SaveSetting and GetSetting keep them.
#pragma once

#include <windows.h>

#include <string>

#include "host/settings_store.h"

namespace platform::win32 {

// HKEY_CURRENT_USER\Software\VB and VBA Program Settings\<application>\<section>, one REG_SZ value
// per key, so that a VB program reading the same setting finds it. Texts are stored as Unicode,
// blanks and embedded NULs included, and read back unchanged.
class RegistrySettingsStore final : public host::SettingsStore {
 public:
  // `root` under HKEY_CURRENT_USER; tests give a root of their own.
  explicit RegistrySettingsStore(std::wstring root = L"Software\\VB and VBA Program Settings")
      : root_(std::move(root)) {}

  // The fallback also when the value is of another type than text, or an address part is empty.
  std::string GetSetting(std::string_view application, std::string_view section, std::string_view key,
                         std::string_view fallback) const override;
  // Throws HostError 5 when an address part is empty or the registry refuses the value.
  void SaveSetting(std::string_view application, std::string_view section, std::string_view key,
                   std::string_view value) override;

 private:
  std::wstring SectionPath(std::string_view application, std::string_view section) const;

  std::wstring root_;
};

}  // namespace platform::win32
