// cli/win32/main.cpp: scrivlet.exe with the Win32 platform services.
#include <windows.h>

#include <ostream>
#include <string>
#include <vector>

#include "cli/scrivlet_command.h"
#include "cli/win32/registry_install_reader.h"
#include "platform/win32/code_page_codec.h"
#include "platform/win32/registry_settings_store.h"
#include "platform/win32/source_file.h"
#include "platform/win32/standard_stream.h"
#include "platform/win32/system_clock.h"
#include "platform/win32/template_folders.h"
#include "platform/win32/wide.h"
#include "platform/win32/windows_date_formatter.h"

// The command line as UTF-16, from the system. An argument holding a lone surrogate becomes bytes that
// are not UTF-8 (Narrow keeps every unit), which the command refuses as it refuses such an argument on
// Linux.
int wmain(int argc, wchar_t** argv) {
  std::vector<std::string> arguments;
  for (int i = 1; i < argc; ++i) arguments.push_back(platform::win32::Narrow(argv[i]));

  platform::win32::StandardStreamBuffer outBuffer{::GetStdHandle(STD_OUTPUT_HANDLE)};
  platform::win32::StandardStreamBuffer errBuffer{::GetStdHandle(STD_ERROR_HANDLE)};
  std::ostream out{&outBuffer};
  std::ostream err{&errBuffer};
  err.setf(std::ios::unitbuf);

  // Where the add-in keeps the programmer's name: a name stored by either is the other's default.
  platform::win32::RegistrySettingsStore settings;
  const platform::win32::SystemClock clock;
  const platform::win32::WindowsDateFormatter dates;
  platform::win32::WindowsSourceFiles files;
  const platform::win32::WindowsCodePages codePages;
  cli::CommandServices services{out,
                                err,
                                settings,
                                clock,
                                dates,
                                files,
                                codePages,
                                R"(HKEY_CURRENT_USER\Software\VB and VBA Program Settings\Scrivlet)",
                                "format of dates in the Region settings"};
  const platform::win32::TemplateFolders templates{platform::win32::UserTemplateFolder()};
  services.templates = &templates;
  const cli::win32::RegistryInstallReader install;
  services.install = &install;
  const int status = cli::RunScrivlet(arguments, services);
  out.flush();
  return status;
}
