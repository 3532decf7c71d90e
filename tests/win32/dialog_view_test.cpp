// tests/win32/dialog_view_test.cpp: the dialog's Windows window, driven and read through the real window
// only (handles, window texts, styles, button states, messages), run under Wine with a display. Given
// a folder, it also saves screenshots of the window there.
#include <windows.h>

#include <commctrl.h>
#include <objbase.h>
#include <wincodec.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cwchar>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "dialog/frm_add_in.h"
#include "dialog/win32/keyboard_hook.h"
#include "dialog/win32/view_text.h"
#include "dialog/win32/win32_form_view.h"
#include "host/host_error.h"
#include "platform/win32/com_handles.h"
#include "platform/win32/message_box_ui.h"
#include "platform/win32/wide.h"
#include "platform/win32/windows_date_formatter.h"
#include "testing/ide/fault_plan.h"
#include "testing/ide/fixed_clock.h"
#include "testing/ide/memory_settings_store.h"
#include "tests/support/visible.h"
#include "tests/win32/dialog_window.h"

namespace {

using dialog::ControlId;
using enum dialog::ControlId;
using platform::win32::Narrow;
using platform::win32::Wide;
using Ids = std::set<ControlId>;
using test::Click;
using test::Dialog;
using test::IsChecked;
using test::Item;
using test::Pump;
using test::TextOf;
using test::Type;

std::vector<test::Box>& g_boxes = test::CaughtBoxes();
// From main: the folder for the screenshots (none: no screenshot), and whether the box hook is in.
std::wstring g_screenshots;
bool g_catcherInstalled = false;

std::string Named(std::string_view what, ControlId id) {
  return std::string{what} + " " + std::string{dialog::Name(id)};
}

// --- The platform and the connection --------------------------------------------------------------

// Settings in memory whose storing fails on demand, as a registry that refuses the write.
class FailingSettings final : public host::SettingsStore {
 public:
  std::string GetSetting(std::string_view application, std::string_view section, std::string_view key,
                         std::string_view fallback) const override {
    return memory_.GetSetting(application, section, key, fallback);
  }
  void SaveSetting(std::string_view application, std::string_view section, std::string_view key,
                   std::string_view value) override {
    if (failing) throw host::HostError{75, "Path/File access error"};
    memory_.SaveSetting(application, section, key, value);
  }
  bool failing = false;

 private:
  host::MemorySettingsStore memory_;
};

// Hides the dialog and counts, as the add-in's connection does.
class CountingConnection final : public dialog::Connection {
 public:
  void Hide() noexcept override {
    ++hides;
    try {
      if (form != nullptr) form->Hide();
    } catch (...) {
      ADD_FAILURE() << "the connection could not hide the dialog";
    }
  }
  dialog::FrmAddIn* form = nullptr;
  int hides = 0;
};

// The Windows view, with every change the model is about to make entered in a plan first, when the
// test has given one ("txtPropriete.Text", "chkSet.Value 0").
class PlannedView final : public dialog::FormView {
 public:
  PlannedView(std::unique_ptr<dialog::FormView> window, host::FaultPlan* const& plan)
      : window_(std::move(window)), plan_(plan) {}
  void Show() override { window_->Show(); }
  void Hide() override { window_->Hide(); }
  void Close() noexcept override { window_->Close(); }
  void Changing(ControlId id, dialog::Property what, std::string_view value) override {
    if (plan_ != nullptr) {
      const char* property = what == dialog::Property::kValue     ? ".Value"
                             : what == dialog::Property::kEnabled ? ".Enabled"
                                                                  : ".Text";
      plan_->Enter(std::string{dialog::Name(id)} + property, value);
    }
    window_->Changing(id, what, value);
  }
  void Changed(ControlId id, dialog::Property what) noexcept override { window_->Changed(id, what); }

 private:
  std::unique_ptr<dialog::FormView> window_;
  host::FaultPlan* const& plan_;
};

// A dialog object as the connection makes it, with the real message box and the Windows view.
struct Harness {
  Harness() {
    connection.form = &form;
    form.Connect = &connection;
  }
  Harness(const Harness&) = delete;
  Harness& operator=(const Harness&) = delete;

  platform::win32::MessageBoxUi ui;
  host::FixedClock clock{host::CivilDate{2026, 12, 6}};
  platform::win32::WindowsDateFormatter dates;
  FailingSettings settings;
  host::Platform platform{ui, clock, dates, settings};
  CountingConnection connection;
  host::FaultPlan* plan = nullptr;
  dialog::FrmAddIn form{platform, [this](dialog::FrmAddIn& f) {
                          return std::make_unique<PlannedView>(dialog::win32::MakeWin32View(f), plan);
                        }};
};

// --- Message boxes, read and dismissed by a CBT hook ---------------------------------------------------

// --- Reading and driving the window ---------------------------------------------------------------------

bool HasFocus(ControlId id) {
  HWND focus = ::GetFocus();
  HWND control = Item(id);
  return focus != nullptr && (focus == control || ::IsChild(control, focus));
}

ControlId FocusedControl() {
  for (const dialog::ControlDesign& design : dialog::Designs()) {
    if (HasFocus(design.id)) return design.id;
  }
  return Label7;  // never focused: stands for "none"
}

int Dpi(int axis) {
  HDC screen = ::GetDC(nullptr);
  const int dpi = ::GetDeviceCaps(screen, axis);
  ::ReleaseDC(nullptr, screen);
  return dpi;
}

int Px(long twips, int axis) {
  return ::MulDiv(static_cast<int>(twips), Dpi(axis), 1440);
}

LONG Style(HWND window) {
  return ::GetWindowLongW(window, GWL_STYLE);
}

void SetKey(int key, bool down) {
  BYTE keys[256];
  ::GetKeyboardState(keys);
  keys[key] = down ? 0x80 : 0;
  ::SetKeyboardState(keys);
}

// A key as the keyboard would give it to the focused window: down then up, through the loop.
void PressKey(UINT key, bool shift = false) {
  HWND target = ::GetFocus();
  const UINT scan = ::MapVirtualKeyW(key, MAPVK_VK_TO_VSC);
  if (shift) SetKey(VK_SHIFT, true);
  ::PostMessageW(target, WM_KEYDOWN, key, static_cast<LPARAM>(1 | (scan << 16)));
  ::PostMessageW(target, WM_KEYUP, key, static_cast<LPARAM>(1 | (scan << 16) | (3U << 30)));
  Pump();
  if (shift) SetKey(VK_SHIFT, false);
}

// Alt with a letter key: WM_SYSKEYDOWN, which the loop's TranslateMessage turns into WM_SYSCHAR.
void PressAlt(UINT key) {
  HWND target = ::GetFocus() != nullptr ? ::GetFocus() : Dialog();
  const UINT scan = ::MapVirtualKeyW(key, MAPVK_VK_TO_VSC);
  SetKey(VK_MENU, true);
  ::PostMessageW(target, WM_SYSKEYDOWN, key, static_cast<LPARAM>(1 | (scan << 16) | (1U << 29)));
  ::PostMessageW(target, WM_SYSKEYUP, key, static_cast<LPARAM>(1 | (scan << 16) | (1U << 29) | (3U << 30)));
  Pump();
  SetKey(VK_MENU, false);
}

// A real mouse click on a page's tab.
void ClickTab(int page) {
  HWND tab = Item(SSTab1);
  RECT r{};
  ::SendMessageW(tab, TCM_GETITEMRECT, static_cast<WPARAM>(page), reinterpret_cast<LPARAM>(&r));
  const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  ::PostMessageW(tab, WM_LBUTTONDOWN, MK_LBUTTON, at);
  ::PostMessageW(tab, WM_LBUTTONUP, 0, at);
  Pump();
}

void Show(Harness& h) {
  h.form.Show();
  Pump();
}

// --- The helpers of the view ------------------------------------------------------------------------------

TEST(BoxCatcher, IsInstalled) {
  EXPECT_TRUE(g_catcherInstalled) << "the test's CBT hook is in";
}

TEST(ViewText, LabelsAndMnemonics) {
  struct Case {
    const wchar_t* caption;
    const wchar_t* shown;
  };
  const Case kLabels[] = {
      {L"", L""},
      {L"a\rb", L"a\r\nb"},
      {L"a\r\nb", L"a\r\nb"},
      {L"\r", L"\r\n"},
      {L"\r\r", L"\r\n\r\n"},
      {L"a\n\rb", L"a\n\r\nb"},
      {L"end\r", L"end\r\n"},
  };
  for (const Case& c : kLabels) {
    EXPECT_EQ(dialog::win32::LabelText(c.caption), c.shown) << test::Visible(Narrow(c.caption));
  }
  struct Mnemonic {
    const wchar_t* caption;
    wchar_t key;
    bool has;
  };
  const Mnemonic kMnemonics[] = {
      {L"&Private", L'p', true}, {L"&Private", L'P', true},      {L"&&Private", L'p', false},
      {L"A&&B&c", L'c', true},   {L"A&&B&c", L'b', false},       {L"Plain", L'p', false},
      {L"Trail&", L'&', false},  {L"Fish &&Chips", L'c', false}, {L"Read &only", L'O', true},
      {L"", L'a', false},
  };
  for (const Mnemonic& m : kMnemonics) {
    EXPECT_EQ(dialog::win32::HasMnemonic(m.caption, m.key), m.has) << m.caption << " " << std::wstring{m.key};
  }
}

// --- The window as it opens --------------------------------------------------------------------------------

TEST(Window, AsItOpens) {
  Harness h;
  EXPECT_EQ(Dialog(), static_cast<HWND>(nullptr)) << "no window before Show";
  Show(h);
  HWND window = Dialog();
  ASSERT_NE(window, nullptr) << "Show makes the window, found by class and caption";
  EXPECT_EQ(TextOf(window), std::wstring{L"Penwright"}) << "caption";
  EXPECT_TRUE(::IsWindowVisible(window) != FALSE) << "the window is visible";
  EXPECT_EQ(::GetWindow(window, GW_OWNER), static_cast<HWND>(nullptr)) << "no owner";
  EXPECT_EQ(::GetParent(window), static_cast<HWND>(nullptr)) << "no parent";
  const LONG style = Style(window);
  const LONG ex = ::GetWindowLongW(window, GWL_EXSTYLE);
  EXPECT_EQ(style & WS_CAPTION, static_cast<LONG>(WS_CAPTION)) << "a title bar";
  EXPECT_TRUE((style & WS_SYSMENU) != 0) << "a close box";
  EXPECT_EQ(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_CHILD), 0L)
      << "not resizable, no minimize or maximize box";
  EXPECT_TRUE((ex & WS_EX_TOOLWINDOW) != 0) << "a tool window: not in the task bar";
  EXPECT_TRUE((ex & WS_EX_APPWINDOW) == 0) << "not forced into the task bar";
  EXPECT_TRUE((ex & WS_EX_DLGMODALFRAME) != 0) << "a dialog frame";
  EXPECT_EQ(::GetActiveWindow(), window) << "the window is active";

  RECT client{};
  ::GetClientRect(window, &client);
  EXPECT_EQ(client.right, static_cast<LONG>(Px(dialog::kClientWidth, LOGPIXELSX))) << "client width";
  EXPECT_EQ(client.bottom, static_cast<LONG>(Px(dialog::kClientHeight, LOGPIXELSY))) << "client height";
  RECT outer{};
  ::GetWindowRect(window, &outer);
  const int screenWidth = ::GetSystemMetrics(SM_CXSCREEN);
  const int screenHeight = ::GetSystemMetrics(SM_CYSCREEN);
  EXPECT_EQ(outer.left, static_cast<LONG>((screenWidth - (outer.right - outer.left)) / 2))
      << "centred across";
  EXPECT_EQ(outer.top, static_cast<LONG>((screenHeight - (outer.bottom - outer.top)) / 2)) << "centred down";
  EXPECT_EQ(h.form.ActiveControl(), OKButton) << "the model's focus";
  EXPECT_TRUE(HasFocus(OKButton)) << "OKButton has the focus";
  EXPECT_TRUE(dialog::win32::KeyboardHookInstalled()) << "the keyboard hook is in while a window exists";
  EXPECT_EQ(platform::win32::MessageOwner(), window) << "message boxes belong to the window while it shows";

  h.form.Hide();
  Pump();
  EXPECT_EQ(platform::win32::MessageOwner(), static_cast<HWND>(nullptr)) << "Hide gives the boxes back";
  EXPECT_TRUE(::IsWindowVisible(window) == FALSE) << "Hide hides";
  EXPECT_TRUE(::IsWindow(window) != FALSE) << "Hide keeps the window";
}

// Every control's place: controls on a page stand relative to SSTab1's corner, those in Frame1
// relative to Frame1, which stands on the first page.
TEST(Window, Places) {
  Harness h;
  Show(h);
  HWND window = Dialog();
  const dialog::Place tab = dialog::Design(SSTab1).place;
  const dialog::Place frame = dialog::Design(Frame1).place;
  for (const dialog::ControlDesign& design : dialog::Designs()) {
    long left = design.place.left;
    long top = design.place.top;
    switch (design.container.kind) {
      case dialog::ContainerKind::kWindow:
        break;
      case dialog::ContainerKind::kTabPage:
        left += tab.left;
        top += tab.top;
        break;
      case dialog::ContainerKind::kFrame1:
        left += tab.left + frame.left;
        top += tab.top + frame.top;
        break;
    }
    HWND control = Item(design.id);
    EXPECT_TRUE(control != nullptr) << Named("a child window with its id for", design.id);
    if (control == nullptr) continue;
    EXPECT_EQ(::GetParent(control), window) << Named("parent of", design.id);
    RECT r{};
    ::GetWindowRect(control, &r);
    ::MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, static_cast<LONG>(Px(left, LOGPIXELSX))) << Named("left of", design.id);
    EXPECT_EQ(r.top, static_cast<LONG>(Px(top, LOGPIXELSY))) << Named("top of", design.id);
    EXPECT_EQ(r.right - r.left, static_cast<LONG>(Px(design.place.width, LOGPIXELSX)))
        << Named("width of", design.id);
    EXPECT_EQ(r.bottom - r.top, static_cast<LONG>(Px(design.place.height, LOGPIXELSY)))
        << Named("height of", design.id);
    EXPECT_TRUE((Style(control) & WS_CLIPSIBLINGS) != 0) << Named("WS_CLIPSIBLINGS on", design.id);
    EXPECT_EQ(reinterpret_cast<HGDIOBJ>(::SendMessageW(control, WM_GETFONT, 0, 0)),
              ::GetStockObject(DEFAULT_GUI_FONT))
        << Named("font of", design.id);
  }
  // The tab control lies at the bottom, Frame1 just above it.
  EXPECT_EQ(::GetWindow(Item(SSTab1), GW_HWNDNEXT), static_cast<HWND>(nullptr)) << "SSTab1 at the bottom";
  EXPECT_EQ(::GetWindow(Item(SSTab1), GW_HWNDPREV), Item(Frame1)) << "Frame1 above SSTab1 only";
}

// The kind of each control, as a window class and its style.
TEST(Window, Kinds) {
  Harness h;
  Show(h);
  struct Kind {
    dialog::ControlKind kind;
    const wchar_t* windowClass;
    LONG typeMask;
    LONG type;
  };
  const Kind kKinds[] = {
      {dialog::ControlKind::kTabControl, WC_TABCONTROLW, 0, 0},
      {dialog::ControlKind::kPushButton, L"Button", BS_TYPEMASK, BS_PUSHBUTTON},
      {dialog::ControlKind::kLabel, L"Static", SS_TYPEMASK, SS_LEFT},
      {dialog::ControlKind::kTextBox, L"Edit", ES_MULTILINE | ES_AUTOHSCROLL, ES_AUTOHSCROLL},
      {dialog::ControlKind::kMultiLineTextBox, L"Edit", ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN,
       ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN},
      {dialog::ControlKind::kComboBox, L"ComboBox", 3, CBS_DROPDOWN},
      {dialog::ControlKind::kCheckBox, L"Button", BS_TYPEMASK, BS_CHECKBOX},
      {dialog::ControlKind::kFrame, L"Button", BS_TYPEMASK, BS_GROUPBOX},
  };
  for (const dialog::ControlDesign& design : dialog::Designs()) {
    for (const Kind& k : kKinds) {
      if (k.kind != design.kind) continue;
      wchar_t name[64] = {};
      ::GetClassNameW(Item(design.id), name, 64);
      EXPECT_TRUE(_wcsicmp(name, k.windowClass) == 0) << Named("window class of", design.id);
      EXPECT_EQ(Style(Item(design.id)) & k.typeMask, k.type) << Named("style of", design.id);
    }
  }
  for (const ControlId combo : {cmbType, cmbFuncReturn}) {
    HWND box = Item(combo);
    EXPECT_EQ(::SendMessageW(box, CB_GETCOUNT, 0, 0), static_cast<LRESULT>(11)) << Named("entries of", combo);
    for (std::size_t i = 0; i < dialog::kTypeList.size(); ++i) {
      wchar_t entry[64] = {};
      ::SendMessageW(box, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(entry));
      EXPECT_EQ(std::wstring{entry}, Wide(dialog::kTypeList[i])) << Named("entry of", combo);
    }
  }
  HWND tab = Item(SSTab1);
  EXPECT_EQ(::SendMessageW(tab, TCM_GETITEMCOUNT, 0, 0), static_cast<LRESULT>(4)) << "four pages";
  for (int page = 0; page < 4; ++page) {
    wchar_t caption[64] = {};
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = caption;
    item.cchTextMax = 64;
    ::SendMessageW(tab, TCM_GETITEMW, static_cast<WPARAM>(page), reinterpret_cast<LPARAM>(&item));
    EXPECT_EQ(std::wstring{caption}, Wide(dialog::kPageCaptions[static_cast<std::size_t>(page)]))
        << std::string{"page caption "}.append(1, static_cast<char>('0' + page));
  }
}

// Texts, values, enabled states and what shows, on a newly opened window.
TEST(Window, Opening) {
  Harness h;
  Show(h);
  for (const dialog::ControlDesign& design : dialog::Designs()) {
    std::wstring expected = Wide(design.caption);
    if (design.id == txtNomUtilisateur) expected = L"My name";  // read by Form_Load
    if (design.id == lblTemplates) expected = L"Templates: the built-in set";  // named as the dialog shows
    if (design.id == Label7) {
      expected =
          L"This Addin basically add Let-Get properties to an active module code. It may add automatically "
          L"the PropertyBag variable in COM you build.  You can rather add a Function or a Procedure and "
          L"easilly guess its other features. The basic comments are added to your work and one of two error "
          L"trapping techniques.\r\n\r\nGood programmation.";
    }
    if (design.id == SSTab1) expected = L"";
    EXPECT_EQ(TextOf(Item(design.id)), expected) << Named("text of", design.id);

    const bool disabled =
        design.id == Label8 || design.id == cmbFuncReturn || design.id == Label3 || design.id == txtAideID;
    EXPECT_EQ(::IsWindowEnabled(Item(design.id)) != FALSE, !disabled) << Named("enabled", design.id);
    const bool onFirstPage = design.container.kind == dialog::ContainerKind::kWindow ||
                             design.container.page == dialog::kPagePropriety;
    EXPECT_EQ(::IsWindowVisible(Item(design.id)) != FALSE, onFirstPage) << Named("visible", design.id);
    if (design.kind == dialog::ControlKind::kCheckBox) {
      EXPECT_EQ(::SendMessageW(Item(design.id), BM_GETCHECK, 0, 0), static_cast<LRESULT>(BST_UNCHECKED))
          << Named("unchecked", design.id);
    }
  }
  EXPECT_EQ(::SendMessageW(Item(SSTab1), TCM_GETCURSEL, 0, 0), static_cast<LRESULT>(0)) << "first page";
}

// --- The check boxes' interlocks, clicked on the window ----------------------------------------------------

TEST(Window, Clicks) {
  const Ids kReturnType = {Label8, cmbFuncReturn};
  const Ids kNine = {chkFonction,  chkFriend,          chkHide,    chkLectureSeule, chkSet, chkPrive,
                     chkProcedure, chkPropertyChanged, chkStatique};
  const Ids kCommentsOnly = {Frame1, txtPropriete, Label1, Label8, cmbFuncReturn};
  auto with = [](Ids ids, const Ids& more) {
    ids.insert(more.begin(), more.end());
    return ids;
  };
  struct Sequence {
    const char* name;
    std::vector<ControlId> clicks;
    Ids checked;
    Ids disabled;  // among the boxes, Frame1, txtPropriete, Label1, Label8 and cmbFuncReturn
  };
  const Sequence kSequences[] = {
      {"nothing", {}, {}, kReturnType},
      {"function", {chkFonction}, {chkFonction}, {chkSet, chkPropertyChanged, chkLectureSeule, chkProcedure}},
      {"function twice", {chkFonction, chkFonction}, {}, kReturnType},
      {"private", {chkPrive}, {chkPrive}, with({chkFriend}, kReturnType)},
      {"friend", {chkFriend}, {chkFriend}, with({chkPrive}, kReturnType)},
      {"sub",
       {chkProcedure},
       {chkProcedure},
       with({chkSet, chkPropertyChanged, chkFonction, chkLectureSeule}, kReturnType)},
      {"set and changed",
       {chkSet, chkPropertyChanged},
       {chkSet, chkPropertyChanged},
       with({chkFonction, chkProcedure, chkLectureSeule}, kReturnType)},
      {"read only",
       {chkLectureSeule},
       {chkLectureSeule},
       with({chkSet, chkPropertyChanged, chkFonction, chkProcedure}, kReturnType)},
      {"disabled box ignores its click",
       {chkFonction, chkSet},
       {chkFonction},
       {chkSet, chkPropertyChanged, chkLectureSeule, chkProcedure}},
      {"comments only", {chkComment}, {chkComment}, with(kNine, kCommentsOnly)},
      {"comments after function", {chkFonction, chkComment}, {chkComment}, with(kNine, kCommentsOnly)},
      {"comments keep resume next",
       {chkResumeNext, chkComment},
       {chkResumeNext, chkComment},
       with(kNine, kCommentsOnly)},
      {"comments and back", {chkComment, chkComment}, {}, kReturnType},
      {"hide static resume",
       {chkHide, chkStatique, chkResumeNext},
       {chkHide, chkStatique, chkResumeNext},
       kReturnType},
  };
  const ControlId kInFrame[] = {Label4, txtVariable, Label5, cmbType, Label8, cmbFuncReturn};
  for (const Sequence& s : kSequences) {
    Harness h;
    Show(h);
    for (const ControlId id : s.clicks) Click(id);
    SCOPED_TRACE(std::string{"clicks \""} + s.name + '"');
    for (const ControlId box : dialog::kCheckBoxes) {
      EXPECT_EQ(IsChecked(box), s.checked.count(box) == 1) << Named("checked", box);
      EXPECT_EQ(IsChecked(box), h.form.Value(box) == 1) << Named("checked as in the model", box);
      EXPECT_EQ(::IsWindowEnabled(Item(box)) != FALSE, s.disabled.count(box) == 0) << Named("enabled", box);
    }
    for (const ControlId other : {Frame1, txtPropriete, Label1}) {
      EXPECT_EQ(::IsWindowEnabled(Item(other)) != FALSE, s.disabled.count(other) == 0)
          << Named("enabled", other);
    }
    // Inside Frame1, a control is usable only when it and the frame are enabled.
    const bool frameEnabled = s.disabled.count(Frame1) == 0;
    for (const ControlId inside : kInFrame) {
      const bool expected = frameEnabled && s.disabled.count(inside) == 0;
      EXPECT_EQ(::IsWindowEnabled(Item(inside)) != FALSE, expected) << Named("enabled", inside);
      EXPECT_EQ(::IsWindowEnabled(Item(inside)) != FALSE, h.form.CanUse(inside))
          << Named("enabled as in the model", inside);
    }
    if (!s.clicks.empty() && s.disabled.count(s.clicks.back()) == 0) {
      EXPECT_TRUE(HasFocus(s.clicks.back())) << Named("the clicked box has the focus", s.clicks.back());
      EXPECT_EQ(h.form.ActiveControl(), s.clicks.back()) << Named("the model's focus", s.clicks.back());
    }
  }
}

// --- Typing and picking
// -------------------------------------------------------------------------------------

size_t Count(const host::FaultPlan& plan, std::string_view call) {
  size_t n = 0;
  for (const std::string& c : plan.calls()) n += c == call ? 1U : 0U;
  return n;
}

TEST(Window, Typing) {
  Harness h;
  Show(h);
  host::FaultPlan plan;
  h.plan = &plan;
  HWND edit = Item(txtPropriete);
  ::SetFocus(edit);
  Pump();
  EXPECT_EQ(h.form.ActiveControl(), txtPropriete) << "focus arriving in a text box reaches the model";
  plan.ClearCalls();
  const std::wstring_view typed = L"Tit\x00FCle";
  std::string expected;
  for (const wchar_t c : typed) {
    Type(edit, std::wstring_view{&c, 1});
    expected += Narrow(std::wstring_view{&c, 1});
    EXPECT_EQ(h.form.Text(txtPropriete), expected) << "the model follows each character";
  }
  EXPECT_EQ(TextOf(edit), std::wstring{typed}) << "the text box shows what was typed";
  EXPECT_EQ(Count(plan, "txtPropriete.Text"), typed.size()) << "each change reaches the model once";
  Type(edit, L"\b");
  EXPECT_EQ(h.form.Text(txtPropriete), std::string{"Tit\xC3\xBCl"}) << "backspace reaches the model";
  EXPECT_EQ(Count(plan, "txtPropriete.Text"), typed.size() + 1) << "and once";

  // A text set by code shows, and is not reported back.
  plan.ClearCalls();
  h.form.SetText(txtVariable, "Count");
  Pump();
  EXPECT_EQ(TextOf(Item(txtVariable)), std::wstring{L"Count"}) << "a text set by code shows";
  EXPECT_EQ(plan.calls().size(), static_cast<size_t>(1)) << "and is not reported back";
  h.form.SetText(Label1, "Na&me");
  EXPECT_EQ(TextOf(Item(Label1)), std::wstring{L"Na&me"}) << "a caption set by code shows";

  // Picking an entry with the mouse from the dropped list of cmbType.
  plan.ClearCalls();
  HWND combo = Item(cmbType);
  ::SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
  Pump();
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  ::GetComboBoxInfo(combo, &info);
  RECT item{};
  ::SendMessageW(info.hwndList, LB_GETITEMRECT, 6, reinterpret_cast<LPARAM>(&item));
  const LPARAM at = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
  ::PostMessageW(info.hwndList, WM_MOUSEMOVE, 0, at);
  ::PostMessageW(info.hwndList, WM_LBUTTONDOWN, MK_LBUTTON, at);
  ::PostMessageW(info.hwndList, WM_LBUTTONUP, 0, at);
  Pump();
  EXPECT_EQ(h.form.Text(cmbType), std::string{"Long"}) << "a picked entry reaches the model";
  EXPECT_EQ(TextOf(combo), std::wstring{L"Long"}) << "and shows in the field";
  EXPECT_EQ(Count(plan, "cmbType.Text"), static_cast<size_t>(1)) << "once";
  // Typing in the field of a combo box.
  HWND field = info.hwndItem;
  ::SendMessageW(field, EM_SETSEL, 0, -1);
  Type(field, L"X");
  EXPECT_EQ(h.form.Text(cmbType), std::string{"X"}) << "typing in a combo box reaches the model";
  // A disabled combo box takes nothing.
  EXPECT_TRUE(::IsWindowEnabled(Item(cmbFuncReturn)) == FALSE) << "cmbFuncReturn is disabled";
  h.plan = nullptr;
}

// --- Pages
// -------------------------------------------------------------------------------------------------------

TEST(Window, Pages) {
  Harness h;
  Show(h);
  for (const int page : {1, 2, 3, 0, 2}) {
    ClickTab(page);
    const std::string name = "page " + std::to_string(page) + ": ";
    EXPECT_EQ(::SendMessageW(Item(SSTab1), TCM_GETCURSEL, 0, 0), static_cast<LRESULT>(page))
        << name + "selected";
    EXPECT_EQ(h.form.SelectedPage(), page) << name + "selected in the model";
    for (const dialog::ControlDesign& design : dialog::Designs()) {
      bool showing = design.container.kind == dialog::ContainerKind::kWindow || design.container.page == page;
      if (design.id == Label3 || design.id == txtAideID) showing = false;
      EXPECT_EQ(::IsWindowVisible(Item(design.id)) != FALSE, showing) << Named(name + "visible", design.id);
    }
  }
  EXPECT_TRUE(HasFocus(SSTab1)) << "the clicked tab control has the focus";
  EXPECT_EQ(h.form.ActiveControl(), SSTab1) << "in the model too";
}

// --- Keys
// ----------------------------------------------------------------------------------------------------

TEST(Keys, Tab) {
  Harness h;
  Show(h);
  const ControlId kForward[] = {
      CancelButton, SSTab1,       txtPropriete,       chkPrive,        chkFriend,   chkSet,
      chkFonction,  chkProcedure, chkPropertyChanged, chkLectureSeule, chkStatique, chkResumeNext,
      chkHide,      chkComment,   txtVariable,        cmbType,         OKButton};
  EXPECT_TRUE(HasFocus(OKButton)) << "Tab starts from OKButton";
  for (const ControlId next : kForward) {
    PressKey(VK_TAB);
    EXPECT_EQ(std::string{dialog::Name(FocusedControl())}, std::string{dialog::Name(next)}) << "Tab goes on";
    EXPECT_EQ(h.form.ActiveControl(), next) << Named("Tab in the model to", next);
  }
  const ControlId kBackward[] = {cmbType, txtVariable, chkComment};
  for (const ControlId next : kBackward) {
    PressKey(VK_TAB, true);
    EXPECT_EQ(std::string{dialog::Name(FocusedControl())}, std::string{dialog::Name(next)})
        << "Shift+Tab goes back";
  }
  EXPECT_EQ(TextOf(Item(txtVariable)), std::wstring{}) << "Tab typed nothing in txtVariable";

  // A multi-line text box gives up the focus to Tab too, and takes no tab character.
  ClickTab(dialog::kPageDescription);
  ::SetFocus(Item(txtUsage));
  Pump();
  EXPECT_EQ(h.form.ActiveControl(), txtUsage) << "focus in txtUsage";
  PressKey(VK_TAB);
  EXPECT_EQ(std::string{dialog::Name(FocusedControl())}, std::string{"OKButton"}) << "Tab leaves txtUsage";
  EXPECT_EQ(TextOf(Item(txtUsage)), std::wstring{L"Description of its utility\r\n"}) << "no tab in txtUsage";

  // Enter and Escape press no button.
  ClickTab(dialog::kPagePropriety);
  for (const ControlId at : {OKButton, CancelButton, txtPropriete}) {
    h.form.UserFocus(at);
    Pump();
    PressKey(VK_RETURN);
    PressKey(VK_ESCAPE);
    EXPECT_TRUE(::IsWindowVisible(Dialog()) != FALSE)
        << Named("Enter and Escape leave the window up, from", at);
  }
  EXPECT_EQ(h.connection.hides, 0) << "Escape is not Cancel";
  EXPECT_EQ(g_boxes.size(), static_cast<size_t>(0))
      << "Enter is not OK (which would report the missing name)";
  EXPECT_EQ(TextOf(Item(txtPropriete)), std::wstring{}) << "no character from Enter or Escape";
}

TEST(Keys, Mnemonics) {
  Harness h;
  Show(h);
  h.form.SetText(chkPrive, "&Private");
  h.form.SetText(Label4, "&Name");
  h.form.SetText(chkHide, "Fish &&Chips");
  Pump();
  EXPECT_EQ(TextOf(Item(chkPrive)), std::wstring{L"&Private"}) << "the mnemonic's caption shows";
  PressAlt('P');
  EXPECT_TRUE(IsChecked(chkPrive)) << "Alt+P clicks &Private";
  EXPECT_EQ(h.form.Value(chkPrive), 1) << "once, in the model";
  EXPECT_TRUE(::IsWindowEnabled(Item(chkFriend)) == FALSE) << "and its reaction runs";
  EXPECT_TRUE(HasFocus(chkPrive)) << "and takes the focus";
  PressAlt('N');
  EXPECT_EQ(std::string{dialog::Name(FocusedControl())}, std::string{"txtVariable"})
      << "Alt+N on a label focuses the next control";
  PressAlt('C');
  EXPECT_FALSE(IsChecked(chkHide)) << "&& is a literal ampersand: Alt+C clicks nothing";
  PressAlt('P');
  EXPECT_FALSE(IsChecked(chkPrive)) << "Alt+P again clears &Private";
  EXPECT_EQ(TextOf(Item(txtVariable)), std::wstring{}) << "no mnemonic reaches a text box as a character";
  // Alt+F4 is not a mnemonic: it still closes, as the close box does.
  PressAlt(VK_F4);
  EXPECT_EQ(h.connection.hides, 1) << "Alt+F4 still closes";
  EXPECT_TRUE(::IsWindowVisible(Dialog()) == FALSE) << "Alt+F4 hides the window";
}

// --- Closing, hiding, unloading
// -------------------------------------------------------------------------------

TEST(Window, Closing) {
  Harness h;
  Show(h);
  HWND first = Dialog();
  Type(Item(txtPropriete), L"Title");
  Click(chkFonction);
  ::SendMessageW(first, WM_SYSCOMMAND, SC_CLOSE, 0);
  Pump();
  EXPECT_EQ(h.connection.hides, 1) << "the close box asks the connection to hide";
  EXPECT_TRUE(::IsWindow(first) != FALSE) << "the close box keeps the window";
  EXPECT_TRUE(::IsWindowVisible(first) == FALSE) << "the close box hides it";
  EXPECT_FALSE(h.form.Visible()) << "the model knows";

  h.form.Show();
  Pump();
  EXPECT_EQ(Dialog(), first) << "Show after Hide shows the same window";
  EXPECT_TRUE(::IsWindowVisible(first) != FALSE) << "on screen again";
  EXPECT_EQ(TextOf(Item(txtPropriete)), std::wstring{L"Title"}) << "its text stays";
  EXPECT_TRUE(IsChecked(chkFonction)) << "its check box stays";
  EXPECT_TRUE(::IsWindowEnabled(Item(cmbFuncReturn)) != FALSE) << "its enabled states stay";

  // Unload closes the window; the next Show makes a fresh one, centred, as designed.
  ::SetWindowPos(first, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  h.form.Unload();
  Pump();
  EXPECT_TRUE(::IsWindow(first) == FALSE) << "Unload destroys the window";
  EXPECT_EQ(Dialog(), static_cast<HWND>(nullptr)) << "no window after Unload";
  EXPECT_FALSE(dialog::win32::KeyboardHookInstalled()) << "the keyboard hook goes with the last window";
  EXPECT_EQ(platform::win32::MessageOwner(), static_cast<HWND>(nullptr)) << "boxes no longer go to it";
  h.form.Show();
  Pump();
  HWND second = Dialog();
  EXPECT_TRUE(second != nullptr && second != first) << "a new Show makes a new window";
  RECT outer{};
  ::GetWindowRect(second, &outer);
  EXPECT_EQ(outer.left, static_cast<LONG>((::GetSystemMetrics(SM_CXSCREEN) - (outer.right - outer.left)) / 2))
      << "the new window is centred";
  EXPECT_EQ(TextOf(Item(txtPropriete)), std::wstring{}) << "with the design's text";
  EXPECT_FALSE(IsChecked(chkFonction)) << "and values";
  EXPECT_TRUE(::IsWindowEnabled(Item(cmbFuncReturn)) == FALSE) << "and enabled states";
  EXPECT_TRUE(HasFocus(OKButton)) << "and the focus on OKButton";
}

// The focus comes back to the model's control when the window is activated again.
TEST(Window, Activation) {
  Harness h;
  Show(h);
  Click(chkSet);
  HWND other = ::CreateWindowExW(0, L"Static", L"other", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr,
                                 nullptr, nullptr, nullptr);
  ::SetActiveWindow(other);
  Pump();
  EXPECT_FALSE(HasFocus(chkSet)) << "another window took the focus";
  ::SetActiveWindow(Dialog());
  Pump();
  EXPECT_TRUE(HasFocus(chkSet)) << "activation gives the focus back to the model's control";
  ::DestroyWindow(other);
  Pump();
}

// A failure while the dialog shows reports in a real message box owned by the dialog.
TEST(Window, MessageBox) {
  Harness h;
  Show(h);
  ClickTab(dialog::kPageUser);
  h.settings.failing = true;
  g_boxes.clear();
  Click(cmdChanger);
  EXPECT_EQ(g_boxes.size(), static_cast<size_t>(1)) << "a failing cmdChanger shows one box";
  if (g_boxes.size() == 1) {
    EXPECT_EQ(g_boxes[0].title, std::wstring{L"cmdChanger_Click"}) << "its title";
    EXPECT_EQ(g_boxes[0].text, std::wstring{L"Path/File access error"}) << "its text";
    EXPECT_EQ(g_boxes[0].owner, Dialog()) << "owned by the dialog";
  }
  h.settings.failing = false;
  g_boxes.clear();
  ::SendMessageW(Item(txtNomUtilisateur), EM_SETSEL, 7, 7);  // the caret after "My name"
  Type(Item(txtNomUtilisateur), L"!");
  Click(cmdChanger);
  EXPECT_EQ(g_boxes.size(), static_cast<size_t>(0)) << "a working cmdChanger shows nothing";
  EXPECT_EQ(h.settings.GetSetting("Scrivlet", "Identification", "Programmer", "<none>"),
            std::string{"My name!"})
      << "and stores the name as typed";
}

// --- Screenshots
// -------------------------------------------------------------------------------------------------

bool SavePng(HBITMAP bitmap, int width, int height, const std::wstring& path) {
  using platform::win32::ComPtr;
  ComPtr<IWICImagingFactory> factory;
  if (FAILED(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IWICImagingFactory, reinterpret_cast<void**>(factory.put())))) {
    return false;
  }
  ComPtr<IWICBitmap> image;
  if (FAILED(factory->CreateBitmapFromHBITMAP(bitmap, nullptr, WICBitmapIgnoreAlpha, image.put())))
    return false;
  ComPtr<IWICStream> stream;
  if (FAILED(factory->CreateStream(stream.put())) ||
      FAILED(stream->InitializeFromFilename(path.c_str(), GENERIC_WRITE))) {
    return false;
  }
  ComPtr<IWICBitmapEncoder> encoder;
  if (FAILED(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.put())) ||
      FAILED(encoder->Initialize(stream.get(), WICBitmapEncoderNoCache))) {
    return false;
  }
  ComPtr<IWICBitmapFrameEncode> frame;
  if (FAILED(encoder->CreateNewFrame(frame.put(), nullptr)) || FAILED(frame->Initialize(nullptr)))
    return false;
  WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
  if (FAILED(frame->SetSize(static_cast<UINT>(width), static_cast<UINT>(height))) ||
      FAILED(frame->SetPixelFormat(&format)) || FAILED(frame->WriteSource(image.get(), nullptr)) ||
      FAILED(frame->Commit()) || FAILED(encoder->Commit())) {
    return false;
  }
  return true;
}

// The window as it is on the screen, title bar included.
bool Screenshot(const std::wstring& path) {
  HWND window = Dialog();
  ::RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  Pump();
  ::GdiFlush();
  ::Sleep(300);  // lets the X server draw what Wine sent it; nothing is measured
  Pump();
  RECT r{};
  ::GetWindowRect(window, &r);
  const int width = r.right - r.left;
  const int height = r.bottom - r.top;
  HDC screen = ::GetDC(nullptr);
  HDC memory = ::CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = ::SelectObject(memory, bitmap);
  const bool copied = ::BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY) != FALSE;
  ::SelectObject(memory, old);
  const bool saved = copied && SavePng(bitmap, width, height, path);
  ::DeleteObject(bitmap);
  ::DeleteDC(memory);
  ::ReleaseDC(nullptr, screen);
  return saved;
}

TEST(Screenshots, SavedInTheFolderGiven) {
  if (g_screenshots.empty()) GTEST_SKIP() << "no folder given";
  const std::wstring& folder = g_screenshots;
  Harness h;
  Show(h);
  EXPECT_TRUE(Screenshot(folder + L"\\dialog-propriety.png")) << "screenshot of the first page";
  Click(chkFonction);
  h.form.UserFocus(OKButton);
  Pump();
  EXPECT_TRUE(Screenshot(folder + L"\\dialog-function.png")) << "screenshot with Function checked";
}

// Last: nothing is left over from the tests above.
TEST(AfterEveryTest, NoBoxButTheOnesExpectedAndNoWindowLeft) {
  EXPECT_EQ(g_boxes.size(), 0U) << "no message box shown but the ones expected";
  EXPECT_EQ(Dialog(), static_cast<HWND>(nullptr)) << "every window is gone with its dialog";
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  testing::InitGoogleTest(&argc, argv);
  if (argc > 1) g_screenshots = argv[1];
  ::CoInitialize(nullptr);
  const test::BoxCatcher catcher;
  g_catcherInstalled = catcher.installed();
  const int status = RUN_ALL_TESTS();
  ::CoUninitialize();
  return status;
}
