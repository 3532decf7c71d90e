// host/epoch_date.h: the date a SOURCE_DATE_EPOCH value stands for, the same on every platform.
#pragma once

#include <string_view>

#include "host/clock.h"

namespace host {

// The UTC date of a count of seconds since 1970-01-01 written in decimal digits, as reproducible
// builds set SOURCE_DATE_EPOCH. Anything else, and any count past 9999-12-31 (the last year that
// dates are written with), throws HostError 5 naming the value.
CivilDate DateOfEpochText(std::string_view text);

}  // namespace host
