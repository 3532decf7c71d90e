// generator/declaration_lines.h: reads a routine's declaration, however many lines it is continued over.
#pragma once

#include <string>

#include "host/code_module.h"

namespace generator {

struct DeclarationLines {
  std::string text;  // the lines joined as one, without their " _" markers
  long last = 0;     // the line after which the routine's body begins
};

// The declaration that starts at `bodyLine` (as ProcBodyLine reports it), through the host's Lines.
DeclarationLines ReadDeclaration(const host::CodeModule& module, long bodyLine);

}  // namespace generator
