// platform/posix/template_folders.cpp: template sets read from folders and written by "templates init".
#include "platform/posix/template_folders.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

#include "host/host_error.h"
#include "platform/posix/file_descriptor.h"
#include "platform/posix/ini_settings_store.h"

namespace platform::posix {
namespace {

// A template is a page of text: anything larger is not one, and is not read whole into memory.
constexpr std::size_t kLargestTemplate = 1U << 20U;

bool IsFolder(const std::string& path) {
  struct stat status {};
  return ::stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

std::string Joined(std::string_view folder, std::string_view name) {
  std::string path{folder};
  if (!path.empty() && path.back() != '/') path += '/';
  path += name;
  return path;
}

std::runtime_error FileFailure(const std::string& path, std::string_view what, int error) {
  return std::runtime_error(path + ": " + std::string{what} + ": " + std::strerror(error));
}

// The file's bytes, or nothing when it does not exist.
std::optional<std::string> ReadTemplateFile(const std::string& path) {
  const FileDescriptor file{::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK)};
  if (file.get() < 0) {
    if (errno == ENOENT) return std::nullopt;
    throw FileFailure(path, "cannot be read", errno);
  }
  struct stat status {};
  if (::fstat(file.get(), &status) != 0) throw FileFailure(path, "cannot be read", errno);
  if (!S_ISREG(status.st_mode)) throw std::runtime_error(path + ": not a file");
  if (static_cast<std::size_t>(status.st_size) > kLargestTemplate) {
    throw std::runtime_error(path + ": larger than a template can be (1 MiB)");
  }
  FileBytes bytes;
  if (const int error = ReadAll(file.get(), bytes, static_cast<std::size_t>(status.st_size)); error != 0) {
    throw FileFailure(path, "cannot be read", error);
  }
  return std::string{bytes.view()};
}

// The folder made absolute and without "..", so that the search goes up past the current folder and
// through the folders that really hold it.
std::string Absolute(std::string_view folder) {
  const std::string given{folder.empty() ? "." : folder};
  if (char* resolved = ::realpath(given.c_str(), nullptr); resolved != nullptr) {
    std::string path{resolved};
    std::free(resolved);  // NOLINT(cppcoreguidelines-no-malloc): realpath allocates with malloc
    return path;
  }
  if (folder.starts_with('/')) return std::string{folder};
  std::string current(4096, '\0');
  if (::getcwd(current.data(), current.size()) == nullptr) return std::string{folder};
  current.resize(std::strlen(current.c_str()));
  return folder.empty() || folder == "." ? current : Joined(current, folder);
}

}  // namespace

std::string UserTemplateFolder() {
  try {
    return FolderOf(IniSettingsStore::DefaultPath());
  } catch (const host::HostError&) {
    return {};
  }
}

host::TemplateFolder TemplateFolders::Read(std::string_view folder,
                                           std::span<const std::string_view> names) const {
  const std::string path{folder};
  if (!IsFolder(path)) throw std::runtime_error(path + ": not a folder");
  host::TemplateFolder read{host::TemplateOrigin::kProject, path, {}};
  for (const std::string_view name : names) {
    std::string file = Joined(folder, name);
    if (std::optional<std::string> bytes = ReadTemplateFile(file)) {
      read.files.push_back({std::string{name}, std::move(file), std::move(*bytes)});
    }
  }
  return read;
}

host::TemplateFolder TemplateFolders::Find(std::string_view folder,
                                           std::span<const std::string_view> names) const {
  if (!folder.empty()) {
    for (std::string at = Absolute(folder);;) {
      const std::string candidate = Joined(at, host::kProjectTemplateFolder);
      if (IsFolder(candidate)) return Read(candidate, names);
      if (at == "/" || at.empty()) break;
      at = FolderOf(at);
    }
  }
  if (!userFolder_.empty() && IsFolder(userFolder_)) {
    host::TemplateFolder user = Read(userFolder_, names);
    if (!user.files.empty()) {
      user.origin = host::TemplateOrigin::kUser;
      return user;
    }
  }
  return {};
}

void TemplateFolders::Create(std::string_view folder, std::span<const host::TemplateFolderFile> files) const {
  const std::string path{folder};
  if (::mkdir(path.c_str(), 0777) != 0 && errno != EEXIST)
    throw FileFailure(path, "cannot be created", errno);
  if (!IsFolder(path)) throw std::runtime_error(path + ": not a folder");
  for (const host::TemplateFolderFile& file : files) {
    struct stat status {};
    const std::string target = Joined(folder, file.name);
    if (::lstat(target.c_str(), &status) == 0) {
      throw std::runtime_error(target + ": already there; nothing was written");
    }
  }
  std::vector<std::string> written;
  try {
    for (const host::TemplateFolderFile& file : files) {
      const std::string target = Joined(folder, file.name);
      FileDescriptor out{::open(target.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666)};
      if (out.get() < 0) throw FileFailure(target, "cannot be created", errno);
      written.push_back(target);
      if (const int error = WriteAll(out.get(), file.bytes); error != 0) {
        throw FileFailure(target, "cannot be written", error);
      }
      if (out.Close() != 0) throw FileFailure(target, "cannot be written", errno);
    }
  } catch (...) {
    // All of the set or none of it: a half-written set would be read as one.
    for (const std::string& target : written) ::unlink(target.c_str());
    throw;
  }
}

}  // namespace platform::posix
