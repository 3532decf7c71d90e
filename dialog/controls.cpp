// dialog/controls.cpp: the design table of frmAddIn's controls.
#include "dialog/controls.h"

namespace dialog {
namespace {

using enum ControlId;
using enum ControlKind;

constexpr Container kOnWindow{ContainerKind::kWindow, -1};
constexpr Container kOnPropriety{ContainerKind::kTabPage, kPagePropriety};
constexpr Container kOnDescription{ContainerKind::kTabPage, kPageDescription};
constexpr Container kOnUser{ContainerKind::kTabPage, kPageUser};
constexpr Container kOnAbout{ContainerKind::kTabPage, kPageAbout};
constexpr Container kInFrame1{ContainerKind::kFrame1, kPagePropriety};

// In ControlId order. Label7's caption is empty here: the About text is set when the dialog object
// is created.
constexpr std::array<ControlDesign, kControlCount> kDesigns = {{
    {OKButton, "OKButton", kPushButton, kOnWindow, {4800, 4080, 1215, 375}, "OK"},
    {CancelButton, "CancelButton", kPushButton, kOnWindow, {6120, 4080, 1215, 375}, "Cancel"},
    {SSTab1, "SSTab1", kTabControl, kOnWindow, {120, 120, 7215, 3855}, ""},
    {Label1, "Label1", kLabel, kOnPropriety, {240, 720, 495, 255}, "Name"},
    {txtPropriete, "txtPropriete", kTextBox, kOnPropriety, {1080, 720, 3375, 285}, ""},
    {chkPrive, "chkPrive", kCheckBox, kOnPropriety, {240, 1080, 1575, 255}, "Private"},
    {chkFriend, "chkFriend", kCheckBox, kOnPropriety, {240, 1320, 975, 255}, "Friend"},
    {chkSet, "chkSet", kCheckBox, kOnPropriety, {240, 1560, 1815, 255}, "Set instead of Let"},
    {chkFonction, "chkFonction", kCheckBox, kOnPropriety, {240, 1800, 1695, 255}, "Function"},
    {chkProcedure, "chkProcedure", kCheckBox, kOnPropriety, {240, 2040, 1935, 255}, "Sub"},
    {chkPropertyChanged,
     "chkPropertyChanged",
     kCheckBox,
     kOnPropriety,
     {240, 2280, 2295, 255},
     "Add PropertyChanged"},
    {chkLectureSeule,
     "chkLectureSeule",
     kCheckBox,
     kOnPropriety,
     {240, 2520, 1935, 255},
     "Read only property"},
    {chkStatique,
     "chkStatique",
     kCheckBox,
     kOnPropriety,
     {240, 2760, 2295, 255},
     "All local variable static"},
    {chkResumeNext, "chkResumeNext", kCheckBox, kOnPropriety, {240, 3000, 2295, 255}, "Resume Next"},
    {chkHide, "chkHide", kCheckBox, kOnPropriety, {240, 3240, 1215, 255}, "Hide"},
    {chkComment, "chkComment", kCheckBox, kOnPropriety, {240, 3480, 1575, 255}, "Comments only"},
    {Frame1, "Frame1", kFrame, kOnPropriety, {2640, 1200, 4335, 2535}, "Variable"},
    {Label4, "Label4", kLabel, kInFrame1, {120, 360, 495, 255}, "Name"},
    {txtVariable, "txtVariable", kTextBox, kInFrame1, {120, 600, 4095, 285}, ""},
    {Label5, "Label5", kLabel, kInFrame1, {120, 960, 735, 255}, "Type"},
    {cmbType, "cmbType", kComboBox, kInFrame1, {120, 1200, 2895, 315}, "String"},
    {Label8, "Label8", kLabel, kInFrame1, {120, 1920, 1815, 255}, "Function return type", false},
    {cmbFuncReturn, "cmbFuncReturn", kComboBox, kInFrame1, {120, 2160, 2895, 315}, "String", false},
    {Label2, "Label2", kLabel, kOnDescription, {240, 1200, 615, 255}, "Use"},
    {txtUsage,
     "txtUsage",
     kMultiLineTextBox,
     kOnDescription,
     {960, 1200, 5895, 285},
     "Description of its utility\r\n"},
    {Label3, "Label3", kLabel, kOnDescription, {240, 2880, 735, 255}, "Aide ID", false, false},
    {txtAideID, "txtAideID", kTextBox, kOnDescription, {1200, 2880, 1455, 285}, "", false, false},
    {Label6, "Label6", kLabel, kOnUser, {360, 720, 2295, 255}, "Name of the programmer to use"},
    {txtNomUtilisateur, "txtNomUtilisateur", kTextBox, kOnUser, {360, 1080, 4455, 285}, "My name"},
    {cmdChanger, "cmdChanger", kPushButton, kOnUser, {4680, 2880, 1215, 375}, "OK"},
    {lblTemplates, "lblTemplates", kLabel, kOnUser, {360, 1560, 6495, 975}, ""},
    {Label7, "Label7", kLabel, kOnAbout, {120, 360, 6975, 1935}, ""},
}};

constexpr bool InIdOrder() {
  for (std::size_t i = 0; i < kDesigns.size(); ++i) {
    if (Index(kDesigns[i].id) != i) return false;
  }
  return true;
}
static_assert(InIdOrder(), "the design table follows ControlId");

}  // namespace

std::span<const ControlDesign> Designs() noexcept {
  return kDesigns;
}

const ControlDesign& Design(ControlId id) noexcept {
  return kDesigns[Index(id)];
}

std::string_view Name(ControlId id) noexcept {
  return Design(id).name;
}

}  // namespace dialog
