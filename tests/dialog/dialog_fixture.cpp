// tests/dialog/dialog_fixture.cpp: reading the interlocked controls' states in one go.
#include "tests/dialog/dialog_fixture.h"

namespace test {

std::set<dialog::ControlId> Checked(const dialog::FrmAddIn& form) {
  std::set<dialog::ControlId> checked;
  for (const dialog::ControlId box : dialog::kCheckBoxes) {
    if (form.Value(box) != 0) checked.insert(box);
  }
  return checked;
}

std::set<dialog::ControlId> Disabled(const dialog::FrmAddIn& form) {
  std::set<dialog::ControlId> disabled;
  for (const dialog::ControlId box : dialog::kCheckBoxes) {
    if (!form.Enabled(box)) disabled.insert(box);
  }
  for (const dialog::ControlId other : {Frame1, txtPropriete, Label1, Label8, cmbFuncReturn}) {
    if (!form.Enabled(other)) disabled.insert(other);
  }
  return disabled;
}

std::string Names(const std::set<dialog::ControlId>& ids) {
  std::string names = "{";
  for (const dialog::ControlId id : ids) {
    if (names.size() > 1) names += ", ";
    names += dialog::Name(id);
  }
  return names + "}";
}

}  // namespace test
