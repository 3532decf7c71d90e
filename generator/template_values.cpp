// generator/template_values.cpp: the values of the template variables for one routine.
#include "generator/template_values.h"

namespace generator {
namespace {

std::string_view AccessorWord(ProcedureKind kind) noexcept {
  switch (kind) {
    case pkPropertyGet:
      return "Get";
    case pkPropertyLet:
      return "Let";
    case pkPropertySet:
      return "Set";
    case pkFunction:
    case pkSub:
      break;
  }
  return {};
}

}  // namespace

std::string_view KindWord(ProcedureKind kind) noexcept {
  switch (kind) {
    case pkPropertySet:
    case pkPropertyGet:
    case pkPropertyLet:
      return "Property";
    case pkFunction:
      return "Function";
    case pkSub:
      return "Sub";
  }
  return {};
}

TemplateValues ValuesFor(const Request& request, ProcedureKind kind, const RoutineNames& names,
                         const TemplateContext& context, std::string_view date) noexcept {
  TemplateValues values{};
  const auto set = [&values](TemplateVariable variable, std::string_view value) {
    values.at(static_cast<std::size_t>(variable)) = value;
  };
  set(TemplateVariable::kName, names.routine);
  set(TemplateVariable::kKind, KindWord(kind));
  set(TemplateVariable::kAccessor, AccessorWord(kind));
  set(TemplateVariable::kExitKind, KindWord(kind));
  set(TemplateVariable::kVariable, request.sNomVariable);
  set(TemplateVariable::kType, request.sTypeVariable);
  if (kind == pkFunction) set(TemplateVariable::kReturns, request.sFuncReturn);
  if (kind == pkPropertyGet) set(TemplateVariable::kReturns, request.sTypeVariable);
  set(TemplateVariable::kUsage, request.sUsage);
  set(TemplateVariable::kProgrammer, request.sNomutilisateur);
  set(TemplateVariable::kDate, date);
  set(TemplateVariable::kModule, context.module);
  set(TemplateVariable::kProject, context.project);
  return values;
}

}  // namespace generator
