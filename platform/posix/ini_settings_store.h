// platform/posix/ini_settings_store.h: per-user settings in $XDG_CONFIG_HOME/scrivlet/settings.ini.
#pragma once

#include <string>

#include "host/settings_store.h"

namespace platform::posix {

// A missing file, or one the user may not read, gives the defaults. Anything else that is not a regular
// file (a named pipe would hang the run, a link to a device would never end), a file over 1 MB, a line
// too long to read whole, and any other failure to read are refused with HostError, by reading and
// saving alike. Saving changes the one value and keeps every other line of a file a person may have
// edited (comments, other programs' sections), and refuses a file it does not understand as
// settings; the file is replaced as a source file is (its owner, mode and access list kept, a link
// kept a link, a crash leaving the old file or the new one).
class IniSettingsStore final : public host::SettingsStore {
 public:
  explicit IniSettingsStore(std::string path) : path_(std::move(path)) {}

  // $XDG_CONFIG_HOME/scrivlet/settings.ini, or ~/.config/scrivlet/settings.ini when it is unset or
  // not absolute; throws HostError when neither it nor the home folder can be found.
  static std::string DefaultPath();

  std::string GetSetting(std::string_view application, std::string_view section, std::string_view key,
                         std::string_view fallback) const override;
  void SaveSetting(std::string_view application, std::string_view section, std::string_view key,
                   std::string_view value) override;

  const std::string& path() const noexcept { return path_; }

 private:
  void SaveInto(const host::SettingAddress& address, std::string_view value);
  void SaveNew(const host::SettingAddress& address, std::string_view value);

  std::string path_;
};

}  // namespace platform::posix
