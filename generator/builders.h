// generator/builders.h: the text builders of CEcrireCode, which compose each piece of a routine.
#pragma once

#include <string>
#include <string_view>

#include "generator/procedure_kind.h"
#include "generator/request.h"
#include "generator/template_set.h"
#include "host/code_module.h"
#include "host/platform.h"
#include "host/ui.h"

namespace generator {

// Each builder traps its own failures: it shows the failure's description in a box titled with its
// own name and returns its fallback text.

// The declaration line: visibility, Static, the kind word, the name, "_Hide ", the parameter list
// and a Function's return type. Fallback: the empty line.
std::string CreerEntete(const Request& request, ProcedureKind kind, host::Ui& ui);

// The name the labels and the message box use, and the name the routine is declared with (they
// differ when "_Hide" is appended).
struct RoutineNames {
  std::string_view routine;
  std::string_view declared;
};

// What a routine's templates are expanded with beyond the request: the set (null for the built-in
// one) and the names of the module and the project the routine goes into (empty where unknown).
struct TemplateContext {
  const TemplateSet* templates = nullptr;
  std::string_view module;
  std::string_view project;
  std::string_view date;  // for a trap that names {Date}; the header asks the platform itself

  const TemplateSet& Set() const noexcept { return templates != nullptr ? *templates : BuiltInTemplates(); }
};

// The comment header: the set's header template, every line ending with a CR; the date comes from the
// platform, asked for only when the template names it. Fallback: "'-Erreur Description - ".
std::string Description(const Request& request, ProcedureKind kind, const RoutineNames& names,
                        const host::Platform& platform, const TemplateContext& context = {});

// The body after the header: the set's trap of the request's style around the property's statements,
// then the End line (none in comments-only mode); its lines separated by CR, the last without one.
// Fallback: empty.
std::string CreerCorps(const Request& request, ProcedureKind kind, const RoutineNames& names, host::Ui& ui,
                       const TemplateContext& context = {});

// Declares the property's backing variable (`prefix` and the variable) in `module` and, given the object the
// module's property bag belongs to ("UserControl", "UserDocument", "Class"; empty for none), writes and reads
// the property in its persistence procedures, creating them when the module lacks them.
void CreerVariable_Module(const Request& request, host::CodeModule& module, std::string_view bagObject,
                          host::Ui& ui, std::string_view prefix = "m_");

}  // namespace generator
