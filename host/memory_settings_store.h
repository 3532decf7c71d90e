// host/memory_settings_store.h: settings kept in memory for the length of one run, or of one test.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <tuple>

#include "host/settings_store.h"

namespace host {

class MemorySettingsStore final : public SettingsStore {
 public:
  std::string GetSetting(std::string_view application, std::string_view section, std::string_view key,
                         std::string_view fallback) const override {
    const auto it = values_.find(Key(application, section, key));
    return it == values_.end() ? std::string{fallback} : it->second;
  }

  void SaveSetting(std::string_view application, std::string_view section, std::string_view key,
                   std::string_view value) override {
    values_[Key(application, section, key)] = std::string{value};
  }

 private:
  using Address = std::tuple<std::string, std::string, std::string>;
  static Address Key(std::string_view application, std::string_view section, std::string_view key) {
    return {std::string{application}, std::string{section}, std::string{key}};
  }
  std::map<Address, std::string> values_;
};

}  // namespace host
