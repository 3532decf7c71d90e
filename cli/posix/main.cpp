// cli/posix/main.cpp: scrivlet with the POSIX platform services.
#include <malloc.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "cli/scrivlet_command.h"
#include "host/host_error.h"
#include "platform/posix/code_page_codec.h"
#include "platform/posix/ini_settings_store.h"
#include "platform/posix/locale_date_formatter.h"
#include "platform/posix/source_file.h"
#include "platform/posix/system_clock.h"
#include "platform/posix/template_folders.h"

namespace {

// Where no settings folder can be found: the defaults are read, and storing is an error.
class NoSettingsStore final : public host::SettingsStore {
 public:
  explicit NoSettingsStore(std::string reason) : reason_(std::move(reason)) {}
  std::string GetSetting(std::string_view, std::string_view, std::string_view,
                         std::string_view fallback) const override {
    return std::string{fallback};
  }
  void SaveSetting(std::string_view, std::string_view, std::string_view, std::string_view) override {
    throw host::HostError{75, reason_};
  }

 private:
  std::string reason_;
};

// Ends the program when the run is over: what it built goes back with the process instead of being
// freed piece by piece. Standard output is flushed first; the run has already checked what it wrote.
[[noreturn]] void EndRun(int status) {
  std::cout.flush();
  std::cerr.flush();
  std::_Exit(status);
}

}  // namespace

int main(int argc, char** argv) {
  // A run reads a whole file into several large buffers in turn (bytes, text, lines, the new
  // text, the new bytes). Kept in the heap rather than mapped and unmapped one by one, the memory
  // each frees is reused by the next instead of being faulted in afresh, page by page.
  mallopt(M_MMAP_THRESHOLD, 256 * 1024 * 1024);
  mallopt(M_TRIM_THRESHOLD, 256 * 1024 * 1024);
  mallopt(M_TOP_PAD, 16 * 1024 * 1024);
  // A reader that stops early (`| head`) must not end the run in silence: the write fails with EPIPE
  // instead, and the run reports that standard output cannot be written (exit 1).
  std::signal(SIGPIPE, SIG_IGN);
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  const platform::posix::SystemClock clock;
  const platform::posix::LocaleDateFormatter dates;
  std::unique_ptr<host::SettingsStore> settings;
  std::string settingsPlace = "the settings";
  try {
    settingsPlace = platform::posix::IniSettingsStore::DefaultPath();
    settings = std::make_unique<platform::posix::IniSettingsStore>(settingsPlace);
  } catch (const host::HostError& error) {
    settings = std::make_unique<NoSettingsStore>(error.description());
  }
  platform::posix::EditPolicy policy;
  policy.notice = [](const std::string& message) { std::cerr << "scrivlet: " << message << std::endl; };
  platform::posix::DiskSourceFiles files{{}, policy};
  const platform::posix::IconvCodePages codePages;
  cli::CommandServices services{std::cout, std::cerr, *settings, clock,
                                dates,     files,     codePages, settingsPlace};
  services.endRun = EndRun;
  const platform::posix::TemplateFolders templates{platform::posix::UserTemplateFolder()};
  services.templates = &templates;
  services.progress = ::isatty(STDERR_FILENO) != 0;
  return cli::RunScrivlet(arguments, services);
}
