// tests/generator/module_kinds.h: what a property with PropertyChanged writes in each kind of module,
// or why it is refused: one table for the built-in IDE, the command line and the IDE through
// IDispatch alike.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "generator/request.h"
#include "host/vb_component.h"

namespace test {

struct ModuleKindCase {
  const char* name;
  host::ComponentType type;
  bool persistable;
  const char* extension;  // the file the command line is given
  const char* header;     // the hidden lines such a file starts with, CR LF each
  const char* bagObject;  // the object its bag procedures are named after; nullptr: refused
};

const std::vector<ModuleKindCase>& ModuleKinds();

// The code lines after the generation in a module with a bag: those of a user control
// (tests/golden/module_kinds/user_control.bas), with its bag procedures named after `c.bagObject`.
std::string ModuleKindExpected(const ModuleKindCase& c);

// The code lines every module starts with: declarations ending with a constant, then a Sub.
inline constexpr std::string_view kModuleKindsStart =
    "Option Explicit\r\n\r\nPrivate Const LIMIT As Long = 10\r\n\r\nPublic Sub Main()\r\n    Debug.Print "
    "LIMIT\r\n"
    "End Sub\r\n";

// An object property Font, kept in m_NewFont of type StdFont, with PropertyChanged and its bag lines;
// programmer "My name", usage "Description of its utility".
generator::Request ModuleKindsRequest();

// What the refused request shows, titled "EcrireCode".
inline constexpr std::string_view kModuleKindRefusal =
    "PropertyChanged and the property bag exist only in user controls, user documents and persistable "
    "classes.";

}  // namespace test
