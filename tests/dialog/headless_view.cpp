// tests/dialog/headless_view.cpp: the window-less view's bookkeeping and the programmer's actions.
#include "tests/dialog/headless_view.h"

#include <string>

namespace test {
namespace {

// The name under which a change enters the plan.
std::string_view PropertyName(Property what) {
  switch (what) {
    case Property::kValue:
      return "Value";
    case Property::kEnabled:
      return "Enabled";
    default:
      return "Text";
  }
}

}  // namespace

void HeadlessView::Show() {
  if (faults_ != nullptr) faults_->Enter("View.Show");
  if (!windowMade_) {
    windowMade_ = true;
    ++windowsMade_;
  }
  onScreen_ = true;
}

void HeadlessView::Hide() {
  if (faults_ != nullptr) faults_->Enter("View.Hide");
  onScreen_ = false;
}

void HeadlessView::Close() noexcept {
  windowMade_ = false;
  onScreen_ = false;
}

void HeadlessView::Changing(ControlId id, Property what, std::string_view value) {
  if (faults_ == nullptr) return;
  std::string operation{dialog::Name(id)};
  operation += '.';
  operation += PropertyName(what);
  faults_->Enter(operation, value);
}

void HeadlessView::Changed(ControlId id, Property what) noexcept {
  try {
    changes_.emplace_back(id, what);
  } catch (...) {
    // Memory is exhausted: a window would redraw everything on its next paint.
  }
}

bool HeadlessView::Click(ControlId id) noexcept {
  return onScreen_ && form_.UserClick(id);
}

bool HeadlessView::Type(ControlId id, std::string_view text) noexcept {
  return onScreen_ && form_.UserEdit(id, text);
}

bool HeadlessView::Pick(ControlId id, std::size_t index) noexcept {
  return onScreen_ && form_.UserPick(id, index);
}

bool HeadlessView::SelectPage(int page) noexcept {
  return onScreen_ && form_.UserSelectPage(page);
}

bool HeadlessView::PressTab(bool backwards) noexcept {
  return onScreen_ && form_.UserTab(backwards);
}

void HeadlessView::CloseBox() noexcept {
  if (onScreen_) form_.UserClose();
}

}  // namespace test
