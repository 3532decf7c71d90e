// cli/win32/registry_install_reader.cpp: registry values in a chosen view, a file's first bytes, and the
// process's elevation.
#include "cli/win32/registry_install_reader.h"

#include <windows.h>

#include <string>
#include <vector>

#include "platform/win32/com_handles.h"
#include "platform/win32/file_handle.h"
#include "platform/win32/wide.h"

namespace cli::win32 {
namespace {

using platform::win32::Narrow;
using platform::win32::UniqueFile;
using platform::win32::UniqueHkey;
using platform::win32::Wide;

UniqueHkey Open(RegistryRoot root, RegistryView view, std::string_view path) {
  HKEY key = nullptr;
  const HKEY base = root == RegistryRoot::kCurrentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
  const REGSAM wow = view == RegistryView::k32 ? KEY_WOW64_32KEY : KEY_WOW64_64KEY;
  if (::RegOpenKeyExW(base, Wide(path).c_str(), 0, KEY_QUERY_VALUE | wow, &key) != ERROR_SUCCESS) return {};
  return UniqueHkey{key};
}

}  // namespace

std::optional<std::string> RegistryInstallReader::Text(RegistryRoot root, RegistryView view,
                                                       std::string_view path, std::string_view name) const {
  const UniqueHkey key = Open(root, view, path);
  if (!key) return std::nullopt;
  const std::wstring wideName = Wide(name);
  // RRF_RT_REG_SZ takes an expandable value too, and gives it expanded (%ProgramFiles%...); naming
  // RRF_RT_REG_EXPAND_SZ without RRF_NOEXPAND is refused as an invalid parameter.
  constexpr DWORD kFlags = RRF_RT_REG_SZ;
  DWORD bytes = 0;
  if (::RegGetValueW(key.get(), nullptr, wideName.c_str(), kFlags, nullptr, nullptr, &bytes) !=
      ERROR_SUCCESS) {
    return std::nullopt;
  }
  std::vector<wchar_t> text(bytes / sizeof(wchar_t) + 1);
  bytes = static_cast<DWORD>(text.size() * sizeof(wchar_t));
  if (::RegGetValueW(key.get(), nullptr, wideName.c_str(), kFlags, nullptr, text.data(), &bytes) !=
      ERROR_SUCCESS) {
    return std::nullopt;
  }
  return Narrow(text.data());
}

std::optional<std::uint32_t> RegistryInstallReader::Number(RegistryRoot root, RegistryView view,
                                                           std::string_view path,
                                                           std::string_view name) const {
  const UniqueHkey key = Open(root, view, path);
  if (!key) return std::nullopt;
  DWORD value = 0;
  DWORD bytes = sizeof(value);
  if (::RegGetValueW(key.get(), nullptr, Wide(name).c_str(), RRF_RT_REG_DWORD, nullptr, &value, &bytes) !=
      ERROR_SUCCESS) {
    return std::nullopt;
  }
  return value;
}

bool RegistryInstallReader::KeyExists(RegistryRoot root, RegistryView view, std::string_view path) const {
  return static_cast<bool>(Open(root, view, path));
}

std::optional<std::string> RegistryInstallReader::FileStart(std::string_view path, std::size_t size) const {
  const UniqueFile file{::CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)};
  if (!file) return std::nullopt;
  std::string bytes(size, '\0');
  DWORD read = 0;
  if (!::ReadFile(file.get(), bytes.data(), static_cast<DWORD>(size), &read, nullptr)) return std::nullopt;
  bytes.resize(read);
  return bytes;
}

bool RegistryInstallReader::Elevated() const {
  HANDLE opened = nullptr;
  if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &opened)) return false;
  const UniqueFile token{opened};
  TOKEN_ELEVATION elevation{};
  DWORD size = sizeof(elevation);
  return ::GetTokenInformation(token.get(), TokenElevation, &elevation, size, &size) &&
         elevation.TokenIsElevated != 0;
}

}  // namespace cli::win32
