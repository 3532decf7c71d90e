// tests/addin/end_to_end_test.cpp: the add-in from connection to disconnection on the built-in IDE,
// writing the Title property of a user control.
#include <gtest/gtest.h>

#include "tests/addin/addin_fixture.h"
#include "tests/support/visible.h"

namespace {

using enum dialog::ControlId;

constexpr std::string_view kHeader =
    "'**********************************************************************\n"
    "' Utility: Description of its utility\n"
    "' \n"
    "'\n"
    "' Functions called: \n"
    "' Functions calling: \n"
    "'\n"
    "'\n"
    "' Programmer's name: My name\n"
    "' Creation date: Sunday 06 December 2026\n"
    "' Last modification:          by\n"
    "'**********************************************************************\n"
    "\n";

constexpr std::string_view kStartOfBody =
    "'-----------------------------------\n"
    "'Local variables definition \n"
    "\n"
    "\n"
    "\n"
    "\n"
    "'-----------------------------------\n"
    "' Start \n"
    "On Error Goto ErrorTitle\n"
    "\n"
    "\n"
    "\n";

constexpr std::string_view kEndOfBody =
    "'-----------------------------------\n"
    "'- End and exit\n"
    "TitleNext:\n"
    "Exit Property\n"
    "\n"
    "\n"
    "'-----------------------------------\n"
    "'Error local traitment\n"
    "ErrorTitle:\n"
    "Msgbox Err.Description, , \"Title\"\n"
    "       '-Resume\n"
    "Resume TitleNext\n"
    "'-----------------------------------\n"
    "'End\n"
    "End Property";

std::string SavedText(std::string_view text) {
  std::string saved;
  for (const char c : text) {
    if (c == '\n') saved += '\r';
    saved += c;
  }
  return saved;
}

TEST(EndToEnd, TitlePropertyFromMenuToDisconnection) {
  test::AddinHarness h;
  auto module = std::make_shared<host::MemoryCodeModule>("Option Explicit\r\n");
  h.vbe->SetActiveModule(module);

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

  const std::string expected = SavedText(
      std::string{"Option Explicit\n"
                  "Private m_NewTitle AS String\n"
                  "Private Sub UserControl_ReadProperties (PropBag As PropertyBag)\n"
                  "m_NewTitle = PropBag.ReadProperty (\"Title\")\n"
                  "End Sub\n"
                  "Private Sub UserControl_WriteProperties(PropBag As PropertyBag)\n"
                  "Propbag.WriteProperty \"Title\", m_NewTitle\n"
                  "End Sub\n"
                  "Property Let Title(NewTitle as String)\n"} +
      std::string{kHeader} + std::string{kStartOfBody} +
      "m_NewTitle = NewTitle\n"
      "PropertyChanged \"Title\"\n" +
      std::string{kEndOfBody} +
      "\n"
      "\n"
      "Property Get Title( )AS String\n" +
      std::string{kHeader} + std::string{kStartOfBody} + "Title = m_NewTitle\n" + std::string{kEndOfBody});
  EXPECT_EQ(test::Visible(module->Text()), test::Visible(expected));
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
