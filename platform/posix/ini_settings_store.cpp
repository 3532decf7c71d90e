// platform/posix/ini_settings_store.cpp: the settings file's reading, and its atomic replacement.
#include "platform/posix/ini_settings_store.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <system_error>

#include "host/host_error.h"
#include "host/vb_errors.h"
#include "platform/posix/file_descriptor.h"
#include "platform/posix/safe_replace.h"
#include "platform/posix/settings_ini.h"

namespace platform::posix {
namespace {

[[noreturn]] void ThrowFileError(const std::string& path, const char* what, int error) {
  throw host::HostError{host::kErrPathFileAccess, path + ": " + what + ": " + std::strerror(error)};
}

// Creates the folder and its parents, readable by the user alone.
void MakeFolders(const std::string& folder) {
  for (std::size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
    const std::string part = folder.substr(0, slash);
    if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST)
      ThrowFileError(part, "cannot create folder", errno);
    if (slash == std::string::npos) break;
  }
}

// Whole contents, or nothing when the file does not exist; throws when it exists but cannot be read
// (and lets a failed allocation through, so that a save never mistakes the old file for an empty one).
std::optional<std::string> ReadIfPresent(const std::string& path) {
  FileDescriptor file{::open(path.c_str(), O_RDONLY | O_CLOEXEC)};
  if (file.get() < 0) {
    if (errno == ENOENT) return std::nullopt;
    ThrowFileError(path, "cannot read", errno);
  }
  std::string contents;
  if (const int error = ReadAll(file.get(), contents); error != 0) ThrowFileError(path, "cannot read", error);
  return contents;
}

}  // namespace

std::string IniSettingsStore::DefaultPath() {
  const char* config = std::getenv("XDG_CONFIG_HOME");
  if (config != nullptr && config[0] == '/') return std::string{config} + "/scrivlet/settings.ini";
  const char* home = std::getenv("HOME");
  if (home == nullptr || home[0] != '/') {
    const passwd* user = ::getpwuid(::getuid());
    home = user != nullptr ? user->pw_dir : nullptr;
  }
  if (home == nullptr || home[0] != '/') {
    throw host::HostError{host::kErrPathFileAccess,
                          "The settings folder cannot be found: neither XDG_CONFIG_HOME nor HOME is set."};
  }
  return std::string{home} + "/.config/scrivlet/settings.ini";
}

std::string IniSettingsStore::GetSetting(std::string_view application, std::string_view section,
                                         std::string_view key, std::string_view fallback) const {
  try {
    const std::optional<std::string> text = ReadIfPresent(path_);
    if (!text) return std::string{fallback};
    const host::SettingValues values = ReadSettingsIni(*text);
    const auto it = values.find({std::string{application}, std::string{section}, std::string{key}});
    return it == values.end() ? std::string{fallback} : it->second;
  } catch (const host::HostError&) {
    return std::string{fallback};  // an unreadable file reads as an empty one
  }
}

void IniSettingsStore::SaveSetting(std::string_view application, std::string_view section,
                                   std::string_view key, std::string_view value) {
  // An unreadable file is not replaced: that would lose the other settings.
  const std::optional<std::string> old = ReadIfPresent(path_);
  host::SettingValues values = old ? ReadSettingsIni(*old) : host::SettingValues{};
  values[{std::string{application}, std::string{section}, std::string{key}}] = std::string{value};
  const std::string text = WriteSettingsIni(values);

  std::string target;
  try {
    target = ResolveLinks(path_);
  } catch (const std::system_error& error) {
    ThrowFileError(path_, "cannot follow link", error.code().value());
  }
  MakeFolders(FolderOf(target));
  Replacement replacement;
  replacement.target = target;
  replacement.temporaryPattern = target + ".XXXXXX";
  try {
    // The new file is in place whether or not its folder could be flushed after the rename.
    ReplaceFile(replacement, text);
  } catch (const ReplaceError& failure) {
    switch (failure.step()) {
      case SaveStep::kCreateTemporary:
        ThrowFileError(replacement.temporaryPattern, "cannot create", failure.error());
      case SaveStep::kSync:
        ThrowFileError(replacement.temporaryPattern, "cannot flush", failure.error());
      case SaveStep::kClose:
        ThrowFileError(replacement.temporaryPattern, "cannot close", failure.error());
      case SaveStep::kRename:
        ThrowFileError(target, "cannot replace", failure.error());
      default:
        ThrowFileError(replacement.temporaryPattern, "cannot write", failure.error());
    }
  }
}

}  // namespace platform::posix
