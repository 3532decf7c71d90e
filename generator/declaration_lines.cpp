// generator/declaration_lines.cpp: follows " _" continuations line by line.
#include "generator/declaration_lines.h"

#include "host/vb_code/code_lines.h"

namespace generator {

DeclarationLines ReadDeclaration(const host::CodeModule& module, long bodyLine) {
  DeclarationLines declaration{module.Lines(bodyLine, 1), bodyLine};
  if (!host::ContinuesOnNextLine(declaration.text)) return declaration;
  const long count = module.CountOfLines();
  std::string line = declaration.text;
  while (host::ContinuesOnNextLine(line) && declaration.last < count) {
    ++declaration.last;
    line = module.Lines(declaration.last, 1);
    host::AppendContinuation(declaration.text, line);
  }
  return declaration;
}

}  // namespace generator
