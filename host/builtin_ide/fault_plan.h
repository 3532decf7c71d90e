// host/builtin_ide/fault_plan.h: makes chosen calls of the built-in IDE fail, and records the calls it sees.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace host {

// A test attaches a plan to built-in IDE objects; each of their operations first calls Enter() with
// its name and arguments ("InsertLines 12"). A fault lives as long as the plan: the test owns it.
class FaultPlan {
 public:
  // The `nth` call (1 for the next) of `operation` fails with HostError{number, description}; with
  // `persistent`, every later call of it fails too.
  void Fail(std::string operation, int nth, long number, std::string description, bool persistent = false);

  // Records the call and throws the planned HostError when its turn has come.
  void Enter(std::string_view operation, std::string_view arguments = {});

  // Every call entered so far, as "Operation arguments".
  const std::vector<std::string>& calls() const noexcept { return calls_; }
  void ClearCalls() noexcept { calls_.clear(); }

 private:
  struct Fault {
    std::string operation;
    int callsLeft;  // calls of `operation` still to pass before it fails
    long number;
    std::string description;
    bool persistent;
  };
  std::vector<Fault> faults_;
  std::vector<std::string> calls_;
};

}  // namespace host
