// addin/win32/process_platform.h: the Windows platform services that every object of the DLL shares.
#pragma once

#include "host/platform.h"

namespace addin::com {

// Message boxes, the system clock, GetDateFormatEx, VB's settings in the registry and the template
// folders; created on
// first use and kept until the DLL unloads.
const host::Platform& ProcessPlatform();

}  // namespace addin::com
