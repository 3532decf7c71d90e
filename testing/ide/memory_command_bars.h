// testing/ide/memory_command_bars.h: the built-in IDE's menus, their entries and the entries' click
// sources.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "host/command_bars.h"

namespace host {

class MemoryCommandBar;
class MemoryCommandBarEvents;

// An entry on a built-in menu: a button, or a pop-up with a menu of its own.
class MemoryCommandBarControl final : public CommandBarControl,
                                      public std::enable_shared_from_this<MemoryCommandBarControl> {
 public:
  MemoryCommandBarControl(std::weak_ptr<MemoryCommandBar> bar, long type, std::string caption = {});

  std::string Caption() const override;
  void Caption(std::string_view caption) override;
  void Delete() override;
  // A pop-up's menu; a button has none (error 438).
  std::shared_ptr<CommandBarControls> Controls() override;

  long type() const noexcept { return type_; }
  // The pop-up's own menu, or nothing for a button.
  const std::shared_ptr<MemoryCommandBar>& popup() const noexcept { return popup_; }
  const std::string& caption() const noexcept { return caption_; }
  bool deleted() const noexcept { return deleted_; }

  // The programmer chooses the entry: every live event source made for it raises Click, in the
  // order the sources were made. An entry no longer on its menu cannot be chosen: false.
  bool Execute();

  // Called by the event sources made for this entry.
  void AddSource(std::weak_ptr<MemoryCommandBarEvents> source);

 private:
  friend class MemoryCommandBar;  // which gives a pop-up its menu

  std::weak_ptr<MemoryCommandBar> bar_;
  long type_;
  std::string caption_;
  bool deleted_ = false;
  std::vector<std::weak_ptr<MemoryCommandBarEvents>> sources_;
  std::shared_ptr<MemoryCommandBar> popup_;
};

// A built-in menu; it is also its own collection of entries.
class MemoryCommandBar final : public CommandBar,
                               public CommandBarControls,
                               public std::enable_shared_from_this<MemoryCommandBar> {
 public:
  explicit MemoryCommandBar(std::string name) : name_(std::move(name)) {}

  std::shared_ptr<CommandBarControls> Controls() override;
  std::shared_ptr<CommandBarControl> Add(long type) override;
  // Finds the entry as the IDE does, regardless of case and of '&'; a caption it lacks is error 5.
  std::shared_ptr<CommandBarControl> Item(std::string_view caption) override;

  const std::string& name() const noexcept { return name_; }
  // The entries on the menu, top to bottom.
  const std::vector<std::shared_ptr<MemoryCommandBarControl>>& entries() const noexcept { return entries_; }
  // Puts an entry the host owns (such as the add-in manager) on the menu.
  std::shared_ptr<MemoryCommandBarControl> AddEntry(std::string_view caption);
  // Puts a pop-up the host owns (such as "&Add-Ins") on the menu; its menu is named by the caption.
  std::shared_ptr<MemoryCommandBarControl> AddPopup(std::string_view caption);
  // The entry with that caption, or nothing.
  std::shared_ptr<MemoryCommandBarControl> Entry(std::string_view caption) const;

  // Called by an entry's Delete.
  void Remove(const MemoryCommandBarControl& entry) noexcept;

 private:
  std::string name_;
  std::vector<std::shared_ptr<MemoryCommandBarControl>> entries_;
};

// The built-in collection of menus. A name it lacks is an error 5 by default, as in the IDE; a test may
// have it answer with an empty pointer instead.
class MemoryCommandBars final : public CommandBars {
 public:
  std::shared_ptr<CommandBar> Item(std::string_view name) override;

  std::shared_ptr<MemoryCommandBar> AddBar(std::string name);
  // Takes the bar off the host; its entries stay with whoever holds them.
  void RemoveBar(std::string_view name) noexcept;
  std::shared_ptr<MemoryCommandBar> Bar(std::string_view name) const;
  void AnswerMissingWithEmpty(bool empty) noexcept { missingGivesEmpty_ = empty; }

 private:
  std::vector<std::shared_ptr<MemoryCommandBar>> bars_;
  bool missingGivesEmpty_ = false;
};

// The click source of one built-in entry.
class MemoryCommandBarEvents final : public CommandBarEvents {
 public:
  explicit MemoryCommandBarEvents(std::shared_ptr<MemoryCommandBarControl> control)
      : control_(std::move(control)) {}

  void Subscribe(CommandBarClickHandler& handler) override;
  void Unsubscribe(const CommandBarClickHandler& handler) noexcept override;

  // Tells every handler, in the order they subscribed, that `control` was chosen.
  void RaiseClick();
  std::size_t handlers() const noexcept { return handlers_.size(); }

 private:
  std::shared_ptr<MemoryCommandBarControl> control_;
  std::vector<CommandBarClickHandler*> handlers_;
};

// Refuses an empty entry, and any entry not of the built-in IDE, with error 5.
class MemoryEvents final : public Events {
 public:
  std::shared_ptr<host::CommandBarEvents> CommandBarEvents(
      const std::shared_ptr<CommandBarControl>& control) override;
};

}  // namespace host
