// testing/ide/memory_code_pane.cpp: the way from the built-in code pane back to its module.
#include "testing/ide/memory_code_pane.h"

#include "testing/ide/memory_code_module.h"

namespace host {

std::shared_ptr<host::CodeModule> MemoryCodePane::CodeModule() {
  std::shared_ptr<MemoryCodeModule> owner = module_.weak_from_this().lock();
  if (owner) return owner;
  return std::shared_ptr<host::CodeModule>(std::shared_ptr<void>{}, &module_);
}

}  // namespace host
