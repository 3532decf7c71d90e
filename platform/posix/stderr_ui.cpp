// platform/posix/stderr_ui.cpp: writes without allocating, so that it works when memory is exhausted.
#include "platform/posix/stderr_ui.h"

#include <cstdio>

namespace platform::posix {

void StderrUi::MsgBox(std::string_view text, std::string_view title) noexcept {
  if (title.empty()) title = host::kProgramTitle;
  std::fwrite(title.data(), 1, title.size(), stderr);
  std::fputs(": ", stderr);
  std::fwrite(text.data(), 1, text.size(), stderr);
  std::fputc('\n', stderr);
  std::fflush(stderr);
}

}  // namespace platform::posix
