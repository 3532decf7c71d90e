// addin/win32/process_platform.cpp: the services hold no state of their own, so one set serves every object.
#include "addin/win32/process_platform.h"

#include <windows.h>

#include "platform/win32/code_page_codec.h"
#include "platform/win32/message_box_ui.h"
#include "platform/win32/registry_settings_store.h"
#include "platform/win32/system_clock.h"
#include "platform/win32/template_folders.h"
#include "platform/win32/windows_date_formatter.h"

namespace addin::com {

namespace {

// The IDE keeps its modules in the system's ANSI code page; one that is not a Windows ANSI code page
// (UTF-8, set for the whole system) cannot be told, and every character past ASCII may then be a letter.
const host::CodePage* ModulesCodePage() {
  try {
    static const platform::win32::WindowsCodePage codePage{static_cast<int>(::GetACP())};
    return &codePage;
  } catch (const host::CodePageError&) {
    return nullptr;
  }
}

}  // namespace

const host::Platform& ProcessPlatform() {
  static platform::win32::MessageBoxUi ui;
  static const platform::win32::SystemClock clock;
  static const platform::win32::WindowsDateFormatter dates;
  static platform::win32::RegistrySettingsStore settings;
  static const platform::win32::TemplateFolders templates{platform::win32::UserTemplateFolder()};
  static const host::Platform platform{ui, clock, dates, settings, ModulesCodePage(), &templates};
  return platform;
}

}  // namespace addin::com
