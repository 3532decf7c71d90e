// tests/win32/ide_adapters_test.cpp: the IDE's root object, menus and click events reached by late
// binding, against the mock IDE, run under Wine without the DLL.
#include <windows.h>

#include <objbase.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "com_ide/command_bar_events_sink.h"
#include "com_ide/dispatch_vbe.h"
#include "host/host_error.h"
#include "tests/win32/check.h"
#include "tests/win32/host_errors.h"
#include "tests/win32/late_call.h"
#include "tests/win32/mock_ide.h"

namespace {

using host::HostError;
using platform::win32::ComPtr;
using test::Thrown;

test::Checks checks;

void ExpectError(const std::optional<HostError>& error, long number, std::string_view description,
                 const std::string& what) {
  test::ExpectError(checks, error, number, description, what);
}

// Counts the clicks it hears and answers with the flags it was given.
class CountingHandler final : public host::CommandBarClickHandler {
 public:
  void Click(const std::shared_ptr<host::CommandBarControl>& control, bool& handled,
             bool& CancelDefault) noexcept override {
    ++clicks;
    try {
      lastCaption = control ? control->Caption() : std::string{"(none)"};
    } catch (...) {
      lastCaption = "(failed)";
    }
    handled = setHandled;
    CancelDefault = setCancel;
    if (onClick) onClick();
  }

  int clicks = 0;
  std::string lastCaption;
  bool setHandled = false;
  bool setCancel = false;
  std::function<void()> onClick;
};

com_ide::DispatchVbe VbeOf(test::MockIde& ide) {
  return com_ide::DispatchVbe{ComPtr<IDispatch>{ide.vbe()}};
}

void MenusAndEntries() {
  test::MockIde ide;
  {
    com_ide::DispatchVbe vbe = VbeOf(ide);
    const auto bars = vbe.CommandBars();
    checks.Expect(bars != nullptr, "VBE.CommandBars answers");
    const auto bar = bars->Item("Add-Ins");
    checks.Expect(bar != nullptr, "CommandBars.Item(\"Add-Ins\") answers the menu");
    const auto control = bar->Controls()->Add(host::kControlButton);
    control->Caption("Scrivlet");
    checks.Equal(control->Caption(), std::string{"Scrivlet"}, "Caption reads back what was set");
    checks.Expect(ide.AddInsCaptions() == std::vector<std::string>{"Add-In Manager...", "Scrivlet"},
                  "Controls.Add(1) puts the entry at the end of the menu");
    control->Delete();
    checks.Expect(ide.AddInsCaptions() == std::vector<std::string>{"Add-In Manager..."},
                  "Delete takes it off");
    ExpectError(Thrown([&] { control->Delete(); }), 5, "Invalid procedure call or argument",
                "an entry deleted twice");
    ExpectError(Thrown([&] { bars->Item("Standard"); }), 5, "Invalid procedure call or argument",
                "a menu the IDE lacks (its error)");
    ide.inner().commandBars().AnswerMissingWithEmpty(true);
    checks.Expect(bars->Item("Standard") == nullptr, "a menu the IDE lacks (Nothing): an empty pointer");
    checks.Expect(vbe.ActiveCodePane() != nullptr, "ActiveCodePane: the module's pane");
    ide.SetCodeWindowOpen(false);
    checks.Expect(vbe.ActiveCodePane() == nullptr, "ActiveCodePane without a code window: an empty pointer");
    ExpectError(Thrown([&] { vbe.Events()->CommandBarEvents(nullptr); }), 5,
                "Invalid procedure call or argument",
                "CommandBarEvents for no entry (the IDE refuses Nothing)");

    // An entry that is not the IDE's own cannot be passed to the IDE.
    class Foreign final : public host::CommandBarControl {
     public:
      std::string Caption() const override { return {}; }
      void Caption(std::string_view) override {}
      void Delete() override {}
    };
    ExpectError(Thrown([&] { vbe.Events()->CommandBarEvents(std::make_shared<Foreign>()); }), 13,
                "Type mismatch", "CommandBarEvents for an entry of another host");
  }
  const auto held = ide.Unreleased();
  checks.Expect(held.empty(), "menus and entries: every reference released");
  for (const auto& line : held) std::printf("  %s\n", line.c_str());
}

void ObjectsThatAnswerNothing() {
  test::FakeDispatch* self = nullptr;
  const ComPtr<IDispatch> odd = test::FakeDispatch::Create(&self);
  self->Define(L"CommandBars",
               [](WORD, const test::Arguments&, VARIANT* result) { test::ReturnObject(result, nullptr); });
  self->Define(L"Events",
               [](WORD, const test::Arguments&, VARIANT* result) { test::ReturnObject(result, nullptr); });
  self->Define(L"Controls",
               [](WORD, const test::Arguments&, VARIANT* result) { test::ReturnObject(result, nullptr); });
  self->Define(L"Add",
               [](WORD, const test::Arguments&, VARIANT* result) { test::ReturnObject(result, nullptr); });
  self->Define(L"CommandBarEvents",
               [](WORD, const test::Arguments&, VARIANT* result) { test::ReturnObject(result, nullptr); });
  com_ide::DispatchVbe vbe{odd};
  checks.Expect(vbe.CommandBars() == nullptr, "CommandBars of Nothing: an empty pointer");
  checks.Expect(vbe.Events() == nullptr, "Events of Nothing: an empty pointer");
  com_ide::DispatchCommandBar bar{odd};
  ExpectError(Thrown([&] { bar.Controls(); }), 91, "Object variable or With block variable not set",
              "Controls of Nothing");
  com_ide::DispatchCommandBarControls controls{odd};
  ExpectError(Thrown([&] { controls.Add(1); }), 91, "Object variable or With block variable not set",
              "Add answering Nothing");
  com_ide::DispatchEvents events{odd};
  ExpectError(Thrown([&] { events.CommandBarEvents(nullptr); }), 91,
              "Object variable or With block variable not set", "CommandBarEvents answering Nothing");
  com_ide::DispatchVbe none{ComPtr<IDispatch>{}};
  ExpectError(Thrown([&] { none.CommandBars(); }), 91, "Object variable or With block variable not set",
              "a VBE of Nothing");
  CountingHandler handler;
  ExpectError(Thrown([&] { com_ide::DispatchCommandBarEvents{odd}.Subscribe(handler); }), 459,
              "Object or class does not support the set of events",
              "an event source without a connection point");
}

// The entry's click events through the connection point: each handler hears each click once, gets the
// chosen entry and answers the two flags; after Unsubscribe it hears nothing, and every sink is gone.
void ClickEvents() {
  test::MockIde ide;
  {
    com_ide::DispatchVbe vbe = VbeOf(ide);
    const auto control = vbe.CommandBars()->Item("Add-Ins")->Controls()->Add(1);
    control->Caption("Scrivlet");
    const auto source = vbe.Events()->CommandBarEvents(control);
    CountingHandler first;
    CountingHandler second;
    source->Subscribe(first);
    source->Subscribe(second);
    checks.Equal(ide.Connections(), std::size_t{2}, "one connection per handler");
    checks.Equal(com_ide::LiveEventSinks(), std::size_t{2}, "one sink per handler");
    first.setHandled = true;
    second.setCancel = true;
    checks.Expect(ide.Choose("Scrivlet"), "the entry is chosen");
    checks.Equal(first.clicks, 1, "the first handler hears the click once");
    checks.Equal(second.clicks, 1, "the second handler hears the click once");
    checks.Equal(first.lastCaption, std::string{"Scrivlet"}, "the click carries the chosen entry");

    source->Unsubscribe(first);
    checks.Equal(ide.Connections(), std::size_t{1}, "Unsubscribe disconnects that handler's sink");
    ide.Choose("Scrivlet");
    checks.Equal(first.clicks, 1, "an unsubscribed handler hears nothing");
    checks.Equal(second.clicks, 2, "the other handler still hears");
    source->Unsubscribe(first);  // a second time: ignored

    // A handler that stops listening from inside its own click.
    second.onClick = [&] { source->Unsubscribe(second); };
    ide.Choose("Scrivlet");
    checks.Equal(second.clicks, 3, "a handler may unsubscribe inside its click");
    checks.Equal(ide.Connections(), std::size_t{0}, "and is disconnected");
    ide.Choose("Scrivlet");
    checks.Equal(second.clicks, 3, "and hears nothing more");

    CountingHandler third;
    source->Subscribe(third);
  }
  checks.Equal(ide.Connections(), std::size_t{0}, "the adapter's end disconnects what is left");
  checks.Equal(com_ide::LiveEventSinks(), std::size_t{0}, "every sink released");
  const auto held = ide.Unreleased();
  checks.Expect(held.empty(), "click events: every reference released");
  for (const auto& line : held) std::printf("  %s\n", line.c_str());
}

// The sink as any caller may call it: its one member by name, the flags written back through the
// references, and calls it does not know refused.
void SinkCalls() {
  CountingHandler handler;
  handler.setHandled = true;
  handler.setCancel = true;
  const auto sink =
      ComPtr<com_ide::CommandBarEventsSink>::Attach(com_ide::CommandBarEventsSink::Create(handler));
  IDispatch* dispatch = sink.get();
  checks.Equal(test::IdOf(dispatch, L"click"), DISPID{1}, "Click is dispatch id 1, by any case");
  checks.Equal(test::IdOf(dispatch, L"Clack"), DISPID_UNKNOWN, "an unknown name");
  ComPtr<IDispatch> asEvents;
  checks.Equal(sink->QueryInterface(test::kClickEventsIid, reinterpret_cast<void**>(asEvents.put())), S_OK,
               "the sink answers for the click events' dispinterface");

  VARIANT_BOOL handled = VARIANT_FALSE;
  VARIANT_BOOL cancel = VARIANT_FALSE;
  VARIANT handledRef;
  ::VariantInit(&handledRef);
  V_VT(&handledRef) = VT_BOOL | VT_BYREF;
  V_BOOLREF(&handledRef) = &handled;
  VARIANT cancelRef = handledRef;
  V_BOOLREF(&cancelRef) = &cancel;
  checks.Equal(
      test::Call(dispatch, L"Click", DISPATCH_METHOD, {test::Object(nullptr), handledRef, cancelRef}), S_OK,
      "Click with Nothing for the entry");
  checks.Equal(handler.clicks, 1, "the handler heard it");
  checks.Equal(handler.lastCaption, std::string{"(none)"}, "without an entry");
  checks.Expect(handled == VARIANT_TRUE && cancel == VARIANT_TRUE, "both flags written back as True");

  VARIANT byValue;
  ::VariantInit(&byValue);
  V_VT(&byValue) = VT_BOOL;
  V_BOOL(&byValue) = VARIANT_FALSE;
  checks.Equal(test::Call(dispatch, L"Click", DISPATCH_METHOD, {test::Object(nullptr), byValue, byValue}),
               S_OK, "Click with the flags by value");
  checks.Equal(test::Call(dispatch, L"Click", DISPATCH_METHOD, {test::Object(nullptr)}), DISP_E_BADPARAMCOUNT,
               "Click with one argument");
  VARIANT number;
  ::VariantInit(&number);
  V_VT(&number) = VT_I4;
  V_I4(&number) = 7;
  checks.Equal(test::Call(dispatch, L"Click", DISPATCH_METHOD, {number, byValue, byValue}),
               DISP_E_TYPEMISMATCH, "Click with a number for the entry");
  DISPPARAMS none{};
  checks.Equal(dispatch->Invoke(2, IID_NULL, 0, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr),
               DISP_E_MEMBERNOTFOUND, "another dispatch id");
  sink->Detach();
  checks.Equal(test::Call(dispatch, L"Click", DISPATCH_METHOD, {test::Object(nullptr), byValue, byValue}),
               S_OK, "a detached sink takes the click");
  checks.Equal(handler.clicks, 2, "and tells nobody");
}

}  // namespace

int main() {
  if (FAILED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {
    std::printf("COM cannot be initialised\n0 passed, 1 failed\n");
    return 1;
  }
  MenusAndEntries();
  ObjectsThatAnswerNothing();
  ClickEvents();
  SinkCalls();
  ::CoUninitialize();
  return checks.Finish();
}
