// packaging/registry_rows.h: the registry table written out for the package (WiX registry rows) and for
// the scripts that check a registry under Wine (a text table).
#pragma once

#include <string>

namespace packaging {

// A WiX include holding one Scrivlet.dll's component and its registry rows, included once per DLL with
// Bits (32 or 64) and Guid (the component's) defined: what `regsvr32 /n /i:user` writes for it.
std::string WixRegistryInclude();

// One line per owned key ("key BITS ROOT KEY") and per value ("value BITS SCOPE ROOT KEY NAME TYPE
// VALUE"), tab-separated. BITS is 32, 64 or both; SCOPE user (per user alone) or both; ROOT CLASSES
// or HKCU; NAME (Default) for a key's default value; TYPE REG_SZ or REG_DWORD; VALUE as `reg query`
// shows it, with {dll} for the DLL's path, {folder} for its folder, and CR and LF written \r and \n.
std::string RegistryText();

}  // namespace packaging
