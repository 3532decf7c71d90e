// tests/dialog/headless_view.h: a view of frmAddIn without a window, through which tests act as the
// programmer and make the window refuse what it is asked.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "dialog/form_view.h"
#include "dialog/frm_add_in.h"
#include "testing/ide/fault_plan.h"

namespace test {

using dialog::ControlId;
using dialog::Property;

// Keeps what a window would: whether it is on screen and what it was told to redraw. Its actions
// are those of a person at the window: they reach the model only while the window is on screen.
class HeadlessView final : public dialog::FormView {
 public:
  explicit HeadlessView(dialog::FrmAddIn& form) : form_(form) {}

  void Show() override;
  void Hide() override;
  void Close() noexcept override;
  void Changing(ControlId id, Property what, std::string_view value) override;
  void Changed(ControlId id, Property what) noexcept override;

  bool onScreen() const noexcept { return onScreen_; }
  // How many windows were made (a closed window is made again by the next Show).
  int windowsMade() const noexcept { return windowsMade_; }
  const std::vector<std::pair<ControlId, Property>>& changes() const noexcept { return changes_; }
  void ClearChanges() noexcept { changes_.clear(); }

  // "View.Show", "View.Hide" and every change the model is about to make ("chkSet.Value 0",
  // "Frame1.Enabled False", "txtVariable.Text") enter `plan`, so that a test can make the window fail.
  void AttachFaults(host::FaultPlan* plan) noexcept { faults_ = plan; }

  // The programmer's actions; each returns whether the dialog took it.
  bool Click(ControlId id) noexcept;
  bool Type(ControlId id, std::string_view text) noexcept;
  bool Pick(ControlId id, std::size_t index) noexcept;
  bool SelectPage(int page) noexcept;
  bool PressTab(bool backwards = false) noexcept;
  void CloseBox() noexcept;

 private:
  dialog::FrmAddIn& form_;
  host::FaultPlan* faults_ = nullptr;
  bool onScreen_ = false;
  bool windowMade_ = false;
  int windowsMade_ = 0;
  std::vector<std::pair<ControlId, Property>> changes_;
};

}  // namespace test
