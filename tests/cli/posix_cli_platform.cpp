// tests/cli/posix_cli_platform.cpp: the command line's tests on the POSIX platform services.
#include <sys/stat.h>

#include <stdexcept>

#include "platform/posix/code_page_codec.h"
#include "platform/posix/locale_date_formatter.h"
#include "platform/posix/source_file.h"
#include "platform/posix/template_folders.h"
#include "tests/cli/cli_platform.h"
#include "tests/support/scoped_env.h"

namespace test {

struct CliPlatform::Services {
  ScopedEnv locale{"LC_ALL", "C"};
  platform::posix::DiskSourceFiles files;
  platform::posix::IconvCodePages codePages;
  platform::posix::LocaleDateFormatter dates;
  platform::posix::TemplateFolders templates{""};
};

CliPlatform::CliPlatform()
    : services_(std::make_unique<Services>()),
      files_(&services_->files),
      codePages_(&services_->codePages),
      dates_(&services_->dates),
      templates_(&services_->templates) {}
CliPlatform::~CliPlatform() = default;

void SetReadOnly(const std::filesystem::path& file, bool readOnly) {
  if (::chmod(file.c_str(), readOnly ? 0444 : 0644) != 0) throw std::runtime_error("chmod " + file.string());
}

}  // namespace test
