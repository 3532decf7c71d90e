// tests/win32/host_errors.h: what a facade operation throws, and the check of its number and text.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "host/host_error.h"
#include "tests/win32/check.h"

namespace test {

// Runs `body`; the HostError it throws, or nothing.
template <class Body>
std::optional<host::HostError> Thrown(Body&& body) {
  try {
    body();
  } catch (const host::HostError& e) {
    return e;
  }
  return std::nullopt;
}

inline void ExpectError(Checks& checks, const std::optional<host::HostError>& error, long number,
                        std::string_view description, const std::string& what) {
  checks.Expect(error.has_value(), what + ": throws");
  if (!error) return;
  checks.Equal(error->number(), number, what + ": number");
  checks.Equal(error->description(), std::string{description}, what + ": description");
}

}  // namespace test
