// testing/ide/fault_plan.cpp: the call log and the countdown of planned faults.
#include "testing/ide/fault_plan.h"

#include <utility>

#include "host/vb_errors.h"

namespace host {

void FaultPlan::Fail(std::string operation, int nth, long number) {
  Fail(std::move(operation), nth, VbError(number));
}

void FaultPlan::Fail(std::string operation, int nth, HostError error) {
  faults_.push_back({std::move(operation), nth - 1, std::move(error)});
}

void FaultPlan::Enter(std::string_view operation, std::string_view arguments) {
  std::string call{operation};
  if (!arguments.empty()) {
    call += ' ';
    call += arguments;
  }
  calls_.push_back(std::move(call));
  // Every planned fault of this operation counts the call; the first whose turn has come fires, once.
  auto firing = faults_.end();
  for (auto it = faults_.begin(); it != faults_.end(); ++it) {
    if (it->operation != operation) continue;
    if (it->callsLeft > 0) {
      --it->callsLeft;
    } else if (firing == faults_.end()) {
      firing = it;
    }
  }
  if (firing == faults_.end()) return;
  HostError error = std::move(firing->error);
  faults_.erase(firing);
  throw error;
}

}  // namespace host
