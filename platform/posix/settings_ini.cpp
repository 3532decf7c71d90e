// platform/posix/settings_ini.cpp: the settings file's escaping and lines, written here and parsed by inih.
#include "platform/posix/settings_ini.h"

#include <ini.h>

#include <algorithm>
#include <cctype>
#include <cstddef>
#include <exception>
#include <functional>
#include <limits>
#include <new>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace platform::posix {

using host::SettingAddress;
using host::SettingValues;
namespace {

constexpr std::string_view kHex = "0123456789ABCDEF";
// What inih strips from both ends of a name or value: isspace in the C locale, which the program never
// changes.
constexpr std::string_view kBlanks = " \t\n\v\f\r";
// inih reads a line into a buffer of INI_MAX_LINE bytes that also holds its line feed and a NUL; a
// longer line would reach it in pieces, each taken for a line of its own.
constexpr std::size_t kMostLineBytes = INI_MAX_LINE - 2;
// inih keeps the first 49 bytes of a section's name (its limit is not in its header): a name that long
// may have been cut, so it is not read, and none so long is written.
constexpr std::size_t kSectionBytesKept = 49;

std::string Lowered(std::string_view text) {
  std::string lowered{text};
  for (char& c : lowered) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lowered;
}

bool IsBlank(char c) {
  return kBlanks.find(c) != std::string_view::npos;
}

// Escaped wherever they stand: the escape itself, the header's separator, line breaks, NUL (inih reads
// lines as C strings), inih's two separators and brackets, and its comment characters.
bool AlwaysEscaped(char c) {
  switch (c) {
    case '%':
    case '\\':
    case '\r':
    case '\n':
    case '\0':
    case '=':
    case ':':
    case '[':
    case ']':
    case ';':
    case '#':
      return true;
    default:
      return false;
  }
}

void AppendEscaped(std::string& out, char c) {
  const auto byte = static_cast<unsigned char>(c);
  out += '%';
  out += kHex[byte >> 4];
  out += kHex[byte & 0x0F];
}

// `text` as written; a blank at either end is escaped too, as inih would drop it.
std::string Escape(std::string_view text) {
  std::string escaped;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (AlwaysEscaped(c) || (IsBlank(c) && (i == 0 || i + 1 == text.size()))) {
      AppendEscaped(escaped, c);
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

std::string_view Trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

// "key=value"; a value too long for one line is cut into pieces that go on in indented lines. Every
// blank of such a value is escaped, so that none stands at the end of a piece, where inih would drop it.
void AppendKeyLines(std::string& text, std::string_view key, std::string_view value) {
  std::string line = Escape(key) + '=';
  if (line.size() + 3 > kMostLineBytes) {
    throw SettingsIniError("a key that takes " + std::to_string(line.size() - 1) +
                           " bytes once written is too long: at most " + std::to_string(kMostLineBytes - 4) +
                           " fit on a line");
  }
  const std::string whole = Escape(value);
  if (line.size() + whole.size() <= kMostLineBytes) {
    text += line + whole + '\n';
    return;
  }
  for (const char c : value) {
    const std::size_t size = AlwaysEscaped(c) || IsBlank(c) ? 3 : 1;
    if (line.size() + size > kMostLineBytes) {
      text += line + '\n';
      line.assign(1, ' ');  // (not = " ", which GCC 12 at -O3 takes for an overlapping copy)
    }
    if (size == 3) {
      AppendEscaped(line, c);
    } else {
      line += c;
    }
  }
  text += line + '\n';
}

// One parse of a settings text, shared by inih's line reader and its handler.
struct Parse {
  std::string_view rest;  // what inih has not read yet
  long line = 0;
  // inih's line buffer, as last handed to the reader.
  const char* buffer = nullptr;
  std::size_t bufferSize = 0;
  bool tooLong = false;  // `line` did not fit in the buffer
  std::exception_ptr failure;
  SettingValues values;
  std::optional<SettingAddress> last;  // where the last key went, if it was readable

  void Take(std::string_view section, const char* name, std::string_view value);
};

// The address of `key` under inih's `section`: "application\section" with one raw backslash (an escaped
// one reads "%5C"), blanks around either part dropped. None for any other header, nor for a name
// inih may have cut.
std::optional<SettingAddress> AddressOf(std::string_view section, std::string_view key) {
  if (section.size() >= kSectionBytesKept) return std::nullopt;
  const std::size_t separator = section.find('\\');
  if (separator == std::string_view::npos || section.find('\\', separator + 1) != std::string_view::npos)
    return std::nullopt;
  return SettingAddress{Unescape(Trimmed(section.substr(0, separator))),
                        Unescape(Trimmed(section.substr(separator + 1))), Unescape(key)};
}

void Parse::Take(std::string_view section, const char* name, std::string_view value) {
  std::string_view key = name;
  // A key line's name is cut out of the line buffer in place. For an indented line after a key, inih
  // repeats that key's name from a copy of its own, and passes the whole line, trimmed, as the value.
  const std::less<const char*> before;
  if (before(name, buffer) || !before(name, buffer + bufferSize)) {
    const std::size_t separator = value.find_first_of("=:");
    if (separator == std::string_view::npos) {
      if (last) values[*last] += Unescape(value);
      return;
    }
    // Keys are often indented under their section: such a line is a key line all the same.
    key = Trimmed(value.substr(0, separator));
    value = Trimmed(value.substr(separator + 1));
  }
  last = AddressOf(section, key);
  if (last) values[*last] = Unescape(value);
}

// inih's line reader: hands it one whole line and its line feed, a raw NUL (which would end inih's C
// string early) as "%00"; stops at a line too long for the buffer rather than let inih cut it.
char* ReadLine(char* buffer, int size, void* stream) noexcept {
  Parse& parse = *static_cast<Parse*>(stream);
  if (parse.rest.empty() || parse.tooLong || parse.failure) return nullptr;
  const std::size_t end = parse.rest.find('\n');
  const std::string_view line = parse.rest.substr(0, end);
  parse.rest.remove_prefix(end == std::string_view::npos ? parse.rest.size() : end + 1);
  ++parse.line;
  const auto nuls = static_cast<std::size_t>(std::count(line.begin(), line.end(), '\0'));
  parse.bufferSize = static_cast<std::size_t>(std::max(size, 0));
  if (line.size() + 2 * nuls + 2 > parse.bufferSize) {
    parse.tooLong = true;
    return nullptr;
  }
  char* out = buffer;
  for (const char c : line) {
    if (c == '\0') {
      out = std::copy_n("%00", 3, out);
    } else {
      *out++ = c;
    }
  }
  *out++ = '\n';
  *out = '\0';
  parse.buffer = buffer;
  return buffer;
}

// inih's handler: no exception may cross inih's C frames, so a failure is kept, and stops the reading.
int TakeValue(void* user, const char* section, const char* name, const char* value) noexcept {
  Parse& parse = *static_cast<Parse*>(user);
  if (parse.failure) return 0;
  try {
    parse.Take(section, name, value);
  } catch (...) {
    parse.failure = std::current_exception();
    return 0;
  }
  return 1;
}

bool SameName(std::string_view a, std::string_view b) {
  return Lowered(a) == Lowered(b);
}

// One line of a settings text as inih reads it, with its own break.
struct IniLine {
  enum class Kind { kBlank, kComment, kSection, kKey, kGoesOn } kind = Kind::kBlank;
  std::string_view text;                  // without its break
  std::string_view whole;                 // with it
  std::optional<SettingAddress> address;  // a key's, when its section is one of ours
  bool ours = false;                      // a section header whose name is one of ours
  std::string application;                // a section's, as read
  std::string section;
};

// Splits `text` into lines and tells what each is, as inih and the reading above take it. Throws
// SettingsIniError for a line that is none of them, or a key before any section.
std::vector<IniLine> ClassifiedLines(std::string_view text) {
  std::vector<IniLine> lines;
  std::optional<std::pair<std::string, std::string>> current;  // the section's parts, if ours
  bool inSection = false;
  bool afterKey = false;
  for (std::size_t start = 0, number = 1; start < text.size(); ++number) {
    const std::size_t end = text.find('\n', start);
    IniLine line;
    line.whole = text.substr(start, end == std::string_view::npos ? std::string_view::npos : end + 1 - start);
    start += line.whole.size();
    line.text = line.whole;
    if (line.text.ends_with('\n')) line.text.remove_suffix(1);
    if (line.text.ends_with('\r')) line.text.remove_suffix(1);
    std::string_view content = line.text;
    if (number == 1 && content.starts_with("\xEF\xBB\xBF")) content.remove_prefix(3);
    const std::string_view trimmed = Trimmed(content);
    const bool indented = !content.empty() && IsBlank(content.front());
    const auto wrong = [&](const std::string& why) {
      return SettingsIniError("line " + std::to_string(number) + " " + why);
    };
    if (trimmed.empty()) {
      line.kind = IniLine::Kind::kBlank;
    } else if (trimmed.front() == ';' || trimmed.front() == '#') {
      line.kind = IniLine::Kind::kComment;
    } else if (trimmed.front() == '[') {
      const std::size_t close = trimmed.find(']');
      if (close == std::string_view::npos) throw wrong("opens a section without closing it");
      line.kind = IniLine::Kind::kSection;
      inSection = true;
      afterKey = false;
      const std::string_view name = trimmed.substr(1, close - 1);
      current.reset();
      if (const std::optional<SettingAddress> parts = AddressOf(Trimmed(name), ""); parts) {
        current.emplace(parts->application, parts->section);
        line.ours = true;
        line.application = parts->application;
        line.section = parts->section;
      }
    } else if (trimmed.find_first_of("=:") != std::string_view::npos) {
      if (!inSection) throw wrong("holds a setting before any section");
      line.kind = IniLine::Kind::kKey;
      afterKey = true;
      const std::string_view key = Trimmed(trimmed.substr(0, trimmed.find_first_of("=:")));
      if (current) line.address = SettingAddress{current->first, current->second, Unescape(key)};
    } else if (indented && afterKey) {
      line.kind = IniLine::Kind::kGoesOn;
    } else {
      throw wrong("is not a setting, a section or a comment");
    }
    lines.push_back(line);
  }
  return lines;
}

bool SameAddress(const SettingAddress& a, const SettingAddress& b) {
  return SameName(a.application, b.application) && SameName(a.section, b.section) && SameName(a.key, b.key);
}

}  // namespace

std::string EditSettingsIni(std::string_view text, const SettingAddress& address, std::string_view value) {
  const std::vector<IniLine> lines = ClassifiedLines(text);
  constexpr std::size_t none = std::numeric_limits<std::size_t>::max();
  const auto inSection = [&](const SettingAddress& key) {
    return SameName(key.application, address.application) && SameName(key.section, address.section);
  };
  // inih joins an indented line to the last key above it, blank and comment lines between them or not.
  std::vector<std::size_t> owner(lines.size(), none);  // the key line each line that goes on belongs to
  std::size_t keyAt = none;                            // the key's last line
  std::size_t sectionEnd = none;  // the line after the section's last key (and what goes on with it), or
                                  // after its last header
  std::size_t lastKey = none;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const IniLine& line = lines[i];
    switch (line.kind) {
      case IniLine::Kind::kSection:
        lastKey = none;
        if (line.ours && SameName(line.application, address.application) &&
            SameName(line.section, address.section)) {
          sectionEnd = i + 1;
        }
        break;
      case IniLine::Kind::kKey:
        lastKey = i;
        if (line.address && inSection(*line.address)) sectionEnd = i + 1;
        if (line.address && SameAddress(*line.address, address)) keyAt = i;
        break;
      case IniLine::Kind::kGoesOn:
        owner[i] = lastKey;
        if (lastKey != none && lines[lastKey].address && inSection(*lines[lastKey].address))
          sectionEnd = i + 1;
        break;
      case IniLine::Kind::kBlank:
      case IniLine::Kind::kComment:
        break;
    }
  }

  const std::string_view lineBreak = !lines.empty() && lines.front().whole.ends_with("\r\n") ? "\r\n" : "\n";
  const auto withBreaks = [&](std::string written) {
    if (lineBreak == "\n") return written;
    std::string converted;
    for (const char c : written) {
      if (c == '\n') converted += '\r';
      converted += c;
    }
    return converted;
  };
  std::string keyLines;
  AppendKeyLines(keyLines, address.key, value);
  keyLines = withBreaks(std::move(keyLines));

  // Only the last line can lack a break; what goes after it needs one.
  std::string edited;
  edited.reserve(text.size() + keyLines.size() + 64);
  // The old value's lines go, and every other line stays.
  const auto copy = [&](std::size_t from, std::size_t to) {
    for (std::size_t i = from; i < to; ++i) {
      if (i != keyAt && (keyAt == none || owner[i] != keyAt)) edited += lines[i].whole;
    }
  };
  const auto endLine = [&] {
    if (!edited.empty() && !edited.ends_with('\n')) edited += lineBreak;
  };
  if (keyAt != none) {
    copy(0, keyAt);
    edited += keyLines;
    copy(keyAt + 1, lines.size());
  } else if (sectionEnd != none) {
    copy(0, sectionEnd);
    endLine();
    edited += keyLines;
    copy(sectionEnd, lines.size());
  } else {
    SettingValues one;
    one[address] = std::string{value};
    edited.assign(text);
    endLine();
    if (!lines.empty() && lines.back().kind != IniLine::Kind::kBlank) edited += lineBreak;
    edited += withBreaks(WriteSettingsIni(one));
  }
  // What is saved must read back: the value where it was put.
  const SettingValues read = ReadSettingsIni(edited);
  if (const auto found = read.find(address); found == read.end() || found->second != value) {
    throw SettingsIniError("the edited settings would not read back the value stored");
  }
  return edited;
}

std::string WriteSettingsIni(const host::SettingValues& values) {
  std::string text;
  const host::SettingAddress* current = nullptr;
  for (const auto& [address, value] : values) {
    const bool sameSection = current != nullptr &&
                             Lowered(current->application) == Lowered(address.application) &&
                             Lowered(current->section) == Lowered(address.section);
    if (!sameSection) {
      const std::string name = Escape(address.application) + '\\' + Escape(address.section);
      if (name.size() >= kSectionBytesKept) {
        throw SettingsIniError("the section [" + name + "] takes " + std::to_string(name.size()) +
                               " bytes once written: at most " + std::to_string(kSectionBytesKept - 1) +
                               " can be read back");
      }
      if (current != nullptr) text += '\n';
      text += '[' + name + "]\n";
      current = &address;
    }
    AppendKeyLines(text, address.key, value);
  }
  return text;
}

host::SettingValues ReadSettingsIni(std::string_view text) {
  Parse parse;
  parse.rest = text;
  // inih's other results, the number of the first line it could not understand, need nothing: such
  // lines are skipped.
  if (ini_parse_stream(ReadLine, &parse, TakeValue, &parse) == -2) throw std::bad_alloc();
  if (parse.failure) std::rethrow_exception(parse.failure);
  if (parse.tooLong) {
    throw SettingsIniError("line " + std::to_string(parse.line) + " is longer than " +
                           std::to_string(parse.bufferSize - 2) + " bytes");
  }
  return std::move(parse.values);
}

}  // namespace platform::posix
