// generator/template_values.h: what each template variable stands for in one routine.
#pragma once

#include <string>
#include <string_view>

#include "generator/builders.h"

namespace generator {

// The word a routine is declared with after its scope: Sub, Function or Property; also the word
// after its Exit.
std::string_view KindWord(ProcedureKind kind) noexcept;

// The values of every variable but {Body} for `kind` as `request` describes it; {Date} is `date`.
TemplateValues ValuesFor(const Request& request, ProcedureKind kind, const RoutineNames& names,
                         const TemplateContext& context, std::string_view date) noexcept;

}  // namespace generator
