// platform/posix/folder_listing.cpp: the files below a folder, for runs over a whole project.
#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>

#include "host/source_file.h"
#include "platform/posix/source_file.h"

namespace platform::posix {
namespace {

struct DirectoryCloser {
  void operator()(DIR* directory) const noexcept { ::closedir(directory); }
};

void ListInto(const std::string& folder, std::vector<std::string>& files) {
  const std::unique_ptr<DIR, DirectoryCloser> directory{::opendir(folder.c_str())};
  if (!directory)
    throw host::SourceFileError(folder, std::string{"cannot be listed: "} + std::strerror(errno));
  for (errno = 0; const dirent* entry = ::readdir(directory.get()); errno = 0) {
    const std::string_view name{entry->d_name};
    if (name.starts_with('.')) continue;
    std::string path = folder;
    if (!path.ends_with('/')) path += '/';
    path += name;
    // The entry's kind as the folder gives it, where the file system does: no stat for it. A link is
    // followed as the file it names; one that names nothing is left out.
    bool folder = entry->d_type == DT_DIR;
    bool regular = entry->d_type == DT_REG;
    if (!folder && !regular) {
      struct stat status {};
      if (::stat(path.c_str(), &status) != 0) continue;
      folder = S_ISDIR(status.st_mode);
      regular = S_ISREG(status.st_mode);
    }
    if (folder) {
      ListInto(path, files);
    } else if (regular) {
      files.push_back(std::move(path));
    }
  }
  if (errno != 0)
    throw host::SourceFileError(folder, std::string{"cannot be listed: "} + std::strerror(errno));
}

}  // namespace

std::optional<std::vector<std::string>> DiskSourceFiles::FilesBelow(const std::string& path) const {
  struct stat status {};
  if (::stat(path.c_str(), &status) != 0 || !S_ISDIR(status.st_mode)) return std::nullopt;
  std::vector<std::string> files;
  ListInto(path, files);
  std::sort(files.begin(), files.end());
  return files;
}

}  // namespace platform::posix
