// tests/win32/mock_ide.h: the built-in IDE as the automation objects the real IDE hands an add-in: VBE
// with its command bars, its event sources (with a connection point for the click events) and the
// active code pane of a mock code module; as the VB6 IDE or as the VBA editor.
#pragma once

#include <windows.h>

#include <ocidl.h>

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "testing/ide/memory_vbe.h"
#include "tests/win32/fake_dispatch.h"
#include "tests/win32/mock_code_module.h"

namespace test {

// The IDE's dispinterface of command-bar control events, written out here so that the add-in's own
// value is checked against it.
inline constexpr IID kClickEventsIid = {
    0x0002E131, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

class EventSource;

// Every object it hands out keeps one reference of the mock's own; a client that balanced its
// references leaves each at one (AllReleased). Failures of the built-in IDE are raised as the IDE
// raises them: DISP_E_EXCEPTION with scode 0x800A0000 | number. The VB6 IDE's VBE answers FullName;
// the VBA editor's has no such member, and its Add-Ins menu is the "&Add-Ins" pop-up of "Menu Bar".
class MockIde {
 public:
  explicit MockIde(host::IdeFlavour flavour = host::IdeFlavour::kVb6,
                   std::string_view moduleText = "Option Explicit\r\n");
  MockIde(const MockIde&) = delete;
  MockIde& operator=(const MockIde&) = delete;
  ~MockIde();

  IDispatch* vbe() const noexcept { return vbe_.get(); }
  host::MemoryVbe& inner() noexcept { return inner_; }
  MockCodeModule& module() noexcept { return module_; }
  // Whether ActiveCodePane answers the module's pane (true) or Nothing.
  void SetCodeWindowOpen(bool open) noexcept { codeWindowOpen_ = open; }
  // What ActiveVBProject.FileName answers: the project's file, empty while it is unsaved.
  void SetProjectFile(std::wstring path) { projectFile_ = std::move(path); }

  // The captions on the Add-Ins menu (the bar, or the VBA editor's pop-up), top to bottom.
  std::vector<std::string> AddInsCaptions();
  // The programmer chooses the entry with that caption: false when there is none.
  bool Choose(std::string_view caption);
  // How many connections the event sources handed out hold now.
  std::size_t Connections() const noexcept;
  // One line per object that some client still holds (its count above the mock's own one).
  std::vector<std::string> Unreleased();

 private:
  struct Wrapped {
    std::string what;
    FakeDispatch* self;
    platform::win32::ComPtr<IDispatch> object;
  };
  IDispatch* Wrap(const std::shared_ptr<host::MemoryCommandBarControl>& control);
  IDispatch* WrapBar(const std::shared_ptr<host::MemoryCommandBar>& bar);
  IDispatch* WrapControls(const std::shared_ptr<host::MemoryCommandBar>& bar);

  host::MemoryVbe inner_;
  MockCodeModule module_;
  bool codeWindowOpen_ = true;
  FakeDispatch* vbeSelf_ = nullptr;
  FakeDispatch* barsSelf_ = nullptr;
  FakeDispatch* eventsSelf_ = nullptr;
  platform::win32::ComPtr<IDispatch> vbe_;
  platform::win32::ComPtr<IDispatch> bars_;
  platform::win32::ComPtr<IDispatch> events_;
  FakeDispatch* projectSelf_ = nullptr;
  platform::win32::ComPtr<IDispatch> project_;
  FakeDispatch* componentsSelf_ = nullptr;
  platform::win32::ComPtr<IDispatch> components_;
  std::wstring projectFile_;
  // Menus, their control collections and their entries, each wrapped once.
  std::map<const host::MemoryCommandBar*, Wrapped> wrappedBars_;
  std::map<const host::MemoryCommandBar*, Wrapped> wrappedControls_;
  std::map<const host::MemoryCommandBarControl*, Wrapped> wrappedEntries_;
  std::map<IDispatch*, std::shared_ptr<host::MemoryCommandBarControl>> entries_;
  std::vector<platform::win32::ComPtr<EventSource>> sources_;
};

}  // namespace test
