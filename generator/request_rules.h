// generator/request_rules.h: the rules every front end applies to a request before it generates.
#pragma once

#include <string_view>

#include "generator/request.h"

namespace generator {

// The failure raised for a routine without a name: vbObjectError + 1000, source "Scrivlet".
inline constexpr long kErrNameMissing = -2147220504;  // 0x800403E8 as the host's 32-bit error number
inline constexpr std::string_view kNameMissing = "Name of propriete cannot be null.";

// A routine needs a name unless only comments are written. A name of blanks is a name: only the
// empty text is refused. Throws HostError{kErrNameMissing, "Scrivlet", kNameMissing}.
void RequireRoutineName(const Request& request);

}  // namespace generator
