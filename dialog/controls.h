// dialog/controls.h: the controls of frmAddIn as they are designed: names, kinds, places and captions.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace dialog {

// Every control of the dialog, in keyboard (tab) order: the two buttons first, then the tab control,
// then each page's controls from top to bottom.
enum class ControlId : std::uint8_t {
  OKButton,
  CancelButton,
  SSTab1,
  // Page "Propriety"
  Label1,
  txtPropriete,
  chkPrive,
  chkFriend,
  chkSet,
  chkFonction,
  chkProcedure,
  chkPropertyChanged,
  chkLectureSeule,
  chkStatique,
  chkResumeNext,
  chkHide,
  chkComment,
  Frame1,
  Label4,
  txtVariable,
  Label5,
  cmbType,
  Label8,
  cmbFuncReturn,
  // Page "Description"
  Label2,
  txtUsage,
  Label3,
  txtAideID,
  // Page "User"
  Label6,
  txtNomUtilisateur,
  cmdChanger,
  lblTemplates,  // which template set is in use, and where it comes from
  // Page "About"
  Label7,
};

inline constexpr std::size_t kControlCount = static_cast<std::size_t>(ControlId::Label7) + 1;

constexpr std::size_t Index(ControlId id) noexcept {
  return static_cast<std::size_t>(id);
}

enum class ControlKind : std::uint8_t {
  kTabControl,
  kPushButton,
  kLabel,
  kTextBox,
  kMultiLineTextBox,
  kComboBox,  // with an editable text field
  kCheckBox,
  kFrame,
};

// Left, top, width and height in twips, relative to the control's container.
struct Place {
  long left = 0;
  long top = 0;
  long width = 0;
  long height = 0;

  friend bool operator==(const Place&, const Place&) = default;
};

enum class ContainerKind : std::uint8_t { kWindow, kTabPage, kFrame1 };

// The window, one page of SSTab1, or Frame1 (which itself stands on the page "Propriety").
struct Container {
  ContainerKind kind = ContainerKind::kWindow;
  int page = -1;  // 0 to 3 for a tab page and for Frame1's page; -1 on the window

  friend bool operator==(const Container&, const Container&) = default;
};

// A control as the dialog creates it. `caption` is a label's, button's, check box's or frame's
// caption, or a text box's or combo box's text.
struct ControlDesign {
  ControlId id;
  std::string_view name;
  ControlKind kind;
  Container container;
  Place place;
  std::string_view caption;
  bool enabled = true;
  bool visible = true;
};

// The designs of all controls, indexed by ControlId.
std::span<const ControlDesign> Designs() noexcept;
const ControlDesign& Design(ControlId id) noexcept;
std::string_view Name(ControlId id) noexcept;

// The window.
inline constexpr std::string_view kFormCaption = "Penwright";
inline constexpr long kClientWidth = 7410;  // twips
inline constexpr long kClientHeight = 4500;
// A fixed dialog border: not resizable, no minimize or maximize button, not in the task bar, centred
// on the screen when it opens.
inline constexpr bool kResizable = false;
inline constexpr bool kMinButton = false;
inline constexpr bool kMaxButton = false;
inline constexpr bool kShowInTaskbar = false;

inline constexpr std::array<std::string_view, 4> kPageCaptions = {"Propriety", "Description", "User",
                                                                  "About"};
inline constexpr int kPagePropriety = 0;
inline constexpr int kPageDescription = 1;
inline constexpr int kPageUser = 2;
inline constexpr int kPageAbout = 3;

// The list of both type combo boxes.
inline constexpr std::array<std::string_view, 11> kTypeList = {"Boolean", "Byte",    "Currency", "Date",
                                                               "Double",  "Integer", "Long",     "Object",
                                                               "Single",  "String",  "Variant"};

// Label7's caption, set when the dialog object is created.
inline constexpr std::string_view kAboutText =
    "This Addin basically add Let-Get properties to an active module code."
    " It may add automatically the PropertyBag variable in COM you build. "
    " You can rather add a Function or a Procedure and easilly guess "
    "its other features. The basic comments are added to your work and "
    "one of two error trapping techniques."
    "\r\r"
    "Good programmation.";

// The eleven check boxes of the page "Propriety", from top to bottom.
inline constexpr std::array<ControlId, 11> kCheckBoxes = {
    ControlId::chkPrive,        ControlId::chkFriend,    ControlId::chkSet,
    ControlId::chkFonction,     ControlId::chkProcedure, ControlId::chkPropertyChanged,
    ControlId::chkLectureSeule, ControlId::chkStatique,  ControlId::chkResumeNext,
    ControlId::chkHide,         ControlId::chkComment};

}  // namespace dialog
