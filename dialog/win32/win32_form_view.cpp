// dialog/win32/win32_form_view.cpp: the dialog's top-level window and its child controls, drawn from the
// model, with the programmer's clicks, edits, page changes, focus moves and keys reported back to it.
#include "dialog/win32/win32_form_view.h"

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "dialog/frm_add_in.h"
#include "dialog/win32/keyboard_hook.h"
#include "dialog/win32/view_text.h"
#include "host/host_error.h"
#include "host/vb_errors.h"
#include "platform/win32/com_handles.h"
#include "platform/win32/message_box_ui.h"
#include "platform/win32/wide.h"

namespace dialog::win32 {
namespace {

using platform::win32::Narrow;
using platform::win32::Wide;

// Counts the changes the view is applying: the notifications they raise (SetWindowText sends
// EN_CHANGE at once, SetFocus sends EN_SETFOCUS) are the view's own and go back to nobody.
class Applying {
 public:
  explicit Applying(int& depth) noexcept : depth_(depth) { ++depth_; }
  ~Applying() { --depth_; }
  Applying(const Applying&) = delete;
  Applying& operator=(const Applying&) = delete;

 private:
  int& depth_;
};

// The module that holds this code (the add-in's DLL, or a test program), owner of the window class.
HINSTANCE ThisModule() noexcept {
  static const int anchor = 0;
  HMODULE module = nullptr;
  ::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&anchor), &module);
  return module;
}

struct ChildClass {
  const wchar_t* name;
  DWORD style;
  DWORD exStyle;
};

// Check boxes are plain BS_CHECKBOX, not automatic: a click only reports, and the model decides the
// value. BS_NOTIFY makes buttons report the focus they receive.
ChildClass ClassOf(ControlKind kind) noexcept {
  switch (kind) {
    case ControlKind::kTabControl:
      return {WC_TABCONTROLW, WS_TABSTOP, 0};
    case ControlKind::kPushButton:
      return {WC_BUTTONW, BS_PUSHBUTTON | BS_NOTIFY | WS_TABSTOP, 0};
    case ControlKind::kLabel:
      return {WC_STATICW, SS_LEFT, 0};
    case ControlKind::kTextBox:
      return {WC_EDITW, ES_LEFT | ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE};
    case ControlKind::kMultiLineTextBox:
      return {WC_EDITW, ES_LEFT | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | WS_TABSTOP,
              WS_EX_CLIENTEDGE};
    case ControlKind::kComboBox:
      return {WC_COMBOBOXW, CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP, 0};
    case ControlKind::kCheckBox:
      return {WC_BUTTONW, BS_CHECKBOX | BS_NOTIFY | WS_TABSTOP, 0};
    case ControlKind::kFrame:
      return {WC_BUTTONW, BS_GROUPBOX, 0};
  }
  return {WC_STATICW, 0, 0};
}

bool HoldsText(ControlKind kind) noexcept {
  return kind == ControlKind::kTextBox || kind == ControlKind::kMultiLineTextBox ||
         kind == ControlKind::kComboBox;
}

// Whether `inner` stands inside `outer`, so that `outer`'s enabled state also decides `inner`'s.
bool Contains(ControlId outer, ControlId inner) noexcept {
  const ContainerKind kind = Design(inner).container.kind;
  if (outer == ControlId::Frame1) return kind == ContainerKind::kFrame1;
  if (outer == ControlId::SSTab1) return kind != ContainerKind::kWindow;
  return false;
}

std::wstring WindowText(HWND window) {
  const int length = ::GetWindowTextLengthW(window);
  std::wstring text(static_cast<std::size_t>(std::max(length, 0)) + 1, L'\0');
  const int copied = ::GetWindowTextW(window, text.data(), static_cast<int>(text.size()));
  text.resize(static_cast<std::size_t>(std::max(copied, 0)));
  return text;
}

void SetTextIfDifferent(HWND window, const std::wstring& text) {
  if (WindowText(window) != text) ::SetWindowTextW(window, text.c_str());
}

bool HasStyle(HWND window, DWORD style) noexcept {
  return (static_cast<DWORD>(::GetWindowLongW(window, GWL_STYLE)) & style) != 0;
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK TabProc(HWND tab, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR view);

class Win32FormView final : public FormView, public KeyboardTarget {
 public:
  explicit Win32FormView(FrmAddIn& form) : form_(form) {}
  ~Win32FormView() override { Close(); }
  Win32FormView(const Win32FormView&) = delete;
  Win32FormView& operator=(const Win32FormView&) = delete;

  void Show() override;
  void Hide() override;
  void Close() noexcept override;
  void Changed(ControlId id, Property what) noexcept override;

  HWND Window() const noexcept override { return hwnd_; }
  bool Tab(bool backwards) noexcept override;
  bool Mnemonic(wchar_t key) noexcept override;

  void Attach(HWND window) noexcept { hwnd_ = window; }
  // The tab control received the focus.
  void TabFocused() noexcept {
    if (applying_ == 0) form_.UserFocus(ControlId::SSTab1);
  }
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam) noexcept;

 private:
  void Create();
  void CreateControls(int dpiX, int dpiY);
  HWND Control(ControlId id) const noexcept { return controls_[Index(id)]; }
  std::optional<ControlId> IdOf(int windowId) const noexcept;

  void RenderAll();
  void RenderCaption(ControlId id);
  void RenderValue(ControlId id) noexcept;
  void RenderEnabled(ControlId id) noexcept;
  void RenderVisibility() noexcept;
  void RenderPage() noexcept;
  void RenderFocus() noexcept;

  void OnCommand(int windowId, UINT code) noexcept;
  void OnNotify(const NMHDR& header) noexcept;
  void ReportEdit(ControlId id) noexcept;
  void Forget() noexcept;

  FrmAddIn& form_;
  HWND hwnd_ = nullptr;
  std::array<HWND, kControlCount> controls_{};
  int applying_ = 0;
};

// --- The window ------------------------------------------------------------------------------------

void RegisterWindowClass() {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = ThisModule();
  wc.hCursor = ::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
  wc.lpszClassName = kWindowClass;
  if (::RegisterClassExW(&wc) == 0 && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
    throw host::HostError{host::kErrInvalidCall, "The dialog's window class could not be registered"};
  }
}

void Win32FormView::Create() {
  INITCOMMONCONTROLSEX common{sizeof common, ICC_TAB_CLASSES | ICC_STANDARD_CLASSES};
  ::InitCommonControlsEx(&common);
  RegisterWindowClass();

  int dpiX = 0;
  int dpiY = 0;
  {
    const platform::win32::UniqueWindowDc screen = platform::win32::WindowDc(nullptr);
    dpiX = ::GetDeviceCaps(screen.get(), LOGPIXELSX);
    dpiY = ::GetDeviceCaps(screen.get(), LOGPIXELSY);
  }

  // A fixed dialog border (WS_CAPTION is WS_BORDER | WS_DLGFRAME, no WS_THICKFRAME), a close box and
  // no minimize or maximize box. A window with no owner appears in the task bar unless it is a tool
  // window, so WS_EX_TOOLWINDOW keeps it out.
  constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;
  constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_TOOLWINDOW | WS_EX_CONTROLPARENT;
  RECT frame{0, 0, Pixels(kClientWidth, dpiX), Pixels(kClientHeight, dpiY)};
  ::AdjustWindowRectEx(&frame, kStyle, FALSE, kExStyle);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  const int left = (::GetSystemMetrics(SM_CXSCREEN) - width) / 2;
  const int top = (::GetSystemMetrics(SM_CYSCREEN) - height) / 2;

  const std::wstring caption = Wide(kFormCaption);
  HWND window = ::CreateWindowExW(kExStyle, kWindowClass, caption.c_str(), kStyle, left, top, width, height,
                                  nullptr, nullptr, ThisModule(), this);
  if (window == nullptr) {
    hwnd_ = nullptr;
    throw host::HostError{host::kErrInvalidCall, "The dialog's window could not be created"};
  }
  try {
    CreateControls(dpiX, dpiY);
    RenderAll();
    AddKeyboardTarget(this);
  } catch (...) {
    ::DestroyWindow(window);
    throw;
  }
}

void Win32FormView::CreateControls(int dpiX, int dpiY) {
  auto font = reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT));
  for (const ControlDesign& design : Designs()) {
    const ChildClass type = ClassOf(design.kind);
    const Place place = WindowPlace(design.id);
    const int left = Pixels(place.left, dpiX);
    const int top = Pixels(place.top, dpiY);
    const int width = Pixels(place.width, dpiX);
    const int height = Pixels(place.height, dpiY);
    HWND control = ::CreateWindowExW(
        type.exStyle, type.name, L"", WS_CHILD | WS_CLIPSIBLINGS | type.style, left, top, width, height,
        hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(ControlWindowId(design.id))), ThisModule(),
        nullptr);
    if (control == nullptr) {
      throw host::HostError{host::kErrInvalidCall, "A control of the dialog could not be created"};
    }
    controls_[Index(design.id)] = control;
    ::SendMessageW(control, WM_SETFONT, font, FALSE);

    if (design.kind == ControlKind::kTabControl) {
      for (std::size_t page = 0; page < kPageCaptions.size(); ++page) {
        std::wstring text = Wide(kPageCaptions[page]);
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = text.data();
        ::SendMessageW(control, TCM_INSERTITEMW, page, reinterpret_cast<LPARAM>(&item));
      }
      // Not every tab control sends NM_SETFOCUS, so the view watches its WM_SETFOCUS itself (and
      // paints its page, below).
      ::SetWindowSubclass(control, TabProc, 1, reinterpret_cast<DWORD_PTR>(this));
    }
    if (design.kind == ControlKind::kComboBox) {
      for (const std::string_view entry : form_.List(design.id)) {
        const std::wstring text = Wide(entry);
        ::SendMessageW(control, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
      }
      // The closed combo box takes the height of its place, through the height of its selection
      // field; the window's own height is that of the dropped list, which shows every entry.
      // The field's height and the window's are not in the same measure on every system, so the
      // field is adjusted until the window has the place's height.
      int field = static_cast<int>(::SendMessageW(control, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0));
      for (int attempt = 0; attempt < 4; ++attempt) {
        RECT closed{};
        ::GetWindowRect(control, &closed);
        const int missing = height - (closed.bottom - closed.top);
        if (missing == 0 || field + missing <= 0) break;
        field += missing;
        ::SendMessageW(control, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), field);
      }
      const auto item = static_cast<int>(::SendMessageW(control, CB_GETITEMHEIGHT, 0, 0));
      const int entries = static_cast<int>(form_.List(design.id).size());
      ::SetWindowPos(control, nullptr, 0, 0, width, height + item * entries + 2,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
  }
  // Every control is a child of the window itself, so that its notifications come here. The tab
  // control lies under everything and Frame1 under everything but the tab control; with
  // WS_CLIPSIBLINGS, neither paints over the controls that stand on them.
  constexpr UINT kOnlyOrder = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
  ::SetWindowPos(Control(ControlId::Frame1), HWND_BOTTOM, 0, 0, 0, 0, kOnlyOrder);
  ::SetWindowPos(Control(ControlId::SSTab1), HWND_BOTTOM, 0, 0, 0, 0, kOnlyOrder);
}

void Win32FormView::Show() {
  if (hwnd_ == nullptr) {
    Applying applying{applying_};
    Create();
  }
  Applying applying{applying_};
  ::ShowWindow(hwnd_, SW_SHOW);
  ::SetForegroundWindow(hwnd_);
  ::SetActiveWindow(hwnd_);
  RenderFocus();
  platform::win32::SetMessageOwner(hwnd_);
}

void Win32FormView::Hide() {
  if (hwnd_ == nullptr) return;
  Applying applying{applying_};
  ::ShowWindow(hwnd_, SW_HIDE);
  if (platform::win32::MessageOwner() == hwnd_) platform::win32::SetMessageOwner(nullptr);
}

void Win32FormView::Close() noexcept {
  if (hwnd_ == nullptr) return;
  Applying applying{applying_};
  ::DestroyWindow(hwnd_);  // WM_NCDESTROY forgets the handles
}

// The window is gone: nothing of it is kept, and boxes no longer go to it.
void Win32FormView::Forget() noexcept {
  RemoveKeyboardTarget(this);
  if (platform::win32::MessageOwner() == hwnd_) platform::win32::SetMessageOwner(nullptr);
  hwnd_ = nullptr;
  controls_.fill(nullptr);
}

// --- Drawing the model -------------------------------------------------------------------------------

void Win32FormView::Changed(ControlId id, Property what) noexcept {
  if (hwnd_ == nullptr) return;  // the next window is drawn whole when it is made
  Applying applying{applying_};
  try {
    switch (what) {
      case Property::kCaption:
        RenderCaption(id);
        break;
      case Property::kValue:
        RenderValue(id);
        break;
      case Property::kEnabled:
        RenderEnabled(id);
        break;
      case Property::kVisible:
        RenderVisibility();
        break;
      case Property::kSelectedPage:
        RenderPage();
        break;
      case Property::kFocus:
        RenderFocus();
        break;
    }
  } catch (...) {
    // Memory is exhausted: the control keeps what it showed.
  }
}

void Win32FormView::RenderAll() {
  for (const ControlDesign& design : Designs()) {
    RenderCaption(design.id);
    RenderValue(design.id);
    RenderEnabled(design.id);
  }
  RenderPage();
}

void Win32FormView::RenderCaption(ControlId id) {
  const ControlKind kind = Design(id).kind;
  if (kind == ControlKind::kTabControl) return;  // its page captions are fixed
  const std::wstring text = Wide(form_.Text(id));
  // A text box keeps its caret unless its text really changes.
  SetTextIfDifferent(Control(id), kind == ControlKind::kLabel ? LabelText(text) : text);
}

void Win32FormView::RenderValue(ControlId id) noexcept {
  if (Design(id).kind != ControlKind::kCheckBox) return;
  const int value = form_.Value(id);
  const WPARAM check = value == 1 ? BST_CHECKED : value == 2 ? BST_INDETERMINATE : BST_UNCHECKED;
  ::SendMessageW(Control(id), BM_SETCHECK, check, 0);
}

// A control is enabled on screen when the model lets the programmer use it, so the controls inside
// Frame1 (and on the pages of SSTab1) follow their container.
void Win32FormView::RenderEnabled(ControlId id) noexcept {
  for (const ControlDesign& design : Designs()) {
    if (design.id != id && !Contains(id, design.id)) continue;
    HWND control = Control(design.id);
    const bool usable = form_.CanUse(design.id);
    if ((::IsWindowEnabled(control) != FALSE) != usable) ::EnableWindow(control, usable ? TRUE : FALSE);
  }
}

void Win32FormView::RenderVisibility() noexcept {
  for (const ControlDesign& design : Designs()) {
    HWND control = Control(design.id);
    const bool showing = form_.IsShowing(design.id);
    if (HasStyle(control, WS_VISIBLE) != showing) ::ShowWindow(control, showing ? SW_SHOWNA : SW_HIDE);
  }
}

void Win32FormView::RenderPage() noexcept {
  HWND tab = Control(ControlId::SSTab1);
  const auto page = static_cast<WPARAM>(form_.SelectedPage());
  if (static_cast<WPARAM>(::SendMessageW(tab, TCM_GETCURSEL, 0, 0)) != page) {
    ::SendMessageW(tab, TCM_SETCURSEL, page, 0);
  }
  RenderVisibility();
}

// The keyboard focus goes where the model has it, while the window is on screen; a control that
// cannot hold it leaves it on the window itself, where Tab still reaches the model.
void Win32FormView::RenderFocus() noexcept {
  if (!::IsWindowVisible(hwnd_)) return;
  HWND target = Control(form_.ActiveControl());
  if (!::IsWindowVisible(target) || !::IsWindowEnabled(target)) target = hwnd_;
  HWND focus = ::GetFocus();
  if (focus == target || (target != hwnd_ && ::IsChild(target, focus))) return;
  ::SetFocus(target);
}

// --- What the programmer does --------------------------------------------------------------------------

std::optional<ControlId> Win32FormView::IdOf(int windowId) const noexcept {
  const int index = windowId - ControlWindowId(ControlId::OKButton);
  if (index < 0 || index >= static_cast<int>(kControlCount)) return std::nullopt;
  return static_cast<ControlId>(index);
}

void Win32FormView::ReportEdit(ControlId id) noexcept {
  try {
    if (form_.UserEdit(id, Narrow(WindowText(Control(id))))) return;
    // Refused: the control shows the model's text again.
    Applying applying{applying_};
    RenderCaption(id);
  } catch (...) {
    // Memory is exhausted: the edit is lost, as a failed keystroke would be.
  }
}

void Win32FormView::OnCommand(int windowId, UINT code) noexcept {
  if (applying_ > 0) return;
  const std::optional<ControlId> found = IdOf(windowId);
  if (!found) return;
  const ControlId id = *found;
  switch (Design(id).kind) {
    case ControlKind::kPushButton:
    case ControlKind::kCheckBox:
      // With BS_NOTIFY the second click of a double click comes as BN_DOUBLECLICKED alone.
      if (code == BN_CLICKED || code == BN_DOUBLECLICKED) form_.UserClick(id);
      if (code == BN_SETFOCUS) form_.UserFocus(id);
      break;
    case ControlKind::kTextBox:
    case ControlKind::kMultiLineTextBox:
      if (code == EN_CHANGE) ReportEdit(id);
      if (code == EN_SETFOCUS) form_.UserFocus(id);
      break;
    case ControlKind::kComboBox:
      if (code == CBN_EDITCHANGE) ReportEdit(id);
      if (code == CBN_SETFOCUS) form_.UserFocus(id);
      if (code == CBN_SELCHANGE) {
        const LRESULT picked = ::SendMessageW(Control(id), CB_GETCURSEL, 0, 0);
        if (picked < 0 || !form_.UserPick(id, static_cast<std::size_t>(picked))) {
          Applying applying{applying_};
          try {
            RenderCaption(id);
          } catch (...) {
            // Memory is exhausted: the field keeps the entry shown.
          }
        }
      }
      break;
    default:
      break;
  }
}

void Win32FormView::OnNotify(const NMHDR& header) noexcept {
  if (applying_ > 0 || header.hwndFrom != Control(ControlId::SSTab1)) return;
  if (header.code == TCN_SELCHANGE) {
    const auto page = static_cast<int>(::SendMessageW(header.hwndFrom, TCM_GETCURSEL, 0, 0));
    if (!form_.UserSelectPage(page)) {
      Applying applying{applying_};
      RenderPage();  // refused: the tab goes back to the model's page
    }
  }
}

bool Win32FormView::Tab(bool backwards) noexcept {
  if (applying_ > 0) return false;
  form_.UserTab(backwards);
  return true;
}

// As a Windows dialog does: a button or check box whose caption holds the mnemonic is clicked, a
// label or frame passes the focus to the next control that can take it, a page caption selects
// its page. Only controls on screen and usable answer.
bool Win32FormView::Mnemonic(wchar_t key) noexcept {
  if (applying_ > 0) return false;
  try {
    for (const ControlDesign& design : Designs()) {
      const ControlId id = design.id;
      if (design.kind == ControlKind::kTabControl) {
        if (!form_.CanUse(id) || !form_.IsShowing(id)) continue;
        for (std::size_t page = 0; page < kPageCaptions.size(); ++page) {
          if (HasMnemonic(Wide(kPageCaptions[page]), key)) {
            form_.UserSelectPage(static_cast<int>(page));
            return true;
          }
        }
        continue;
      }
      if (HoldsText(design.kind) || !form_.CanUse(id) || !form_.IsShowing(id)) continue;
      if (!HasMnemonic(Wide(form_.Text(id)), key)) continue;
      if (design.kind == ControlKind::kPushButton || design.kind == ControlKind::kCheckBox) {
        form_.UserClick(id);
        return true;
      }
      for (std::size_t next = Index(id) + 1; next < kControlCount; ++next) {
        if (form_.CanFocus(static_cast<ControlId>(next))) {
          form_.UserFocus(static_cast<ControlId>(next));
          break;
        }
      }
      return true;
    }
  } catch (...) {
    // Memory is exhausted: the key does nothing.
  }
  return false;
}

LRESULT Win32FormView::Handle(UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  switch (message) {
    case WM_COMMAND:
      if (lParam != 0) OnCommand(LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_NOTIFY:
      OnNotify(*reinterpret_cast<const NMHDR*>(lParam));
      return 0;
    case WM_CLOSE:
      // The close box (and Alt+F4) does what Cancel does; the model decides what becomes of the window.
      if (applying_ == 0) form_.UserClose();
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE) {
        Applying applying{applying_};
        RenderFocus();
      }
      return 0;
    case WM_NCDESTROY: {
      HWND window = hwnd_;
      Forget();
      return ::DefWindowProcW(window, message, wParam, lParam);
    }
    default:
      return ::DefWindowProcW(hwnd_, message, wParam, lParam);
  }
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* view = static_cast<Win32FormView*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(view));
    view->Attach(window);
  }
  auto* view = reinterpret_cast<Win32FormView*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
  if (view == nullptr || view->Window() != window) return ::DefWindowProcW(window, message, wParam, lParam);
  return view->Handle(message, wParam, lParam);
}

// The tab control's page is painted in the button face colour, the background that labels and check
// boxes paint around themselves, whichever colour the tab control itself would give its page.
LRESULT CALLBACK TabProc(HWND tab, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR view) {
  if (message == WM_PAINT) {
    const LRESULT painted = ::DefSubclassProc(tab, message, wParam, lParam);
    RECT page{};
    ::GetClientRect(tab, &page);
    ::SendMessageW(tab, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&page));
    const platform::win32::UniqueWindowDc dc = platform::win32::WindowDc(tab);
    ::FillRect(dc.get(), &page, ::GetSysColorBrush(COLOR_BTNFACE));
    return painted;
  }
  const LRESULT result = ::DefSubclassProc(tab, message, wParam, lParam);
  if (message == WM_SETFOCUS) reinterpret_cast<Win32FormView*>(view)->TabFocused();
  if (message == WM_NCDESTROY) ::RemoveWindowSubclass(tab, TabProc, id);
  return result;
}

}  // namespace

void ReleaseWindowClass() noexcept {
  ::UnregisterClassW(kWindowClass, ThisModule());
}

std::unique_ptr<FormView> MakeWin32View(FrmAddIn& form) {
  return std::make_unique<Win32FormView>(form);
}

}  // namespace dialog::win32
