// dialog/form_view.h: what a window showing frmAddIn is told by the model, and how it is made.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>

#include "dialog/controls.h"

namespace dialog {

class FrmAddIn;

// Which property of a control changed.
enum class Property : std::uint8_t {
  kCaption,  // caption, or the text of a text box or combo box
  kValue,    // a check box's value
  kEnabled,
  kVisible,
  kSelectedPage,  // SSTab1's selected page
  kFocus,         // the control now has the keyboard focus
};

// Renders frmAddIn. The model is the only holder of values, texts, enabled states and the selected
// page: a view reads them from the model whenever it draws, and reports what the programmer does
// through the model's User* operations, which decide whether the input is taken. A view keeps only
// what the platform needs to draw (window handles, fonts).
class FormView {
 public:
  virtual ~FormView() = default;

  // Makes the window appear, modeless and without an owner, centred on the screen the first time,
  // drawn from the model. Returns at once. Throws HostError when the window cannot be shown.
  virtual void Show() = 0;
  // Takes the window off the screen; the model keeps every value.
  virtual void Hide() = 0;
  // Destroys the window (the dialog is unloaded); a later Show makes a new one.
  virtual void Close() noexcept = 0;
  // The model is about to set one property of a control: the value of a check box ("0", "1" or "2"),
  // an enabled state ("True" or "False"), or a text (empty: the text is the model's to read). A view
  // that cannot show the change throws HostError, and the model keeps what it had.
  virtual void Changing(ControlId /*id*/, Property /*what*/, std::string_view /*value*/) {}
  // One property of one control changed in the model: redraw it. Called while reactions run, once
  // per change, so a view must not call back into the model from here.
  virtual void Changed(ControlId id, Property what) noexcept = 0;

 protected:
  FormView() = default;
  FormView(const FormView&) = default;
  FormView& operator=(const FormView&) = default;
};

// Makes the view of a new dialog object; called once, from the dialog's constructor. May throw
// HostError (the dialog object then is not created).
using ViewFactory = std::function<std::unique_ptr<FormView>(FrmAddIn& form)>;

}  // namespace dialog
