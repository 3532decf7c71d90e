// host/host_error.h: a failure reported by the host or the platform, with its number and description.
#pragma once

#include <exception>
#include <string>
#include <utility>

namespace host {

// Thrown by every facade operation that fails. The generator and the dialog catch it at their
// traps and show `description`, as a VB error handler shows Err.Description.
class HostError : public std::exception {
 public:
  HostError(long number, std::string description) : number_(number), description_(std::move(description)) {}
  // A failure raised by one of the system's own components names it as its source.
  HostError(long number, std::string source, std::string description)
      : number_(number), source_(std::move(source)), description_(std::move(description)) {}

  long number() const noexcept { return number_; }
  // Empty for a failure of the host or the platform.
  const std::string& source() const noexcept { return source_; }
  const std::string& description() const noexcept { return description_; }
  const char* what() const noexcept override { return description_.c_str(); }

 private:
  long number_;
  std::string source_;
  std::string description_;
};

}  // namespace host
