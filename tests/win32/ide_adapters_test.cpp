// tests/win32/ide_adapters_test.cpp: the IDE's root object, menus, click events and code module reached
// by late binding, against the mock IDE, run under Wine without the DLL.
#include <windows.h>

#include <objbase.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "generator/request_rules.h"
#include "host/host_error.h"
#include "host/vb_errors.h"
#include "host/win32/command_bar_events_sink.h"
#include "host/win32/dispatch_call.h"
#include "host/win32/dispatch_code_module.h"
#include "host/win32/dispatch_vbe.h"
#include "tests/generator/vb_rules.h"
#include "tests/host/code_module_contract.h"
#include "tests/win32/host_errors.h"
#include "tests/win32/late_call.h"
#include "tests/win32/mock_ide.h"

namespace {

using host::HostError;
using platform::win32::ComPtr;
using test::CodeModuleContract;
using test::ThrowsHostError;

constexpr std::string_view kInvalidCall = "Invalid procedure call or argument";
constexpr std::string_view kNotSet = "Object variable or With block variable not set";

// One line per object that a client still holds.
testing::AssertionResult AllReleased(test::MockIde& ide) {
  const auto held = ide.Unreleased();
  if (held.empty()) return testing::AssertionSuccess();
  testing::AssertionResult failure = testing::AssertionFailure();
  for (const auto& line : held) failure << "\n  " << line;
  return failure;
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

host::win32::DispatchVbe VbeOf(test::MockIde& ide) {
  return host::win32::DispatchVbe{ComPtr<IDispatch>{ide.vbe()}};
}

TEST(DispatchVbe, MenusAndEntries) {
  test::MockIde ide;
  {
    host::win32::DispatchVbe vbe = VbeOf(ide);
    const auto bars = vbe.CommandBars();
    ASSERT_NE(bars, nullptr);
    const auto bar = bars->Item("Add-Ins");
    ASSERT_NE(bar, nullptr);
    const auto control = bar->Controls()->Add(host::kControlButton);
    control->Caption("Scrivlet");
    EXPECT_EQ(control->Caption(), "Scrivlet");
    EXPECT_EQ(ide.AddInsCaptions(), (std::vector<std::string>{"Add-In Manager...", "Scrivlet"}))
        << "Controls.Add(1) puts the entry at the end of the menu";
    control->Delete();
    EXPECT_EQ(ide.AddInsCaptions(), std::vector<std::string>{"Add-In Manager..."});
    EXPECT_TRUE(ThrowsHostError([&] { control->Delete(); }, 5, kInvalidCall)) << "an entry deleted twice";
    EXPECT_TRUE(ThrowsHostError([&] { bars->Item("Standard"); }, 5, kInvalidCall)) << "a menu the IDE lacks";
    ide.inner().commandBars().AnswerMissingWithEmpty(true);
    EXPECT_EQ(bars->Item("Standard"), nullptr) << "a menu the IDE lacks (Nothing)";
    EXPECT_NE(vbe.ActiveCodePane(), nullptr);
    ide.SetCodeWindowOpen(false);
    EXPECT_EQ(vbe.ActiveCodePane(), nullptr) << "without a code window";
    EXPECT_TRUE(ThrowsHostError([&] { vbe.Events()->CommandBarEvents(nullptr); }, 5, kInvalidCall))
        << "the IDE refuses Nothing for the entry";

    // An entry that is not the IDE's own cannot be passed to the IDE.
    class Foreign final : public host::CommandBarControl {
     public:
      std::string Caption() const override { return {}; }
      void Caption(std::string_view) override {}
      void Delete() override {}
    };
    EXPECT_TRUE(ThrowsHostError([&] { vbe.Events()->CommandBarEvents(std::make_shared<Foreign>()); }, 13,
                                "Type mismatch"))
        << "an entry of another host";
  }
  EXPECT_TRUE(AllReleased(ide));
}

TEST(DispatchVbe, ObjectsThatAnswerNothing) {
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
  host::win32::DispatchVbe vbe{odd};
  EXPECT_EQ(vbe.CommandBars(), nullptr);
  EXPECT_EQ(vbe.Events(), nullptr);
  host::win32::DispatchCommandBar bar{odd};
  EXPECT_TRUE(ThrowsHostError([&] { bar.Controls(); }, 91, kNotSet));
  host::win32::DispatchCommandBarControls controls{odd};
  EXPECT_TRUE(ThrowsHostError([&] { controls.Add(1); }, 91, kNotSet));
  host::win32::DispatchEvents events{odd};
  EXPECT_TRUE(ThrowsHostError([&] { events.CommandBarEvents(nullptr); }, 91, kNotSet));
  host::win32::DispatchVbe none{ComPtr<IDispatch>{}};
  EXPECT_TRUE(ThrowsHostError([&] { none.CommandBars(); }, 91, kNotSet)) << "a VBE of Nothing";
  CountingHandler handler;
  EXPECT_TRUE(ThrowsHostError([&] { host::win32::DispatchCommandBarEvents{odd}.Subscribe(handler); }, 459,
                              "Object or class does not support the set of events"))
      << "an event source without a connection point";
}

// The entry's click events through the connection point: each handler hears each click once, gets the
// chosen entry and answers the two flags; after Unsubscribe it hears nothing, and every sink is gone.
TEST(DispatchCommandBarEvents, ClickEvents) {
  test::MockIde ide;
  {
    host::win32::DispatchVbe vbe = VbeOf(ide);
    const auto control = vbe.CommandBars()->Item("Add-Ins")->Controls()->Add(1);
    control->Caption("Scrivlet");
    const auto source = vbe.Events()->CommandBarEvents(control);
    CountingHandler first;
    CountingHandler second;
    source->Subscribe(first);
    source->Subscribe(second);
    EXPECT_EQ(ide.Connections(), 2U) << "one connection per handler";
    EXPECT_EQ(host::win32::LiveEventSinks(), 2U) << "one sink per handler";
    first.setHandled = true;
    second.setCancel = true;
    EXPECT_TRUE(ide.Choose("Scrivlet"));
    EXPECT_EQ(first.clicks, 1);
    EXPECT_EQ(second.clicks, 1);
    EXPECT_EQ(first.lastCaption, "Scrivlet") << "the click carries the chosen entry";

    source->Unsubscribe(first);
    EXPECT_EQ(ide.Connections(), 1U) << "Unsubscribe disconnects that handler's sink";
    ide.Choose("Scrivlet");
    EXPECT_EQ(first.clicks, 1) << "an unsubscribed handler hears nothing";
    EXPECT_EQ(second.clicks, 2) << "the other handler still hears";
    source->Unsubscribe(first);  // a second time: ignored

    // A handler that stops listening from inside its own click.
    second.onClick = [&] { source->Unsubscribe(second); };
    ide.Choose("Scrivlet");
    EXPECT_EQ(second.clicks, 3);
    EXPECT_EQ(ide.Connections(), 0U) << "a handler may unsubscribe inside its click";
    ide.Choose("Scrivlet");
    EXPECT_EQ(second.clicks, 3) << "and hears nothing more";

    CountingHandler third;
    source->Subscribe(third);
  }
  EXPECT_EQ(ide.Connections(), 0U) << "the adapter's end disconnects what is left";
  EXPECT_EQ(host::win32::LiveEventSinks(), 0U);
  EXPECT_TRUE(AllReleased(ide));
}

// The sink as any caller may call it: its one member by name, the flags written back through the
// references, and calls it does not know refused.
TEST(CommandBarEventsSink, AnswersCallsByName) {
  CountingHandler handler;
  handler.setHandled = true;
  handler.setCancel = true;
  const auto sink =
      ComPtr<host::win32::CommandBarEventsSink>::Attach(host::win32::CommandBarEventsSink::Create(handler));
  IDispatch* dispatch = sink.get();
  EXPECT_EQ(test::IdOf(dispatch, L"click"), DISPID{1}) << "Click is dispatch id 1, by any case";
  EXPECT_EQ(test::IdOf(dispatch, L"Clack"), DISPID_UNKNOWN);
  ComPtr<IDispatch> asEvents;
  EXPECT_EQ(sink->QueryInterface(test::kClickEventsIid, reinterpret_cast<void**>(asEvents.put())), S_OK)
      << "the sink answers for the click events' dispinterface";

  VARIANT_BOOL handled = VARIANT_FALSE;
  VARIANT_BOOL cancel = VARIANT_FALSE;
  VARIANT handledRef;
  ::VariantInit(&handledRef);
  V_VT(&handledRef) = VT_BOOL | VT_BYREF;
  V_BOOLREF(&handledRef) = &handled;
  VARIANT cancelRef = handledRef;
  V_BOOLREF(&cancelRef) = &cancel;
  EXPECT_EQ(test::Call(dispatch, L"Click", DISPATCH_METHOD, {test::Object(nullptr), handledRef, cancelRef}),
            S_OK);
  EXPECT_EQ(handler.clicks, 1);
  EXPECT_EQ(handler.lastCaption, "(none)");
  EXPECT_TRUE(handled == VARIANT_TRUE && cancel == VARIANT_TRUE) << "both flags written back as True";

  VARIANT byValue;
  ::VariantInit(&byValue);
  V_VT(&byValue) = VT_BOOL;
  V_BOOL(&byValue) = VARIANT_FALSE;
  EXPECT_EQ(test::Call(dispatch, L"Click", DISPATCH_METHOD, {test::Object(nullptr), byValue, byValue}), S_OK);
  EXPECT_EQ(test::Call(dispatch, L"Click", DISPATCH_METHOD, {test::Object(nullptr)}), DISP_E_BADPARAMCOUNT);
  VARIANT number;
  ::VariantInit(&number);
  V_VT(&number) = VT_I4;
  V_I4(&number) = 7;
  EXPECT_EQ(test::Call(dispatch, L"Click", DISPATCH_METHOD, {number, byValue, byValue}), DISP_E_TYPEMISMATCH);
  DISPPARAMS none{};
  EXPECT_EQ(dispatch->Invoke(2, IID_NULL, 0, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr),
            DISP_E_MEMBERNOTFOUND);
  sink->Detach();
  EXPECT_EQ(test::Call(dispatch, L"Click", DISPATCH_METHOD, {test::Object(nullptr), byValue, byValue}), S_OK)
      << "a detached sink takes the click";
  EXPECT_EQ(handler.clicks, 2) << "and tells nobody";
}

// The code module's contract, on the adapter over the mock IDE's module, which answers from a
// built-in module of those lines.
std::shared_ptr<host::CodeModule> MakeDispatchModule(const std::vector<std::string>& lines) {
  struct Held {
    explicit Held(const std::vector<std::string>& lines)
        : mock(std::deque<std::string>(lines.begin(), lines.end())) {}
    test::MockCodeModule mock;
    host::win32::DispatchCodeModule module{ComPtr<IDispatch>{mock.module()}};
  };
  const auto held = std::make_shared<Held>(lines);
  return {held, &held->module};
}

INSTANTIATE_TEST_SUITE_P(Dispatch, CodeModuleContract,
                         testing::ValuesIn(test::ContractRuns(MakeDispatchModule)), test::ContractCaseName);

// The names a module already uses, asked of the IDE's module through IDispatch alone.
class DispatchConflict : public testing::TestWithParam<test::RuleCase> {};

TEST_P(DispatchConflict, RefusesNamesTheModuleUses) {
  const test::RuleCase& c = GetParam();
  test::MockCodeModule mock{test::kConflictModule};
  mock.inner().SetComponent(c.type);
  const host::win32::DispatchCodeModule module{ComPtr<IDispatch>{mock.module()}};
  const auto refusal = generator::FindModuleRefusal(test::RuleRequest(c), module);
  EXPECT_EQ(refusal ? refusal->Message(refusal->line) : "", test::RuleMessage(c, c.line));
}

INSTANTIATE_TEST_SUITE_P(Dispatch, DispatchConflict, testing::ValuesIn(test::ConflictCases()),
                         [](const auto& info) { return std::string{info.param.label}; });

// What the contract cannot see: the selection comes back through the references, the texts reach the
// module unit for unit, and the adapter holds one reference.
TEST(DispatchCodeModule, PassesSelectionTextsAndReferences) {
  test::MockCodeModule mock{"Option Explicit\r\nSub A()\r\nEnd Sub"};
  host::win32::DispatchCodeModule module{ComPtr<IDispatch>{mock.module()}};
  mock.inner().pane().SetSelection({2, 3, 3, 5});
  const host::Selection selection = module.CodePane()->GetSelection();
  EXPECT_TRUE(selection.startLine == 2 && selection.startColumn == 3 && selection.endLine == 3 &&
              selection.endColumn == 5)
      << "GetSelection by reference";
  module.InsertLines(2, "' one\r' two");
  module.AddFromString("Dim x As Long");
  const std::vector<test::Handed> handed = {{L"InsertLines 2", L"' one\r' two"},
                                            {L"AddFromString", L"Dim x As Long"}};
  EXPECT_TRUE(mock.handed() == handed) << "texts handed to the module";
  EXPECT_EQ(mock.moduleObject().references(), ULONG{2}) << "the adapter holds one reference";
}

HRESULT STDAPICALLTYPE FillInLate(EXCEPINFO* e) {
  e->bstrDescription = ::SysAllocString(L"Sub or Function not defined");
  return S_OK;
}

TEST(DispatchCodeModule, RaisesTheHostsFailures) {
  struct Case {
    const char* name;
    const wchar_t* member;
    test::Raised raised;
    long number;
    const char* description;
  };
  const Case cases[] = {
      {"VB error",
       L"AddFromString",
       {static_cast<HRESULT>(0x800A0046UL), L"Permission denied"},
       70,
       "Permission denied"},
      {"VB error without text",
       L"InsertLines",
       {static_cast<HRESULT>(0x800A0023UL), L""},
       35,
       "Sub or Function not defined"},
      {"other HRESULT",
       L"CountOfLines",
       {E_ACCESSDENIED, L"Access is denied"},
       static_cast<long>(E_ACCESSDENIED),
       "Access is denied"},
      {"other HRESULT without text", L"Lines", {E_FAIL, L""}, static_cast<long>(E_FAIL), "Automation error"},
      {"pane",
       L"GetSelection",
       {static_cast<HRESULT>(0x800A005BUL), L"Object variable not set"},
       91,
       "Object variable not set"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    test::MockCodeModule mock{"Sub A()\r\nEnd Sub"};
    host::win32::DispatchCodeModule module{ComPtr<IDispatch>{mock.module()}};
    mock.FailNext(c.member, c.raised);
    EXPECT_TRUE(ThrowsHostError(
        [&] {
          const std::wstring member = c.member;
          if (member == L"AddFromString") module.AddFromString("x");
          if (member == L"InsertLines") module.InsertLines(1, "x");
          if (member == L"CountOfLines") module.CountOfLines();
          if (member == L"Lines") module.Lines(1, 1);
          if (member == L"GetSelection") module.CodePane()->GetSelection();
        },
        c.number, c.description));
    EXPECT_LE(mock.handed().size(), 1U) << "nothing handed twice";
  }
}

// Failures of the call itself, as VB numbers them.
TEST(DispatchCall, NumbersFailuresAsVbDoes) {
  struct CallCase {
    HRESULT hr;
    long number;
    const char* description;
  };
  const CallCase calls[] = {
      {DISP_E_MEMBERNOTFOUND, 438, "Object doesn't support this property or method"},
      {DISP_E_UNKNOWNNAME, 438, "Object doesn't support this property or method"},
      {DISP_E_TYPEMISMATCH, 13, "Type mismatch"},
      {DISP_E_BADPARAMCOUNT, 450, "Wrong number of arguments or invalid property assignment"},
      {DISP_E_PARAMNOTOPTIONAL, 449, "Argument not optional"},
      {E_OUTOFMEMORY, 7, "Out of memory"},
      {E_ACCESSDENIED, 70, "Permission denied"},
      {E_NOTIMPL, 445, "Object doesn't support this action"},
      {E_NOINTERFACE, 430, "Class doesn't support Automation"},
      {E_FAIL, static_cast<long>(E_FAIL), "Automation error"},
  };
  for (const CallCase& c : calls) {
    const HostError error = host::win32::HostErrorFromCall(c.hr, nullptr);
    EXPECT_EQ(error.number(), c.number) << std::hex << c.hr;
    EXPECT_EQ(error.description(), c.description) << std::hex << c.hr;
  }

  // A description filled in late, and a VB error given by its wCode.
  EXCEPINFO info{};
  info.wCode = 35;
  info.pfnDeferredFillIn = FillInLate;
  const HostError deferred = host::win32::HostErrorFromCall(DISP_E_EXCEPTION, &info);
  ::SysFreeString(info.bstrDescription);
  EXPECT_EQ(deferred.number(), 35L);
  EXPECT_EQ(deferred.description(), "Sub or Function not defined");
}

// A VB error number raised without a description is shown in VB's own words, however it arrives: as
// the call's HRESULT, as the raised scode, or as the raised wCode. The cases are every row of
// host/vb_errors.cpp's table (each number once), then VB's words for errors an IDE raises without a
// description, written out here, and numbers VB leaves undefined, which keep "Application-defined or
// object-defined error"; a description given is kept.
TEST(DispatchCall, GivesVbsOwnWordsToANumberWithoutDescription) {
  const std::span<const host::VbErrorEntry> table = host::VbErrors();
  EXPECT_EQ(std::ranges::adjacent_find(table, std::greater_equal{}, &host::VbErrorEntry::number),
            table.end());
  std::vector<host::VbErrorEntry> cases{table.begin(), table.end()};
  cases.insert(cases.end(), {{10, "This array is fixed or temporarily locked"},
                             {51, "Internal error"},
                             {67, "Too many files"},
                             {68, "Device unavailable"},
                             {380, "Invalid property value"},
                             {422, "Property not found"},
                             {423, "Property or method not found"},
                             {430, "Class doesn't support Automation"},
                             {448, "Named argument not found"},
                             {457, "This key is already associated with an element of this collection"},
                             {461, "Method or data member not found"},
                             {0, "Application-defined or object-defined error"},
                             {1000, "Application-defined or object-defined error"},
                             {65535, "Application-defined or object-defined error"}});
  for (const host::VbErrorEntry& c : cases) {
    SCOPED_TRACE(c.number);
    const auto code = static_cast<HRESULT>(0x800A0000UL | static_cast<unsigned long>(c.number));
    const HostError called = host::win32::HostErrorFromCall(code, nullptr);
    EXPECT_EQ(called.number(), c.number);
    EXPECT_EQ(called.description(), c.text) << "as the call's HRESULT";

    EXCEPINFO byScode{};
    byScode.scode = code;
    const HostError raised = host::win32::HostErrorFromCall(DISP_E_EXCEPTION, &byScode);
    EXPECT_EQ(raised.number(), c.number);
    EXPECT_EQ(raised.description(), c.text) << "as the raised scode";

    EXCEPINFO byWCode{};
    byWCode.wCode = static_cast<WORD>(c.number);
    if (c.number != 0) {
      EXPECT_EQ(host::win32::HostErrorFromCall(DISP_E_EXCEPTION, &byWCode).description(), c.text)
          << "as the wCode";
    }
  }
  EXCEPINFO described{};
  described.scode = static_cast<HRESULT>(0x800A0035UL);
  described.bstrDescription = ::SysAllocString(L"Le fichier est introuvable");
  const HostError kept = host::win32::HostErrorFromCall(DISP_E_EXCEPTION, &described);
  ::SysFreeString(described.bstrDescription);
  EXPECT_EQ(kept.number(), 53L);
  EXPECT_EQ(kept.description(), "Le fichier est introuvable");
}

// The VBA editor's Add-Ins menu, reached as the connection reaches it: no "Add-Ins" bar, the "Menu
// Bar"'s pop-up found by its caption, and that pop-up's own Controls; a plain button has no Controls.
TEST(DispatchVbe, VbaEditorMenus) {
  test::MockIde ide{host::IdeFlavour::kVbaEditor};
  {
    host::win32::DispatchVbe vbe = VbeOf(ide);
    const auto bars = vbe.CommandBars();
    EXPECT_TRUE(ThrowsHostError([&] { bars->Item("Add-Ins"); }, 5, kInvalidCall)) << "no Add-Ins bar";
    const auto menus = bars->Item("Menu Bar")->Controls();
    EXPECT_TRUE(ThrowsHostError([&] { menus->Item("Tools"); }, 5, kInvalidCall)) << "a menu the bar lacks";
    const auto popup = menus->Item("Add-Ins");
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(popup->Caption(), "&Add-Ins");
    const auto entry = popup->Controls()->Add(host::kControlButton);
    entry->Caption("Scrivlet");
    EXPECT_EQ(ide.AddInsCaptions(), (std::vector<std::string>{"Add-In Manager...", "Scrivlet"}));
    EXPECT_TRUE(
        ThrowsHostError([&] { entry->Controls(); }, 438, "Object doesn't support this property or method"))
        << "a button has no Controls";
    EXPECT_TRUE(ide.Choose("Scrivlet"));
    entry->Delete();
    EXPECT_EQ(ide.AddInsCaptions(), std::vector<std::string>{"Add-In Manager..."});
  }
  EXPECT_TRUE(AllReleased(ide));
}

// Only the VB6 IDE's root object has FullName; a VBE of Nothing is error 91.
TEST(DispatchVbe, HoldsUserControlsInTheVb6IdeAlone) {
  test::MockIde vb6;
  test::MockIde vba{host::IdeFlavour::kVbaEditor};
  EXPECT_TRUE(VbeOf(vb6).HoldsUserControls());
  EXPECT_FALSE(VbeOf(vba).HoldsUserControls());
  EXPECT_TRUE(ThrowsHostError([] { host::win32::DispatchVbe{ComPtr<IDispatch>{}}.HoldsUserControls(); }, 91,
                              kNotSet));
  EXPECT_TRUE(AllReleased(vb6));
  EXPECT_TRUE(AllReleased(vba));
}

// A member the object lacks, an object that is Nothing, a pane that answers Nothing for its module,
// and results of the wrong type.
TEST(DispatchCodeModule, RaisesVbsErrorsForOddObjects) {
  ComPtr<IDispatch> bare = test::FakeDispatch::Create(nullptr);
  host::win32::DispatchCodeModule bareModule{bare};
  EXPECT_TRUE(ThrowsHostError([&] { bareModule.CountOfLines(); }, 438,
                              "Object doesn't support this property or method"));
  host::win32::DispatchCodeModule nothing{ComPtr<IDispatch>{}};
  const std::vector<std::pair<const char*, std::function<void()>>> operations = {
      {"CodePane", [&] { nothing.CodePane(); }},
      {"CountOfLines", [&] { nothing.CountOfLines(); }},
      {"Lines", [&] { nothing.Lines(1, 1); }},
      {"ProcStartLine", [&] { nothing.ProcStartLine("A", host::ProcKind::kProc); }},
      {"ProcBodyLine", [&] { nothing.ProcBodyLine("A", host::ProcKind::kProc); }},
      {"ProcOfLine", [&] { nothing.ProcOfLine(1); }},
      {"InsertLines", [&] { nothing.InsertLines(1, "x"); }},
      {"AddFromString", [&] { nothing.AddFromString("x"); }},
  };
  for (const auto& [name, operation] : operations) {
    EXPECT_TRUE(
        ThrowsHostError(operation, host::kErrObjectNotSet, "Object variable or With block variable not set"))
        << "Nothing." << name;
  }

  test::FakeDispatch* oddSelf = nullptr;
  const ComPtr<IDispatch> odd = test::FakeDispatch::Create(&oddSelf);
  oddSelf->Define(L"CodePane",
                  [](WORD, const test::Arguments&, VARIANT* result) { test::ReturnObject(result, nullptr); });
  oddSelf->Define(L"CountOfLines",
                  [](WORD, const test::Arguments&, VARIANT* result) { test::ReturnText(result, L"many"); });
  host::win32::DispatchCodeModule oddModule{odd};
  EXPECT_TRUE(ThrowsHostError([&] { oddModule.CodePane(); }, host::kErrObjectNotSet,
                              "Object variable or With block variable not set"));
  EXPECT_TRUE(ThrowsHostError([&] { oddModule.CountOfLines(); }, 13, "Type mismatch"));
}

}  // namespace

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  if (FAILED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {
    std::printf("COM cannot be initialised\n");
    return 1;
  }
  const int status = RUN_ALL_TESTS();
  ::CoUninitialize();
  return status;
}
