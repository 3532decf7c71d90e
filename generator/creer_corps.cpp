// generator/creer_corps.cpp: CreerCorps, the body that follows a routine's comment header.
#include "generator/builders.h"
#include "generator/template_values.h"
#include "host/error_trap.h"

namespace generator {
namespace {

// The statements a property's accessor is born with, CR-separated: a Let or Set stores its
// parameter (and, asked to, tells the container it changed); a Get returns the backing variable.
std::string Statements(const Request& request, ProcedureKind kind, const RoutineNames& names,
                       std::string_view prefix) {
  // In comments-only mode the variable box is not used; without a name the statement would read
  // "m_ = " and is left out.
  const std::string_view variable = request.sNomVariable;
  if (request.bComment && variable.empty()) return {};
  std::string statements;
  if (kind == pkPropertySet || kind == pkPropertyLet) {
    if (kind == pkPropertySet) statements += "Set ";
    statements += prefix;
    statements += variable;
    statements += " = ";
    statements += variable;
    if (request.bProp_Changed) {
      statements += "\rPropertyChanged \"";
      statements += names.routine;
      statements += '"';
    }
  } else if (kind == pkPropertyGet) {
    if (request.bProp_Set) statements += "Set ";
    statements += names.declared;
    statements += " = ";
    statements += prefix;
    statements += variable;
  }
  return statements;
}

}  // namespace

// The trap of the request's style with the statements at its {Body}, and the End line, left out in
// comments-only mode, where the routine has one.
std::string CreerCorps(const Request& request, ProcedureKind kind, const RoutineNames& names, host::Ui& ui,
                       const TemplateContext& context) {
  try {
    const TemplateSet& set = context.Set();
    const Template& trap = request.bResumeNext ? set.resumeNextTrap : set.trap;
    std::string body = trap.Expand(ValuesFor(request, kind, names, context, context.date),
                                   Statements(request, kind, names, set.variablePrefix));
    if (!request.bComment) {
      body += "\rEnd ";
      body += KindWord(kind);
    }
    return body;
  } catch (...) {
    host::ShowCaughtFailure(ui, "CreerCorps");
    return {};
  }
}

}  // namespace generator
