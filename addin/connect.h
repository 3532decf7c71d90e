// addin/connect.h: Connect, the add-in connection: host notifications, the menu entry and the dialog's
// lifetime, written against the host facade.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "addin/dressing_entry.h"
#include "dialog/connection.h"
#include "dialog/form_view.h"
#include "dialog/frm_add_in.h"
#include "host/command_bars.h"
#include "host/platform.h"
#include "host/vbe.h"

namespace addin {

// The connect modes the add-in tells apart.
inline constexpr long kConnectAfterStartup = 0;  // connected after the host had started
inline constexpr long kConnectExternal = 2;      // started from outside

// The menu entry's caption, and the setting that remembers whether the dialog was showing.
inline constexpr std::string_view kMenuCaption = "Scrivlet";
// Closes the box of a connection that failed: most such failures come from an install that the host
// reads differently from what was meant, which the doctor finds.
inline constexpr std::string_view kConnectionFailureAfterword =
    "To check how Scrivlet is installed, run \"scrivlet doctor\" in a Command Prompt.";
// Where the entry goes: the VB6 IDE's "Add-Ins" command bar, or, in a host without one (the VBA
// editor), the "Add-Ins" pop-up of its "Menu Bar".
inline constexpr std::string_view kAddInsMenu = "Add-Ins";
inline constexpr std::string_view kMenuBar = "Menu Bar";
inline constexpr std::string_view kSettingsSection = "Settings";
inline constexpr std::string_view kDisplayOnConnectKey = "DisplayOnConnect";

// Created by the host when it loads the add-in. Owns its menu entry, the entry's event source and the
// one dialog of the connection; the dialog refers back to it. Every operation runs on the host's
// user-interface thread and none throws.
class Connect final : public dialog::Connection, public host::CommandBarClickHandler {
 public:
  // `makeView` makes the window of each dialog this connection creates.
  Connect(const host::Platform& platform, dialog::ViewFactory makeView);
  Connect(const Connect&) = delete;
  Connect& operator=(const Connect&) = delete;
  // Stops hearing the menu entry's clicks; the entry itself is OnDisconnection's to delete.
  ~Connect() override;

  // True from Show until Hide or disconnection: the dialog is meant to be on screen.
  bool FormDisplayed = false;
  // The host's root object, kept from OnConnection.
  std::shared_ptr<host::Vbe> VBInstance;

  // The source that reports clicks on the menu entry. Setting it stops hearing the old source and
  // subscribes to the new one (which may throw HostError when the host refuses).
  const std::shared_ptr<host::CommandBarEvents>& MenuHandler() const noexcept { return MenuHandler_; }
  void MenuHandler(std::shared_ptr<host::CommandBarEvents> source);

  // Keeps `Application`, puts the entry on the Add-Ins menu unless the add-in was started from
  // outside, and opens the dialog when started from outside, or when connected after start-up with
  // "DisplayOnConnect" exactly "1". A failure ends it with a box without a title of its own. The
  // host's AddInInst and custom arguments are not read, so they are not passed.
  void OnConnection(std::shared_ptr<host::Vbe> Application, long ConnectMode) noexcept;
  // Deletes the entry, saves "DisplayOnConnect", unloads and releases the dialog; each step runs even
  // when an earlier one fails, and failures are skipped silently.
  void OnDisconnection() noexcept;

  // A plain button captioned `sCaption` at the end of the "Add-Ins" menu (the command bar of that name,
  // else the pop-up of that name on the "Menu Bar"), or empty when there is neither or any step fails;
  // it never reports.
  std::shared_ptr<host::CommandBarControl> AddToAddInCommandBar(const std::string& sCaption) noexcept;
  // The menu entry was chosen: shows the dialog. No argument is read or changed.
  void MenuHandler_Click(const std::shared_ptr<host::CommandBarControl>& CommandBarControl, bool& handled,
                         bool& CancelDefault) noexcept;
  // Creates the dialog on first use, hands it VBInstance and this object, and shows it modeless.
  // Each step runs even when an earlier one fails; failures are skipped silently.
  void Show() noexcept;
  // Marks the dialog as not displayed and hides it (creating it first when there is none), keeping
  // its content. Failures are skipped silently.
  void Hide() noexcept override;

  // What the connection holds, for those who watch it.
  const std::shared_ptr<host::CommandBarControl>& MenuControl() const noexcept { return MenuControl_; }
  dialog::FrmAddIn* DialogForm() const noexcept { return DialogForm_.get(); }

 private:
  void Click(const std::shared_ptr<host::CommandBarControl>& control, bool& handled,
             bool& CancelDefault) noexcept override;
  // The dialog, created first when there is none; throws when it cannot be created.
  dialog::FrmAddIn& Dialog();

  host::Platform platform_;
  dialog::ViewFactory makeView_;
  std::shared_ptr<host::CommandBarControl> MenuControl_;
  std::unique_ptr<dialog::FrmAddIn> DialogForm_;
  std::shared_ptr<host::CommandBarEvents> MenuHandler_;
  // The entries for headers and traps, after the main one; a host that refuses them has none.
  std::vector<std::unique_ptr<DressingEntry>> entries_;
  void AddDressingEntries();
};

}  // namespace addin
