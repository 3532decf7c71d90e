// platform/win32/template_folders.cpp: template sets read from folders and written by "templates init".
#include "platform/win32/template_folders.h"

#include <shlobj.h>
#include <windows.h>

#include <stdexcept>
#include <vector>

#include "platform/win32/com_handles.h"
#include "platform/win32/file_handle.h"
#include "platform/win32/system_error_text.h"
#include "platform/win32/wide.h"

namespace platform::win32 {
namespace {

// A template is a page of text: anything larger is not one, and is not read whole into memory.
constexpr LONGLONG kLargestTemplate = 1LL << 20;

bool IsFolder(const std::wstring& path) {
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::string Joined(std::string_view folder, std::string_view name) {
  std::string path{folder};
  if (!path.empty() && path.back() != '\\' && path.back() != '/') path += '\\';
  path += name;
  return path;
}

std::runtime_error FileFailure(const std::string& path, std::string_view what, DWORD error) {
  return std::runtime_error(path + ": " + std::string{what} + ": " + SystemErrorText(error));
}

std::optional<std::string> ReadTemplateFile(const std::string& path) {
  const UniqueFile file{::CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)};
  if (!file) {
    const DWORD error = ::GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return std::nullopt;
    throw FileFailure(path, "cannot be read", error);
  }
  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(file.get(), &size)) throw FileFailure(path, "cannot be read", ::GetLastError());
  if (size.QuadPart > kLargestTemplate)
    throw std::runtime_error(path + ": larger than a template can be (1 MiB)");
  std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
  DWORD read = 0;
  if (!bytes.empty() &&
      (!::ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) ||
       read != bytes.size())) {
    throw FileFailure(path, "cannot be read", ::GetLastError());
  }
  return bytes;
}

// The folder made absolute and without "..", so that the search goes up past the current folder.
std::wstring Absolute(std::string_view folder) {
  std::wstring given = Wide(folder.empty() ? std::string_view{"."} : folder);
  const DWORD needed = ::GetFullPathNameW(given.c_str(), 0, nullptr, nullptr);
  if (needed == 0) return given;
  std::wstring full(needed, L'\0');
  const DWORD length = ::GetFullPathNameW(given.c_str(), needed, full.data(), nullptr);
  full.resize(length);
  while (full.size() > 3 && (full.back() == L'\\' || full.back() == L'/')) full.pop_back();
  return full;
}

}  // namespace

std::string UserTemplateFolder() {
  PWSTR path = nullptr;
  if (FAILED(::SHGetKnownFolderPath(FOLDERID_RoamingAppData, KF_FLAG_DEFAULT, nullptr, &path))) {
    ::CoTaskMemFree(path);
    return {};
  }
  std::string folder = Narrow(path) + "\\Scrivlet";
  ::CoTaskMemFree(path);
  return folder;
}

host::TemplateFolder TemplateFolders::Read(std::string_view folder,
                                           std::span<const std::string_view> names) const {
  const std::string path{folder};
  if (!IsFolder(Wide(path))) throw std::runtime_error(path + ": not a folder");
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
    for (std::wstring at = Absolute(folder);;) {
      const std::wstring candidate =
          at + (at.ends_with(L'\\') ? L"" : L"\\") + Wide(host::kProjectTemplateFolder);
      if (IsFolder(candidate)) return Read(Narrow(candidate), names);
      const std::size_t slash = at.find_last_of(L"\\/");
      if (slash == std::wstring::npos || at.size() <= 3) break;
      at.resize(slash == 2 ? 3 : slash);  // "C:\x" goes up to "C:\"
    }
  }
  if (!userFolder_.empty() && IsFolder(Wide(userFolder_))) {
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
  if (!::CreateDirectoryW(Wide(path).c_str(), nullptr) && ::GetLastError() != ERROR_ALREADY_EXISTS) {
    throw FileFailure(path, "cannot be created", ::GetLastError());
  }
  if (!IsFolder(Wide(path))) throw std::runtime_error(path + ": not a folder");
  for (const host::TemplateFolderFile& file : files) {
    const std::string target = Joined(folder, file.name);
    if (::GetFileAttributesW(Wide(target).c_str()) != INVALID_FILE_ATTRIBUTES) {
      throw std::runtime_error(target + ": already there; nothing was written");
    }
  }
  std::vector<std::wstring> written;
  try {
    for (const host::TemplateFolderFile& file : files) {
      const std::string target = Joined(folder, file.name);
      UniqueFile out{::CreateFileW(Wide(target).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                   FILE_ATTRIBUTE_NORMAL, nullptr)};
      if (!out) throw FileFailure(target, "cannot be created", ::GetLastError());
      written.push_back(Wide(target));
      DWORD wrote = 0;
      if (!::WriteFile(out.get(), file.bytes.data(), static_cast<DWORD>(file.bytes.size()), &wrote,
                       nullptr) ||
          wrote != file.bytes.size()) {
        throw FileFailure(target, "cannot be written", ::GetLastError());
      }
      if (const DWORD error = out.Close(); error != ERROR_SUCCESS)
        throw FileFailure(target, "cannot be written", error);
    }
  } catch (...) {
    // All of the set or none of it: a half-written set would be read as one.
    for (const std::wstring& target : written) ::DeleteFileW(target.c_str());
    throw;
  }
}

}  // namespace platform::win32
