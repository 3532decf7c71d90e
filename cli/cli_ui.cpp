// cli/cli_ui.cpp: one message, one line.
#include "cli/cli_ui.h"

namespace cli {

void CliUi::MsgBox(std::string_view text, std::string_view title) noexcept {
  ++shown_;
  try {
    err_ << "scrivlet: ";
    if (!title.empty() && title != host::kProgramTitle) err_ << title << ": ";
    err_ << text << '\n';
    err_.flush();
  } catch (...) {
    // Standard error is gone; the count still makes the run fail.
  }
}

}  // namespace cli
