// generator/description.cpp: Description, the eleven-line comment header of a generated routine.
#include "generator/c_ecrire_code.h"
#include "generator/text_pieces.h"
#include "host/error_trap.h"

namespace generator {
namespace {

// The usage text as typed, with "' " after each of its line breaks (CR LF, CR or LF), so that every
// line of a text typed over several lines stays a comment.
void AppendUsage(std::string& block, std::string_view usage) {
  for (std::size_t i = 0; i < usage.size(); ++i) {
    const char c = usage[i];
    block += c;
    if (c != '\r' && c != '\n') continue;
    if (c == '\r' && i + 1 < usage.size() && usage[i + 1] == '\n') block += usage[++i];
    block += "' ";
  }
}

}  // namespace

// Every line ends with a single CR. The date is asked for once, between the two rule lines.
std::string CEcrireCode::Description() const {
  try {
    std::string block = CreerEtoiles(70, "*");
    block += kCr;
    block += "' Utility: ";
    AppendUsage(block, f_.sUsage);
    block += kCr;
    block += "'\r";
    block += "' Functions called: \r";
    block += "' Functions calling: \r";
    block += "'\r";
    block += "'\r";
    block += "' Programmer's name: ";
    block += f_.sNomutilisateur;
    block += kCr;
    block += "' Creation date: ";
    block += platform_.dates.Format(platform_.clock.Today(), host::kCreationDatePattern);
    block += kCr;
    block += "' Last modification:          by\r";
    block += CreerEtoiles(70, "*");
    block += kCr;
    return block;
  } catch (...) {
    host::ShowCaughtFailure(platform_.ui, "Description");
    return "'-Erreur Description - ";
  }
}

}  // namespace generator
