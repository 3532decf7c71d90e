// host/ui.h: the modal message box through which every error trap reports.
#pragma once

#include <string_view>

namespace host {

// The title a box shows when the caller gives none: the program's own.
inline constexpr std::string_view kProgramTitle = "Scrivlet";

class Ui {
 public:
  virtual ~Ui() = default;

  // Shows `text` with a single OK button and returns when it is dismissed. An empty title shows
  // kProgramTitle. Never throws: it is called from inside error traps, where memory may be exhausted.
  virtual void MsgBox(std::string_view text, std::string_view title) noexcept = 0;
  // Asks `text` with Yes and No buttons; true for Yes. A platform that cannot ask answers No, so
  // that nothing asked about is done.
  virtual bool Confirm(std::string_view text, std::string_view title) noexcept {
    static_cast<void>(text);
    static_cast<void>(title);
    return false;
  }

 protected:
  Ui() = default;
  Ui(const Ui&) = default;
  Ui& operator=(const Ui&) = default;
};

}  // namespace host
