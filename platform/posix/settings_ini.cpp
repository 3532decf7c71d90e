// platform/posix/settings_ini.cpp: escaping and parsing of the settings file's lines.
#include "platform/posix/settings_ini.h"

#include <cctype>
#include <tuple>

namespace platform::posix {

using host::SettingAddress;
using host::SettingValues;
namespace {

constexpr std::string_view kHex = "0123456789ABCDEF";

std::string Lowered(std::string_view text) {
  std::string lowered{text};
  for (char& c : lowered) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lowered;
}

std::string Escape(std::string_view text) {
  std::string escaped;
  for (const char c : text) {
    if (c == '%' || c == '\\' || c == '\r' || c == '\n' || c == '=' || c == '[' || c == ']') {
      const auto byte = static_cast<unsigned char>(c);
      escaped += '%';
      escaped += kHex[byte >> 4];
      escaped += kHex[byte & 0x0F];
    } else {
      escaped += c;
    }
  }
  return escaped;
}

int HexDigit(char c) {
  const auto at = kHex.find(static_cast<char>(std::toupper(static_cast<unsigned char>(c))));
  return at == std::string_view::npos ? -1 : static_cast<int>(at);
}

// Undoes Escape; a malformed escape is kept as it stands.
std::string Unescape(std::string_view text) {
  std::string plain;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size()) {
      const int high = HexDigit(text[i + 1]);
      const int low = HexDigit(text[i + 2]);
      if (high >= 0 && low >= 0) {
        plain += static_cast<char>(high * 16 + low);
        i += 2;
        continue;
      }
    }
    plain += text[i];
  }
  return plain;
}

}  // namespace

std::string WriteSettingsIni(const host::SettingValues& values) {
  std::string text;
  const host::SettingAddress* current = nullptr;
  for (const auto& [address, value] : values) {
    const bool sameSection = current != nullptr &&
                             Lowered(current->application) == Lowered(address.application) &&
                             Lowered(current->section) == Lowered(address.section);
    if (!sameSection) {
      if (current != nullptr) text += '\n';
      text += '[' + Escape(address.application) + '\\' + Escape(address.section) + "]\n";
      current = &address;
    }
    text += Escape(address.key) + '=' + Escape(value) + '\n';
  }
  return text;
}

host::SettingValues ReadSettingsIni(std::string_view text) {
  host::SettingValues values;
  std::string application;
  std::string section;
  bool inSection = false;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    const std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
      const std::string_view inside = line.substr(1, line.size() - 2);
      const std::size_t separator = inside.find('\\');
      // The separator is the only raw backslash: escaped ones read "%5C".
      inSection =
          separator != std::string_view::npos && inside.find('\\', separator + 1) == std::string_view::npos;
      if (inSection) {
        application = Unescape(inside.substr(0, separator));
        section = Unescape(inside.substr(separator + 1));
      }
      continue;
    }
    const std::size_t equals = line.find('=');
    if (!inSection || equals == std::string_view::npos) continue;
    values[{application, section, Unescape(line.substr(0, equals))}] = Unescape(line.substr(equals + 1));
  }
  return values;
}

}  // namespace platform::posix
