// testing/ide/fault_plan.h: makes chosen calls through the fault decorators fail, and records the calls
// they see.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "host/host_error.h"

namespace host {

// A test hands a plan to the decorators of testing/ide/faulty_*.h; each call through them first calls
// Enter() with its name and arguments ("InsertLines 12"). A fault lives as long as the plan: the test
// owns it.
class FaultPlan {
 public:
  // The `nth` call (1 for the next) of `operation` fails with VB's error `number`, described as VB
  // describes it.
  void Fail(std::string operation, int nth, long number);
  // The same with a failure of the test's own making, such as a host's description that is not VB's.
  void Fail(std::string operation, int nth, HostError error);

  // Records the call and throws the planned HostError when its turn has come.
  void Enter(std::string_view operation, std::string_view arguments = {});

  // Every call entered so far, as "Operation arguments".
  const std::vector<std::string>& calls() const noexcept { return calls_; }
  void ClearCalls() noexcept { calls_.clear(); }

 private:
  struct Fault {
    std::string operation;
    int callsLeft;  // calls of `operation` still to pass before it fails
    HostError error;
  };
  std::vector<Fault> faults_;
  std::vector<std::string> calls_;
};

}  // namespace host
