// platform/posix/folder_listing.cpp: the files below a folder, for runs over a whole project.
#include <dirent.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "host/folder_entries.h"
#include "host/source_file.h"
#include "platform/posix/source_file.h"

namespace platform::posix {
namespace {

struct DirectoryCloser {
  void operator()(DIR* directory) const noexcept { ::closedir(directory); }
};

[[noreturn]] void CannotList(const std::string& folder, int error) {
  throw host::SourceFileError(folder, std::string{"cannot be listed: "} + std::strerror(error));
}

// The files and folders in the folder `path`, unsorted. A link is followed as what it names; one
// that names nothing, and what is neither a file nor a folder, is left out. The folder is closed on
// return, before the walk goes down into its folders. `path` serves to name the entries that need a
// stat, and comes back as it was.
host::FolderEntries EntriesOf(std::string& path) {
  host::FolderEntries entries{'/'};
  const std::unique_ptr<DIR, DirectoryCloser> directory{::opendir(path.c_str())};
  if (!directory) CannotList(path, errno);
  const std::size_t folderLength = path.size();
  if (!path.ends_with('/')) path += '/';
  const std::size_t baseLength = path.size();
  for (errno = 0; const dirent* entry = ::readdir(directory.get()); errno = 0) {
    const std::string_view name{entry->d_name};
    if (name.starts_with('.')) continue;
    // The entry's kind as the folder gives it, where the file system does: no stat for it.
    bool folder = entry->d_type == DT_DIR;
    bool regular = entry->d_type == DT_REG;
    if (!folder && !regular) {
      path.resize(baseLength);
      path += name;
      struct stat status {};
      if (::stat(path.c_str(), &status) != 0) continue;
      folder = S_ISDIR(status.st_mode);
      regular = S_ISREG(status.st_mode);
    }
    if (folder) {
      entries.AddFolder(name);
    } else if (regular) {
      entries.AddFile(name);
    }
  }
  const int error = errno;
  path.resize(folderLength);
  if (error != 0) CannotList(path, error);
  return entries;
}

}  // namespace

std::optional<host::FileList> DiskSourceFiles::FilesBelow(const std::string& path) const {
  struct stat status {};
  if (::stat(path.c_str(), &status) != 0 || !S_ISDIR(status.st_mode)) return std::nullopt;
  host::FileList files{path.ends_with('/') ? path : path + '/'};
  std::string walk = path;
  host::AppendFilesBelow(walk, files, '/', EntriesOf);
  return files;
}

}  // namespace platform::posix
