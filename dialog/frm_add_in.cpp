// dialog/frm_add_in.cpp: frmAddIn's controls, its window, what the programmer does, Form_Load,
// cmdChanger and Cancel.
#include "dialog/frm_add_in.h"

#include <string>
#include <utility>

#include "generator/programmer_setting.h"
#include "host/error_trap.h"
#include "host/host_error.h"
#include "host/ui.h"
#include "host/vb_errors.h"

namespace dialog {
namespace {

constexpr std::string_view kInvalidValue = "Invalid property value";
constexpr long kErrInvalidValue = 380;

bool TakesFocus(ControlKind kind) noexcept {
  return kind != ControlKind::kLabel && kind != ControlKind::kFrame;
}

bool HoldsText(ControlKind kind) noexcept {
  return kind == ControlKind::kTextBox || kind == ControlKind::kMultiLineTextBox ||
         kind == ControlKind::kComboBox;
}

}  // namespace

FrmAddIn::FrmAddIn(const host::Platform& platform, const ViewFactory& makeView) : platform_(platform) {
  ResetControls();
  if (makeView) view_ = makeView(*this);
}

FrmAddIn::~FrmAddIn() {
  if (view_) view_->Close();
}

// The controls as designed, with the About text that creation puts into Label7, on the first page
// with the focus on OKButton.
void FrmAddIn::ResetControls() {
  std::array<ControlState, kControlCount> fresh;
  for (const ControlDesign& design : Designs()) {
    ControlState& state = fresh[Index(design.id)];
    state.caption = design.caption;
    state.enabled = design.enabled;
    state.visible = design.visible;
  }
  fresh[Index(ControlId::Label7)].caption = kAboutText;
  controls_ = std::move(fresh);
  selectedPage_ = kPagePropriety;
  focus_ = ControlId::OKButton;
}

void FrmAddIn::Load() {
  if (unloaded_) {
    ResetControls();
    unloaded_ = false;
  }
  loaded_ = true;
  Form_Load();
}

void FrmAddIn::Show() {
  if (!loaded_) Load();
  ShowTemplatesInUse();
  if (view_) view_->Show();
  visible_ = true;
}

void FrmAddIn::Hide() {
  if (!loaded_) Load();
  if (view_) view_->Hide();
  visible_ = false;
}

void FrmAddIn::Unload() noexcept {
  if (view_) view_->Close();
  if (loaded_) unloaded_ = true;
  loaded_ = false;
  visible_ = false;
}

std::span<const std::string_view> FrmAddIn::List(ControlId id) const noexcept {
  if (Design(id).kind != ControlKind::kComboBox) return {};
  return kTypeList;
}

bool FrmAddIn::CanUse(ControlId id) const noexcept {
  if (!Enabled(id)) return false;
  const Container container = Design(id).container;
  if (container.kind == ContainerKind::kFrame1 && !Enabled(ControlId::Frame1)) return false;
  if (container.kind != ContainerKind::kWindow && !Enabled(ControlId::SSTab1)) return false;
  return true;
}

bool FrmAddIn::IsShowing(ControlId id) const noexcept {
  if (!State(id).visible) return false;
  const Container container = Design(id).container;
  if (container.kind == ContainerKind::kFrame1 && !State(ControlId::Frame1).visible) return false;
  if (container.kind == ContainerKind::kWindow) return true;
  return State(ControlId::SSTab1).visible && container.page == selectedPage_;
}

bool FrmAddIn::CanFocus(ControlId id) const noexcept {
  return TakesFocus(Design(id).kind) && CanUse(id) && IsShowing(id);
}

void FrmAddIn::Changing(ControlId id, Property what, std::string_view value) {
  if (view_) view_->Changing(id, what, value);
}

void FrmAddIn::Notify(ControlId id, Property what) noexcept {
  if (view_) view_->Changed(id, what);
}

void FrmAddIn::SetValue(ControlId box, int value) {
  Changing(box, Property::kValue, std::to_string(value));
  if (Design(box).kind != ControlKind::kCheckBox) {
    throw host::VbError(host::kErrNoSuchMember);
  }
  // 2 is the platform's grayed state: a valid value that the reactions treat as unchecked.
  if (value < 0 || value > 2) throw host::HostError{kErrInvalidValue, std::string{kInvalidValue}};
  ControlState& state = controls_[Index(box)];
  if (state.value == value) return;
  state.value = value;
  Notify(box, Property::kValue);
  if (const Reaction* reaction = FindReaction(box)) RunReaction(*reaction);
}

void FrmAddIn::SetEnabled(ControlId id, bool enabled) {
  Changing(id, Property::kEnabled, enabled ? "True" : "False");
  ControlState& state = controls_[Index(id)];
  if (state.enabled == enabled) return;
  state.enabled = enabled;
  Notify(id, Property::kEnabled);
}

void FrmAddIn::SetText(ControlId id, std::string_view text) {
  Changing(id, Property::kCaption, {});
  std::string copy{text};
  controls_[Index(id)].caption = std::move(copy);
  Notify(id, Property::kCaption);
}

bool FrmAddIn::UserClick(ControlId id) noexcept {
  if (!visible_ || !CanUse(id) || !IsShowing(id)) return false;
  if (CanFocus(id) && focus_ != id) {
    focus_ = id;
    Notify(id, Property::kFocus);
  }
  switch (Design(id).kind) {
    case ControlKind::kCheckBox:
      try {
        SetValue(id, Value(id) == 0 ? 1 : 0);
      } catch (...) {
        return false;  // the box keeps its value
      }
      return true;
    case ControlKind::kPushButton:
      if (id == ControlId::OKButton) OKButton_Click();
      if (id == ControlId::CancelButton) CancelButton_Click();
      if (id == ControlId::cmdChanger) cmdChanger_Click();
      return true;
    default:
      return true;
  }
}

bool FrmAddIn::UserEdit(ControlId id, std::string_view text) noexcept {
  if (!visible_ || !HoldsText(Design(id).kind) || !CanUse(id) || !IsShowing(id)) return false;
  try {
    SetText(id, text);
  } catch (...) {
    return false;
  }
  return true;
}

bool FrmAddIn::UserPick(ControlId id, std::size_t index) noexcept {
  const std::span<const std::string_view> list = List(id);
  if (index >= list.size()) return false;
  return UserEdit(id, list[index]);
}

bool FrmAddIn::UserSelectPage(int page) noexcept {
  if (!visible_ || page < 0 || page >= static_cast<int>(kPageCaptions.size())) return false;
  if (!CanUse(ControlId::SSTab1) || !IsShowing(ControlId::SSTab1)) return false;
  if (page == selectedPage_) return true;
  selectedPage_ = page;
  Notify(ControlId::SSTab1, Property::kSelectedPage);
  // A control on the page that went away cannot keep the focus; the tab control takes it.
  if (!IsShowing(focus_)) {
    focus_ = ControlId::SSTab1;
    Notify(focus_, Property::kFocus);
  }
  return true;
}

bool FrmAddIn::UserFocus(ControlId id) noexcept {
  if (!visible_ || !CanFocus(id)) return false;
  if (focus_ != id) {
    focus_ = id;
    Notify(id, Property::kFocus);
  }
  return true;
}

bool FrmAddIn::UserTab(bool backwards) noexcept {
  if (!visible_) return false;
  const std::size_t count = kControlCount;
  std::size_t at = Index(focus_);
  for (std::size_t step = 1; step < count; ++step) {
    at = backwards ? (at + count - 1) % count : (at + 1) % count;
    const auto id = static_cast<ControlId>(at);
    if (CanFocus(id)) return UserFocus(id);
  }
  return false;
}

// The title bar's close box does what the Cancel button does, so that the connection learns that the
// dialog left the screen.
void FrmAddIn::UserClose() noexcept {
  CancelButton_Click();
}

void FrmAddIn::HideSelf() noexcept {
  try {
    Hide();
  } catch (...) {
    // The window could not be taken off the screen; there is nobody to tell.
  }
}

void FrmAddIn::Form_Load() noexcept {
  try {
    SetText(ControlId::txtNomUtilisateur, generator::StoredProgrammer(platform_.settings));
  } catch (...) {
    host::ShowCaughtFailure(platform_.ui, "Form_Load");
  }
}

generator::LoadedTemplates FrmAddIn::ActiveTemplates() const {
  return generator::LoadProjectTemplates(platform_,
                                         VBInstance ? VBInstance->ActiveProjectFileName() : std::string{});
}

void FrmAddIn::ShowTemplatesInUse() noexcept {
  try {
    std::string caption;
    try {
      caption = "Templates: " + generator::DescribeTemplates(ActiveTemplates());
    } catch (const host::HostError& error) {
      caption = "Templates: none can be used: " + error.description();
    } catch (const std::exception& error) {
      caption = std::string{"Templates: none can be used: "} + error.what();
    }
    SetText(ControlId::lblTemplates, caption);
  } catch (...) {
    host::ShowCaughtFailure(platform_.ui, "ShowTemplatesInUse");
  }
}

void FrmAddIn::cmdChanger_Click() noexcept {
  try {
    generator::StoreProgrammer(platform_.settings, Text(ControlId::txtNomUtilisateur));
  } catch (...) {
    host::ShowCaughtFailure(platform_.ui, "cmdChanger_Click");
  }
}

// Without a connection (a dialog shown on its own) the dialog hides itself rather than failing on
// the empty reference.
void FrmAddIn::CancelButton_Click() noexcept {
  if (Connect != nullptr) {
    Connect->Hide();
    return;
  }
  HideSelf();
}

}  // namespace dialog
