// tests/win32/host_win32_test.cpp: the Windows platform services and the late-bound code module, run
// under Wine without the DLL.
#include <windows.h>

#include <objbase.h>

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "com_ide/dispatch_call.h"
#include "com_ide/dispatch_code_module.h"
#include "host/builtin_ide/memory_code_module.h"
#include "host/host_error.h"
#include "host/vb_errors.h"
#include "platform/win32/message_box_ui.h"
#include "platform/win32/registry_settings_store.h"
#include "platform/win32/system_clock.h"
#include "platform/win32/windows_date_formatter.h"
#include "tests/win32/check.h"
#include "tests/win32/host_errors.h"
#include "tests/win32/mock_code_module.h"

namespace {

using host::CivilDate;
using host::HostError;
using platform::win32::ComPtr;
using platform::win32::Narrow;
using platform::win32::Wide;
using test::Thrown;

test::Checks checks;

void ExpectError(const std::optional<HostError>& error, long number, std::string_view description,
                 const std::string& what) {
  test::ExpectError(checks, error, number, description, what);
}

void DatePictures() {
  struct Case {
    const char* pattern;
    const wchar_t* picture;  // nullptr: unsupported
  };
  const Case cases[] = {
      {"dddd dd mmmm yyyy", L"dddd' 'dd' 'MMMM' 'yyyy"},
      {"DDDD DD MMMM YYYY", L"dddd' 'dd' 'MMMM' 'yyyy"},
      {"d/m/yy", L"d'/'M'/'yy"},
      {"ddd mmm", L"ddd' 'MMM"},
      {"mm-dd", L"MM'-'dd"},
      {"it's d", L"'it''s 'd"},  // the letters of "it's" are no date letters: quoted, the quote doubled
      {"", L""},
      {"ddddd", nullptr},
      {"mmmmm", nullptr},
      {"y", nullptr},
      {"yyy", nullptr},
      {"yyyyy", nullptr},
  };
  for (const Case& c : cases) {
    const std::string what = std::string{"picture of \""} + c.pattern + '"';
    if (c.picture == nullptr) {
      ExpectError(Thrown([&] { platform::win32::WindowsDatePicture(c.pattern); }), host::kErrInvalidCall,
                  "Unsupported date pattern", what);
    } else {
      std::wstring picture;
      const auto error = Thrown([&] { picture = platform::win32::WindowsDatePicture(c.pattern); });
      checks.Expect(!error, what + ": no error");
      checks.Equal(picture, std::wstring{c.picture}, what);
    }
  }
}

// The wine-tests script runs the programs in the en-US locale.
void DateFormats() {
  struct Case {
    CivilDate date;
    const char* pattern;
    const char* text;  // nullptr: invalid date
  };
  const Case cases[] = {
      {{2026, 12, 6}, "dddd dd mmmm yyyy", "Sunday 06 December 2026"},
      {{2024, 2, 29}, "dddd dd mmmm yyyy", "Thursday 29 February 2024"},
      {{2024, 2, 29}, "d/m/yy", "29/2/24"},
      {{2000, 1, 1}, "ddd mmm yyyy", "Sat Jan 2000"},
      {{2026, 12, 6}, "'d' at yyyy", "'6' at 2026"},
      {{2027, 2, 29}, "dd", nullptr},
      {{2026, 4, 31}, "dd", nullptr},
      {{2026, 13, 1}, "dd", nullptr},
      {{2026, 0, 1}, "dd", nullptr},
      {{2026, 1, 0}, "dd", nullptr},
      {{1600, 12, 31}, "dd", nullptr},
  };
  const platform::win32::WindowsDateFormatter formatter;
  for (const Case& c : cases) {
    const std::string what = "format " + std::to_string(c.date.year) + '-' + std::to_string(c.date.month) +
                             '-' + std::to_string(c.date.day) + " \"" + c.pattern + '"';
    if (c.text == nullptr) {
      ExpectError(Thrown([&] { formatter.Format(c.date, c.pattern); }), host::kErrInvalidCall, "Invalid date",
                  what);
    } else {
      std::string text;
      const auto error = Thrown([&] { text = formatter.Format(c.date, c.pattern); });
      checks.Expect(!error, what + ": no error");
      checks.Equal(text, std::string{c.text}, what);
    }
  }
}

void EpochDates() {
  struct Case {
    const char* text;
    std::optional<CivilDate> date;
  };
  const Case cases[] = {
      {"0", CivilDate{1970, 1, 1}},
      {"86399", CivilDate{1970, 1, 1}},
      {"86400", CivilDate{1970, 1, 2}},
      {"951782400", CivilDate{2000, 2, 29}},
      {"1796515200", CivilDate{2026, 12, 6}},
      {"253402300799", CivilDate{9999, 12, 31}},
      {"253402300800", std::nullopt},
      {"99999999999999999999999", std::nullopt},  // would wrap round in 64 bits
      {"", std::nullopt},
      {"-1", std::nullopt},
      {" 1", std::nullopt},
      {"12a", std::nullopt},
  };
  for (const Case& c : cases) {
    const std::string what = std::string{"epoch \""} + c.text + '"';
    if (!c.date) {
      ExpectError(Thrown([&] { platform::win32::DateOfEpochText(c.text); }), host::kErrInvalidCall,
                  std::string{"SOURCE_DATE_EPOCH is not a number of seconds: \""} + c.text + '"', what);
      continue;
    }
    CivilDate date;
    const auto error = Thrown([&] { date = platform::win32::DateOfEpochText(c.text); });
    checks.Expect(!error && date == *c.date, what);
  }
  // The clock reads the variable from the environment each time.
  const platform::win32::SystemClock clock;
  ::SetEnvironmentVariableW(L"SOURCE_DATE_EPOCH", L"951782400");
  checks.Expect(clock.Today() == CivilDate{2000, 2, 29}, "clock follows SOURCE_DATE_EPOCH");
  ::SetEnvironmentVariableW(L"SOURCE_DATE_EPOCH", L"later");
  ExpectError(Thrown([&] { clock.Today(); }), host::kErrInvalidCall,
              "SOURCE_DATE_EPOCH is not a number of seconds: \"later\"",
              "clock with a bad SOURCE_DATE_EPOCH");
  ::SetEnvironmentVariableW(L"SOURCE_DATE_EPOCH", nullptr);
}

std::wstring RawText(const std::wstring& path, const wchar_t* name, DWORD* type) {
  wchar_t data[512] = {};
  DWORD size = sizeof data;
  *type = 0;
  if (::RegGetValueW(HKEY_CURRENT_USER, path.c_str(), name, RRF_RT_ANY, type, data, &size) != ERROR_SUCCESS) {
    return L"<absent>";
  }
  std::wstring text{data, size / sizeof(wchar_t)};
  if (!text.empty() && text.back() == L'\0') text.pop_back();  // the stored terminator
  return text;
}

void Settings() {
  const std::wstring root = L"Software\\Scrivlet tests";
  platform::win32::RegistrySettingsStore store{root};
  const std::string embeddedNul{"a\0b", 3};
  const std::string values[] = {
      "Zo\xC3\xAB \xC3\x98"
      "deg\xC3\xA5rd ",
      "",
      "  blanks  ",
      "line\r\nbreak",
      embeddedNul,
      "\xF0\x9F\x98\x80"};
  for (const std::string& value : values) {
    store.SaveSetting("Scrivlet", "Identification", "Programmer", value);
    checks.Equal(store.GetSetting("Scrivlet", "Identification", "Programmer", "My name"), value,
                 "setting round trip of " + test::Show(value));
  }
  // Addresses compare without regard to case, as the registry's keys and value names do.
  checks.Equal(store.GetSetting("SCRIVLET", "identification", "PROGRAMMER", "My name"),
               std::string{"\xF0\x9F\x98\x80"}, "setting address case");
  checks.Equal(store.GetSetting("Scrivlet", "Identification", "Missing", "My name"), std::string{"My name"},
               "missing value gives the fallback");
  checks.Equal(store.GetSetting("Scrivlet", "Missing", "Programmer", "0"), std::string{"0"},
               "missing section gives the fallback");
  checks.Equal(store.GetSetting("Scrivlet", "", "Programmer", "0"), std::string{"0"},
               "empty section gives the fallback");
  ExpectError(Thrown([&] { store.SaveSetting("Scrivlet", "", "Programmer", "x"); }), host::kErrInvalidCall,
              "Invalid procedure call or argument", "saving under an empty section");
  ExpectError(Thrown([&] { store.SaveSetting("Scrivlet", "Settings", "", "x"); }), host::kErrInvalidCall,
              "Invalid procedure call or argument", "saving under an empty key");

  // A value of another type is no text setting.
  HKEY key = nullptr;
  ::RegCreateKeyExW(HKEY_CURRENT_USER, (root + L"\\Scrivlet\\Settings").c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                    nullptr, &key, nullptr);
  const DWORD one = 1;
  ::RegSetValueExW(key, L"DisplayOnConnect", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one), sizeof one);
  ::RegCloseKey(key);
  checks.Equal(store.GetSetting("Scrivlet", "Settings", "DisplayOnConnect", "0"), std::string{"0"},
               "a number value gives the fallback");
  store.SaveSetting("Scrivlet", "Settings", "DisplayOnConnect", "1");
  DWORD type = 0;
  checks.Equal(RawText(root + L"\\Scrivlet\\Settings", L"DisplayOnConnect", &type), std::wstring{L"1"},
               "saving replaces a value of another type");
  checks.Equal(type, static_cast<DWORD>(REG_SZ), "saved as REG_SZ");
  ::RegDeleteTreeW(HKEY_CURRENT_USER, root.c_str());

  // By default the settings live where VB's SaveSetting keeps them.
  const std::wstring vbPath = L"Software\\VB and VBA Program Settings\\Scrivlet\\Identification";
  platform::win32::RegistrySettingsStore vbStore;
  vbStore.SaveSetting("Scrivlet", "Identification", "Programmer", "Ren\xC3\xA9");
  checks.Equal(RawText(vbPath, L"Programmer", &type), std::wstring{L"Ren\u00e9"},
               "default place of the settings");
  checks.Equal(type, static_cast<DWORD>(REG_SZ), "default place: REG_SZ");
  ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\VB and VBA Program Settings\\Scrivlet");
}

struct Box {
  std::wstring text;
  std::wstring title;
};

void RecordBox(void* context, const wchar_t* text, const wchar_t* title) {
  static_cast<std::vector<Box>*>(context)->push_back({text, title});
}

void MessageBoxes() {
  std::vector<Box> boxes;
  platform::win32::SetMessageSink(RecordBox, &boxes);
  platform::win32::MessageBoxUi ui;
  ui.MsgBox("Permission denied", "EcrireCode");
  ui.MsgBox(
      "Donn\xC3\xA9"
      "es",
      "");
  platform::win32::SetMessageSink(nullptr, nullptr);
  checks.Equal(boxes.size(), std::size_t{2}, "boxes shown");
  if (boxes.size() != 2) return;
  checks.Equal(boxes[0].text, std::wstring{L"Permission denied"}, "box text");
  checks.Equal(boxes[0].title, std::wstring{L"EcrireCode"}, "box title");
  checks.Equal(boxes[1].text, std::wstring{L"Donn\u00e9es"}, "box text in Unicode");
  checks.Equal(boxes[1].title, std::wstring{L"Scrivlet"}, "an empty title shows the program's title");
}

// The adapter answers as the built-in module it reaches through the mock does.
void AdapterAnswers() {
  const char* const kText =
      "Option Explicit\r\n"
      "\r\n"
      "' Adds one\r\n"
      "Public Function Plus(ByVal n As Long) As Long\r\n"
      "    Plus = n + 1\r\n"
      "End Function\r\n"
      "Property Get Caf\xC3\xA9() As String\r\n"
      "End Property\r\n"
      "Property Let Caf\xC3\xA9(ByVal v As String)\r\n"
      "End Property";
  test::MockCodeModule mock{kText};
  com_ide::DispatchCodeModule module{ComPtr<IDispatch>{mock.module()}};
  host::MemoryCodeModule& inner = mock.inner();
  checks.Equal(module.CountOfLines(), inner.CountOfLines(), "CountOfLines");
  checks.Equal(module.Lines(3, 2), inner.Lines(3, 2), "Lines 3, 2");
  checks.Equal(module.Lines(7, 1), std::string{"Property Get Caf\xC3\xA9() As String"},
               "Lines with an accent");
  checks.Equal(module.ProcStartLine("Plus", host::ProcKind::kProc), 2L, "ProcStartLine");
  checks.Equal(module.ProcBodyLine("plus", host::ProcKind::kProc), 4L, "ProcBodyLine");
  checks.Equal(module.ProcBodyLine("Caf\xC3\xA9", host::ProcKind::kLet), 9L, "ProcBodyLine of a Let");
  for (long line = 0; line <= inner.CountOfLines() + 1; ++line) {
    const host::ProcAtLine expected = inner.ProcOfLine(line);
    const host::ProcAtLine actual = module.ProcOfLine(line);
    checks.Expect(actual.name == expected.name && actual.kind == expected.kind,
                  "ProcOfLine " + std::to_string(line) + " gives " + test::Show(actual.name));
  }
  const auto innerError = Thrown([&] { inner.ProcStartLine("Missing", host::ProcKind::kProc); });
  checks.Expect(innerError.has_value(), "the built-in module lacks Missing");
  ExpectError(Thrown([&] { module.ProcStartLine("Missing", host::ProcKind::kProc); }),
              host::kErrSubNotDefined, innerError ? innerError->description() : "",
              "ProcStartLine of a missing routine");

  inner.pane().SetSelection({7, 3, 8, 5});
  const std::shared_ptr<host::CodePane> pane = module.CodePane();
  const host::Selection selection = pane->GetSelection();
  checks.Expect(selection.startLine == 7 && selection.startColumn == 3 && selection.endLine == 8 &&
                    selection.endColumn == 5,
                "GetSelection by reference");
  checks.Equal(pane->CodeModule()->CountOfLines(), inner.CountOfLines(), "CodePane.CodeModule");

  module.InsertLines(2, "' one\r' two");
  module.AddFromString("Dim x As Long");
  const std::vector<test::Handed> handed = {{L"InsertLines 2", L"' one\r' two"},
                                            {L"AddFromString", L"Dim x As Long"}};
  checks.Expect(mock.handed() == handed, "texts handed to the module");
  checks.Equal(inner.Lines(1, 4), std::string{"Option Explicit\r\nDim x As Long\r\n' one\r\n' two"},
               "the module after the changes");
  checks.Equal(mock.moduleObject().references(), ULONG{2}, "the adapter holds one reference");
}

HRESULT STDAPICALLTYPE FillInLate(EXCEPINFO* e) {
  e->bstrDescription = ::SysAllocString(L"Sub or Function not defined");
  return S_OK;
}

void AdapterFailures() {
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
       "Application-defined or object-defined error"},
      {"other HRESULT",
       L"CountOfLines",
       {E_ACCESSDENIED, L"Access is denied"},
       static_cast<long>(E_ACCESSDENIED),
       "Access is denied"},
      {"other HRESULT without text",
       L"Lines",
       {E_ACCESSDENIED, L""},
       static_cast<long>(E_ACCESSDENIED),
       "Automation error"},
      {"pane",
       L"GetSelection",
       {static_cast<HRESULT>(0x800A005BUL), L"Object variable not set"},
       91,
       "Object variable not set"},
  };
  for (const Case& c : cases) {
    test::MockCodeModule mock{"Sub A()\r\nEnd Sub"};
    com_ide::DispatchCodeModule module{ComPtr<IDispatch>{mock.module()}};
    mock.FailNext(c.member, c.raised);
    const auto error = Thrown([&] {
      const std::wstring member = c.member;
      if (member == L"AddFromString") module.AddFromString("x");
      if (member == L"InsertLines") module.InsertLines(1, "x");
      if (member == L"CountOfLines") module.CountOfLines();
      if (member == L"Lines") module.Lines(1, 1);
      if (member == L"GetSelection") module.CodePane()->GetSelection();
    });
    ExpectError(error, c.number, c.description, std::string{"raised by the host: "} + c.name);
    checks.Expect(mock.handed().size() <= 1, std::string{c.name} + ": nothing handed twice");
  }

  // Failures of the call itself, as VB numbers them.
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
      {E_FAIL, static_cast<long>(E_FAIL), "Automation error"},
      {static_cast<HRESULT>(0x800A0009UL), 9, "Application-defined or object-defined error"},
  };
  for (const CallCase& c : calls) {
    const HostError error = com_ide::HostErrorFromCall(c.hr, nullptr);
    checks.Equal(error.number(), c.number, "call failure number of " + test::Show(c.hr));
    checks.Equal(error.description(), std::string{c.description}, "call failure text of " + test::Show(c.hr));
  }

  // A description filled in late, and a VB error given by its wCode.
  EXCEPINFO info{};
  info.wCode = 35;
  info.pfnDeferredFillIn = FillInLate;
  const HostError deferred = com_ide::HostErrorFromCall(DISP_E_EXCEPTION, &info);
  ::SysFreeString(info.bstrDescription);
  checks.Equal(deferred.number(), 35L, "wCode number");
  checks.Equal(deferred.description(), std::string{"Sub or Function not defined"}, "deferred description");

  // A member the object lacks, and an object that is Nothing.
  ComPtr<IDispatch> bare = test::FakeDispatch::Create(nullptr);
  com_ide::DispatchCodeModule bareModule{bare};
  ExpectError(Thrown([&] { bareModule.CountOfLines(); }), 438,
              "Object doesn't support this property or method", "a member the object lacks");
  com_ide::DispatchCodeModule nothing{ComPtr<IDispatch>{}};
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
    ExpectError(Thrown(operation), host::kErrObjectNotSet, host::VbErrorText(host::kErrObjectNotSet),
                std::string{"Nothing."} + name);
  }

  // A pane that answers Nothing for its module, and results of the wrong type.
  ComPtr<IDispatch> odd;
  test::FakeDispatch* oddSelf = nullptr;
  odd = test::FakeDispatch::Create(&oddSelf);
  oddSelf->Define(L"CodePane",
                  [](WORD, const test::Arguments&, VARIANT* result) { test::ReturnObject(result, nullptr); });
  oddSelf->Define(L"CountOfLines",
                  [](WORD, const test::Arguments&, VARIANT* result) { test::ReturnText(result, L"many"); });
  com_ide::DispatchCodeModule oddModule{odd};
  ExpectError(Thrown([&] { oddModule.CodePane(); }), host::kErrObjectNotSet,
              host::VbErrorText(host::kErrObjectNotSet), "a module without a pane");
  ExpectError(Thrown([&] { oddModule.CountOfLines(); }), 13, "Type mismatch", "a count that is no number");
}

}  // namespace

int main() {
  if (FAILED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {
    std::printf("COM cannot be initialised\n0 passed, 1 failed\n");
    return 1;
  }
  DatePictures();
  DateFormats();
  EpochDates();
  Settings();
  MessageBoxes();
  AdapterAnswers();
  AdapterFailures();
  ::CoUninitialize();
  return checks.Finish();
}
