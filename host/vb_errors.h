// host/vb_errors.h: VB's run-time error numbers, and the words VB has for each, so that every
// implementation of the object model raises its failures as the IDE would.
#pragma once

#include <span>
#include <string_view>

#include "host/host_error.h"

namespace host {

// The numbers the system itself raises or tells apart.
inline constexpr long kErrInvalidCall = 5;      // "Invalid procedure call or argument"
inline constexpr long kErrOutOfMemory = 7;      // "Out of memory"
inline constexpr long kErrTypeMismatch = 13;    // "Type mismatch"
inline constexpr long kErrSubNotDefined = 35;   // no routine of that name in the module
inline constexpr long kErrPathFileAccess = 75;  // "Path/File access error"
inline constexpr long kErrObjectNotSet = 91;    // an empty object reference was used
inline constexpr long kErrNoSuchMember = 438;   // the object lacks that property or method
inline constexpr long kErrNoEvents = 459;       // the object raises no events

struct VbErrorEntry {
  long number;
  std::string_view text;
};

// Every error number VB has words for, in order of number.
std::span<const VbErrorEntry> VbErrors() noexcept;

// VB's own description of run-time error `number`, as Err.Description gives it; "Application-defined
// or object-defined error" for a number VB leaves undefined.
std::string_view VbErrorText(long number) noexcept;

// The failure VB raises for `number`, with VB's own description.
HostError VbError(long number);

}  // namespace host
