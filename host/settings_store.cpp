// host/settings_store.cpp: the order of setting addresses, blind to ASCII case.
#include "host/settings_store.h"

#include <algorithm>

namespace host {
namespace {

char Lower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// -1, 0 or 1 as `a` sorts before, with or after `b` when case is ignored.
int Compare(std::string_view a, std::string_view b) {
  const std::size_t common = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < common; ++i) {
    // Bytes compare unsigned, as std::string does.
    const auto x = static_cast<unsigned char>(Lower(a[i]));
    const auto y = static_cast<unsigned char>(Lower(b[i]));
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

}  // namespace

bool SettingAddressLess::operator()(const SettingAddress& a, const SettingAddress& b) const {
  if (const int order = Compare(a.application, b.application); order != 0) return order < 0;
  if (const int order = Compare(a.section, b.section); order != 0) return order < 0;
  return Compare(a.key, b.key) < 0;
}

}  // namespace host
