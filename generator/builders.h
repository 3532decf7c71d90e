// generator/builders.h: the text builders of CEcrireCode, which compose each piece of a routine.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "generator/procedure_kind.h"
#include "generator/request.h"
#include "host/code_module.h"
#include "host/platform.h"
#include "host/ui.h"

namespace generator {

// Each builder traps its own failures: it shows the failure's description in a box titled with its
// own name and returns its fallback text.

// The declaration line: visibility, Static, the kind word, the name, "_Hide ", the parameter list
// and a Function's return type. Fallback: the empty line.
std::string CreerEntete(const Request& request, ProcedureKind kind, host::Ui& ui);

// The eleven-line comment header, every line ending with a CR; the date comes from the platform.
// Fallback: "'-Erreur Description - ".
std::string Description(const Request& request, const host::Platform& platform);

// The name the labels and the message box use, and the name the routine is declared with (they
// differ when "_Hide" is appended).
struct RoutineNames {
  std::string_view routine;
  std::string_view declared;
};

// The body after the header, its lines separated by CR, the last without one. Fallback: empty.
std::string CreerCorps(const Request& request, ProcedureKind kind, const RoutineNames& names, host::Ui& ui);

// Declares the property's m_ variable in `module` and, given the object the module's property bag
// belongs to ("UserControl", "UserDocument", "Class"; empty for none), writes and reads the property
// in its persistence procedures, creating them when the module lacks them.
void CreerVariable_Module(const Request& request, host::CodeModule& module, std::string_view bagObject,
                          host::Ui& ui);

// An apostrophe and `count` copies of `filler`. Fallback: "*-Erreurs-*".
std::string CreerEtoiles(std::int16_t count, std::string_view filler, host::Ui& ui);

}  // namespace generator
