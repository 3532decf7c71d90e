// generator/procedure_kind.h: the code of the kind of routine being written.
#pragma once

#include <cstdint>

namespace generator {

// A 16-bit code; any other value is no error: the builders then write no kind word.
enum ProcedureKind : std::int16_t {
  pkPropertySet = 1,
  pkPropertyGet = 2,
  pkPropertyLet = 3,
  pkFunction = 4,
  pkSub = 5,
};

}  // namespace generator
