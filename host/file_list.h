// host/file_list.h: the files a run over a whole folder edits, packed, as the list lives through the
// whole run and a project's hundreds of paths share one folder.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace host {

// Paths that share a prefix (a folder with its separator, or nothing), stored once, each file's path after it
// packed one after another in one text with an index of where each ends: a few bytes per file beyond
// its name, where a string of its own would cost a heap block of the whole path.
class FileList {
 public:
  explicit FileList(std::string prefix) : prefix_(std::move(prefix)) {}

  const std::string& prefix() const noexcept { return prefix_; }
  std::size_t size() const noexcept { return ends_.size(); }
  bool empty() const noexcept { return ends_.empty(); }
  // The path of file `i` after the prefix.
  std::string_view Relative(std::size_t i) const noexcept {
    const std::uint32_t begin = i == 0 ? 0 : ends_[i - 1];
    return std::string_view{relatives_}.substr(begin, ends_[i] - begin);
  }
  // The whole path of file `i`: the prefix, then its relative part.
  std::string Path(std::size_t i) const;

  // Adds a file after the others. Throws std::length_error, with the list as it was, when the
  // relative paths would pass 4 GiB, which the index's 32-bit offsets cannot hold.
  void Add(std::string_view relative);

  // Keeps the files whose whole path `keep` accepts, in their order, moving them down in place so
  // that filtering costs no second list.
  template <class Keep>
  void KeepOnly(Keep keep) {
    std::string whole = prefix_;
    std::uint32_t read = 0;
    std::uint32_t written = 0;
    std::size_t kept = 0;
    for (const std::uint32_t end : ends_) {
      const std::string_view relative = std::string_view{relatives_}.substr(read, end - read);
      whole.resize(prefix_.size());
      whole += relative;
      if (keep(std::string_view{whole})) {
        std::char_traits<char>::move(relatives_.data() + written, relative.data(), relative.size());
        written += static_cast<std::uint32_t>(relative.size());
        ends_[kept++] = written;
      }
      read = end;
    }
    relatives_.resize(written);
    ends_.resize(kept);
  }

 private:
  std::string prefix_;
  std::string relatives_;
  std::vector<std::uint32_t> ends_;
};

}  // namespace host
