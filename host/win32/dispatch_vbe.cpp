// host/win32/dispatch_vbe.cpp: each facade operation of the IDE's root object, menus and event sources
// as one late-bound call, and the click events through the source's connection point.
#include "host/win32/dispatch_vbe.h"

#include <algorithm>
#include <array>

#include "host/vb_errors.h"
#include "host/win32/command_bar_events_sink.h"
#include "host/win32/dispatch_call.h"
#include "host/win32/dispatch_code_module.h"
#include "platform/win32/wide.h"

namespace host::win32 {
namespace {

constexpr WORD kGet = DISPATCH_PROPERTYGET | DISPATCH_METHOD;

// The object that `member` answers; an empty pointer for Nothing.
platform::win32::ComPtr<IDispatch> Member(IDispatch* object, const wchar_t* member,
                                          std::span<VARIANT> arguments = {}) {
  platform::win32::UniqueVariant result;
  CallByName(object, member, kGet, arguments, result);
  return ResultAsObject(result);
}

// The same, where Nothing is no valid answer: error 91.
platform::win32::ComPtr<IDispatch> RequiredMember(IDispatch* object, const wchar_t* member,
                                                  std::span<VARIANT> arguments = {}) {
  platform::win32::UniqueVariant result;
  CallByName(object, member, kGet, arguments, result);
  return ResultAsRequiredObject(result);
}

[[noreturn]] void ThrowNoEvents() {
  throw host::VbError(host::kErrNoEvents);
}

}  // namespace

std::shared_ptr<host::CodePane> DispatchVbe::ActiveCodePane() {
  platform::win32::ComPtr<IDispatch> pane = Member(vbe_.get(), L"ActiveCodePane");
  if (!pane) return nullptr;
  return std::make_shared<DispatchCodePane>(std::move(pane));
}

std::shared_ptr<host::CommandBars> DispatchVbe::CommandBars() {
  platform::win32::ComPtr<IDispatch> bars = Member(vbe_.get(), L"CommandBars");
  if (!bars) return nullptr;
  return std::make_shared<DispatchCommandBars>(std::move(bars));
}

std::shared_ptr<host::Events> DispatchVbe::Events() {
  platform::win32::ComPtr<IDispatch> events = Member(vbe_.get(), L"Events");
  if (!events) return nullptr;
  return std::make_shared<DispatchEvents>(std::move(events));
}

// An unsaved document's project may answer with an error rather than an empty name: either way it
// has no file, and no project set.
std::string DispatchVbe::ActiveProjectFileName() {
  try {
    const platform::win32::ComPtr<IDispatch> project = Member(vbe_.get(), L"ActiveVBProject");
    if (!project) return {};
    platform::win32::UniqueVariant result;
    CallByName(project.get(), L"FileName", kGet, {}, result);
    return platform::win32::Narrow(ResultAsText(result));
  } catch (const host::HostError&) {
    return {};
  }
}

std::vector<std::shared_ptr<host::CodeModule>> DispatchVbe::ActiveProjectCodeModules() {
  const platform::win32::ComPtr<IDispatch> project = RequiredMember(vbe_.get(), L"ActiveVBProject");
  const platform::win32::ComPtr<IDispatch> components = RequiredMember(project.get(), L"VBComponents");
  platform::win32::UniqueVariant count;
  CallByName(components.get(), L"Count", kGet, {}, count);
  std::vector<std::shared_ptr<host::CodeModule>> modules;
  for (long i = 1; i <= ResultAsLong(count); ++i) {
    std::array<VARIANT, 1> index = {LongArgument(i)};
    const platform::win32::ComPtr<IDispatch> component = RequiredMember(components.get(), L"Item", index);
    // A component without code (a resource file, a designer) answers Nothing.
    if (platform::win32::ComPtr<IDispatch> module = Member(component.get(), L"CodeModule")) {
      modules.push_back(std::make_shared<DispatchCodeModule>(std::move(module)));
    }
  }
  return modules;
}

bool DispatchVbe::HoldsUserControls() {
  return HasMember(vbe_.get(), L"FullName");
}

std::shared_ptr<host::CommandBar> DispatchCommandBars::Item(std::string_view name) {
  const platform::win32::UniqueBstr text = platform::win32::BstrFromUtf8(name);
  std::array<VARIANT, 1> arguments = {TextArgument(text.get())};
  platform::win32::ComPtr<IDispatch> bar = Member(bars_.get(), L"Item", arguments);
  if (!bar) return nullptr;
  return std::make_shared<DispatchCommandBar>(std::move(bar));
}

std::shared_ptr<host::CommandBarControls> DispatchCommandBar::Controls() {
  return std::make_shared<DispatchCommandBarControls>(RequiredMember(bar_.get(), L"Controls"));
}

std::shared_ptr<host::CommandBarControl> DispatchCommandBarControls::Add(long type) {
  std::array<VARIANT, 1> arguments = {LongArgument(type)};
  platform::win32::UniqueVariant result;
  CallByName(controls_.get(), L"Add", DISPATCH_METHOD, arguments, result);
  return std::make_shared<DispatchCommandBarControl>(ResultAsRequiredObject(result));
}

std::shared_ptr<host::CommandBarControl> DispatchCommandBarControls::Item(std::string_view caption) {
  const platform::win32::UniqueBstr text = platform::win32::BstrFromUtf8(caption);
  std::array<VARIANT, 1> arguments = {TextArgument(text.get())};
  platform::win32::ComPtr<IDispatch> control = Member(controls_.get(), L"Item", arguments);
  if (!control) return nullptr;
  return std::make_shared<DispatchCommandBarControl>(std::move(control));
}

std::string DispatchCommandBarControl::Caption() const {
  platform::win32::UniqueVariant result;
  CallByName(control_.get(), L"Caption", kGet, {}, result);
  return platform::win32::Narrow(ResultAsText(result));
}

void DispatchCommandBarControl::Caption(std::string_view caption) {
  const platform::win32::UniqueBstr text = platform::win32::BstrFromUtf8(caption);
  std::array<VARIANT, 1> arguments = {TextArgument(text.get())};
  platform::win32::UniqueVariant ignored;
  CallByName(control_.get(), L"Caption", DISPATCH_PROPERTYPUT, arguments, ignored);
}

void DispatchCommandBarControl::Delete() {
  platform::win32::UniqueVariant ignored;
  CallByName(control_.get(), L"Delete", DISPATCH_METHOD, {}, ignored);
}

std::shared_ptr<host::CommandBarControls> DispatchCommandBarControl::Controls() {
  return std::make_shared<DispatchCommandBarControls>(RequiredMember(control_.get(), L"Controls"));
}

std::shared_ptr<host::CommandBarEvents> DispatchEvents::CommandBarEvents(
    const std::shared_ptr<host::CommandBarControl>& control) {
  IDispatch* entry = nullptr;
  if (control) {
    const auto* own = dynamic_cast<const DispatchCommandBarControl*>(control.get());
    if (own == nullptr) throw host::VbError(host::kErrTypeMismatch);
    entry = own->dispatch();
  }
  std::array<VARIANT, 1> arguments = {ObjectArgument(entry)};
  return std::make_shared<DispatchCommandBarEvents>(
      RequiredMember(events_.get(), L"CommandBarEvents", arguments));
}

DispatchCommandBarEvents::~DispatchCommandBarEvents() {
  for (Connection& connection : connections_) Disconnect(connection);
}

void DispatchCommandBarEvents::Subscribe(host::CommandBarClickHandler& handler) {
  if (!source_) throw host::VbError(host::kErrObjectNotSet);
  if (!point_) {
    const auto container = source_.As<IConnectionPointContainer>(IID_IConnectionPointContainer);
    if (!container) ThrowNoEvents();
    platform::win32::ComPtr<IConnectionPoint> point;
    if (FAILED(container->FindConnectionPoint(kCommandBarControlEventsIid, point.put())) || !point) {
      ThrowNoEvents();
    }
    point_ = std::move(point);
  }
  connections_.reserve(connections_.size() + 1);
  const auto sink =
      platform::win32::ComPtr<CommandBarEventsSink>::Attach(CommandBarEventsSink::Create(handler));
  DWORD cookie = 0;
  const HRESULT hr = point_->Advise(sink.get(), &cookie);
  if (FAILED(hr)) {
    sink->Detach();
    throw HostErrorFromCall(hr, nullptr);
  }
  connections_.push_back({&handler, sink, cookie});
}

void DispatchCommandBarEvents::Unsubscribe(const host::CommandBarClickHandler& handler) noexcept {
  const auto found = std::find_if(connections_.begin(), connections_.end(),
                                  [&](const Connection& c) { return c.handler == &handler; });
  if (found == connections_.end()) return;
  Disconnect(*found);
  connections_.erase(found);
}

void DispatchCommandBarEvents::Disconnect(Connection& connection) noexcept {
  // Cut first: a source that fails to let go can no longer reach the handler.
  connection.sink->Detach();
  if (point_) point_->Unadvise(connection.cookie);
  connection.sink.Reset();
}

}  // namespace host::win32
