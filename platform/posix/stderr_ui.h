// platform/posix/stderr_ui.h: the message box of a terminal program, a line "Title: text" on standard error.
#pragma once

#include "host/ui.h"

namespace platform::posix {

class StderrUi final : public host::Ui {
 public:
  void MsgBox(std::string_view text, std::string_view title) noexcept override;
};

}  // namespace platform::posix
