// host/recording_ui.h: a message box that records what it is asked to show instead of showing it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "host/ui.h"

namespace host {

struct ShownMessage {
  std::string text;
  std::string title;

  friend bool operator==(const ShownMessage&, const ShownMessage&) = default;
};

class RecordingUi final : public Ui {
 public:
  void MsgBox(std::string_view text, std::string_view title) noexcept override {
    try {
      messages_.push_back({std::string{text}, std::string{title.empty() ? kProgramTitle : title}});
    } catch (...) {
      ++dropped_;  // memory is exhausted: the box is still counted as shown
    }
  }

  const std::vector<ShownMessage>& messages() const noexcept { return messages_; }
  // Boxes shown while the record itself could not grow.
  int dropped() const noexcept { return dropped_; }
  int shown() const noexcept { return static_cast<int>(messages_.size()) + dropped_; }
  void Clear() noexcept {
    messages_.clear();
    dropped_ = 0;
  }

 private:
  std::vector<ShownMessage> messages_;
  int dropped_ = 0;
};

}  // namespace host
