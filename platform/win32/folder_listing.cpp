// platform/win32/folder_listing.cpp: the files below a folder, for runs over a whole project.
#include <windows.h>

#include <memory>
#include <string>
#include <string_view>

#include "host/folder_entries.h"
#include "host/source_file.h"
#include "platform/win32/source_file.h"
#include "platform/win32/system_error_text.h"
#include "platform/win32/wide.h"

namespace platform::win32 {
namespace {

struct FindCloser {
  void operator()(HANDLE find) const noexcept { ::FindClose(find); }
};

bool EndsWithSeparator(std::string_view path) {
  return path.ends_with('\\') || path.ends_with('/');
}

// The files and folders in the folder `path` (in UTF-8, which gives back every wide name unit for
// unit), unsorted. The search is closed on return, before the walk goes down into its folders.
host::FolderEntries EntriesOf(const std::string& path) {
  host::FolderEntries entries{'\\'};
  WIN32_FIND_DATAW found{};
  const std::wstring pattern = Wide(path) + (EndsWithSeparator(path) ? L"*" : L"\\*");
  HANDLE raw = ::FindFirstFileW(pattern.c_str(), &found);
  if (raw == INVALID_HANDLE_VALUE) {
    const DWORD error = ::GetLastError();
    if (error == ERROR_FILE_NOT_FOUND) return entries;
    throw host::SourceFileError(path, "cannot be listed: " + SystemErrorText(error));
  }
  const std::unique_ptr<void, FindCloser> find{raw};
  do {
    const std::wstring_view name{found.cFileName};
    if (name.starts_with(L'.')) continue;
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
      entries.AddFolder(Narrow(name));
    } else {
      entries.AddFile(Narrow(name));
    }
  } while (::FindNextFileW(raw, &found));
  if (const DWORD error = ::GetLastError(); error != ERROR_NO_MORE_FILES) {
    throw host::SourceFileError(path, "cannot be listed: " + SystemErrorText(error));
  }
  return entries;
}

}  // namespace

std::optional<host::FileList> WindowsSourceFiles::FilesBelow(const std::string& path) const {
  const std::wstring wide = Wide(path);
  const DWORD attributes = ::GetFileAttributesW(wide.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
    return std::nullopt;
  // The folder as the system names it: a path that is not UTF-8 is listed, and its files named, as
  // its wide form reads back.
  std::string walk = Narrow(wide);
  host::FileList files{EndsWithSeparator(walk) ? walk : walk + '\\'};
  host::AppendFilesBelow(walk, files, '\\', EntriesOf);
  return files;
}

}  // namespace platform::win32
