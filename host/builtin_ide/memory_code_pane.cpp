// host/builtin_ide/memory_code_pane.cpp: the built-in code pane's calls, recorded in its module's fault plan.
#include "host/builtin_ide/memory_code_pane.h"

#include "host/builtin_ide/memory_code_module.h"

namespace host {

Selection MemoryCodePane::GetSelection() const {
  if (FaultPlan* plan = module_.faults()) plan->Enter("GetSelection");
  return selection_;
}

std::shared_ptr<host::CodeModule> MemoryCodePane::CodeModule() {
  if (FaultPlan* plan = module_.faults()) plan->Enter("CodeModule");
  std::shared_ptr<MemoryCodeModule> owner = module_.weak_from_this().lock();
  if (owner) return owner;
  return std::shared_ptr<host::CodeModule>(std::shared_ptr<void>{}, &module_);
}

}  // namespace host
