// host/memory_vbe.h: the built-in IDE's root object, whose active code pane a test chooses.
#pragma once

#include <memory>

#include "host/fault_plan.h"
#include "host/memory_code_module.h"
#include "host/vbe.h"

namespace host {

class MemoryVbe final : public Vbe {
 public:
  // The module whose pane has the focus; nullptr leaves no code window open.
  void SetActiveModule(std::shared_ptr<MemoryCodeModule> module) { active_ = std::move(module); }
  void AttachFaults(FaultPlan* plan) noexcept { faults_ = plan; }

  std::shared_ptr<CodePane> ActiveCodePane() override {
    if (faults_ != nullptr) faults_->Enter("ActiveCodePane");
    if (!active_) return nullptr;
    return active_->CodePane();
  }

 private:
  std::shared_ptr<MemoryCodeModule> active_;
  FaultPlan* faults_ = nullptr;
};

}  // namespace host
