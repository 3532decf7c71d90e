// host/platform.h: the platform services that the generator, the dialog and the connection call.
#pragma once

#include "host/clock.h"
#include "host/code_page.h"
#include "host/date_formatter.h"
#include "host/settings_store.h"
#include "host/template_store.h"
#include "host/ui.h"

namespace host {

// References only: whoever builds a Platform owns the services and keeps them alive while it is used.
struct Platform {
  Ui& ui;
  const Clock& clock;
  const DateFormatter& dates;
  SettingsStore& settings;
  // The code page the modules are saved in, whose characters past ASCII are letters in VB names;
  // null when it cannot be told.
  const CodePage* codePage = nullptr;
  // Where the team's templates are found; null where none can be (the built-in set alone).
  const TemplateStore* templates = nullptr;
};

}  // namespace host
