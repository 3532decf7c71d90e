// tests/win32/com_server_test.cpp: a client of the registered Scrivlet.dll, as VB and the IDE use it:
// creation by ProgID, late-bound options passed by reference, generation into a mock code module,
// the connection's members, reference counts and DllCanUnloadNow. Argument: the DLL's path.
#include <windows.h>

#include <objbase.h>
#include <oleauto.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "addin/win32/penwright.h"
#include "platform/win32/com_handles.h"
#include "platform/win32/wide.h"
#include "tests/generator/module_kinds.h"
#include "tests/support/golden.h"
#include "tests/win32/fake_dispatch.h"
#include "tests/win32/late_call.h"
#include "tests/win32/mock_code_module.h"
#include "tests/win32/mock_ide.h"

namespace {

using platform::win32::ComPtr;
using platform::win32::UniqueBstr;
using test::Call;
using test::Handed;
using test::IdOf;
using test::Object;

struct Box {
  std::wstring text;
  std::wstring title;
  friend bool operator==(const Box&, const Box&) = default;
};
std::vector<Box> g_boxes;

void RecordBox(void*, const wchar_t* text, const wchar_t* title) {
  g_boxes.push_back({text, title});
}

using CanUnloadNow = HRESULT(WINAPI*)();
using GetClassObject = HRESULT(WINAPI*)(REFCLSID, REFIID, void**);
using SetMessageSink = void(WINAPI*)(void (*)(void*, const wchar_t*, const wchar_t*), void*);
CanUnloadNow g_canUnloadNow = nullptr;
GetClassObject g_getClassObject = nullptr;
bool g_sinkSet = false;

ComPtr<IDispatch> Create(const wchar_t* progId) {
  CLSID clsid{};
  ComPtr<IDispatch> object;
  if (SUCCEEDED(::CLSIDFromProgID(progId, &clsid))) {
    ::CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                       reinterpret_cast<void**>(object.put()));
  }
  return object;
}

VARIANT BoolRef(VARIANT_BOOL* value) {
  VARIANT v;
  ::VariantInit(&v);
  V_VT(&v) = VT_BOOL | VT_BYREF;
  V_BOOLREF(&v) = value;
  return v;
}

VARIANT TextRef(BSTR* value) {
  VARIANT v;
  ::VariantInit(&v);
  V_VT(&v) = VT_BSTR | VT_BYREF;
  V_BSTRREF(&v) = value;
  return v;
}

VARIANT ObjectRef(IDispatch** value) {
  VARIANT v;
  ::VariantInit(&v);
  V_VT(&v) = VT_DISPATCH | VT_BYREF;
  V_DISPATCHREF(&v) = value;
  return v;
}

// Assigns an option as VB does: by reference, through Invoke.
struct Option {
  const wchar_t* name;
  bool isText;
  VARIANT_BOOL flag;
  const wchar_t* text;
};

Option Flag(const wchar_t* name) {
  return {name, false, VARIANT_TRUE, nullptr};
}
Option Text(const wchar_t* name, const wchar_t* text) {
  return {name, true, VARIANT_FALSE, text};
}

HRESULT Assign(IDispatch* request, const Option& option) {
  if (!option.isText) {
    VARIANT_BOOL value = option.flag;
    return Call(request, option.name, DISPATCH_PROPERTYPUT, {BoolRef(&value)});
  }
  BSTR value = ::SysAllocString(option.text);
  const HRESULT hr = Call(request, option.name, DISPATCH_PROPERTYPUT, {TextRef(&value)});
  ::SysFreeString(value);
  return hr;
}

HRESULT EcrireCode(IDispatch* request, IDispatch* module) {
  IDispatch* unLien = module;
  return Call(request, L"EcrireCode", DISPATCH_METHOD, {ObjectRef(&unLien)});
}

TEST(ComServer, ExportsItsEntryPoints) {
  EXPECT_NE(g_canUnloadNow, nullptr);
  EXPECT_NE(g_getClassObject, nullptr);
  EXPECT_TRUE(g_sinkSet) << "ScrivletSetMessageSink";
}

TEST(ComServer, DispatchIds) {
  const ComPtr<IDispatch> request = Create(L"Penwright.CEcrireCode");
  ASSERT_TRUE(request) << "Penwright.CEcrireCode is created by its ProgID";
  const ComPtr<IDispatch> connect = Create(L"Penwright.Connect");
  ASSERT_TRUE(connect) << "Penwright.Connect is created by its ProgID";
  struct Case {
    IDispatch* object;
    const wchar_t* name;
    DISPID id;
  };
  const Case cases[] = {
      {request.get(), L"Cacher", 0x68030010},
      {request.get(), L"Comment", 0x6803000F},
      {request.get(), L"CreerFonction", 0x6803000E},
      {request.get(), L"CreerProcedure", 0x6803000D},
      {request.get(), L"LectureSeule", 0x6803000C},
      {request.get(), L"FunctionReturn", 0x6803000B},
      {request.get(), L"Prop_Changed", 0x6803000A},
      {request.get(), L"Prop_Friend", 0x68030009},
      {request.get(), L"Prop_Prive", 0x68030008},
      {request.get(), L"ResumeNext", 0x68030007},
      {request.get(), L"VariableLoc_Static", 0x68030006},
      {request.get(), L"AideId", 0x68030005},
      {request.get(), L"Nom_Propriete", 0x68030004},
      {request.get(), L"NomUtilisateur", 0x68030003},
      {request.get(), L"NomVariable", 0x68030002},
      {request.get(), L"TypeVariable", 0x68030001},
      {request.get(), L"Usage", 0x68030000},
      {request.get(), L"EcrireCode", 0x60030011},
      {request.get(), L"Prop_Set", 0x68030012},
      {request.get(), L"ecrirecode", 0x60030011},       // names are not case-sensitive in VB
      {request.get(), L"CreerEntete", DISPID_UNKNOWN},  // the builders are not published
      {connect.get(), L"FormDisplayed", 0x40030000},
      {connect.get(), L"VBInstance", 0x40030001},
      {connect.get(), L"MenuHandler", 0x40030004},
      {connect.get(), L"Hide", 0x60030000},
      {connect.get(), L"Show", 0x60030001},
      {connect.get(), L"AddToAddInCommandBar", 0x60030006},
      {connect.get(), L"OnConnection", DISPID_UNKNOWN},
  };
  for (const Case& c : cases) EXPECT_EQ(IdOf(c.object, c.name), c.id) << "dispatch id of " << c.name;
}

TEST(CEcrireCode, TakesOptionsByReference) {
  const ComPtr<IDispatch> request = Create(L"Penwright.CEcrireCode");
  ASSERT_TRUE(request);
  const wchar_t* const flags[] = {
      L"Cacher",       L"Comment",     L"CreerFonction", L"CreerProcedure", L"LectureSeule",
      L"Prop_Changed", L"Prop_Friend", L"Prop_Prive",    L"ResumeNext",     L"VariableLoc_Static",
      L"Prop_Set"};
  const wchar_t* const texts[] = {L"FunctionReturn", L"AideId",       L"Nom_Propriete", L"NomUtilisateur",
                                  L"NomVariable",    L"TypeVariable", L"Usage"};
  for (const wchar_t* name : flags) {
    for (const VARIANT_BOOL assigned : {VARIANT_TRUE, VARIANT_FALSE}) {
      VARIANT_BOOL value = assigned;
      EXPECT_EQ(Call(request.get(), name, DISPATCH_PROPERTYPUT, {BoolRef(&value)}), S_OK)
          << "assign " << name << " by reference";
      EXPECT_EQ(value, assigned) << name << ": the caller's variable is unchanged";
    }
    VARIANT result;
    ::VariantInit(&result);
    EXPECT_TRUE(FAILED(Call(request.get(), name, DISPATCH_PROPERTYGET, {}, &result)))
        << name << " cannot be read back";
    ::VariantClear(&result);
  }
  for (const wchar_t* name : texts) {
    BSTR value = ::SysAllocString(L"Caf\u00e9 ");
    const BSTR before = value;
    EXPECT_EQ(Call(request.get(), name, DISPATCH_PROPERTYPUT, {TextRef(&value)}), S_OK)
        << "assign " << name << " by reference";
    EXPECT_TRUE(value == before && std::wstring{value} == L"Caf\u00e9 ")
        << name << ": the caller keeps its string";
    ::SysFreeString(value);
    VARIANT result;
    ::VariantInit(&result);
    EXPECT_TRUE(FAILED(Call(request.get(), name, DISPATCH_PROPERTYGET, {}, &result)))
        << name << " cannot be read back";
    ::VariantClear(&result);
  }
}

// Generated text as it is written here: LF for the CR that separates generated lines.
std::wstring Cr(std::wstring text) {
  for (wchar_t& c : text) {
    if (c == L'\n') c = L'\r';
  }
  return text;
}

const std::wstring kStars = L"'**********************************************************************";
const std::wstring kDashes = L"'-----------------------------------";

std::wstring Header() {
  return kStars +
         Cr(L"\n' Utility: Reloads the list\n'\n' Functions called: \n' Functions calling: \n'\n'\n"
            L"' Programmer's name: My name\n' Creation date: Sunday 06 December 2026\n"
            L"' Last modification:          by\n") +
         kStars + L"\r";
}

// The body with the labelled error trap; `statements` (LF-separated) stand after the trap.
std::wstring Body(const std::wstring& name, const std::wstring& word, const std::wstring& statements,
                  bool withEnd = true) {
  std::wstring body = kDashes + Cr(L"\n'Local variables definition \n\n\n\n\n") + kDashes +
                      Cr(L"\n' Start \nOn Error Goto Error" + name + L"\n\n\n\n" + statements) + kDashes +
                      Cr(L"\n'- End and exit\n" + name + L"Next:\nExit " + word + L"\n\n\n") + kDashes +
                      Cr(L"\n'Error local traitment\nError" + name + L":\nMsgbox Err.Description, , \"" +
                         name + L"\"\n       '-Resume\nResume " + name + L"Next\n") +
                      kDashes + L"\r'End";
  if (withEnd) body += L"\rEnd " + word;
  return body;
}

std::wstring Replaced(std::wstring text, const std::wstring& from, const std::wstring& to) {
  return text.replace(text.find(from), from.size(), to);
}

std::wstring Routine(const std::wstring& declaration, const std::wstring& body) {
  return declaration + L"\r" + Header() + L"\r" + body;
}

struct GenerationCase {
  const char* name;
  std::vector<Option> options;
  std::string module;
  long caret;
  std::vector<Handed> handed;
};

std::vector<GenerationCase> GenerationCases() {
  // The whole Sub, written out line by line.
  const std::wstring sub =
      Cr(L"Sub Refresh( )\n"
         L"'**********************************************************************\n"
         L"' Utility: Reloads the list\n"
         L"'\n"
         L"' Functions called: \n"
         L"' Functions calling: \n"
         L"'\n"
         L"'\n"
         L"' Programmer's name: My name\n"
         L"' Creation date: Sunday 06 December 2026\n"
         L"' Last modification:          by\n"
         L"'**********************************************************************\n"
         L"\n"
         L"'-----------------------------------\n"
         L"'Local variables definition \n"
         L"\n\n\n\n"
         L"'-----------------------------------\n"
         L"' Start \n"
         L"On Error Goto ErrorRefresh\n"
         L"\n\n\n"
         L"'-----------------------------------\n"
         L"'- End and exit\n"
         L"RefreshNext:\n"
         L"Exit Sub\n"
         L"\n\n"
         L"'-----------------------------------\n"
         L"'Error local traitment\n"
         L"ErrorRefresh:\n"
         L"Msgbox Err.Description, , \"Refresh\"\n"
         L"       '-Resume\n"
         L"Resume RefreshNext\n"
         L"'-----------------------------------\n"
         L"'End\n"
         L"End Sub");
  const std::vector<Option> common = {Text(L"Usage", L"Reloads the list"),
                                      Text(L"NomUtilisateur", L"My name")};
  const auto with = [&common](std::vector<Option> options) {
    options.insert(options.begin(), common.begin(), common.end());
    return options;
  };
  const std::vector<GenerationCase> cases = {
      {"sub",
       with({Text(L"Nom_Propriete", L"Refresh"), Flag(L"CreerProcedure")}),
       "Option Explicit\r\n",
       1,
       {{L"AddFromString", sub}}},
      {"function",
       with({Text(L"Nom_Propriete", L"Total"), Text(L"NomVariable", L"NewTitle"),
             Text(L"TypeVariable", L"String"), Text(L"FunctionReturn", L"Long"), Flag(L"CreerFonction")}),
       "Option Explicit\r\n",
       1,
       {{L"AddFromString",
         Routine(L"Function Total(NewTitle as String)AS Long", Body(L"Total", L"Function", L""))}}},
      {"read_write_property_changed",
       with({Text(L"Nom_Propriete", L"Title"), Text(L"NomVariable", L"NewTitle"),
             Text(L"TypeVariable", L"String"), Flag(L"Prop_Changed")}),
       "Option Explicit\r\n",
       1,
       {{L"AddFromString",
         Routine(L"Property Get Title( )AS String", Body(L"Title", L"Property", L"Title = m_NewTitle\n"))},
        {L"AddFromString",
         Routine(L"Property Let Title(NewTitle as String)",
                 Body(L"Title", L"Property", L"m_NewTitle = NewTitle\nPropertyChanged \"Title\"\n"))},
        {L"AddFromString", L"Private m_NewTitle AS String"},
        {L"AddFromString", L"Private Sub UserControl_WriteProperties(PropBag As PropertyBag)\rEnd Sub"},
        {L"InsertLines 4", L"Propbag.WriteProperty \"Title\", m_NewTitle"},
        {L"AddFromString", L"Private Sub UserControl_ReadProperties (PropBag As PropertyBag)\rEnd Sub"},
        {L"InsertLines 4", L"m_NewTitle = PropBag.ReadProperty (\"Title\")"}}},
      // The caret's routine is found through GetSelection and ProcOfLine, and read whole; its
      // statement is taken out and handed back inside the trap.
      {"comments_at_caret",
       with({Flag(L"Comment")}),
       "Sub Refresh()\r\n    x = 1\r\nEnd Sub",
       2,
       {{L"InsertLines 2", Header() + Body(L"Refresh", L"Sub", L"    x = 1\n", false)}}},
      // Texts cross the boundary unit for unit: accents, a pair of surrogates, a lone surrogate (in the
      // programmer's name: a name holds letters of the code page alone).
      {"unicode_texts",
       with({Text(L"Nom_Propriete", L"Donn\u00e9es"), Text(L"NomUtilisateur", L"\U0001F600\xD800"),
             Flag(L"CreerProcedure"), Flag(L"ResumeNext")}),
       "",
       1,
       {{L"AddFromString",
         L"Sub Donn\u00e9es( )\r" + Replaced(Header(), L"My name", L"\U0001F600\xD800") + L"\r" +
             Cr(L"'-----------------------------------\n'Local variables definition \n\n\n\n\n"
                L"'-----------------------------------\n' Start \nOn Error Resume Next\n\n\n\n"
                L"'-----------------------------------\n'End\nEnd Sub")}}},
  };
  return cases;
}

class Generation : public testing::TestWithParam<GenerationCase> {};

TEST_P(Generation, HandsTheModuleEveryTextExactly) {
  const GenerationCase& c = GetParam();
  const ComPtr<IDispatch> request = Create(L"Penwright.CEcrireCode");
  ASSERT_TRUE(request);
  for (const Option& option : c.options) EXPECT_EQ(Assign(request.get(), option), S_OK) << option.name;
  test::MockCodeModule mock{c.module};
  mock.inner().pane().SetCaret(c.caret);
  g_boxes.clear();
  EXPECT_EQ(EcrireCode(request.get(), mock.module()), S_OK);
  EXPECT_EQ(mock.handed().size(), c.handed.size()) << "texts handed";
  for (std::size_t i = 0; i < c.handed.size() && i < mock.handed().size(); ++i) {
    EXPECT_EQ(mock.handed()[i].call, c.handed[i].call) << "call " << i;
    EXPECT_EQ(mock.handed()[i].text, c.handed[i].text) << "text " << i;
  }
  EXPECT_TRUE(g_boxes.empty()) << "no message box";
  EXPECT_EQ(mock.moduleObject().references(), ULONG{1}) << "module references balanced";
  EXPECT_EQ(mock.paneObject().references(), ULONG{1}) << "pane references balanced";
}

INSTANTIATE_TEST_SUITE_P(Requests, Generation, testing::ValuesIn(GenerationCases()),
                         [](const testing::TestParamInfo<GenerationCase>& info) { return info.param.name; });

// What a property with PropertyChanged writes in each kind of module, the kind asked of the IDE through
// the module's Parent; the same table as the built-in IDE's and the command line's.
class ModuleKind : public testing::TestWithParam<test::ModuleKindCase> {};

TEST_P(ModuleKind, WritesTheBagOfItsObjectOrNothing) {
  const test::ModuleKindCase& c = GetParam();
  const ComPtr<IDispatch> request = Create(L"Penwright.CEcrireCode");
  ASSERT_TRUE(request);
  // The table's request, option by option, as VB assigns them.
  const generator::Request r = test::ModuleKindsRequest();
  using platform::win32::Wide;
  const std::wstring texts[] = {Wide(r.sNom_Propriete), Wide(r.sNomVariable),    Wide(r.sTypeVariable),
                                Wide(r.sFuncReturn),    Wide(r.sNomutilisateur), Wide(r.sUsage)};
  const Option options[] = {
      Text(L"Nom_Propriete", texts[0].c_str()),
      Text(L"NomVariable", texts[1].c_str()),
      Text(L"TypeVariable", texts[2].c_str()),
      Text(L"FunctionReturn", texts[3].c_str()),
      Text(L"NomUtilisateur", texts[4].c_str()),
      Text(L"Usage", texts[5].c_str()),
      {L"Prop_Set", false, r.bProp_Set ? VARIANT_TRUE : VARIANT_FALSE, nullptr},
      {L"Prop_Changed", false, r.bProp_Changed ? VARIANT_TRUE : VARIANT_FALSE, nullptr}};
  for (const Option& option : options) EXPECT_EQ(Assign(request.get(), option), S_OK) << option.name;
  test::MockCodeModule mock{test::kModuleKindsStart};
  mock.inner().SetComponent(c.type, c.persistable);
  g_boxes.clear();
  EXPECT_EQ(EcrireCode(request.get(), mock.module()), S_OK);
  if (c.bagObject != nullptr) {
    EXPECT_EQ(mock.inner().Text(), test::ModuleKindExpected(c));
    EXPECT_TRUE(g_boxes.empty());
  } else {
    EXPECT_EQ(mock.inner().Text(), test::kModuleKindsStart);
    EXPECT_TRUE(mock.handed().empty()) << "nothing handed to the module";
    EXPECT_EQ(g_boxes, (std::vector<Box>{{Wide(test::kModuleKindRefusal), L"EcrireCode"}}));
  }
  EXPECT_EQ(mock.moduleObject().references(), ULONG{1}) << "module references balanced";
}

INSTANTIATE_TEST_SUITE_P(Requests, ModuleKind, testing::ValuesIn(test::ModuleKinds()),
                         [](const auto& info) { return std::string{info.param.name}; });

// The same request through the vtable, as a client compiled against the type library calls it.
TEST(CEcrireCode, EarlyBinding) {
  const ComPtr<IDispatch> object = Create(L"Penwright.CEcrireCode");
  ASSERT_TRUE(object);
  const ComPtr<_CEcrireCode> request = object.As<_CEcrireCode>(IID__CEcrireCode);
  ASSERT_TRUE(request) << "QueryInterface for _CEcrireCode";
  BSTR name = ::SysAllocString(L"Refresh");
  VARIANT_BOOL yes = VARIANT_TRUE;
  EXPECT_EQ(request->put_Nom_Propriete(&name), S_OK) << "vtable: Nom_Propriete";
  EXPECT_EQ(request->put_CreerProcedure(&yes), S_OK) << "vtable: CreerProcedure";
  EXPECT_EQ(request->put_ResumeNext(&yes), S_OK) << "vtable: ResumeNext";
  ::SysFreeString(name);
  test::MockCodeModule mock;
  IDispatch* module = mock.module();
  EXPECT_EQ(request->EcrireCode(&module), S_OK) << "vtable: EcrireCode";
  EXPECT_TRUE(module == mock.module()) << "vtable: the module reference is handed back unchanged";
  EXPECT_EQ(mock.handed().size(), std::size_t{1}) << "vtable: one routine";
  if (!mock.handed().empty()) {
    const std::wstring& text = mock.handed()[0].text;
    EXPECT_EQ(text.substr(0, text.find(L'\r')), std::wstring{L"Sub Refresh( )"})
        << "vtable: the Sub's declaration";
  }
  EXPECT_EQ(request->put_Nom_Propriete(nullptr), E_POINTER) << "vtable: a null option pointer";
  EXPECT_EQ(request->EcrireCode(nullptr), E_POINTER) << "vtable: a null module pointer";
}

// A request VB would refuse writes nothing and says why, as the add-in's dialog does.
TEST(CEcrireCode, RefusesWhatVbWouldRefuseInABox) {
  const ComPtr<IDispatch> request = Create(L"Penwright.CEcrireCode");
  ASSERT_TRUE(request);
  Assign(request.get(), Text(L"Nom_Propriete", L"refresh"));
  Assign(request.get(), Flag(L"CreerProcedure"));
  test::MockCodeModule mock{"Sub Refresh()\r\nEnd Sub"};
  g_boxes.clear();
  EXPECT_EQ(EcrireCode(request.get(), mock.module()), S_OK);
  EXPECT_EQ(g_boxes,
            (std::vector<Box>{
                {L"The module already has a Sub Refresh, at line 1; choose another name.", L"EcrireCode"}}));
  EXPECT_TRUE(mock.handed().empty()) << "nothing handed to the module";
}

TEST(CEcrireCode, ReportsHostFailuresInABox) {
  struct Case {
    const char* name;
    const wchar_t* member;  // nullptr: the module is Nothing
    test::Raised raised;
    Box box;
  };
  const Case cases[] = {
      {"AddFromString fails",
       L"AddFromString",
       {static_cast<HRESULT>(0x800A0046UL), L"Permission denied"},
       {L"Permission denied", L"EcrireCode"}},
      {"the pane cannot be had",
       L"CodePane",
       {E_ACCESSDENIED, L"Acc\u00e8s refus\u00e9"},
       {L"Acc\u00e8s refus\u00e9", L"EcrireCode"}},
      {"module is Nothing", nullptr, {}, {L"Object variable or With block variable not set", L"EcrireCode"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const ComPtr<IDispatch> request = Create(L"Penwright.CEcrireCode");
    ASSERT_TRUE(request);
    Assign(request.get(), Text(L"Nom_Propriete", L"Reload"));
    Assign(
        request.get(),
        Flag(c.member != nullptr && std::wstring{c.member} == L"CodePane" ? L"Comment" : L"CreerProcedure"));
    test::MockCodeModule mock{"Sub Refresh()\r\nEnd Sub"};
    if (c.member != nullptr) mock.FailNext(c.member, c.raised);
    g_boxes.clear();
    EXPECT_EQ(EcrireCode(request.get(), c.member != nullptr ? mock.module() : nullptr), S_OK)
        << "EcrireCode itself succeeds";
    EXPECT_EQ(g_boxes.size(), 1U);
    if (!g_boxes.empty()) {
      EXPECT_EQ(g_boxes[0].text, c.box.text);
      EXPECT_EQ(g_boxes[0].title, c.box.title);
    }
    EXPECT_EQ(mock.moduleObject().references(), ULONG{1}) << "module references balanced";
  }
}

// An object of the host's menus: Item("Add-Ins") gives the bar, whose Controls.Add(1) gives a button.
struct FakeMenus {
  ComPtr<IDispatch> vbe, bars, bar, controls, button;
  test::FakeDispatch *vbeSelf = nullptr, *barsSelf = nullptr, *barSelf = nullptr, *controlsSelf = nullptr,
                     *buttonSelf = nullptr;
  std::wstring caption;
  std::vector<std::wstring> added;  // the arguments of each Add, as "count:type"
  bool hasAddIns = true;
  bool itemRaises = false;
  bool captionRaises = false;

  FakeMenus() {
    vbe = test::FakeDispatch::Create(&vbeSelf);
    bars = test::FakeDispatch::Create(&barsSelf);
    bar = test::FakeDispatch::Create(&barSelf);
    controls = test::FakeDispatch::Create(&controlsSelf);
    button = test::FakeDispatch::Create(&buttonSelf);
    vbeSelf->Define(L"CommandBars",
                    [this](WORD, const test::Arguments&, VARIANT* r) { test::ReturnObject(r, bars.get()); });
    barsSelf->Define(L"Item", [this](WORD, const test::Arguments& a, VARIANT* r) {
      if (itemRaises)
        throw test::Raised{static_cast<HRESULT>(0x800A0005UL), L"Invalid procedure call or argument"};
      test::ReturnObject(r, hasAddIns && a.Text(0) == L"Add-Ins" ? bar.get() : nullptr);
    });
    barSelf->Define(L"Controls", [this](WORD, const test::Arguments&, VARIANT* r) {
      test::ReturnObject(r, controls.get());
    });
    controlsSelf->Define(L"Add", [this](WORD, const test::Arguments& a, VARIANT* r) {
      added.push_back(std::to_wstring(a.count()) + L":" + std::to_wstring(a.Long(0)));
      test::ReturnObject(r, button.get());
    });
    buttonSelf->Define(L"Caption", [this](WORD flags, const test::Arguments& a, VARIANT*) {
      if (captionRaises) throw test::Raised{E_FAIL, L"Caption refused"};
      if ((flags & DISPATCH_PROPERTYPUT) == 0) throw DISP_E_MEMBERNOTFOUND;
      caption = a.Text(0);
    });
  }
};

// FormDisplayed read late-bound; 1 (no Boolean) when the call fails.
VARIANT_BOOL FormDisplayedOf(IDispatch* connect) {
  VARIANT result;
  ::VariantInit(&result);
  const HRESULT hr = Call(connect, L"FormDisplayed", DISPATCH_PROPERTYGET, {}, &result);
  return hr == S_OK && V_VT(&result) == VT_BOOL ? V_BOOL(&result) : VARIANT_BOOL{1};
}

// MenuHandler connects to the click events of the source it is given and lets go of them when it is
// given another source or Nothing; a source without those events is refused and the old one stays.
TEST(Connect, MenuHandlerConnections) {
  test::MockIde ide;
  const ComPtr<IDispatch> connect = Create(L"Penwright.Connect");
  ASSERT_TRUE(connect);
  EXPECT_EQ(Call(connect.get(), L"VBInstance", DISPATCH_PROPERTYPUTREF, {Object(ide.vbe())}), S_OK)
      << "MenuHandler: VBInstance set";
  BSTR caption = ::SysAllocString(L"Scrivlet");
  VARIANT entry;
  ::VariantInit(&entry);
  Call(connect.get(), L"AddToAddInCommandBar", DISPATCH_METHOD, {TextRef(&caption)}, &entry);
  ::SysFreeString(caption);
  const auto sourceFor = [&] {
    VARIANT events;
    ::VariantInit(&events);
    Call(ide.vbe(), L"Events", DISPATCH_PROPERTYGET, {}, &events);
    VARIANT source;
    ::VariantInit(&source);
    if (V_VT(&events) == VT_DISPATCH && V_DISPATCH(&events) != nullptr) {
      Call(V_DISPATCH(&events), L"CommandBarEvents", DISPATCH_PROPERTYGET, {entry}, &source);
    }
    ::VariantClear(&events);
    ComPtr<IDispatch> answer{V_VT(&source) == VT_DISPATCH ? V_DISPATCH(&source) : nullptr};
    ::VariantClear(&source);
    return answer;
  };
  const ComPtr<IDispatch> first = sourceFor();
  const ComPtr<IDispatch> second = sourceFor();
  EXPECT_TRUE(first && second) << "MenuHandler: the IDE hands out two event sources";
  EXPECT_EQ(Call(connect.get(), L"MenuHandler", DISPATCH_PROPERTYPUTREF, {Object(first.get())}), S_OK)
      << "MenuHandler: Set to a source";
  EXPECT_EQ(ide.Connections(), std::size_t{1}) << "MenuHandler: connected to the source's click events";
  VARIANT read;
  ::VariantInit(&read);
  Call(connect.get(), L"MenuHandler", DISPATCH_PROPERTYGET, {}, &read);
  EXPECT_TRUE(V_VT(&read) == VT_DISPATCH && V_DISPATCH(&read) == first.get())
      << "MenuHandler: reads the same object";
  ::VariantClear(&read);

  test::FakeDispatch* plainSelf = nullptr;
  const ComPtr<IDispatch> plain = test::FakeDispatch::Create(&plainSelf);
  EXPECT_EQ(Call(connect.get(), L"MenuHandler", DISPATCH_PROPERTYPUTREF, {Object(plain.get())}),
            DISP_E_EXCEPTION)
      << "MenuHandler: an object without click events is refused";
  EXPECT_EQ(plainSelf->references(), ULONG{1}) << "MenuHandler: the refused object is not kept";
  EXPECT_EQ(ide.Connections(), std::size_t{1}) << "MenuHandler: the old source stays connected";

  EXPECT_EQ(Call(connect.get(), L"MenuHandler", DISPATCH_PROPERTYPUTREF, {Object(second.get())}), S_OK)
      << "MenuHandler: Set to another source";
  EXPECT_EQ(ide.Connections(), std::size_t{1}) << "MenuHandler: only the new source is connected";
  EXPECT_TRUE(ide.Choose("Scrivlet")) << "MenuHandler: the entry can be chosen";
  EXPECT_TRUE(FormDisplayedOf(connect.get()) == VARIANT_TRUE) << "MenuHandler: a click shows the dialog";
  Call(connect.get(), L"Hide", DISPATCH_METHOD, {});
  EXPECT_EQ(Call(connect.get(), L"MenuHandler", DISPATCH_PROPERTYPUTREF, {Object(nullptr)}), S_OK)
      << "MenuHandler: Set Nothing";
  EXPECT_EQ(ide.Connections(), std::size_t{0}) << "MenuHandler: Nothing disconnects";
  ::VariantClear(&entry);
}

// The host's notifications called by name on IDTExtensibility2, as a late-binding host does: mode 1
// (start-up) makes the entry and opens no dialog; disconnection deletes it.
TEST(Connect, ExtensibilityByName) {
  test::MockIde ide;
  const ComPtr<IDispatch> connect = Create(L"Penwright.Connect");
  ASSERT_TRUE(connect);
  const ComPtr<IDispatch> notifications = connect.As<IDispatch>(IID_IDTExtensibility2);
  ASSERT_TRUE(notifications) << "Connect answers IDTExtensibility2";
  struct Name {
    const wchar_t* name;
    DISPID id;
  };
  for (const Name& n :
       {Name{L"OnConnection", 1}, Name{L"ondisconnection", 2}, Name{L"OnAddInsUpdate", 3},
        Name{L"OnStartupComplete", 4}, Name{L"OnBeginShutdown", 5}, Name{L"OnClose", DISPID_UNKNOWN}}) {
    EXPECT_EQ(IdOf(notifications.get(), n.name), n.id) << "IDTExtensibility2 dispatch id of " << n.name;
  }
  SAFEARRAY* custom = ::SafeArrayCreateVector(VT_VARIANT, 0, 0);
  VARIANT customArgument;
  ::VariantInit(&customArgument);
  V_VT(&customArgument) = VT_ARRAY | VT_VARIANT | VT_BYREF;
  V_ARRAYREF(&customArgument) = &custom;
  VARIANT startup;
  ::VariantInit(&startup);
  V_VT(&startup) = VT_I4;
  V_I4(&startup) = 1;
  EXPECT_EQ(Call(notifications.get(), L"OnConnection", DISPATCH_METHOD,
                 {Object(ide.vbe()), startup, Object(nullptr), customArgument}),
            S_OK)
      << "OnConnection by name";
  EXPECT_EQ(ide.AddInsCaptions(), (std::vector<std::string>{"Add-In Manager...", "Scrivlet",
                                                            "Scrivlet: Headers and Traps for This Module",
                                                            "Scrivlet: Headers and Traps for This Project"}))
      << "OnConnection by name, mode 1: the entry is made";
  EXPECT_EQ(FormDisplayedOf(connect.get()), VARIANT_FALSE) << "OnConnection by name, mode 1: no dialog";
  EXPECT_EQ(Call(notifications.get(), L"OnConnection", DISPATCH_METHOD, {Object(ide.vbe()), startup}),
            DISP_E_BADPARAMCOUNT)
      << "OnConnection with two arguments";
  EXPECT_EQ(Call(notifications.get(), L"OnConnection", DISPATCH_METHOD,
                 {startup, startup, Object(nullptr), customArgument}),
            DISP_E_TYPEMISMATCH)
      << "OnConnection with a number for the application";
  EXPECT_EQ(Call(notifications.get(), L"OnStartupComplete", DISPATCH_METHOD, {customArgument}), S_OK)
      << "OnStartupComplete by name";
  EXPECT_EQ(Call(notifications.get(), L"OnDisconnection", DISPATCH_METHOD, {startup, customArgument}), S_OK)
      << "OnDisconnection by name";
  EXPECT_EQ(ide.AddInsCaptions(), std::vector<std::string>{"Add-In Manager..."})
      << "OnDisconnection by name deletes the entry";
  ::SafeArrayDestroy(custom);
}

TEST(Connect, Members) {
  const ComPtr<IDispatch> connect = Create(L"Penwright.Connect");
  ASSERT_TRUE(connect);
  const auto formDisplayed = [&] { return FormDisplayedOf(connect.get()); };
  EXPECT_EQ(formDisplayed(), VARIANT_FALSE) << "FormDisplayed starts False";
  VARIANT yes;
  ::VariantInit(&yes);
  V_VT(&yes) = VT_BOOL;
  V_BOOL(&yes) = VARIANT_TRUE;
  EXPECT_EQ(Call(connect.get(), L"FormDisplayed", DISPATCH_PROPERTYPUT, {yes}), S_OK)
      << "assign FormDisplayed";
  EXPECT_EQ(formDisplayed(), VARIANT_TRUE) << "FormDisplayed reads True (-1)";
  EXPECT_EQ(Call(connect.get(), L"Hide", DISPATCH_METHOD, {}), S_OK) << "Hide";
  EXPECT_EQ(formDisplayed(), VARIANT_FALSE) << "Hide clears FormDisplayed";
  EXPECT_EQ(Call(connect.get(), L"Show", DISPATCH_METHOD, {}), S_OK) << "Show";
  EXPECT_EQ(formDisplayed(), VARIANT_TRUE) << "Show sets FormDisplayed";

  // VBInstance holds one reference, set by reference and dropped with the object.
  {
    test::FakeDispatch* self = nullptr;
    const ComPtr<IDispatch> held = test::FakeDispatch::Create(&self);
    EXPECT_EQ(Call(connect.get(), L"VBInstance", DISPATCH_PROPERTYPUTREF, {Object(held.get())}), S_OK)
        << "VBInstance: Set";
    EXPECT_EQ(self->references(), ULONG{2}) << "VBInstance: one reference held";
    VARIANT result;
    ::VariantInit(&result);
    EXPECT_EQ(Call(connect.get(), L"VBInstance", DISPATCH_PROPERTYGET, {}, &result), S_OK)
        << "VBInstance: read";
    EXPECT_TRUE(V_VT(&result) == VT_DISPATCH && V_DISPATCH(&result) == held.get())
        << "VBInstance: the same object";
    ::VariantClear(&result);
    EXPECT_EQ(Call(connect.get(), L"VBInstance", DISPATCH_PROPERTYPUTREF, {Object(nullptr)}), S_OK)
        << "VBInstance: Set Nothing";
    EXPECT_EQ(self->references(), ULONG{1}) << "VBInstance: reference dropped";
    Call(connect.get(), L"VBInstance", DISPATCH_PROPERTYPUTREF, {Object(held.get())});
  }
  test::FakeDispatch* kept = nullptr;
  const ComPtr<IDispatch> keptObject = test::FakeDispatch::Create(&kept);
  {
    ComPtr<IDispatch> other = Create(L"Penwright.Connect");
    Call(other.get(), L"VBInstance", DISPATCH_PROPERTYPUTREF, {Object(keptObject.get())});
    EXPECT_EQ(kept->references(), ULONG{2}) << "a connection holds its VBInstance";
  }
  EXPECT_EQ(kept->references(), ULONG{1}) << "the reference goes with the connection";
}

TEST(Connect, AddToAddInCommandBar) {
  struct MenuCase {
    const char* name;
    std::function<void(FakeMenus&)> setUp;
    bool answered;
    std::vector<std::wstring> added;
  };
  const MenuCase menuCases[] = {
      {"a host with an Add-Ins menu", [](FakeMenus&) {}, true, {L"1:1"}},
      {"no Add-Ins menu", [](FakeMenus& m) { m.hasAddIns = false; }, false, {}},
      {"Item raises", [](FakeMenus& m) { m.itemRaises = true; }, false, {}},
      {"the caption is refused", [](FakeMenus& m) { m.captionRaises = true; }, false, {L"1:1"}},
  };
  for (const MenuCase& c : menuCases) {
    SCOPED_TRACE(c.name);
    FakeMenus menus;
    c.setUp(menus);
    const ComPtr<IDispatch> connection = Create(L"Penwright.Connect");
    Call(connection.get(), L"VBInstance", DISPATCH_PROPERTYPUTREF, {Object(menus.vbe.get())});
    BSTR caption = ::SysAllocString(L"Scrivlet");
    const BSTR before = caption;
    VARIANT result;
    ::VariantInit(&result);
    EXPECT_EQ(Call(connection.get(), L"AddToAddInCommandBar", DISPATCH_METHOD, {TextRef(&caption)}, &result),
              S_OK)
        << "never reports";
    EXPECT_TRUE(caption == before && std::wstring{caption} == L"Scrivlet") << "the caption is not changed";
    ::SysFreeString(caption);
    const bool isButton = V_VT(&result) == VT_DISPATCH && V_DISPATCH(&result) == menus.button.get();
    const bool isNothing = V_VT(&result) == VT_DISPATCH && V_DISPATCH(&result) == nullptr;
    EXPECT_TRUE(c.answered ? isButton : isNothing) << (c.answered ? "answers the button" : "answers Nothing");
    ::VariantClear(&result);
    EXPECT_EQ(menus.added, c.added) << "Controls.Add(1) calls";
    if (c.answered) {
      EXPECT_EQ(menus.caption, L"Scrivlet");
    }
    EXPECT_EQ(menus.buttonSelf->references(), ULONG{1}) << "button references balanced";
  }
  VARIANT result;
  ::VariantInit(&result);
  BSTR caption = ::SysAllocString(L"Scrivlet");
  const ComPtr<IDispatch> bare = Create(L"Penwright.Connect");
  EXPECT_EQ(Call(bare.get(), L"AddToAddInCommandBar", DISPATCH_METHOD, {TextRef(&caption)}, &result), S_OK)
      << "AddToAddInCommandBar without VBInstance";
  EXPECT_TRUE(V_VT(&result) == VT_DISPATCH && V_DISPATCH(&result) == nullptr)
      << "without VBInstance: Nothing";
  ::SysFreeString(caption);
}

TEST(DllCanUnloadNow, FollowsTheObjectsAndTheLocks) {
  ASSERT_NE(g_canUnloadNow, nullptr);
  ASSERT_NE(g_getClassObject, nullptr);
  EXPECT_EQ(g_canUnloadNow(), S_OK) << "DllCanUnloadNow: nothing alive";
  {
    const ComPtr<IDispatch> request = Create(L"Penwright.CEcrireCode");
    EXPECT_EQ(g_canUnloadNow(), S_FALSE) << "DllCanUnloadNow: a CEcrireCode lives";
    const ComPtr<IDispatch> connect = Create(L"Penwright.Connect");
    EXPECT_EQ(g_canUnloadNow(), S_FALSE) << "DllCanUnloadNow: two objects live";
  }
  EXPECT_EQ(g_canUnloadNow(), S_OK) << "DllCanUnloadNow: both released";

  ComPtr<IClassFactory> factory;
  EXPECT_EQ(g_getClassObject(CLSID_Connect, IID_IClassFactory, reinterpret_cast<void**>(factory.put())), S_OK)
      << "DllGetClassObject for Connect";
  EXPECT_EQ(g_canUnloadNow(), S_FALSE) << "DllCanUnloadNow: a factory is held";
  if (factory) {
    ComPtr<IUnknown> aggregated;
    EXPECT_EQ(
        factory->CreateInstance(factory.get(), IID_IUnknown, reinterpret_cast<void**>(aggregated.put())),
        CLASS_E_NOAGGREGATION)
        << "no aggregation";
    ComPtr<IUnknown> wrong;
    EXPECT_EQ(factory->CreateInstance(nullptr, IID_IClassFactory, reinterpret_cast<void**>(wrong.put())),
              E_NOINTERFACE)
        << "CreateInstance for an interface the class lacks";
    EXPECT_EQ(factory->LockServer(TRUE), S_OK) << "LockServer(TRUE)";
    factory.Reset();
  }
  EXPECT_EQ(g_canUnloadNow(), S_FALSE) << "DllCanUnloadNow: the server is locked";
  g_getClassObject(CLSID_CEcrireCode, IID_IClassFactory, reinterpret_cast<void**>(factory.put()));
  if (factory) {
    EXPECT_EQ(factory->LockServer(FALSE), S_OK) << "LockServer(FALSE)";
    EXPECT_EQ(factory->LockServer(FALSE), E_UNEXPECTED) << "an unmatched LockServer(FALSE) is refused";
    factory.Reset();
  }
  EXPECT_EQ(g_canUnloadNow(), S_OK) << "DllCanUnloadNow: unlocked and released";
  ComPtr<IUnknown> none;
  EXPECT_EQ(g_getClassObject(IID__Connect, IID_IClassFactory, reinterpret_cast<void**>(none.put())),
            CLASS_E_CLASSNOTAVAILABLE)
      << "DllGetClassObject for another class";
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  testing::InitGoogleTest(&argc, argv);
  if (argc < 2 || FAILED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {
    std::printf("usage: com_server_tests DLL-PATH (COM must initialise)\n");
    return 2;
  }
  HMODULE dll = ::LoadLibraryW(argv[1]);
  g_canUnloadNow =
      reinterpret_cast<CanUnloadNow>(reinterpret_cast<void*>(::GetProcAddress(dll, "DllCanUnloadNow")));
  g_getClassObject =
      reinterpret_cast<GetClassObject>(reinterpret_cast<void*>(::GetProcAddress(dll, "DllGetClassObject")));
  const auto sink = reinterpret_cast<SetMessageSink>(
      reinterpret_cast<void*>(::GetProcAddress(dll, "ScrivletSetMessageSink")));
  g_sinkSet = sink != nullptr;
  if (g_sinkSet) sink(RecordBox, nullptr);
  const int status = RUN_ALL_TESTS();
  if (g_sinkSet) sink(nullptr, nullptr);
  ::CoUninitialize();
  if (dll != nullptr) ::FreeLibrary(dll);
  return status;
}
