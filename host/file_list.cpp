// host/file_list.cpp: the files a run over a whole folder edits, packed.
#include "host/file_list.h"

#include <limits>
#include <stdexcept>

namespace host {

std::string FileList::Path(std::size_t i) const {
  const std::string_view relative = Relative(i);
  std::string path;
  path.reserve(prefix_.size() + relative.size());
  path += prefix_;
  path += relative;
  return path;
}

void FileList::Add(std::string_view relative) {
  constexpr std::size_t kMost = std::numeric_limits<std::uint32_t>::max();
  if (relative.size() > kMost - relatives_.size())
    throw std::length_error(prefix_ + ": too many files to list: their paths pass 4 GiB");
  ends_.push_back(static_cast<std::uint32_t>(relatives_.size() + relative.size()));
  try {
    relatives_ += relative;
  } catch (...) {
    ends_.pop_back();  // the list as it was
    throw;
  }
}

}  // namespace host
