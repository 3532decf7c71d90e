// platform/posix/bounded_wait.h: how long a run waits for another program to let go of a file, and
// what it says meanwhile.
#pragma once

#include <chrono>
#include <functional>
#include <string>

namespace platform::posix {

struct WaitLimits {
  std::chrono::milliseconds notice{1000};  // how long a run waits before it says that it waits
  std::chrono::milliseconds limit{10000};  // how long it waits in all before it gives up
};

// Told, once a run has waited WaitLimits::notice, what it waits for.
using WaitNotice = std::function<void(const std::string& message)>;

// One run's waiting, counted from its start: every wait of the run draws on the same time.
class BoundedWait {
 public:
  BoundedWait(WaitLimits limits, WaitNotice notice)
      : limits_(limits), notice_(std::move(notice)), start_(std::chrono::steady_clock::now()) {}

  // Sleeps a little, longer each time up to a fiftieth of a second; false, without sleeping, once the
  // time is up. `notice` is the message for the first pause after WaitLimits::notice.
  bool Pause(const std::string& notice);
  // The limit as a person reads it: "10 seconds".
  std::string LimitText() const;

 private:
  WaitLimits limits_;
  WaitNotice notice_;
  std::chrono::steady_clock::time_point start_;
  std::chrono::microseconds step_{500};
  bool told_ = false;
};

}  // namespace platform::posix
