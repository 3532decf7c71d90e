// testing/ide/memory_settings_store.h: settings kept in memory for the length of one run, or of one
// test.
#pragma once

#include <string>
#include <string_view>

#include "host/settings_store.h"

namespace host {

// Addresses compare without regard to case, as in the per-user settings file.
class MemorySettingsStore final : public SettingsStore {
 public:
  std::string GetSetting(std::string_view application, std::string_view section, std::string_view key,
                         std::string_view fallback) const override {
    const auto it = values_.find({std::string{application}, std::string{section}, std::string{key}});
    return it == values_.end() ? std::string{fallback} : it->second;
  }

  void SaveSetting(std::string_view application, std::string_view section, std::string_view key,
                   std::string_view value) override {
    values_[{std::string{application}, std::string{section}, std::string{key}}] = std::string{value};
  }

 private:
  SettingValues values_;
};

}  // namespace host
