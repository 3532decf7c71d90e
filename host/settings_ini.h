// host/settings_ini.h: the text form of the per-user settings file, read and written losslessly.
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

// One "[application\section]" header per section, then "key=value" lines. A percent sign, backslash,
// CR, LF, '=', '[' and ']' in any part are written as %HH, so that every text, blanks included, comes
// back as it was.
std::string WriteSettingsIni(const SettingValues& values);

// Reads what WriteSettingsIni wrote; lines it cannot understand are ignored.
SettingValues ReadSettingsIni(std::string_view text);

}  // namespace host
