// tests/support/alloc_faults.h: makes the program's N-th allocation through operator new fail.
#pragma once

namespace test {

// The allocation after `successes` more successful ones throws std::bad_alloc. Transient: only that
// one fails; persistent: every later one fails too, until disarmed.
void ArmAllocFault(long successes, bool persistent);

// Stops failing; true when a failure was injected since the last arming.
bool DisarmAllocFault();

}  // namespace test
