// tests/win32/host_errors.h: whether a facade operation throws the HostError expected, number and text.
#pragma once

#include <gtest/gtest.h>

#include <string_view>

#include "host/host_error.h"

namespace test {

// Runs `body`; succeeds when it throws HostError{number, description}, and says what it did otherwise.
template <class Body>
testing::AssertionResult ThrowsHostError(Body&& body, long number, std::string_view description) {
  try {
    body();
  } catch (const host::HostError& e) {
    if (e.number() == number && e.description() == description) return testing::AssertionSuccess();
    return testing::AssertionFailure() << "threw " << e.number() << " \"" << e.description() << "\"";
  }
  return testing::AssertionFailure() << "threw nothing";
}

}  // namespace test
