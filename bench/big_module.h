// bench/big_module.h: the source texts the benchmarks work on.
#pragma once

#include <string>

namespace bench {

// A user control's file of exactly `lines` lines (CR LF): header, declarations, Subs of ten lines,
// and the persistence procedures near the end, as a large real control has them.
std::string BigUserControl(long lines);

// A small user control with its persistence procedures, to generate into many times.
std::string SmallUserControl();

}  // namespace bench
