// testing/ide/recording_ui.h: a message box that records what it is asked to show instead of showing it.
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
      askedTitles_.emplace_back(title);
    } catch (...) {
      ++dropped_;  // memory is exhausted: the box is still counted as shown
    }
  }

  // A question is recorded as a box is, and answered as the test chose (No unless told).
  bool Confirm(std::string_view text, std::string_view title) noexcept override {
    MsgBox(text, title);
    return confirmAnswer_;
  }
  void AnswerConfirm(bool yes) noexcept { confirmAnswer_ = yes; }

  // Each box as it shows: an empty title shows the program's.
  const std::vector<ShownMessage>& messages() const noexcept { return messages_; }
  // The titles as the callers gave them, empty ones included.
  const std::vector<std::string>& askedTitles() const noexcept { return askedTitles_; }
  // Boxes shown while the record itself could not grow.
  int dropped() const noexcept { return dropped_; }
  int shown() const noexcept { return static_cast<int>(messages_.size()) + dropped_; }
  void Clear() noexcept {
    messages_.clear();
    askedTitles_.clear();
    dropped_ = 0;
  }

 private:
  std::vector<ShownMessage> messages_;
  std::vector<std::string> askedTitles_;
  int dropped_ = 0;
  bool confirmAnswer_ = false;
};

}  // namespace host
