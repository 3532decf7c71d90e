// host/posix/stderr_ui.h: the message box of a terminal program, a line "Title: text" on standard error.
#pragma once

#include "host/ui.h"

namespace host::posix {

class StderrUi final : public Ui {
 public:
  void MsgBox(std::string_view text, std::string_view title) noexcept override;
};

}  // namespace host::posix
