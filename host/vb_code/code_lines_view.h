// host/vb_code/code_lines_view.h: a module's code lines read by index where they are kept, without a
// copy of them.
#pragma once

#include <cstddef>
#include <span>
#include <string_view>

namespace host {

// Code lines read by index (from 0): a list of views, or any container that gives a line's text by
// index and its size, such as a source module's own store. A list is read directly; a container
// through one call a line, which costs less than a list of views of a large module.
class CodeLinesView {
 public:
  CodeLinesView(std::span<const std::string_view> lines) noexcept  // NOLINT(google-explicit-constructor)
      : direct_(lines.data()), size_(lines.size()) {}

  // Views `lines`, which must outlive the view: lines[i] gives line i's text, and lines.size() their count.
  template <class Lines>
  static CodeLinesView Of(const Lines& lines) noexcept {
    CodeLinesView view{std::span<const std::string_view>{}};
    view.context_ = &lines;
    view.size_ = lines.size();
    view.read_ = [](const void* context, std::size_t index) -> std::string_view {
      return (*static_cast<const Lines*>(context))[index];
    };
    return view;
  }

  std::size_t size() const noexcept { return size_; }
  std::string_view operator[](std::size_t index) const {
    return direct_ != nullptr ? direct_[index] : read_(context_, index);
  }

 private:
  const std::string_view* direct_ = nullptr;
  const void* context_ = nullptr;
  std::size_t size_ = 0;
  std::string_view (*read_)(const void*, std::size_t) = nullptr;
};

}  // namespace host
