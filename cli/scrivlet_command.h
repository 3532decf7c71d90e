// cli/scrivlet_command.h: the scrivlet command line, runnable in-process.
#pragma once

#include <ostream>
#include <span>
#include <string>
#include <string_view>

#include "host/clock.h"
#include "host/code_page.h"
#include "host/date_formatter.h"
#include "host/settings_store.h"
#include "host/source_file.h"
#include "host/template_store.h"

namespace cli {
class InstallReader;
}  // namespace cli

namespace cli {

// Exit statuses.
inline constexpr int kSuccess = 0;
inline constexpr int kFailure = 1;  // a message was shown, or the file could not be read or written
inline constexpr int kUsage = 2;    // the command line itself is wrong

// What the command uses of the world around it.
struct CommandServices {
  std::ostream& out;
  std::ostream& err;
  host::SettingsStore& settings;
  const host::Clock& clock;
  const host::DateFormatter& dates;
  host::SourceFiles& files;
  const host::CodePages& codePages;
  std::string_view settingsPlace;  // where the settings live, to name in messages about them
  // What chooses the language of dates on the platform, to name in a message about them.
  std::string_view datesLanguage = "LC_TIME";
  // Where template sets are found; null: the built-in set alone.
  const host::TemplateStore* templates = nullptr;
  // The Windows registry and files that `doctor` checks; null where there are none (Linux).
  const InstallReader* install = nullptr;
  // Whether a long run may show its progress on `err` (a terminal).
  bool progress = false;
  // Called with the exit status when the run is over, its parser and command still standing: a
  // program that ends there frees nothing of them one by one. Left empty, RunScrivlet returns.
  void (*endRun)(int status) = nullptr;
};

// Runs one command line; `arguments` excludes the program name. Returns the exit status.
int RunScrivlet(std::span<const std::string> arguments, CommandServices& services);

}  // namespace cli
