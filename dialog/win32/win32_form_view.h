// dialog/win32/win32_form_view.h: the Windows window of frmAddIn, drawn from the model.
#pragma once

#include <memory>

#include "dialog/controls.h"
#include "dialog/form_view.h"

namespace dialog::win32 {

// The window class that the view registers.
inline constexpr wchar_t kWindowClass[] = L"ScrivletFrmAddIn";

// The identifier of each control's child window (GetDlgItem on the dialog's window finds it).
constexpr int ControlWindowId(ControlId id) noexcept {
  return 1000 + static_cast<int>(Index(id));
}

// Makes the view of `form`: a modeless top-level window without an owner, created when the form is
// first shown. A ViewFactory for FrmAddIn.
std::unique_ptr<FormView> MakeWin32View(FrmAddIn& form);

// Unregisters the window class, so that the module holding it may be unloaded without leaving a
// class whose window procedure is gone. Refused (harmlessly) while a window of the class exists; the
// next window registers it again.
void ReleaseWindowClass() noexcept;

}  // namespace dialog::win32
