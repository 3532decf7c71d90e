// tests/win32/addin_host_test.cpp: a host program that plays the VB6 IDE or the VBA editor of its own
// bitness around the registered Scrivlet.dll: it reads that host's add-in list, creates the connection
// by its ProgID, connects it through IDTExtensibility2, chooses its menu entry and drives the real
// dialog window with window messages, as a programmer would.
// Arguments: vb6|vba (the host played), machine|user (where the classes are registered), the DLL's path.
#include <windows.h>

#include <objbase.h>
#include <oleauto.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "addin/win32/penwright.h"
#include "dialog/controls.h"
#include "dialog/win32/win32_form_view.h"
#include "platform/win32/com_handles.h"
#include "platform/win32/wide.h"
#include "tests/support/golden.h"
#include "tests/support/temp_folder.h"
#include "tests/win32/dialog_window.h"
#include "tests/win32/late_call.h"
#include "tests/win32/mock_ide.h"

namespace {

using dialog::ControlId;
using platform::win32::ComPtr;
using enum dialog::ControlId;
using test::Box;
using test::Click;
using test::Dialog;
using test::Item;
using test::Pump;

std::vector<Box>& g_boxes = test::CaughtBoxes();
// From main: the host played, the scope of the registration, the DLL's path, and whether the message box
// hook is in.
bool g_vba = false;
bool g_perUser = false;
std::wstring g_dllPath;
bool g_catcherInstalled = false;

// The list the host played reads: the VB6 IDE's, or the VBA editor's of this program's bitness (64-bit
// Office keeps its own, as HKEY_CURRENT_USER's software keys are one for both bitnesses).
const wchar_t* AddinsKey() {
  if (!g_vba) return L"Software\\Microsoft\\Visual Basic\\6.0\\Addins";
  return sizeof(void*) == 8 ? L"Software\\Microsoft\\VBA\\VBE\\6.0\\Addins64"
                            : L"Software\\Microsoft\\VBA\\VBE\\6.0\\Addins";
}

host::IdeFlavour Flavour() {
  return g_vba ? host::IdeFlavour::kVbaEditor : host::IdeFlavour::kVb6;
}
constexpr wchar_t kSettingsKey[] = L"Software\\VB and VBA Program Settings\\Scrivlet\\Settings";
constexpr wchar_t kScrivletKey[] = L"Software\\VB and VBA Program Settings\\Scrivlet";

// --- The dialog window ---------------------------------------------------------------------------------

bool DialogOnScreen() {
  const HWND window = Dialog();
  return window != nullptr && ::IsWindowVisible(window);
}

BOOL CALLBACK CountDialog(HWND window, LPARAM counter) {
  wchar_t className[64] = {};
  ::GetClassNameW(window, className, 64);
  if (std::wstring_view{className} == dialog::win32::kWindowClass) ++*reinterpret_cast<int*>(counter);
  return TRUE;
}

int DialogWindows() {
  int count = 0;
  ::EnumThreadWindows(::GetCurrentThreadId(), CountDialog, reinterpret_cast<LPARAM>(&count));
  return count;
}

std::wstring TextOf(ControlId id) {
  return test::TextOf(Item(id));
}

// Puts the caret in the box and types `text` key by key.
void Type(ControlId id, std::wstring_view text) {
  const HWND box = Item(id);
  ::SetFocus(box);
  test::Type(box, text);
}

bool Enabled(ControlId id) {
  return ::IsWindowEnabled(Item(id)) != FALSE;
}

// --- The add-in entry and the connection -------------------------------------------------------------------

// The ProgIDs of the add-ins that the IDE would load at start-up: the keys under its add-in list whose
// LoadBehavior has the "load at start-up" bit.
std::vector<std::wstring> AddinsToLoad() {
  std::vector<std::wstring> progIds;
  HKEY opened = nullptr;
  if (::RegOpenKeyExW(HKEY_CURRENT_USER, AddinsKey(), 0, KEY_READ, &opened) != ERROR_SUCCESS) return progIds;
  const platform::win32::UniqueHkey addins{opened};
  for (DWORD index = 0;; ++index) {
    wchar_t name[256];
    DWORD length = 256;
    if (::RegEnumKeyExW(addins.get(), index, name, &length, nullptr, nullptr, nullptr, nullptr) !=
        ERROR_SUCCESS) {
      break;
    }
    DWORD behavior = 0;
    DWORD size = sizeof behavior;
    if (::RegGetValueW(addins.get(), name, L"LoadBehavior", RRF_RT_REG_DWORD, nullptr, &behavior, &size) ==
            ERROR_SUCCESS &&
        (behavior & 1) != 0) {
      progIds.emplace_back(name, length);
    }
  }
  return progIds;
}

std::optional<std::wstring> StoredDisplayOnConnect() {
  wchar_t value[64] = {};
  DWORD size = sizeof value;
  if (::RegGetValueW(HKEY_CURRENT_USER, kSettingsKey, L"DisplayOnConnect", RRF_RT_REG_SZ, nullptr, value,
                     &size) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  return std::wstring{value};
}

void StoreDisplayOnConnect(const wchar_t* value) {
  if (value == nullptr) {
    ::RegDeleteKeyValueW(HKEY_CURRENT_USER, kSettingsKey, L"DisplayOnConnect");
    return;
  }
  ::RegSetKeyValueW(HKEY_CURRENT_USER, kSettingsKey, L"DisplayOnConnect", REG_SZ, value,
                    static_cast<DWORD>((std::wstring_view{value}.size() + 1) * sizeof(wchar_t)));
}

struct Connection {
  ComPtr<IDispatch> object;
  ComPtr<IDTExtensibility2> notifications;
};

std::wstring DefaultValue(const std::wstring& path) {
  wchar_t value[MAX_PATH * 2] = {};
  DWORD size = sizeof value;
  if (::RegGetValueW(HKEY_CURRENT_USER, path.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, value, &size) !=
      ERROR_SUCCESS) {
    return {};
  }
  return value;
}

// Whether the last object was created from the current user's classes.
bool g_createdPerUser = false;

// Creates the class of `progId` as COM on Windows does: from the current user's classes first (the
// ProgID's CLSID, then that class's InprocServer32 in this process's registry view), else from the
// machine's. Wine's COM reads the machine's classes only, so the per-user lookup is done here: the DLL
// named there is loaded and its class factory asked.
ComPtr<IDispatch> CreateByProgId(const std::wstring& progId) {
  ComPtr<IDispatch> object;
  CLSID clsid{};
  const std::wstring clsidText = DefaultValue(L"Software\\Classes\\" + progId + L"\\CLSID");
  g_createdPerUser = !clsidText.empty();
  if (g_createdPerUser) {
    const std::wstring server = DefaultValue(L"Software\\Classes\\CLSID\\" + clsidText + L"\\InprocServer32");
    using GetClassObject = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
    const HMODULE dll = ::LoadLibraryW(server.c_str());  // held for the process, as COM would
    const auto getClassObject = dll == nullptr ? nullptr
                                               : reinterpret_cast<GetClassObject>(reinterpret_cast<void*>(
                                                     ::GetProcAddress(dll, "DllGetClassObject")));
    ComPtr<IClassFactory> factory;
    if (getClassObject != nullptr && SUCCEEDED(::CLSIDFromString(clsidText.c_str(), &clsid)) &&
        SUCCEEDED(getClassObject(clsid, IID_IClassFactory, reinterpret_cast<void**>(factory.put())))) {
      factory->CreateInstance(nullptr, IID_IDispatch, reinterpret_cast<void**>(object.put()));
    }
    return object;
  }
  if (SUCCEEDED(::CLSIDFromProgID(progId.c_str(), &clsid))) {
    ::CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                       reinterpret_cast<void**>(object.put()));
  }
  return object;
}

// What the IDE does at start-up for the add-in `progId`: creates it and sends the connection
// notification with its root object, an add-in instance and an empty custom array.
Connection Connect(test::MockIde& ide, const std::wstring& progId, ext_ConnectMode mode) {
  Connection c;
  c.object = CreateByProgId(progId);
  if (!c.object) return c;
  c.notifications = c.object.As<IDTExtensibility2>(IID_IDTExtensibility2);
  if (!c.notifications) return c;
  test::FakeDispatch* instanceSelf = nullptr;
  const ComPtr<IDispatch> addInInstance = test::FakeDispatch::Create(&instanceSelf);
  SAFEARRAY* custom = ::SafeArrayCreateVector(VT_VARIANT, 0, 0);
  EXPECT_EQ(c.notifications->OnConnection(ide.vbe(), mode, addInInstance.get(), &custom), S_OK)
      << "OnConnection answers S_OK";
  ::SafeArrayDestroy(custom);
  Pump();
  EXPECT_EQ(instanceSelf->references(), ULONG{1}) << "the add-in instance is not kept";
  return c;
}

void Disconnect(Connection& c) {
  SAFEARRAY* custom = ::SafeArrayCreateVector(VT_VARIANT, 0, 0);
  EXPECT_EQ(c.notifications->OnDisconnection(ext_dm_HostShutdown, &custom), S_OK)
      << "OnDisconnection answers S_OK";
  ::SafeArrayDestroy(custom);
  Pump();
}

std::optional<bool> FormDisplayed(IDispatch* connect) {
  VARIANT result;
  ::VariantInit(&result);
  if (test::Call(connect, L"FormDisplayed", DISPATCH_PROPERTYGET, {}, &result) != S_OK ||
      V_VT(&result) != VT_BOOL) {
    return std::nullopt;
  }
  return V_BOOL(&result) != VARIANT_FALSE;
}

// The add-in the IDE would load at start-up, as the registry lists it (empty when it lists none).
std::wstring TheAddin() {
  const std::vector<std::wstring> progIds = AddinsToLoad();
  return progIds.empty() ? std::wstring{} : progIds.front();
}

void ExpectReleased(test::MockIde& ide) {
  const std::vector<std::string> held = ide.Unreleased();
  testing::Message lines;
  for (const std::string& line : held) lines << "\n  " << line;
  EXPECT_TRUE(held.empty()) << "IDE objects still held:" << lines;
}

// --- The scenes
// -----------------------------------------------------------------------------------------------

// After each click on a box, the state of every option as the window shows it.
struct BoxState {
  ControlId id;
  bool checked;
  bool enabled;
};
struct InterlockStep {
  const char* what;
  ControlId clicked;
  std::vector<BoxState> boxes;
  std::vector<std::pair<ControlId, bool>> enabled;  // other controls: enabled or not
};

void InterlocksInTheWindow() {
  // Add PropertyChanged is checked from the generation: it has cleared and disabled the routine kinds.
  const std::vector<InterlockStep> steps = {
      {"Add PropertyChanged cleared",
       chkPropertyChanged,
       {{chkPropertyChanged, false, true},
        {chkFonction, false, true},
        {chkProcedure, false, true},
        {chkLectureSeule, false, true}},
       {{Label8, false}, {cmbFuncReturn, false}}},
      {"Function checked",
       chkFonction,
       {{chkFonction, true, true},
        {chkSet, false, false},
        {chkPropertyChanged, false, false},
        {chkLectureSeule, false, false},
        {chkProcedure, false, false},
        {chkPrive, false, true}},
       {{Label8, true}, {cmbFuncReturn, true}, {txtVariable, true}}},
      {"Function cleared",
       chkFonction,
       {{chkFonction, false, true},
        {chkSet, false, true},
        {chkPropertyChanged, false, true},
        {chkLectureSeule, false, true},
        {chkProcedure, false, true}},
       {{Label8, false}, {cmbFuncReturn, false}}},
      {"Private checked", chkPrive, {{chkPrive, true, true}, {chkFriend, false, false}}, {}},
      // Clearing Private on the way enables Friend again: the reactions run in their fixed order.
      {"Comments only checked",
       chkComment,
       {{chkComment, true, true},
        {chkPrive, false, false},
        {chkFriend, false, true},
        {chkSet, false, false},
        {chkFonction, false, false},
        {chkProcedure, false, false},
        {chkPropertyChanged, false, false},
        {chkLectureSeule, false, false},
        {chkStatique, false, false},
        {chkHide, false, false},
        {chkResumeNext, false, true}},
       {{txtPropriete, false}, {Label1, false}, {Frame1, false}, {txtVariable, false}, {cmbType, false}}},
      {"Comments only cleared",
       chkComment,
       {{chkComment, false, true},
        {chkPrive, false, true},
        {chkFriend, false, true},
        {chkSet, false, true},
        {chkFonction, false, true},
        {chkProcedure, false, true},
        {chkPropertyChanged, false, true},
        {chkLectureSeule, false, true},
        {chkStatique, false, true},
        {chkHide, false, true}},
       {{txtPropriete, true}, {Label1, true}, {Frame1, true}, {txtVariable, true}, {cmbType, true}}},
  };
  for (const InterlockStep& step : steps) {
    Click(step.clicked);
    for (const BoxState& box : step.boxes) {
      EXPECT_EQ(test::IsChecked(box.id), box.checked)
          << step.what << ": " << dialog::Name(box.id) << " checked";
      EXPECT_EQ(Enabled(box.id), box.enabled) << step.what << ": " << dialog::Name(box.id) << " enabled";
    }
    for (const auto& [id, enabled] : step.enabled) {
      EXPECT_EQ(Enabled(id), enabled) << step.what << ": " << dialog::Name(id) << " enabled";
    }
  }
}

TEST(AddinHost, CatchesMessageBoxes) {
  EXPECT_TRUE(g_catcherInstalled) << "the message box hook is installed";
}

TEST(AddinHost, ListsTheAddinToLoadAtStartUp) {
  EXPECT_EQ(AddinsToLoad(), std::vector<std::wstring>{L"Penwright.Connect"});
}

// The class registered in this scope, in this program's view, is the DLL of its own bitness.
TEST(AddinHost, CreatesTheDllOfItsOwnBitness) {
  ComPtr<IDispatch> object = CreateByProgId(L"Penwright.Connect");
  ASSERT_TRUE(object) << "Penwright.Connect can be created";
  EXPECT_EQ(g_createdPerUser, g_perUser) << "found among the current user's classes";
  EXPECT_NE(::GetModuleHandleW(g_dllPath.c_str()), nullptr)
      << "the DLL loaded is " << platform::win32::Narrow(g_dllPath);
}

TEST(AddinHost, FromMenuToDisconnection) {
  const std::wstring progId = TheAddin();
  ASSERT_FALSE(progId.empty());
  test::MockIde ide{Flavour()};
  StoreDisplayOnConnect(nullptr);
  Connection c = Connect(ide, progId, ext_cm_AfterStartup);
  ASSERT_TRUE(c.notifications) << "Penwright.Connect answers IDTExtensibility2";
  EXPECT_EQ(ide.AddInsCaptions(), (std::vector<std::string>{"Add-In Manager...", "Scrivlet",
                                                            "Scrivlet: Headers and Traps for This Module",
                                                            "Scrivlet: Headers and Traps for This Project"}))
      << "the entry \"Scrivlet\" is added at the end of the Add-Ins menu";
  EXPECT_EQ(ide.inner().commandBars().Bar("Add-Ins") != nullptr, !g_vba)
      << "the VB6 IDE's Add-Ins bar, the VBA editor's menu bar pop-up";
  EXPECT_EQ(ide.Connections(), std::size_t{3})
      << "the clicks of the entry and of the two for headers and traps are listened to";
  EXPECT_FALSE(DialogOnScreen()) << "no dialog before the entry is chosen";
  EXPECT_TRUE(FormDisplayed(c.object.get()) == false) << "FormDisplayed False after connection";

  EXPECT_TRUE(ide.Choose("Scrivlet")) << "the entry can be chosen";
  Pump();
  EXPECT_TRUE(DialogOnScreen()) << "choosing the entry shows the dialog";
  EXPECT_TRUE(FormDisplayed(c.object.get()) == true) << "FormDisplayed True once shown";
  EXPECT_TRUE(::GetWindow(Dialog(), GW_OWNER) == nullptr) << "the dialog has no owner";
  ide.Choose("Scrivlet");
  Pump();
  EXPECT_EQ(DialogWindows(), 1) << "choosing the entry again leaves one dialog";

  // The generate command without a name.
  g_boxes.clear();
  Click(OKButton);
  testing::Message seen;
  for (const Box& box : g_boxes) {
    seen << "\n  box: " << box.title << " / " << box.text
         << (box.owner == Dialog() ? ", owned by the dialog" : "");
  }
  const std::vector<Box> expected = {{L"Scrivlet", L"Name of propriete cannot be null.", Dialog()}};
  EXPECT_TRUE(g_boxes == expected) << "OK without a name: one box titled Scrivlet, owned by the dialog"
                                   << seen;
  EXPECT_TRUE(ide.module().handed().empty()) << "OK without a name writes nothing";

  // The example: Title, NewTitle, Add PropertyChanged, OK. A VBA project holds no user controls: there
  // the option is refused, and the property is written without it.
  g_boxes.clear();
  Type(txtPropriete, L"Title");
  Type(txtVariable, L"NewTitle");
  Click(chkPropertyChanged);
  EXPECT_TRUE(test::IsChecked(chkPropertyChanged)) << "Add PropertyChanged checked";
  Click(OKButton);
  if (g_vba) {
    const std::vector<Box> refused = {
        {L"Scrivlet", L"Add PropertyChanged writes code for user controls, which this project cannot hold.",
         Dialog()}};
    EXPECT_TRUE(g_boxes == refused)
        << "the VBA editor refuses Add PropertyChanged in a box owned by the dialog";
    EXPECT_TRUE(ide.module().handed().empty()) << "and writes nothing";
    g_boxes.clear();
    Click(chkPropertyChanged);
    Click(OKButton);
    Click(chkPropertyChanged);  // checked again, as the interlocks below start
  }
  // Byte for byte what the built-in IDE's tests expect: with PropertyChanged and the property bag's lines
  // in the VB6 IDE, without them in the VBA editor.
  EXPECT_TRUE(test::MatchesGolden(g_vba ? "addin/TitlePropertyVba.bas" : "addin/TitleProperty.bas",
                                  ide.module().inner().Text()));
  EXPECT_TRUE(g_boxes.empty()) << "no message during the generation";
  EXPECT_TRUE(DialogOnScreen()) << "the dialog stays open after OK";

  InterlocksInTheWindow();

  Click(CancelButton);
  EXPECT_FALSE(DialogOnScreen()) << "Cancel hides the dialog";
  EXPECT_TRUE(FormDisplayed(c.object.get()) == false) << "Cancel clears FormDisplayed";
  ide.Choose("Scrivlet");
  Pump();
  EXPECT_TRUE(DialogOnScreen()) << "the entry shows the dialog again";
  EXPECT_EQ(TextOf(txtPropriete), std::wstring{L"Title"}) << "the name is kept while hidden";
  EXPECT_EQ(TextOf(txtVariable), std::wstring{L"NewTitle"}) << "the variable is kept while hidden";

  ::SendMessageW(Dialog(), WM_SYSCOMMAND, SC_CLOSE, 0);
  Pump();
  EXPECT_FALSE(DialogOnScreen()) << "the title bar's close box hides the dialog";
  EXPECT_TRUE(FormDisplayed(c.object.get()) == false) << "the close box clears FormDisplayed as Cancel does";

  ide.Choose("Scrivlet");
  Pump();
  const HWND window = Dialog();
  Disconnect(c);
  EXPECT_EQ(ide.AddInsCaptions(), std::vector<std::string>{"Add-In Manager..."})
      << "disconnection deletes the entry";
  EXPECT_TRUE(StoredDisplayOnConnect() == L"1") << "disconnection with the dialog showing saves \"1\"";
  EXPECT_FALSE(::IsWindow(window)) << "disconnection closes the dialog's window";
  EXPECT_TRUE(g_boxes.empty()) << "no message during disconnection";
  c = {};
  EXPECT_EQ(ide.Connections(), std::size_t{0}) << "the released connection no longer listens to the entry";
  ExpectReleased(ide);
}

// The project's file stands in a folder that holds the team's set: the dialog's User page names it,
// and OK writes with it.
TEST(AddinHost, WritesWithTheSetBesideTheProjectFile) {
  const std::wstring progId = TheAddin();
  ASSERT_FALSE(progId.empty());
  const test::TempFolder folder;
  std::filesystem::copy(std::filesystem::path{SCRIVLET_GOLDEN_DIR} / "templates" / "sets" / "raise",
                        folder.path() / ".scrivlet");
  test::MockIde ide{Flavour()};
  ide.module().inner().SetComponent(host::ComponentType::kClassModule, false, "Gauge");
  ide.SetProjectFile((folder.path() / "Project1.vbp").wstring());
  StoreDisplayOnConnect(nullptr);
  Connection c = Connect(ide, progId, ext_cm_AfterStartup);
  ide.Choose("Scrivlet");
  Pump();
  EXPECT_EQ(TextOf(lblTemplates),
            L"Templates: the project's set in " + (folder.path() / ".scrivlet").wstring());
  g_boxes.clear();
  Type(txtPropriete, L"Level");
  Type(txtVariable, L"NewLevel");
  Click(OKButton);
  EXPECT_TRUE(g_boxes.empty()) << "no message during the generation";
  EXPECT_TRUE(test::MatchesGolden("addin/LevelPropertyRaise.cls", ide.module().inner().Text()));
  Disconnect(c);
  c = {};
  ExpectReleased(ide);
}

// The entry for the whole project counts the routines, asks, and on Yes writes them.
TEST(AddinHost, HeadersAndTrapsForTheProjectOnYes) {
  const std::wstring progId = TheAddin();
  ASSERT_FALSE(progId.empty());
  test::MockIde ide{Flavour(), "Sub Refresh()\r\n    x = 1\r\nEnd Sub"};
  StoreDisplayOnConnect(nullptr);
  Connection c = Connect(ide, progId, ext_cm_AfterStartup);
  g_boxes.clear();
  test::AnswerBoxesWith(IDYES);
  EXPECT_TRUE(ide.Choose("Scrivlet: Headers and Traps for This Project"));
  Pump();
  test::AnswerBoxesWith(IDOK);
  ASSERT_EQ(g_boxes.size(), std::size_t{1});
  EXPECT_EQ(g_boxes[0].text, L"Add headers and error traps to 1 routine of this project (the built-in set)?");
  EXPECT_TRUE(test::MatchesGolden("addin/RefreshDressed.bas", ide.module().inner().Text()));
  Disconnect(c);
  c = {};
  ExpectReleased(ide);
}

TEST(AddinHost, ReconnectionByStoredSetting) {
  const std::wstring progId = TheAddin();
  ASSERT_FALSE(progId.empty());
  struct Case {
    const wchar_t* stored;
    bool shown;
  };
  const Case cases[] = {{L"1", true}, {L"0", false}, {L" 1", false}, {L"True", false}, {nullptr, false}};
  for (const Case& setting : cases) {
    SCOPED_TRACE(setting.stored == nullptr
                     ? "DisplayOnConnect absent"
                     : "DisplayOnConnect \"" + platform::win32::Narrow(setting.stored) + '"');
    test::MockIde ide{Flavour()};
    StoreDisplayOnConnect(setting.stored);
    Connection c = Connect(ide, progId, ext_cm_AfterStartup);
    ASSERT_TRUE(c.notifications);
    EXPECT_EQ(DialogOnScreen(), setting.shown) << "dialog shown at connection";
    EXPECT_EQ(TextOf(txtPropriete), L"") << "a new dialog has an empty name";
    if (setting.shown) Click(CancelButton);
    Disconnect(c);
    EXPECT_TRUE(StoredDisplayOnConnect() == L"0") << "a dialog not showing saves \"0\"";
    c = {};
    ExpectReleased(ide);
  }
}

TEST(AddinHost, ConnectionFromOutside) {
  const std::wstring progId = TheAddin();
  ASSERT_FALSE(progId.empty());
  test::MockIde ide{Flavour()};
  StoreDisplayOnConnect(L"0");
  g_boxes.clear();
  Connection c = Connect(ide, progId, ext_cm_External);
  ASSERT_TRUE(c.notifications);
  EXPECT_EQ(ide.AddInsCaptions(), std::vector<std::string>{"Add-In Manager..."})
      << "started from outside: no menu entry";
  EXPECT_EQ(ide.Connections(), std::size_t{0}) << "started from outside: nothing listened to";
  EXPECT_TRUE(DialogOnScreen()) << "started from outside: the dialog opens at once";
  Disconnect(c);
  EXPECT_TRUE(g_boxes.empty()) << "started from outside: the entry that was never made is not reported";
  EXPECT_TRUE(StoredDisplayOnConnect() == L"1") << "started from outside: \"1\" saved";
  EXPECT_TRUE(Dialog() == nullptr) << "started from outside: the window is gone";
  c = {};
  ExpectReleased(ide);
}

// Last: once every connection is gone, the DLL that the connections loaded may unload.
TEST(AddinHost, TheDllMayUnloadAtTheEnd) {
  using CanUnloadNow = HRESULT(WINAPI*)();
  const HMODULE dll = ::GetModuleHandleW(g_dllPath.c_str());
  const auto canUnloadNow =
      dll == nullptr
          ? nullptr
          : reinterpret_cast<CanUnloadNow>(reinterpret_cast<void*>(::GetProcAddress(dll, "DllCanUnloadNow")));
  ASSERT_NE(canUnloadNow, nullptr) << "the DLL was loaded by the connection";
  EXPECT_EQ(canUnloadNow(), S_OK);
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  EXPECT_FALSE(::GetClassInfoExW(dll, dialog::win32::kWindowClass, &windowClass))
      << "the dialog's window class is gone when the DLL may unload";
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  testing::InitGoogleTest(&argc, argv);
  const std::wstring role = argc > 1 ? argv[1] : L"";
  const std::wstring scope = argc > 2 ? argv[2] : L"";
  // The VB6 IDE is a 32-bit program: a 64-bit one cannot play it.
  const bool knownRole = role == L"vba" || (role == L"vb6" && sizeof(void*) == 4);
  if (argc != 4 || !knownRole || (scope != L"machine" && scope != L"user") ||
      FAILED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {
    std::printf("usage: addin_host_tests vb6|vba machine|user DLL-PATH (vb6 in the 32-bit program)\n");
    return 2;
  }
  g_vba = role == L"vba";
  g_perUser = scope == L"user";
  g_dllPath = argv[3];
  const test::BoxCatcher catcher;
  g_catcherInstalled = catcher.installed();
  ::RegDeleteTreeW(HKEY_CURRENT_USER, kScrivletKey);
  const int status = RUN_ALL_TESTS();
  ::RegDeleteTreeW(HKEY_CURRENT_USER, kScrivletKey);
  ::CoUninitialize();
  return status;
}
