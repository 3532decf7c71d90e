// platform/posix/password_file.cpp: reading /etc/passwd line by line, field by field.
#include "platform/posix/password_file.h"

#include <algorithm>
#include <array>
#include <cstddef>

namespace platform::posix {

std::string HomeInPasswordFile(std::string_view passwd, uid_t uid) {
  const std::string wanted = std::to_string(uid);
  while (!passwd.empty()) {
    const std::size_t end = std::min(passwd.find('\n'), passwd.size());
    std::string_view line = passwd.substr(0, end);
    passwd.remove_prefix(std::min(end + 1, passwd.size()));
    std::array<std::string_view, 7> fields{};
    std::size_t count = 0;
    for (; count < fields.size(); ++count) {
      const std::size_t colon = line.find(':');
      fields[count] = line.substr(0, colon);
      if (colon == std::string_view::npos) break;
      line.remove_prefix(colon + 1);
    }
    if (count >= 5 && fields[2] == wanted && fields[5].starts_with('/')) return std::string{fields[5]};
  }
  return {};
}

}  // namespace platform::posix
