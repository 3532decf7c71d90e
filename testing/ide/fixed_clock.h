// testing/ide/fixed_clock.h: a clock that always gives the same day, or fails as a broken platform
// would.
#pragma once

#include <optional>

#include "host/clock.h"
#include "host/host_error.h"

namespace host {

class FixedClock final : public Clock {
 public:
  explicit FixedClock(CivilDate today) : today_(today) {}

  CivilDate Today() const override {
    if (failure_) throw *failure_;
    return today_;
  }

  void Set(CivilDate today) { today_ = today; }
  // Every later Today() throws `error`; nullopt mends the clock.
  void FailWith(std::optional<HostError> error) { failure_ = std::move(error); }

 private:
  CivilDate today_;
  std::optional<HostError> failure_;
};

}  // namespace host
