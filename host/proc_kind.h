// host/proc_kind.h: the host's own codes for the kind of a routine, as ProcOfLine reports them.
#pragma once

namespace host {

// The values the host uses; a Sub and a Function are both an ordinary procedure.
enum class ProcKind : int {
  kProc = 0,  // Sub or Function
  kLet = 1,   // Property Let
  kSet = 2,   // Property Set
  kGet = 3,   // Property Get
};

}  // namespace host
