// host/platform.h: the platform services that the generator, the dialog and the connection call.
#pragma once

#include "host/clock.h"
#include "host/date_formatter.h"
#include "host/settings_store.h"
#include "host/ui.h"

namespace host {

// References only: whoever builds a Platform owns the services and keeps them alive while it is used.
struct Platform {
  Ui& ui;
  const Clock& clock;
  const DateFormatter& dates;
  SettingsStore& settings;
};

}  // namespace host
