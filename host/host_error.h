// host/host_error.h: a failure reported by the host or the platform, with its number and description.
#pragma once

#include <exception>
#include <string>
#include <string_view>
#include <utility>

namespace host {

// The error numbers the system relies on, as the host reports them.
inline constexpr long kErrInvalidCall = 5;     // "Invalid procedure call or argument"
inline constexpr long kErrOutOfMemory = 7;     // kOutOfMemory
inline constexpr long kErrSubNotDefined = 35;  // no routine of that name in the module
inline constexpr long kErrObjectNotSet = 91;   // kObjectNotSet: an empty object reference was used

inline constexpr std::string_view kOutOfMemory = "Out of memory";
inline constexpr std::string_view kObjectNotSet = "Object variable or With block variable not set";

// Thrown by every facade operation that fails. The generator and the dialog catch it at their
// traps and show `description`, as a VB error handler shows Err.Description.
class HostError : public std::exception {
 public:
  HostError(long number, std::string description) : number_(number), description_(std::move(description)) {}

  long number() const noexcept { return number_; }
  const std::string& description() const noexcept { return description_; }
  const char* what() const noexcept override { return description_.c_str(); }

 private:
  long number_;
  std::string description_;
};

}  // namespace host
