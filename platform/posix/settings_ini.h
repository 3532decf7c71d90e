// platform/posix/settings_ini.h: the text form of the per-user settings file, read and written losslessly.
#pragma once

#include <string>
#include <string_view>

#include "host/settings_store.h"

namespace platform::posix {

// One "[application\section]" header per section, then "key=value" lines. A percent sign, backslash,
// CR, LF, '=', '[' and ']' in any part are written as %HH, so that every text, blanks included, comes
// back as it was.
std::string WriteSettingsIni(const host::SettingValues& values);

// Reads what WriteSettingsIni wrote; lines it cannot understand are ignored.
host::SettingValues ReadSettingsIni(std::string_view text);

}  // namespace platform::posix
