// bench/big_module.cpp: builds the benchmark files line by line.
#include "bench/big_module.h"

#include <string_view>
#include <vector>

namespace bench {
namespace {

constexpr std::string_view kHeader[] = {
    "VERSION 5.00",
    "Begin VB.UserControl Big ",
    "   ClientHeight    =   1335",
    "   ClientWidth     =   3045",
    "End",
    "Attribute VB_Name = \"Big\"",
    "Attribute VB_Exposed = True",
    "Option Explicit",
    "",
    "Private m_Count As Long",
    "",
};

constexpr std::string_view kPersistence[] = {
    "Private Sub UserControl_ReadProperties(PropBag As PropertyBag)",
    "    m_Count = PropBag.ReadProperty(\"Count\", 0)",
    "End Sub",
    "",
    "Private Sub UserControl_WriteProperties(PropBag As PropertyBag)",
    "    PropBag.WriteProperty \"Count\", m_Count, 0",
    "End Sub",
};

void AddSub(std::vector<std::string>& lines, long number) {
  const std::string name = "Step" + std::to_string(number);
  lines.emplace_back("' Moves the count on by " + std::to_string(number) + ".");
  lines.emplace_back("Private Sub " + name + "(ByVal Amount As Long)");
  lines.emplace_back("    Dim Previous As Long");
  lines.emplace_back("    Previous = m_Count");
  lines.emplace_back("    m_Count = m_Count + Amount * " + std::to_string(number));
  lines.emplace_back("    If m_Count < Previous Then");
  lines.emplace_back("        m_Count = Previous");
  lines.emplace_back("    End If");
  lines.emplace_back("End Sub");
  lines.emplace_back();
}

std::string Joined(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) {
    text += line;
    text += "\r\n";
  }
  return text;
}

}  // namespace

std::string BigUserControl(long lines) {
  std::vector<std::string> out(std::begin(kHeader), std::end(kHeader));
  long number = 1;
  while (static_cast<long>(out.size()) + 10 <= lines - static_cast<long>(std::size(kPersistence))) {
    AddSub(out, number++);
  }
  while (static_cast<long>(out.size()) < lines - static_cast<long>(std::size(kPersistence))) {
    out.emplace_back("' Spare line.");
  }
  out.insert(out.end(), std::begin(kPersistence), std::end(kPersistence));
  return Joined(out);
}

std::string SmallUserControl() {
  std::vector<std::string> out(std::begin(kHeader), std::end(kHeader));
  out.insert(out.end(), std::begin(kPersistence), std::end(kPersistence));
  return Joined(out);
}

}  // namespace bench
