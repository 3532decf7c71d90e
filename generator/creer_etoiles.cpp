// generator/creer_etoiles.cpp: CreerEtoiles, the rule lines that frame headers and body sections.
#include "generator/builders.h"
#include "host/error_trap.h"

namespace generator {

// An apostrophe followed by `count` copies of `filler` (all of it, however long); a count of 0 or
// less gives the apostrophe alone.
std::string CreerEtoiles(std::int16_t count, std::string_view filler, host::Ui& ui) {
  try {
    std::string line = "'";
    for (int i = 1; i <= count; ++i) line += filler;
    return line;
  } catch (...) {
    host::ShowCaughtFailure(ui, "CreerEtoiles");
    return "*-Erreurs-*";
  }
}

}  // namespace generator
