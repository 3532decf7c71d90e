// platform/posix/settings_ini.h: the settings file's text, written losslessly and read with inih.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

#include "host/settings_store.h"

namespace platform::posix {

// Settings that cannot be written so as to read back whole, or a text that cannot be read whole.
class SettingsIniError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// One "[application\section]" header per section, then "key=value" lines; a value too long for one line
// goes on in lines that start with a blank. Written as %HH: '%', '\', CR, LF, NUL, '=', ':', '[', ']',
// ';' and '#' in any part, a blank (space, tab, VT, FF) at either end of a part, and every blank of a
// value that takes more than one line; so every text, blanks and any bytes included, comes back as it
// was. Throws SettingsIniError when an application and section, or a key, are too long to be read back.
std::string WriteSettingsIni(const host::SettingValues& values);

// Reads the file as a person who edits it by hand means it: a UTF-8 byte-order mark, CR LF line ends,
// blanks around names, '=' and values, comment lines starting with ';' or '#', a ';' comment after a
// blank, indented keys. An indented line without '=' or ':' after a key goes on with its value, joined
// as it stands. Lines it cannot understand are ignored; a line too long to be read whole throws
// SettingsIniError.
host::SettingValues ReadSettingsIni(std::string_view text);

// `text`, a settings file as a person may have edited it, with `value` stored at `address` and every
// other line kept as it stands: comments, blank lines, sections and keys of other programs. The key's
// last line (and the lines that go on with its value) in the section's last header takes the new
// value; a key not there yet goes after the section's last key, and a section not there yet at the
// end of the file. New lines take the file's first line break. Throws SettingsIniError for a text
// that is not understood as settings (a line that is no comment, section or key, or a key before any
// section), which must not be saved over, and for one that would not read back the value.
std::string EditSettingsIni(std::string_view text, const host::SettingAddress& address,
                            std::string_view value);

}  // namespace platform::posix
