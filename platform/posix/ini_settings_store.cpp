// platform/posix/ini_settings_store.cpp: the settings file's checked reading, and its atomic replacement.
#include "platform/posix/ini_settings_store.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <system_error>

#include "host/host_error.h"
#include "host/vb_errors.h"
#include "platform/posix/file_descriptor.h"
#include "platform/posix/password_file.h"
#include "platform/posix/safe_replace.h"
#include "platform/posix/settings_ini.h"
#include "platform/posix/source_file.h"

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

// The most a settings file may hold: its few settings take a few hundred bytes.
constexpr std::size_t kMostSettingsBytes = std::size_t{1} << 20;
constexpr std::string_view kMostSettingsText = "1 MB (1048576 bytes)";

[[noreturn]] void Refuse(const std::string& path, const std::string& why) {
  throw host::HostError{host::kErrPathFileAccess, path + ": " + why};
}

std::string KindOf(mode_t mode) {
  if (S_ISDIR(mode)) return "a folder";
  if (S_ISFIFO(mode)) return "a named pipe (FIFO)";
  if (S_ISCHR(mode)) return "a character device";
  if (S_ISBLK(mode)) return "a block device";
  if (S_ISSOCK(mode)) return "a socket";
  return "of an unknown kind";
}

// Reads to the end of the file, or to one byte past `most`; 0, or the errno of the failure.
int ReadAtMost(int fd, std::string& bytes, std::size_t expected, std::size_t most) {
  // One byte more than expected, so that a file of the size it claims is read in one go.
  bytes.resize(std::min(expected, most) + 1);
  std::size_t size = 0;
  for (;;) {
    if (size == bytes.size()) {
      if (size > most) break;
      bytes.resize(std::min(size * 2, most + 1));
    }
    const ssize_t n = ::read(fd, bytes.data() + size, bytes.size() - size);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return errno;
    if (n == 0) break;
    size += static_cast<std::size_t>(n);
  }
  bytes.resize(size);
  return 0;
}

// What the settings file holds, if it may be read.
struct SettingsFile {
  enum class State { kMissing, kForbidden, kRead } state;
  std::string bytes;
};

// Opened without blocking (a named pipe would wait for a writer, and a terminal is not made the
// controlling one) and checked on the open file itself, so that only a regular file of at most
// kMostSettingsBytes is read: anything else, and a file that cannot be read for any reason other than
// its permissions, throws HostError. A failed allocation goes through, so that a save never mistakes
// the old file for an empty one.
SettingsFile ReadSettingsFile(const std::string& path) {
  FileDescriptor file{::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY)};
  if (file.get() < 0) {
    // ENOTDIR: a plain file stands where a folder of the path should be, so there is no settings file.
    if (errno == ENOENT || errno == ENOTDIR) return {SettingsFile::State::kMissing, {}};
    if (errno == EACCES) return {SettingsFile::State::kForbidden, {}};
    ThrowFileError(path, "cannot read", errno);
  }
  struct stat info {};
  if (::fstat(file.get(), &info) != 0) ThrowFileError(path, "cannot read", errno);
  if (!S_ISREG(info.st_mode))
    Refuse(path, "the settings file is " + KindOf(info.st_mode) + ", not a regular file");
  const std::string tooLarge = "the settings file is larger than " + std::string{kMostSettingsText};
  if (info.st_size < 0 || static_cast<std::size_t>(info.st_size) > kMostSettingsBytes) Refuse(path, tooLarge);
  SettingsFile read{SettingsFile::State::kRead, {}};
  // Bounded whatever the size said: the file may grow meanwhile, and /proc's files claim no size at all.
  const int error =
      ReadAtMost(file.get(), read.bytes, static_cast<std::size_t>(info.st_size), kMostSettingsBytes);
  if (error != 0) ThrowFileError(path, "cannot read", error);
  if (read.bytes.size() > kMostSettingsBytes) Refuse(path, tooLarge);
  return read;
}

// A file that every later run would refuse is not written.
void RequireSavable(const std::string& path, const std::string& text) {
  if (text.size() > kMostSettingsBytes) {
    Refuse(path, "cannot save: the settings would take " + std::to_string(text.size()) +
                     " bytes, more than " + std::string{kMostSettingsText});
  }
}

host::SettingValues ParseSettingsFile(const std::string& path, std::string_view bytes) {
  try {
    return ReadSettingsIni(bytes);
  } catch (const SettingsIniError& error) {
    Refuse(path, error.what());
  }
}

// The home folder of user `uid` in /etc/passwd, or "" when it has none there. Read directly rather than
// through the C library's user lookup, which in the optimised program, linked whole, would load the
// shared libraries that linking whole leaves out; users known only to a directory service then
// need HOME.
std::string HomeOfUser(uid_t uid) {
  FileDescriptor file{::open("/etc/passwd", O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK)};
  FileBytes bytes;
  if (file.get() < 0 || ReadAll(file.get(), bytes, 0) != 0) return {};
  return HomeInPasswordFile(bytes.view(), uid);
}

}  // namespace

std::string IniSettingsStore::DefaultPath() {
  const char* config = std::getenv("XDG_CONFIG_HOME");
  if (config != nullptr && config[0] == '/') return std::string{config} + "/scrivlet/settings.ini";
  const char* home = std::getenv("HOME");
  const std::string folder = home != nullptr && home[0] == '/' ? std::string{home} : HomeOfUser(::getuid());
  if (folder.empty()) {
    throw host::HostError{host::kErrPathFileAccess,
                          "The settings folder cannot be found: neither XDG_CONFIG_HOME nor HOME is set."};
  }
  return folder + "/.config/scrivlet/settings.ini";
}

std::string IniSettingsStore::GetSetting(std::string_view application, std::string_view section,
                                         std::string_view key, std::string_view fallback) const {
  const SettingsFile file = ReadSettingsFile(path_);
  if (file.state != SettingsFile::State::kRead) return std::string{fallback};
  const host::SettingValues values = ParseSettingsFile(path_, file.bytes);
  const auto it = values.find({std::string{application}, std::string{section}, std::string{key}});
  return it == values.end() ? std::string{fallback} : it->second;
}

void IniSettingsStore::SaveSetting(std::string_view application, std::string_view section,
                                   std::string_view key, std::string_view value) {
  const SettingsFile old = ReadSettingsFile(path_);
  // A file that may not be read is not replaced: that would lose the other settings.
  if (old.state == SettingsFile::State::kForbidden) ThrowFileError(path_, "cannot read", EACCES);
  const host::SettingAddress address{std::string{application}, std::string{section}, std::string{key}};
  if (old.state == SettingsFile::State::kRead) {
    SaveInto(address, value);
  } else {
    SaveNew(address, value);
  }
}

// The file as it is, with one value changed and every other line kept, replaced with the care of a
// source file: held against our other runs, its owner, mode and access list kept, a link kept a link.
void IniSettingsStore::SaveInto(const host::SettingAddress& address, std::string_view value) {
  try {
    DiskSourceFile file = DiskSourceFile::Read(path_);
    if (file.bytes().size() > kMostSettingsBytes) {
      Refuse(path_, "the settings file is larger than " + std::string{kMostSettingsText});
    }
    std::string text;
    try {
      ParseSettingsFile(path_, file.bytes());
      text = EditSettingsIni(file.bytes(), address, value);
    } catch (const SettingsIniError& error) {
      Refuse(path_, std::string{"cannot save: "} + error.what() + "; nothing was written");
    }
    RequireSavable(path_, text);
    file.Replace(text);
  } catch (const host::SourceFileError& error) {
    throw host::HostError{host::kErrPathFileAccess, error.what()};
  }
}

// The first setting: a new file, which never takes the place of one another program made meanwhile.
void IniSettingsStore::SaveNew(const host::SettingAddress& address, std::string_view value) {
  host::SettingValues values;
  values[address] = std::string{value};
  std::string text;
  try {
    text = WriteSettingsIni(values);
  } catch (const SettingsIniError& error) {
    Refuse(path_, std::string{"cannot save: "} + error.what());
  }
  RequireSavable(path_, text);
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
    const std::string_view pieces[] = {text};
    host::WholeBytes whole{pieces};
    ReplaceFile(replacement, whole);
  } catch (const ReplaceChanged&) {
    Refuse(target, "was made by another program meanwhile; nothing was written");
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
