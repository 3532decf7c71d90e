// cli/cli_ui.h: the generator's message boxes as lines on standard error.
#pragma once

#include <ostream>
#include <string_view>

#include "host/ui.h"

namespace cli {

// Writes "scrivlet: Title: text", or "scrivlet: text" when the title is empty or the program's own,
// and counts the messages: a run that showed any has failed.
class CliUi final : public host::Ui {
 public:
  explicit CliUi(std::ostream& err) : err_(err) {}

  void MsgBox(std::string_view text, std::string_view title) noexcept override;
  int shown() const noexcept { return shown_; }

 private:
  std::ostream& err_;
  int shown_ = 0;
};

}  // namespace cli
