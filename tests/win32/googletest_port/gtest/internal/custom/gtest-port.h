// tests/win32/googletest_port/gtest/internal/custom/gtest-port.h: GoogleTest's hook for a port's own
// pieces, taken because the cross compiler's win32 thread model has no std::mutex, on which GoogleTest
// builds the one class below.
#ifndef SCRIVLET_GOOGLETEST_CUSTOM_PORT_H_
#define SCRIVLET_GOOGLETEST_CUSTOM_PORT_H_

#include <windows.h>

namespace testing::internal {

// Lets the threads a controller started wait until it releases them: a manual-reset event.
class Notification {
 public:
  Notification() : event_(::CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
  ~Notification() { ::CloseHandle(event_); }
  Notification(const Notification&) = delete;
  Notification& operator=(const Notification&) = delete;

  void Notify() { ::SetEvent(event_); }
  void WaitForNotification() { ::WaitForSingleObject(event_, INFINITE); }

 private:
  HANDLE event_;
};

}  // namespace testing::internal

#define GTEST_HAS_NOTIFICATION_ 1

#endif  // SCRIVLET_GOOGLETEST_CUSTOM_PORT_H_
