// platform/win32/folder_listing.cpp: the files below a folder, for runs over a whole project.
#include <windows.h>

#include <algorithm>

#include "host/source_file.h"
#include "platform/win32/source_file.h"
#include "platform/win32/system_error_text.h"
#include "platform/win32/wide.h"

namespace platform::win32 {
namespace {

struct FindCloser {
  void operator()(HANDLE find) const noexcept { ::FindClose(find); }
};

void ListInto(const std::wstring& folder, std::vector<std::string>& files) {
  WIN32_FIND_DATAW found{};
  const std::wstring base = folder.ends_with(L'\\') || folder.ends_with(L'/') ? folder : folder + L"\\";
  HANDLE raw = ::FindFirstFileW((base + L"*").c_str(), &found);
  if (raw == INVALID_HANDLE_VALUE) {
    const DWORD error = ::GetLastError();
    if (error == ERROR_FILE_NOT_FOUND) return;
    throw host::SourceFileError(Narrow(folder), "cannot be listed: " + SystemErrorText(error));
  }
  const std::unique_ptr<void, FindCloser> find{raw};
  do {
    const std::wstring_view name{found.cFileName};
    if (name.starts_with(L'.')) continue;
    const std::wstring path = base + std::wstring{name};
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
      ListInto(path, files);
    } else {
      files.push_back(Narrow(path));
    }
  } while (::FindNextFileW(raw, &found));
  if (const DWORD error = ::GetLastError(); error != ERROR_NO_MORE_FILES) {
    throw host::SourceFileError(Narrow(folder), "cannot be listed: " + SystemErrorText(error));
  }
}

}  // namespace

std::optional<std::vector<std::string>> WindowsSourceFiles::FilesBelow(const std::string& path) const {
  const DWORD attributes = ::GetFileAttributesW(Wide(path).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
    return std::nullopt;
  std::vector<std::string> files;
  ListInto(Wide(path), files);
  std::sort(files.begin(), files.end());
  return files;
}

}  // namespace platform::win32
