// generator/ecrire_code.h: EcrireCode, one generation of the routine a request describes.
#pragma once

#include "generator/request.h"
#include "generator/template_set.h"
#include "host/code_module.h"
#include "host/platform.h"

namespace generator {

// Writes the routine `request` describes into `UnLien`: comments at the caret, a Sub, a Function, or
// a property's Get, its Let or Set and its m_ variable. Reads the request and changes none of it, so
// a second call repeats the same generation. The header, the trap and the backing variable's prefix
// come from `templates`, the built-in set when null. Never throws: any failure is shown in a box titled
// "EcrireCode" and ends the generation; what was already added stays in the module.
void EcrireCode(const Request& request, host::CodeModule& UnLien, const host::Platform& platform,
                const TemplateSet* templates = nullptr) noexcept;

}  // namespace generator
