// host/command_bars.h: the host's menus and toolbars, and the source that reports clicks on an entry.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "host/host_error.h"
#include "host/vb_errors.h"

namespace host {

// The type code of a plain button entry, the only kind of entry the system adds, and that of a pop-up
// (a menu on a menu bar, such as the VBA editor's "Add-Ins").
inline constexpr long kControlButton = 1;
inline constexpr long kControlPopup = 10;

class CommandBarControls;

// One entry of a menu or toolbar. Every operation throws HostError when it fails.
class CommandBarControl {
 public:
  virtual ~CommandBarControl() = default;

  virtual std::string Caption() const = 0;
  virtual void Caption(std::string_view caption) = 0;
  // Takes the entry off its menu; an entry already deleted throws.
  virtual void Delete() = 0;
  // The entries of a pop-up. A plain button has none: it fails as the IDE fails for a member a button
  // lacks.
  virtual std::shared_ptr<CommandBarControls> Controls() { throw VbError(kErrNoSuchMember); }

 protected:
  CommandBarControl() = default;
  CommandBarControl(const CommandBarControl&) = default;
  CommandBarControl& operator=(const CommandBarControl&) = default;
};

// The entries of one menu or toolbar.
class CommandBarControls {
 public:
  virtual ~CommandBarControls() = default;

  // Adds an entry of `type` at the end of the menu; never empty (a refusal throws HostError).
  virtual std::shared_ptr<CommandBarControl> Add(long type) = 0;
  // The entry captioned `caption`, as Controls("Add-Ins") finds it: regardless of case and of the
  // '&' that marks the access key. A caption the menu lacks throws HostError; Nothing is an empty pointer.
  virtual std::shared_ptr<CommandBarControl> Item(std::string_view caption) = 0;

 protected:
  CommandBarControls() = default;
  CommandBarControls(const CommandBarControls&) = default;
  CommandBarControls& operator=(const CommandBarControls&) = default;
};

class CommandBar {
 public:
  virtual ~CommandBar() = default;

  virtual std::shared_ptr<CommandBarControls> Controls() = 0;

 protected:
  CommandBar() = default;
  CommandBar(const CommandBar&) = default;
  CommandBar& operator=(const CommandBar&) = default;
};

// The host's collection of menus and toolbars.
class CommandBars {
 public:
  virtual ~CommandBars() = default;

  // The bar named `name` ("Add-Ins" for the add-ins menu). A host may answer a name it lacks with an
  // empty pointer or with a HostError; callers expect both.
  virtual std::shared_ptr<CommandBar> Item(std::string_view name) = 0;

 protected:
  CommandBars() = default;
  CommandBars(const CommandBars&) = default;
  CommandBars& operator=(const CommandBars&) = default;
};

// Receives the clicks that an event source reports. Called on the host's user-interface thread from
// inside the host's own dispatch, so a handler must not throw.
class CommandBarClickHandler {
 public:
  virtual ~CommandBarClickHandler() = default;

  // `control` is the entry chosen; `handled` and `CancelDefault` are the host's flags, which a handler
  // may set.
  virtual void Click(const std::shared_ptr<CommandBarControl>& control, bool& handled,
                     bool& CancelDefault) noexcept = 0;

 protected:
  CommandBarClickHandler() = default;
  CommandBarClickHandler(const CommandBarClickHandler&) = default;
  CommandBarClickHandler& operator=(const CommandBarClickHandler&) = default;
};

// The source of Click events for one entry. It does not own its handlers: a handler unsubscribes
// before it goes.
class CommandBarEvents {
 public:
  virtual ~CommandBarEvents() = default;

  // Adds `handler` to those told of every later click; throws HostError when the host refuses.
  virtual void Subscribe(CommandBarClickHandler& handler) = 0;
  // Removes `handler`; one that was never subscribed is ignored.
  virtual void Unsubscribe(const CommandBarClickHandler& handler) noexcept = 0;

 protected:
  CommandBarEvents() = default;
  CommandBarEvents(const CommandBarEvents&) = default;
  CommandBarEvents& operator=(const CommandBarEvents&) = default;
};

// The host's event sources.
class Events {
 public:
  virtual ~Events() = default;

  // An event source that reports clicks on `control`; throws HostError when the host refuses, as it
  // does for an empty `control`.
  virtual std::shared_ptr<host::CommandBarEvents> CommandBarEvents(
      const std::shared_ptr<CommandBarControl>& control) = 0;

 protected:
  Events() = default;
  Events(const Events&) = default;
  Events& operator=(const Events&) = default;
};

}  // namespace host
