// tests/generator/vb_rules.h: requests VB would take or refuse, each as the command line gives it: names,
// variables and types (for the generator's rule, the command line and the dialog), and names a module
// already uses (for every code module, and the command line).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "generator/request.h"
#include "host/vb_component.h"

namespace test {

struct RuleCase {
  const char* label;
  std::vector<std::string> arguments;  // sub|function|property NAME [options], without the file
  const char* option = nullptr;        // the text a refused name is about: NAME, --variable...
  std::string message = {};            // empty: written; a conflict's "{line}" is the line it names
  long line = 0;
  host::ComponentType type = host::ComponentType::kClassModule;  // a conflict's module
};

const std::vector<RuleCase>& NameCases();  // in code page 1252
const std::vector<RuleCase>& ConflictCases();
inline constexpr std::string_view kConflictModule =
    "Option Explicit\r\nPrivate Const LIMIT As String = \"10, Spare\"\r\n"
    "Private m_Title As String, WithEvents Count As Form1, Items(1 To 2) As Long ' or, Spare\r\n"
    "Public Event Changed()\r\nPublic Property Get Value() As Long\r\nEnd Property\r\n"
    "Public Property Let Size(ByVal v As Long)\r\nEnd Property\r\nPublic Sub Main()\r\nEnd Sub\r\n"
    "Public Function Total() As Long\r\nEnd Function";

// The request the arguments describe, with the command line's defaults; the message naming `line`.
generator::Request RuleRequest(const RuleCase& c);
std::string RuleMessage(const RuleCase& c, long line);

}  // namespace test
