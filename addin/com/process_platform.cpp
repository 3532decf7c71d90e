// addin/com/process_platform.cpp: the services hold no state of their own, so one set serves every object.
#include "addin/com/process_platform.h"

#include "platform/win32/message_box_ui.h"
#include "platform/win32/registry_settings_store.h"
#include "platform/win32/system_clock.h"
#include "platform/win32/windows_date_formatter.h"

namespace addin::com {

const host::Platform& ProcessPlatform() {
  static platform::win32::MessageBoxUi ui;
  static const platform::win32::SystemClock clock;
  static const platform::win32::WindowsDateFormatter dates;
  static platform::win32::RegistrySettingsStore settings;
  static const host::Platform platform{ui, clock, dates, settings};
  return platform;
}

}  // namespace addin::com
