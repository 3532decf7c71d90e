// host/win32/dispatch_vbe.h: the IDE's root object, its menus and its event sources, reached by late
// binding on the objects the IDE hands the add-in.
#pragma once

#include <windows.h>

#include <oaidl.h>
#include <ocidl.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "host/command_bars.h"
#include "host/vbe.h"
#include "host/win32/command_bar_events_sink.h"
#include "platform/win32/com_handles.h"

namespace host::win32 {

// Each operation is one call of the member of the same name (GetIDsOfNames, then Invoke). An answer
// of Nothing is an empty pointer where the facade allows one, and error 91 where it does not. Each
// adapter holds one reference to its object and hands it out through dispatch().
class DispatchVbe final : public host::Vbe {
 public:
  explicit DispatchVbe(platform::win32::ComPtr<IDispatch> vbe) noexcept : vbe_(std::move(vbe)) {}

  IDispatch* dispatch() const noexcept { return vbe_.get(); }

  std::shared_ptr<host::CodePane> ActiveCodePane() override;
  std::shared_ptr<host::CommandBars> CommandBars() override;
  std::shared_ptr<host::Events> Events() override;
  // The VB6 IDE's root object has FullName (the path of VB6.EXE); a VBA editor's VBE has no such
  // member, and no project of its can hold a user control.
  bool HoldsUserControls() override;
  std::string ActiveProjectFileName() override;
  std::vector<std::shared_ptr<host::CodeModule>> ActiveProjectCodeModules() override;

 private:
  platform::win32::ComPtr<IDispatch> vbe_;
};

class DispatchCommandBars final : public host::CommandBars {
 public:
  explicit DispatchCommandBars(platform::win32::ComPtr<IDispatch> bars) noexcept : bars_(std::move(bars)) {}

  std::shared_ptr<host::CommandBar> Item(std::string_view name) override;

 private:
  platform::win32::ComPtr<IDispatch> bars_;
};

class DispatchCommandBar final : public host::CommandBar {
 public:
  explicit DispatchCommandBar(platform::win32::ComPtr<IDispatch> bar) noexcept : bar_(std::move(bar)) {}

  std::shared_ptr<host::CommandBarControls> Controls() override;

 private:
  platform::win32::ComPtr<IDispatch> bar_;
};

class DispatchCommandBarControls final : public host::CommandBarControls {
 public:
  explicit DispatchCommandBarControls(platform::win32::ComPtr<IDispatch> controls) noexcept
      : controls_(std::move(controls)) {}

  // Controls.Add(Type:=type), with no other argument.
  std::shared_ptr<host::CommandBarControl> Add(long type) override;
  // Controls.Item(caption): the host matches the caption itself.
  std::shared_ptr<host::CommandBarControl> Item(std::string_view caption) override;

 private:
  platform::win32::ComPtr<IDispatch> controls_;
};

class DispatchCommandBarControl final : public host::CommandBarControl {
 public:
  explicit DispatchCommandBarControl(platform::win32::ComPtr<IDispatch> control) noexcept
      : control_(std::move(control)) {}

  IDispatch* dispatch() const noexcept { return control_.get(); }

  std::string Caption() const override;
  void Caption(std::string_view caption) override;
  void Delete() override;
  // A pop-up's Controls; Nothing is error 91.
  std::shared_ptr<host::CommandBarControls> Controls() override;

 private:
  platform::win32::ComPtr<IDispatch> control_;
};

class DispatchEvents final : public host::Events {
 public:
  explicit DispatchEvents(platform::win32::ComPtr<IDispatch> events) noexcept : events_(std::move(events)) {}

  // Events.CommandBarEvents(control): an empty `control` is passed as Nothing (the IDE refuses it);
  // an entry that is not one of the IDE's own is a type mismatch.
  std::shared_ptr<host::CommandBarEvents> CommandBarEvents(
      const std::shared_ptr<host::CommandBarControl>& control) override;

 private:
  platform::win32::ComPtr<IDispatch> events_;
};

// A source of the command-bar events: each subscribed handler gets a sink of its own, connected to
// the source's connection point for the click events and disconnected when the handler unsubscribes
// or the adapter goes.
class DispatchCommandBarEvents final : public host::CommandBarEvents {
 public:
  explicit DispatchCommandBarEvents(platform::win32::ComPtr<IDispatch> source) noexcept
      : source_(std::move(source)) {}
  DispatchCommandBarEvents(const DispatchCommandBarEvents&) = delete;
  DispatchCommandBarEvents& operator=(const DispatchCommandBarEvents&) = delete;
  ~DispatchCommandBarEvents() override;

  IDispatch* dispatch() const noexcept { return source_.get(); }

  // Throws error 459 when the object has no connection point for the click events, error 91 for
  // Nothing, and the converted failure when the source refuses the connection.
  void Subscribe(host::CommandBarClickHandler& handler) override;
  void Unsubscribe(const host::CommandBarClickHandler& handler) noexcept override;

 private:
  struct Connection {
    const host::CommandBarClickHandler* handler;
    platform::win32::ComPtr<CommandBarEventsSink> sink;
    DWORD cookie;
  };
  void Disconnect(Connection& connection) noexcept;

  platform::win32::ComPtr<IDispatch> source_;
  platform::win32::ComPtr<IConnectionPoint> point_;
  std::vector<Connection> connections_;
};

}  // namespace host::win32
