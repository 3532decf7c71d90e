// tests/win32/cli_platform.cpp: the command line's tests on the Win32 platform services.
#include <windows.h>

#include <stdexcept>

#include "platform/win32/code_page_codec.h"
#include "platform/win32/source_file.h"
#include "platform/win32/template_folders.h"
#include "platform/win32/windows_date_formatter.h"
#include "tests/cli/cli_platform.h"

namespace test {

struct CliPlatform::Services {
  platform::win32::WindowsSourceFiles files;
  platform::win32::WindowsCodePages codePages;
  platform::win32::WindowsDateFormatter dates;
  platform::win32::TemplateFolders templates{""};
};

CliPlatform::CliPlatform()
    : services_(std::make_unique<Services>()),
      files_(&services_->files),
      codePages_(&services_->codePages),
      dates_(&services_->dates),
      templates_(&services_->templates) {}
CliPlatform::~CliPlatform() = default;

void SetReadOnly(const std::filesystem::path& file, bool readOnly) {
  const DWORD attributes = ::GetFileAttributesW(file.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) throw std::runtime_error("no file " + file.string());
  const DWORD changed =
      readOnly ? attributes | FILE_ATTRIBUTE_READONLY : attributes & ~DWORD{FILE_ATTRIBUTE_READONLY};
  if (!::SetFileAttributesW(file.c_str(), changed))
    throw std::runtime_error("SetFileAttributesW " + file.string());
}

}  // namespace test
