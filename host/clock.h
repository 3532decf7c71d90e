// host/clock.h: the current date, and the calendar date the platform services pass around.
#pragma once

namespace host {

// A day of the proleptic Gregorian calendar; month 1 to 12, day 1 to 31.
struct CivilDate {
  int year = 1970;
  int month = 1;
  int day = 1;

  friend bool operator==(const CivilDate&, const CivilDate&) = default;
};

class Clock {
 public:
  virtual ~Clock() = default;

  // Today's local date; throws HostError when the platform cannot tell.
  virtual CivilDate Today() const = 0;

 protected:
  Clock() = default;
  Clock(const Clock&) = default;
  Clock& operator=(const Clock&) = default;
};

}  // namespace host
