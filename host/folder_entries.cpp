// host/folder_entries.cpp: one folder's entries while a listing walks it, sorted.
#include "host/folder_entries.h"

#include <algorithm>
#include <limits>
#include <stdexcept>

namespace host {

void FolderEntries::Add(std::string_view name, bool folder) {
  constexpr std::size_t kMost = std::numeric_limits<std::uint32_t>::max();
  if (name.size() + 1 > kMost - keys_.size())
    throw std::length_error("a folder's names pass 4 GiB, more than a listing holds");
  const auto begin = static_cast<std::uint32_t>(keys_.size());
  const auto end = static_cast<std::uint32_t>(begin + name.size() + (folder ? 1 : 0));
  entries_.push_back({begin, end});
  try {
    keys_ += name;
    if (folder) keys_ += separator_;
  } catch (...) {
    keys_.resize(begin);
    entries_.pop_back();
    throw;
  }
}

void FolderEntries::Sort() {
  const std::string_view keys{keys_};
  std::sort(entries_.begin(), entries_.end(), [keys](const Entry& left, const Entry& right) {
    return keys.substr(left.begin, left.end - left.begin) < keys.substr(right.begin, right.end - right.begin);
  });
}

}  // namespace host
