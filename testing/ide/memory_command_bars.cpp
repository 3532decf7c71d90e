// testing/ide/memory_command_bars.cpp: the built-in menus, their entries and click sources.
#include "testing/ide/memory_command_bars.h"

#include <algorithm>
#include <utility>

#include "host/host_error.h"
#include "host/vb_code/code_lines.h"
#include "host/vb_errors.h"

namespace host {
namespace {

// A caption as the IDE compares it when looking an entry up: without the access key's '&'.
std::string WithoutAccessKey(std::string_view caption) {
  std::string plain;
  for (const char c : caption) {
    if (c != '&') plain += c;
  }
  return plain;
}

}  // namespace

MemoryCommandBarControl::MemoryCommandBarControl(std::weak_ptr<MemoryCommandBar> bar, long type,
                                                 std::string caption)
    : bar_(std::move(bar)), type_(type), caption_(std::move(caption)) {}

std::string MemoryCommandBarControl::Caption() const {
  return caption_;
}

void MemoryCommandBarControl::Caption(std::string_view caption) {
  caption_ = caption;
}

void MemoryCommandBarControl::Delete() {
  if (deleted_) throw VbError(kErrInvalidCall);
  deleted_ = true;
  if (const std::shared_ptr<MemoryCommandBar> bar = bar_.lock()) bar->Remove(*this);
}

std::shared_ptr<CommandBarControls> MemoryCommandBarControl::Controls() {
  if (!popup_) throw VbError(kErrNoSuchMember);
  return popup_;
}

bool MemoryCommandBarControl::Execute() {
  if (deleted_) return false;
  // A handler may make further sources; only those that exist now hear this click.
  const std::vector<std::weak_ptr<MemoryCommandBarEvents>> sources = sources_;
  for (const std::weak_ptr<MemoryCommandBarEvents>& weak : sources) {
    if (const std::shared_ptr<MemoryCommandBarEvents> source = weak.lock()) source->RaiseClick();
  }
  return true;
}

void MemoryCommandBarControl::AddSource(std::weak_ptr<MemoryCommandBarEvents> source) {
  std::erase_if(sources_, [](const std::weak_ptr<MemoryCommandBarEvents>& s) { return s.expired(); });
  sources_.push_back(std::move(source));
}

std::shared_ptr<CommandBarControls> MemoryCommandBar::Controls() {
  return shared_from_this();
}

std::shared_ptr<CommandBarControl> MemoryCommandBar::Add(long type) {
  if (type < 1) throw VbError(kErrInvalidCall);
  auto entry = std::make_shared<MemoryCommandBarControl>(weak_from_this(), type);
  entries_.push_back(entry);
  return entry;
}

std::shared_ptr<MemoryCommandBarControl> MemoryCommandBar::AddEntry(std::string_view caption) {
  auto entry =
      std::make_shared<MemoryCommandBarControl>(weak_from_this(), kControlButton, std::string{caption});
  entries_.push_back(entry);
  return entry;
}

std::shared_ptr<CommandBarControl> MemoryCommandBar::Item(std::string_view caption) {
  const std::string wanted = WithoutAccessKey(caption);
  for (const std::shared_ptr<MemoryCommandBarControl>& entry : entries_) {
    if (SameName(WithoutAccessKey(entry->caption()), wanted)) return entry;
  }
  throw VbError(kErrInvalidCall);
}

std::shared_ptr<MemoryCommandBarControl> MemoryCommandBar::AddPopup(std::string_view caption) {
  auto entry =
      std::make_shared<MemoryCommandBarControl>(weak_from_this(), kControlPopup, std::string{caption});
  entry->popup_ = std::make_shared<MemoryCommandBar>(WithoutAccessKey(caption));
  entries_.push_back(entry);
  return entry;
}

std::shared_ptr<MemoryCommandBarControl> MemoryCommandBar::Entry(std::string_view caption) const {
  for (const std::shared_ptr<MemoryCommandBarControl>& entry : entries_) {
    if (entry->caption() == caption) return entry;
  }
  return nullptr;
}

void MemoryCommandBar::Remove(const MemoryCommandBarControl& entry) noexcept {
  std::erase_if(entries_,
                [&](const std::shared_ptr<MemoryCommandBarControl>& e) { return e.get() == &entry; });
}

std::shared_ptr<CommandBar> MemoryCommandBars::Item(std::string_view name) {
  if (std::shared_ptr<MemoryCommandBar> bar = Bar(name)) return bar;
  if (missingGivesEmpty_) return nullptr;
  throw VbError(kErrInvalidCall);
}

std::shared_ptr<MemoryCommandBar> MemoryCommandBars::AddBar(std::string name) {
  auto bar = std::make_shared<MemoryCommandBar>(std::move(name));
  bars_.push_back(bar);
  return bar;
}

void MemoryCommandBars::RemoveBar(std::string_view name) noexcept {
  std::erase_if(bars_,
                [&](const std::shared_ptr<MemoryCommandBar>& bar) { return SameName(bar->name(), name); });
}

std::shared_ptr<MemoryCommandBar> MemoryCommandBars::Bar(std::string_view name) const {
  for (const std::shared_ptr<MemoryCommandBar>& bar : bars_) {
    if (SameName(bar->name(), name)) return bar;
  }
  return nullptr;
}

void MemoryCommandBarEvents::Subscribe(CommandBarClickHandler& handler) {
  if (std::find(handlers_.begin(), handlers_.end(), &handler) == handlers_.end())
    handlers_.push_back(&handler);
}

void MemoryCommandBarEvents::Unsubscribe(const CommandBarClickHandler& handler) noexcept {
  std::erase(handlers_, &handler);
}

void MemoryCommandBarEvents::RaiseClick() {
  // A handler may unsubscribe itself or another while it runs.
  const std::vector<CommandBarClickHandler*> handlers = handlers_;
  for (CommandBarClickHandler* handler : handlers) {
    if (std::find(handlers_.begin(), handlers_.end(), handler) == handlers_.end()) continue;
    bool handled = false;
    bool cancelDefault = false;
    handler->Click(control_, handled, cancelDefault);
  }
}

std::shared_ptr<host::CommandBarEvents> MemoryEvents::CommandBarEvents(
    const std::shared_ptr<CommandBarControl>& control) {
  auto entry = std::dynamic_pointer_cast<MemoryCommandBarControl>(control);
  if (!entry) throw VbError(kErrInvalidCall);
  auto source = std::make_shared<MemoryCommandBarEvents>(entry);
  entry->AddSource(source);
  return source;
}

}  // namespace host
