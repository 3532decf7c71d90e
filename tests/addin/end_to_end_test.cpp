// tests/addin/end_to_end_test.cpp: the add-in from connection to disconnection on the built-in IDE,
// writing the Title property of a user control.
#include <gtest/gtest.h>

#include "tests/addin/addin_fixture.h"
#include "tests/support/golden.h"

namespace {

using enum dialog::ControlId;

TEST(EndToEnd, TitlePropertyFromMenuToDisconnection) {
  test::AddinHarness h;
  auto module = std::make_shared<host::MemoryCodeModule>("Option Explicit\r\n");
  h.ide->SetActiveModule(module);

  h.connect.OnConnection(h.vbe, 0);
  EXPECT_FALSE(h.DialogOnScreen());
  ASSERT_NE(h.Entry(), nullptr);
  ASSERT_TRUE(h.Entry()->Execute());
  ASSERT_TRUE(h.DialogOnScreen());

  test::HeadlessView& view = *h.View();
  ASSERT_TRUE(view.Type(txtPropriete, "Title"));
  ASSERT_TRUE(view.Type(txtVariable, "NewTitle"));
  ASSERT_TRUE(view.Click(chkPropertyChanged));
  ASSERT_TRUE(view.Click(OKButton));

  // The dialog's default usage ends with a line break, which the header keeps as a comment line.
  EXPECT_TRUE(test::MatchesGolden("addin/TitleProperty.bas", module->Text()));
  EXPECT_TRUE(h.platform.ui.messages().empty());
  EXPECT_TRUE(h.DialogOnScreen());

  ASSERT_TRUE(view.Click(CancelButton));
  EXPECT_FALSE(view.onScreen());
  EXPECT_FALSE(h.connect.FormDisplayed);

  h.connect.OnDisconnection();
  EXPECT_EQ(h.DisplayOnConnect(), "0");
  EXPECT_EQ(h.Entry(), nullptr);
  EXPECT_EQ(h.connect.DialogForm(), nullptr);
  EXPECT_TRUE(h.platform.ui.messages().empty());
}

}  // namespace
