// generator/creer_etoiles.cpp: CreerEtoiles, the rule lines that frame headers and body sections.
#include "generator/c_ecrire_code.h"
#include "host/error_trap.h"

namespace generator {

// An apostrophe followed by `count` copies of `filler` (all of it, however long); a count of 0 or
// less gives the apostrophe alone.
std::string CEcrireCode::CreerEtoiles(std::int16_t count, std::string_view filler) const {
  try {
    std::string line = "'";
    for (int i = 1; i <= count; ++i) line += filler;
    return line;
  } catch (...) {
    host::ShowCaughtFailure(platform_.ui, "CreerEtoiles");
    return "*-Erreurs-*";
  }
}

}  // namespace generator
