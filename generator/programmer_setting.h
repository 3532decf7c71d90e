// generator/programmer_setting.h: the programmer's name that every header carries, as it is stored.
#pragma once

#include <string>
#include <string_view>

#include "host/settings_store.h"
#include "host/ui.h"

namespace generator {

// Under the application kProgramTitle ("Scrivlet"), where the dialog and the command line both keep it.
inline constexpr std::string_view kIdentificationSection = "Identification";
inline constexpr std::string_view kProgrammerKey = "Programmer";
inline constexpr std::string_view kDefaultProgrammer = "My name";

// The stored name, or "My name" when none is stored.
inline std::string StoredProgrammer(const host::SettingsStore& settings) {
  return settings.GetSetting(host::kProgramTitle, kIdentificationSection, kProgrammerKey, kDefaultProgrammer);
}

// Stores `name` unchanged; throws HostError when it cannot be stored.
inline void StoreProgrammer(host::SettingsStore& settings, std::string_view name) {
  settings.SaveSetting(host::kProgramTitle, kIdentificationSection, kProgrammerKey, name);
}

}  // namespace generator
