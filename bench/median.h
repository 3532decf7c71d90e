// bench/median.h: the median of a benchmark's samples.
#pragma once

#include <algorithm>
#include <cstddef>
#include <vector>

namespace bench {

// The middle value, or the mean of the two middle ones; `values` must not be empty.
inline double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

}  // namespace bench
