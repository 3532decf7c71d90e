// tests/dialog/dialog_fixture.h: a dialog on a fixed platform with its window-less view, and the
// short names the dialog's tests use for its controls.
#pragma once

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "dialog/frm_add_in.h"
#include "tests/dialog/headless_view.h"
#include "tests/generator/generator_fixture.h"

namespace test {

using enum dialog::ControlId;

// A dialog object as the connection creates it, not yet loaded.
struct DialogHarness {
  DialogHarness() = default;
  DialogHarness(const DialogHarness&) = delete;
  DialogHarness& operator=(const DialogHarness&) = delete;

  // Loads and shows the dialog.
  DialogHarness& Shown() {
    form.Show();
    return *this;
  }

  TestPlatform platform;
  test::HeadlessView* view = nullptr;
  dialog::FrmAddIn form{platform.platform(), [this](dialog::FrmAddIn& f) {
                          auto made = std::make_unique<test::HeadlessView>(f);
                          view = made.get();
                          return made;
                        }};
};

// The check boxes that are checked, and the controls among the check boxes, Frame1, txtPropriete,
// Label1, Label8 and cmbFuncReturn that are disabled.
std::set<dialog::ControlId> Checked(const dialog::FrmAddIn& form);
std::set<dialog::ControlId> Disabled(const dialog::FrmAddIn& form);

// Names for failure messages, such as "{chkSet, Frame1}".
std::string Names(const std::set<dialog::ControlId>& ids);

}  // namespace test
