// tests/cli/scrivlet_texts.cpp: the literal texts of the command-line tests.
#include "tests/cli/scrivlet_texts.h"

namespace test {

const std::string_view kMeter =
    "VERSION 5.00\n"
    "Begin VB.UserControl Meter \n"
    "   ClientHeight    =   600\n"
    "   Begin VB.Label lblTitle \n"
    "      Caption         =   \"Title\"\n"
    "   End\n"
    "End\n"
    "Attribute VB_Name = \"Meter\"\n"
    "Attribute VB_Exposed = True\n"
    "Option Explicit\n"
    "Public Event Click()\n"
    "Attribute Click.VB_UserMemId = -600\n"
    "\n"
    "' The meter's caption.\n"
    "Public Property Get Caption() As String\n"
    "Attribute Caption.VB_UserMemId = 0\n"
    "    Caption = lblTitle.Caption\n"
    "End Property\n"
    "\n"
    "Public Function Percent(ByVal Value As Long) As Long\n"
    "    Percent = Value \\ 100\n"
    "End Function\n"
    "\n"
    "Private Sub UserControl_Click()\n"
    "    RaiseEvent Click\n"
    "End Sub\n";

// The declarations section ends with the Event and its Attribute line: the variable and the two
// persistence procedures go there, ahead of the new Let and Get, each added ahead of the first
// routine; the routine that was first keeps its comment and its Attribute line.
const std::string_view kMeterWithTitle =
    "VERSION 5.00\n"
    "Begin VB.UserControl Meter \n"
    "   ClientHeight    =   600\n"
    "   Begin VB.Label lblTitle \n"
    "      Caption         =   \"Title\"\n"
    "   End\n"
    "End\n"
    "Attribute VB_Name = \"Meter\"\n"
    "Attribute VB_Exposed = True\n"
    "Option Explicit\n"
    "Public Event Click()\n"
    "Attribute Click.VB_UserMemId = -600\n"
    "Private m_NewTitle AS String\n"
    "Private Sub UserControl_ReadProperties (PropBag As PropertyBag)\n"
    "m_NewTitle = PropBag.ReadProperty (\"Title\")\n"
    "End Sub\n"
    "Private Sub UserControl_WriteProperties(PropBag As PropertyBag)\n"
    "Propbag.WriteProperty \"Title\", m_NewTitle\n"
    "End Sub\n"
    "Property Let Title(NewTitle as String)\n"
    "'**********************************************************************\n"
    "' Utility: Description of its utility\n"
    "'\n"
    "' Functions called: \n"
    "' Functions calling: \n"
    "'\n"
    "'\n"
    "' Programmer's name: My name\n"
    "' Creation date: Sunday 06 December 2026\n"
    "' Last modification:          by\n"
    "'**********************************************************************\n"
    "\n"
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
    "\n"
    "m_NewTitle = NewTitle\n"
    "PropertyChanged \"Title\"\n"
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
    "End Property\n"
    "Property Get Title( )AS String\n"
    "'**********************************************************************\n"
    "' Utility: Description of its utility\n"
    "'\n"
    "' Functions called: \n"
    "' Functions calling: \n"
    "'\n"
    "'\n"
    "' Programmer's name: My name\n"
    "' Creation date: Sunday 06 December 2026\n"
    "' Last modification:          by\n"
    "'**********************************************************************\n"
    "\n"
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
    "\n"
    "Title = m_NewTitle\n"
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
    "End Property\n"
    "\n"
    "' The meter's caption.\n"
    "Public Property Get Caption() As String\n"
    "Attribute Caption.VB_UserMemId = 0\n"
    "    Caption = lblTitle.Caption\n"
    "End Property\n"
    "\n"
    "Public Function Percent(ByVal Value As Long) As Long\n"
    "    Percent = Value \\ 100\n"
    "End Function\n"
    "\n"
    "Private Sub UserControl_Click()\n"
    "    RaiseEvent Click\n"
    "End Sub\n";

std::string Block(std::string_view programmer, std::string_view usage) {
  std::string block =
      "'**********************************************************************\n"
      "' Utility: ";
  block += usage;
  block +=
      "\n"
      "'\n"
      "' Functions called: \n"
      "' Functions calling: \n"
      "'\n"
      "'\n"
      "' Programmer's name: ";
  block += programmer;
  block +=
      "\n"
      "' Creation date: Sunday 06 December 2026\n"
      "' Last modification:          by\n"
      "'**********************************************************************\n"
      "\n";
  return block;
}

std::string LabelledBody(std::string_view name, std::string_view word, std::string_view statements,
                         bool withEnd) {
  const std::string n{name};
  const std::string w{word};
  std::string body =
      "'-----------------------------------\n"
      "'Local variables definition \n"
      "\n"
      "\n"
      "\n"
      "\n"
      "'-----------------------------------\n"
      "' Start \n"
      "On Error Goto Error" +
      n +
      "\n"
      "\n"
      "\n"
      "\n";
  body += statements;
  body +=
      "'-----------------------------------\n"
      "'- End and exit\n" +
      n + "Next:\n" + "Exit " + w + "\n" +
      "\n"
      "\n"
      "'-----------------------------------\n"
      "'Error local traitment\n"
      "Error" +
      n + ":\n" + "Msgbox Err.Description, , \"" + n + "\"\n" +
      "       '-Resume\n"
      "Resume " +
      n + "Next\n" +
      "'-----------------------------------\n"
      "'End\n";
  if (withEnd) body += "End " + w + "\n";
  return body;
}

std::string ResumeNextBody(std::string_view word, std::string_view statements, bool withEnd) {
  std::string body =
      "'-----------------------------------\n"
      "'Local variables definition \n"
      "\n"
      "\n"
      "\n"
      "\n"
      "'-----------------------------------\n"
      "' Start \n"
      "On Error Resume Next\n"
      "\n"
      "\n"
      "\n";
  body += statements;
  body +=
      "'-----------------------------------\n"
      "'End\n";
  if (withEnd) body += "End " + std::string{word} + "\n";
  return body;
}

}  // namespace test
