// addin/dressing_entry.h: the Add-Ins menu's entries that give every routine of the active module, or
// of the active project, the header and the error trap it lacks, once the programmer says yes.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

#include "host/command_bars.h"
#include "host/platform.h"
#include "host/vbe.h"

namespace addin {

enum class DressingScope : std::uint8_t { kModule, kProject };

inline constexpr std::string_view kModuleEntryCaption = "Scrivlet: Headers and Traps for This Module";
inline constexpr std::string_view kProjectEntryCaption = "Scrivlet: Headers and Traps for This Project";

// One entry: its control on the menu, the source of its clicks, and what a click does.
class DressingEntry final : public host::CommandBarClickHandler {
 public:
  DressingEntry(const host::Platform& platform, DressingScope scope) : platform_(platform), scope_(scope) {}
  DressingEntry(const DressingEntry&) = delete;
  DressingEntry& operator=(const DressingEntry&) = delete;
  ~DressingEntry() override;

  // Puts the entry on the menu `controls` and listens to it; throws what the host throws.
  void Attach(const std::shared_ptr<host::CommandBarControls>& controls, host::Events& events);
  // Takes the entry off the menu; failures are skipped.
  void Detach() noexcept;

  // Counts the routines that lack a header or a trap in the active module (or every module of the
  // active project), asks whether to go on, and writes them. Reports what fails in a box.
  void Run() noexcept;

  std::shared_ptr<host::Vbe> VBInstance;

 private:
  void Click(const std::shared_ptr<host::CommandBarControl>& control, bool& handled,
             bool& CancelDefault) noexcept override;

  host::Platform platform_;
  DressingScope scope_;
  std::shared_ptr<host::CommandBarControl> control_;
  std::shared_ptr<host::CommandBarEvents> events_;
};

}  // namespace addin
