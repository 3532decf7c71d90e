// addin/connect.cpp: the connection's notifications, its menu entry and the dialog's showing and hiding.
#include "addin/connect.h"

#include <utility>

#include "host/error_trap.h"
#include "host/host_error.h"
#include "host/ui.h"
#include "host/vb_errors.h"

namespace addin {
namespace {

// Runs one step of an operation whose failing steps are skipped silently.
template <class StepBody>
void Step(StepBody&& body) noexcept {
  try {
    body();
  } catch (...) {
    // Skipped: the operation goes on with its next step.
  }
}

[[noreturn]] void ThrowObjectNotSet() {
  throw host::VbError(host::kErrObjectNotSet);
}

// The entries of the host's Add-Ins menu, or empty when the host answers that it has none. The VB6
// IDE has a command bar for that menu; a host that answers the name with Nothing or a failure (the
// VBA editor) is asked for the pop-up of that name on its menu bar.
std::shared_ptr<host::CommandBarControls> AddInsMenu(host::CommandBars& bars) {
  std::shared_ptr<host::CommandBar> bar;
  try {
    bar = bars.Item(kAddInsMenu);
  } catch (const host::HostError&) {
    // No such command bar: the menu bar's pop-up, below.
  }
  if (!bar) {
    const std::shared_ptr<host::CommandBar> menuBar = bars.Item(kMenuBar);
    if (!menuBar) return nullptr;
    const std::shared_ptr<host::CommandBarControls> menus = menuBar->Controls();
    if (!menus) ThrowObjectNotSet();
    const std::shared_ptr<host::CommandBarControl> popup = menus->Item(kAddInsMenu);
    if (!popup) ThrowObjectNotSet();
    return popup->Controls();
  }
  return bar->Controls();
}

}  // namespace

Connect::Connect(const host::Platform& platform, dialog::ViewFactory makeView)
    : platform_(platform), makeView_(std::move(makeView)) {}

Connect::~Connect() {
  if (MenuHandler_) MenuHandler_->Unsubscribe(*this);
  // The dialog refers back to this object; it must not outlive it.
  if (DialogForm_) DialogForm_->Connect = nullptr;
}

void Connect::MenuHandler(std::shared_ptr<host::CommandBarEvents> source) {
  if (source == MenuHandler_) return;
  if (source) source->Subscribe(*this);
  if (MenuHandler_) MenuHandler_->Unsubscribe(*this);
  MenuHandler_ = std::move(source);
}

dialog::FrmAddIn& Connect::Dialog() {
  if (!DialogForm_) DialogForm_ = std::make_unique<dialog::FrmAddIn>(platform_, makeView_);
  return *DialogForm_;
}

void Connect::OnConnection(std::shared_ptr<host::Vbe> Application, long ConnectMode) noexcept {
  try {
    VBInstance = std::move(Application);
    if (ConnectMode == kConnectExternal) {
      Show();
    } else {
      MenuControl_ = AddToAddInCommandBar(std::string{kMenuCaption});
      // Asked even when there is no entry: the host's refusal is what reports a missing menu.
      if (!VBInstance) ThrowObjectNotSet();
      const std::shared_ptr<host::Events> events = VBInstance->Events();
      if (!events) ThrowObjectNotSet();
      MenuHandler(events->CommandBarEvents(MenuControl_));
      Step([&] { AddDressingEntries(); });
      if (ConnectMode == kConnectAfterStartup &&
          platform_.settings.GetSetting(host::kProgramTitle, kSettingsSection, kDisplayOnConnectKey, "0") ==
              "1") {
        Show();
      }
    }
  } catch (...) {
    host::ShowCaughtFailure(platform_.ui, {}, kConnectionFailureAfterword);
  }
}

void Connect::AddDressingEntries() {
  const std::shared_ptr<host::CommandBars> bars = VBInstance->CommandBars();
  if (!bars) return;
  const std::shared_ptr<host::CommandBarControls> controls = AddInsMenu(*bars);
  const std::shared_ptr<host::Events> events = VBInstance->Events();
  if (!controls || !events) return;
  for (const DressingScope scope : {DressingScope::kModule, DressingScope::kProject}) {
    auto entry = std::make_unique<DressingEntry>(platform_, scope);
    entry->VBInstance = VBInstance;
    try {
      entry->Attach(controls, *events);
    } catch (...) {
      entry->Detach();
      throw;
    }
    entries_.push_back(std::move(entry));
  }
}

void Connect::OnDisconnection() noexcept {
  Step([&] {
    if (!MenuControl_) ThrowObjectNotSet();
    MenuControl_->Delete();
  });
  for (const std::unique_ptr<DressingEntry>& entry : entries_) entry->Detach();
  entries_.clear();
  if (FormDisplayed) {
    Step([&] {
      platform_.settings.SaveSetting(host::kProgramTitle, kSettingsSection, kDisplayOnConnectKey, "1");
    });
    FormDisplayed = false;
  } else {
    Step([&] {
      platform_.settings.SaveSetting(host::kProgramTitle, kSettingsSection, kDisplayOnConnectKey, "0");
    });
  }
  if (DialogForm_) DialogForm_->Unload();
  DialogForm_.reset();
}

std::shared_ptr<host::CommandBarControl> Connect::AddToAddInCommandBar(const std::string& sCaption) noexcept {
  std::shared_ptr<host::CommandBarControl> result;
  try {
    if (!VBInstance) ThrowObjectNotSet();
    const std::shared_ptr<host::CommandBars> bars = VBInstance->CommandBars();
    if (!bars) ThrowObjectNotSet();
    const std::shared_ptr<host::CommandBarControls> controls = AddInsMenu(*bars);
    if (!controls) return result;
    const std::shared_ptr<host::CommandBarControl> control = controls->Add(host::kControlButton);
    if (!control) ThrowObjectNotSet();
    // An entry whose caption cannot be set stays on the menu, but is not the result.
    control->Caption(sCaption);
    result = control;
  } catch (...) {
    // Never reported: the connection meets the missing entry when it asks for its event source.
  }
  return result;
}

void Connect::MenuHandler_Click(const std::shared_ptr<host::CommandBarControl>& /*CommandBarControl*/,
                                bool& /*handled*/, bool& /*CancelDefault*/) noexcept {
  Show();
}

void Connect::Click(const std::shared_ptr<host::CommandBarControl>& control, bool& handled,
                    bool& CancelDefault) noexcept {
  MenuHandler_Click(control, handled, CancelDefault);
}

void Connect::Show() noexcept {
  Step([&] { Dialog(); });
  Step([&] {
    if (!DialogForm_) ThrowObjectNotSet();
    DialogForm_->VBInstance = VBInstance;
  });
  Step([&] {
    if (!DialogForm_) ThrowObjectNotSet();
    DialogForm_->Connect = this;
  });
  FormDisplayed = true;
  Step([&] {
    if (!DialogForm_) ThrowObjectNotSet();
    DialogForm_->Show();
  });
}

void Connect::Hide() noexcept {
  FormDisplayed = false;
  Step([&] { Dialog().Hide(); });
}

}  // namespace addin
