// tests/dialog/initial_state_test.cpp: a newly shown dialog as its model holds it (every control, the
// window, the pages and the lists) against a golden dump, and its About text from creation on.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <string_view>

#include "tests/dialog/dialog_fixture.h"
#include "tests/support/golden.h"

namespace {

using dialog::ControlId;
using enum dialog::ControlId;

constexpr std::string_view kGolden = "dialog/initial_state.txt";

// A caption on one line: CR and LF written as \r and \n.
std::string OneLine(std::string_view text) {
  std::string line;
  for (const char c : text) line += c == '\r' ? "\\r" : c == '\n' ? "\\n" : std::string(1, c);
  return line;
}

// One line for the window, one for its pages, one for each control in keyboard order and one for each
// list.
std::string Dump(const test::DialogHarness& dialog) {
  constexpr std::string_view kKinds[] = {"tab control",         "push button", "label",     "text box",
                                         "multi-line text box", "combo box",   "check box", "frame"};
  constexpr std::string_view kContainers[] = {"window", "page", "Frame1 on page"};
  const dialog::FrmAddIn& form = dialog.form;
  std::ostringstream out;
  out << "window \"" << dialog::kFormCaption << "\" " << dialog::kClientWidth << " x "
      << dialog::kClientHeight << " twips" << (dialog::kResizable ? ", resizable" : "")
      << (dialog::kMinButton ? ", minimize" : "") << (dialog::kMaxButton ? ", maximize" : "")
      << (dialog::kShowInTaskbar ? ", in the taskbar" : "") << "; "
      << (form.Loaded() ? "loaded" : "not loaded") << ", " << (form.Visible() ? "visible" : "hidden") << ", "
      << (dialog.view->onScreen() ? "on screen" : "off screen") << "\npages";
  for (const std::string_view page : dialog::kPageCaptions) out << " \"" << page << '"';
  out << ", page " << form.SelectedPage() << " selected, focus on " << dialog::Name(form.ActiveControl())
      << '\n';
  for (const dialog::ControlDesign& design : dialog::Designs()) {
    const ControlId id = design.id;
    const dialog::Place& at = design.place;
    out << dialog::Name(id) << ": " << kKinds[static_cast<int>(design.kind)] << " on "
        << kContainers[static_cast<int>(design.container.kind)] << ' ' << design.container.page << " at "
        << at.left << ", " << at.top << " size " << at.width << " x " << at.height << ", \""
        << OneLine(form.Text(id)) << "\", " << (form.Enabled(id) ? "enabled" : "disabled") << ", "
        << (form.State(id).visible ? "visible" : "invisible") << ", value " << form.Value(id) << ", "
        << (form.CanUse(id) ? "usable" : "unusable") << ", "
        << (form.IsShowing(id) ? "showing" : "not showing") << '\n';
  }
  for (const dialog::ControlDesign& design : dialog::Designs()) {
    if (form.List(design.id).empty()) continue;
    out << "list of " << dialog::Name(design.id) << ':';
    for (const std::string_view entry : form.List(design.id)) out << ' ' << entry;
    out << '\n';
  }
  return out.str();
}

TEST(InitialDialog, IsAsItsDumpSays) {
  test::DialogHarness dialog;
  EXPECT_FALSE(dialog.form.Loaded());
  // The About text is set when the dialog object is made, before it is loaded.
  const std::string about = dialog.form.Text(Label7);
  dialog.Shown();
  EXPECT_TRUE(test::MatchesGolden(kGolden, Dump(dialog)));
  EXPECT_EQ(about, dialog.form.Text(Label7));
  // Unloaded, the controls go back to their design, the About text with them.
  dialog.form.Unload();
  dialog.Shown();
  EXPECT_EQ(dialog.form.Text(Label7), about);
}

}  // namespace
