// tests/generator/vb_rules.h: requests VB would take or refuse, each as the command line gives it:
// the table of names, variables and types (for the generator's rule, the command line and the
// dialog) and the table of names a module already uses (for every code module, and the command line).
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
  const char* option = nullptr;        // what the refusal names: NAME, --variable...; nullptr: written
  std::string message = {};            // the refusal; in a conflict, {line} stands for the module's line
  long line = 0;
  host::ComponentType type = host::ComponentType::kClassModule;  // conflicts: the module's kind
};

// In code page 1252.
const std::vector<RuleCase>& NameCases();

// Asked of kConflictModule.
const std::vector<RuleCase>& ConflictCases();
inline constexpr std::string_view kConflictModule =
    "Option Explicit\r\nPrivate Const LIMIT As Long = 10\r\n"
    "Private m_Title As String, WithEvents Count As Form1, Items(1 To 2) As Long\r\nPublic Event "
    "Changed()\r\n"
    "Public Property Get Value() As Long\r\nEnd Property\r\nPublic Property Let Size(ByVal v As Long)\r\n"
    "End Property\r\nPublic Sub Main()\r\nEnd Sub\r\nPublic Function Total() As Long\r\nEnd Function";

// The request the arguments describe, with the command line's defaults.
generator::Request RuleRequest(const RuleCase& c);

// The refusal with its line shown as `line`.
std::string RuleMessage(const RuleCase& c, long line);

}  // namespace test
