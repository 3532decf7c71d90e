// generator/description.cpp: Description, the eleven-line comment header of a generated routine.
#include "generator/builders.h"
#include "host/error_trap.h"

namespace generator {
namespace {

// A text as typed, with "' " after each of its line breaks (CR LF, CR or LF), so that every line of
// a text typed over several lines stays a comment and none becomes code.
void AppendCommented(std::string& block, std::string_view usage) {
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
std::string Description(const Request& request, const host::Platform& platform) {
  try {
    std::string block = CreerEtoiles(70, "*", platform.ui);
    block += '\r';
    block += "' Utility: ";
    AppendCommented(block, request.sUsage);
    block += '\r';
    block += "'\r";
    block += "' Functions called: \r";
    block += "' Functions calling: \r";
    block += "'\r";
    block += "'\r";
    block += "' Programmer's name: ";
    AppendCommented(block, request.sNomutilisateur);
    block += '\r';
    block += "' Creation date: ";
    block += platform.dates.Format(platform.clock.Today(), host::kCreationDatePattern);
    block += '\r';
    block += "' Last modification:          by\r";
    block += CreerEtoiles(70, "*", platform.ui);
    block += '\r';
    return block;
  } catch (...) {
    host::ShowCaughtFailure(platform.ui, "Description");
    return "'-Erreur Description - ";
  }
}

}  // namespace generator
