// host/settings_store.h: per-user text settings addressed by application, section and key.
#pragma once

#include <map>
#include <string>
#include <string_view>

namespace host {

// Application, section and key compare without regard to ASCII case, as the Windows registry does.
struct SettingAddress {
  std::string application;
  std::string section;
  std::string key;
};

struct SettingAddressLess {
  bool operator()(const SettingAddress& a, const SettingAddress& b) const;
};

using SettingValues = std::map<SettingAddress, std::string, SettingAddressLess>;

class SettingsStore {
 public:
  virtual ~SettingsStore() = default;

  // The stored text, or `fallback` when nothing is stored (or the user may not read the store).
  // Throws HostError for a store that cannot be trusted to hold settings at all.
  virtual std::string GetSetting(std::string_view application, std::string_view section, std::string_view key,
                                 std::string_view fallback) const = 0;
  // Creates or replaces the value; throws HostError when it cannot be stored.
  virtual void SaveSetting(std::string_view application, std::string_view section, std::string_view key,
                           std::string_view value) = 0;

 protected:
  SettingsStore() = default;
  SettingsStore(const SettingsStore&) = default;
  SettingsStore& operator=(const SettingsStore&) = default;
};

}  // namespace host
