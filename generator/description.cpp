// generator/description.cpp: Description, the comment header of a generated routine.
#include "generator/builders.h"
#include "generator/template_values.h"
#include "host/error_trap.h"

namespace generator {

std::string Description(const Request& request, ProcedureKind kind, const RoutineNames& names,
                        const host::Platform& platform, const TemplateContext& context) {
  try {
    const Template& header = context.Set().header;
    std::string date;
    if (header.Uses(TemplateVariable::kDate)) {
      date = platform.dates.Format(platform.clock.Today(), host::kCreationDatePattern);
    }
    return header.Expand(ValuesFor(request, kind, names, context, date));
  } catch (...) {
    host::ShowCaughtFailure(platform.ui, "Description");
    return "'-Erreur Description - ";
  }
}

}  // namespace generator
