// platform/posix/bounded_wait.cpp: pauses that grow, a deadline, one notice.
#include "platform/posix/bounded_wait.h"

#include <algorithm>
#include <thread>

namespace platform::posix {

bool BoundedWait::Pause(const std::string& notice) {
  const auto waited = std::chrono::steady_clock::now() - start_;
  if (waited >= limits_.limit) return false;
  if (!told_ && waited >= limits_.notice) {
    told_ = true;
    if (notice_) notice_(notice);
  }
  std::this_thread::sleep_for(step_);
  step_ = std::min<std::chrono::microseconds>(step_ * 2, std::chrono::milliseconds{20});
  return true;
}

std::string BoundedWait::LimitText() const {
  const auto milliseconds = limits_.limit.count();
  if (milliseconds % 1000 != 0) return std::to_string(milliseconds) + " milliseconds";
  const auto seconds = milliseconds / 1000;
  return std::to_string(seconds) + (seconds == 1 ? " second" : " seconds");
}

}  // namespace platform::posix
