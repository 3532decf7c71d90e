// dialog/frm_add_in.h: frmAddIn, the options dialog as a model of its controls and their reactions.
#pragma once

#include <array>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "dialog/connection.h"
#include "dialog/controls.h"
#include "dialog/form_view.h"
#include "generator/template_loading.h"
#include "host/platform.h"
#include "host/vbe.h"

namespace dialog {

// What a control holds now.
struct ControlState {
  std::string caption;  // caption, or the text of a text box or combo box
  int value = 0;        // a check box's value: 0 unchecked, 1 checked
  bool enabled = true;
  bool visible = true;
};

// The dialog. A check box whose value changes runs its reaction at once, inside the code that
// changed it, whether the programmer clicked it or code set it; setting the value a box already has,
// or changing an enabled state, runs nothing. Every operation runs on the host's user-interface
// thread; the view is told of every change as it happens.
class FrmAddIn {
 public:
  // Creates the dialog object: the controls as designed, Label7's About text, and the view made by
  // `makeView` (which may throw). The dialog is not loaded yet.
  FrmAddIn(const host::Platform& platform, const ViewFactory& makeView);
  FrmAddIn(const FrmAddIn&) = delete;
  FrmAddIn& operator=(const FrmAddIn&) = delete;
  ~FrmAddIn();

  // The host's root object, from which the generate command finds the active code module.
  std::shared_ptr<host::Vbe> VBInstance;
  // The add-in connection that owns this dialog and outlives it; its Hide serves the Cancel button.
  Connection* Connect = nullptr;

  // --- The window ---------------------------------------------------------------------------------
  // Loads the dialog when it is not loaded (Form_Load), then shows the window modeless. Throws
  // HostError when the view cannot show it; the dialog then stays loaded and hidden.
  void Show();
  // Loads the dialog when it is not loaded, then hides the window; every value stays.
  void Hide();
  // Closes the window and unloads the dialog: the controls go back to their design, About text
  // included, and the next Show loads again. VBInstance and Connect stay.
  void Unload() noexcept;
  bool Loaded() const noexcept { return loaded_; }
  bool Visible() const noexcept { return visible_; }

  // --- Controls, as the view and the tests read them -------------------------------------------------
  const ControlState& State(ControlId id) const noexcept { return controls_[Index(id)]; }
  const std::string& Text(ControlId id) const noexcept { return State(id).caption; }
  int Value(ControlId id) const noexcept { return State(id).value; }
  bool Enabled(ControlId id) const noexcept { return State(id).enabled; }
  // The entries of a combo box's list; empty for other controls.
  std::span<const std::string_view> List(ControlId id) const noexcept;
  // Whether the programmer can use the control now: it is enabled and, inside Frame1, Frame1 is too.
  bool CanUse(ControlId id) const noexcept;
  // Whether the control is on screen when the window is: visible, and on the window or on the
  // selected page.
  bool IsShowing(ControlId id) const noexcept;
  int SelectedPage() const noexcept { return selectedPage_; }
  ControlId ActiveControl() const noexcept { return focus_; }
  // Whether the keyboard focus can go to the control now (labels and frames never take it).
  bool CanFocus(ControlId id) const noexcept;

  // --- Changes made by code ----------------------------------------------------------------------------
  // Each throws HostError when the change fails; a failed change changes nothing.
  void SetValue(ControlId box, int value);
  void SetEnabled(ControlId id, bool enabled);
  void SetText(ControlId id, std::string_view text);

  // --- What the programmer does, as a view reports it --------------------------------------------------
  // Each returns whether the model took the input: a control that cannot be used, or is not showing,
  // takes nothing. None throws.
  // A click: focuses the control, toggles a check box, or runs a button's command.
  bool UserClick(ControlId id) noexcept;
  // Typing in a text box or the text field of a combo box: the new text as a whole.
  bool UserEdit(ControlId id, std::string_view text) noexcept;
  // Picking entry `index` from a combo box's list.
  bool UserPick(ControlId id, std::size_t index) noexcept;
  bool UserSelectPage(int page) noexcept;
  bool UserFocus(ControlId id) noexcept;
  // Tab or Shift+Tab: the focus goes to the next control in keyboard order that can take it.
  bool UserTab(bool backwards) noexcept;
  // The close command of the window's title bar: does what the Cancel button does (the connection
  // hides the window, or the dialog hides itself when it has no connection); every value stays.
  void UserClose() noexcept;

  // --- Reactions -----------------------------------------------------------------------------------------
  // Reads the stored programmer name into txtNomUtilisateur ("My name" when none is stored).
  void Form_Load() noexcept;
  // The template set for the active project, found from its file's folder: what the generate command
  // writes with, and what lblTemplates names. Throws what finding and reading it throws.
  generator::LoadedTemplates ActiveTemplates() const;
  // Names the set in use in lblTemplates, or why none can be used.
  void ShowTemplatesInUse() noexcept;
  // Stores txtNomUtilisateur's text, unchanged, as the programmer name.
  void cmdChanger_Click() noexcept;
  // Asks the connection to hide the dialog; without a connection the dialog hides itself.
  void CancelButton_Click() noexcept;
  // The generate command: fills a request from the controls and writes the routine into the active
  // code module.
  void OKButton_Click() noexcept;
  // Disables `box`, then clears it (which runs its reaction when it was checked).
  void ObjetInvalide(ControlId box) noexcept;
  // Enables `box`; its value stays.
  void ObjetValide(ControlId box) noexcept;

 private:
  enum class StepKind : std::uint8_t { kClear, kValidate, kEnable, kDisable };
  struct Step {
    StepKind kind;
    ControlId target;
  };
  struct Reaction {
    ControlId box;
    std::string_view title;
    std::span<const Step> checked;
    std::span<const Step> unchecked;
  };
  static const Reaction* FindReaction(ControlId box) noexcept;

  void ResetControls();
  void RunReaction(const Reaction& reaction) noexcept;
  // Asks the view whether it can show the change; throws HostError when it cannot.
  void Changing(ControlId id, Property what, std::string_view value);
  void Notify(ControlId id, Property what) noexcept;
  void Load();
  void GenerateFromControls();
  // Hides the window, swallowing a failure of the view.
  void HideSelf() noexcept;

  host::Platform platform_;
  std::array<ControlState, kControlCount> controls_;
  std::unique_ptr<FormView> view_;
  bool loaded_ = false;
  bool unloaded_ = false;  // unloaded since the controls were last set to their design
  bool visible_ = false;
  int selectedPage_ = kPagePropriety;
  ControlId focus_ = ControlId::OKButton;
};

}  // namespace dialog
