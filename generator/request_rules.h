// generator/request_rules.h: the rules every front end applies to a request before it generates, so
// that what is written is code VB accepts, or nothing is written and the programmer is told why.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "generator/request.h"
#include "host/code_module.h"
#include "host/code_page.h"
#include "host/platform.h"

namespace generator {

// The failure raised for a routine without a name: vbObjectError + 1000, source "Scrivlet".
inline constexpr long kErrNameMissing = -2147220504;  // 0x800403E8 as the host's 32-bit error number
inline constexpr std::string_view kNameMissing = "Name of propriete cannot be null.";

// A routine needs a name unless only comments are written. A name of blanks is a name: only the
// empty text is refused. Throws HostError{kErrNameMissing, "Scrivlet", kNameMissing}.
void RequireRoutineName(const Request& request);

// The text of a request that a refusal is about, so that a front end can name its own box or option.
enum class RequestText : std::uint8_t { kName, kVariable, kType, kReturnType };

struct NameRefusal {
  RequestText text = RequestText::kName;
  std::string message;  // such as "Next is a reserved word in Visual Basic; choose another name."
};

// Holds the texts the request would write as code to VB's rules, and gives the first that breaks
// one. The routine's name and the variable are names: a letter first, then letters, digits and
// underscores, no reserved word, at most 255 characters; so are the names made of them (the labels
// "Error" + name and name + "Next", the name + "_Hide", the variable `prefix` + variable). A letter is an
// ASCII letter or a character past ASCII that `codePage` holds, any one when it is null. A type is a
// name or two joined by a dot (Library.Class); of the reserved words only the built-in types may be
// one. Only what the request writes is held: in comments-only mode the variable alone, when given.
std::optional<NameRefusal> FindUnwritableName(const Request& request, const host::CodePage* codePage,
                                              std::string_view prefix = "m_");

// What a module says against a request: a name it already declares, or Friend where VB allows none.
struct ModuleRefusal {
  std::string subject;  // "The module already has a Sub Main"
  long line = 0;        // the module's line that declares the name; 0 when the refusal names none
  std::string advice;   // "choose another name"; empty when there is nothing to choose
  // The whole message, naming the line as `shownLine`: a source file numbers its lines its own way.
  std::string Message(long shownLine) const;
};

// Holds the request to the module it would be written into. Refused: Friend in a standard module
// (a module whose IDE cannot tell its kind may take it); a routine whose declared name the module
// already gives a Sub, a Function, a module-level variable, constant, Declare, Event, Type or Enum,
// or, for a property, the same accessor (a Get beside a Let is how properties are written); a backing
// variable (`prefix` + variable) the module already declares. Comments-only mode declares nothing and is
// never refused. Asks the module through CodeModule alone; throws what it throws.
std::optional<ModuleRefusal> FindModuleRefusal(const Request& request, const host::CodeModule& module,
                                               std::string_view prefix = "m_");

// The title under which a front end that writes into the IDE's modules shows a refusal: the
// generator's own, as EcrireCode shows its failures.
inline constexpr std::string_view kRefusalTitle = "EcrireCode";

// Both rules, for the dialog and the COM class: shows the refusal, or a failure of the module while
// it was asked, in a box titled "EcrireCode" and returns true, after which nothing may be written.
bool RefuseUnwritable(const Request& request, const host::CodeModule& module, const host::Platform& platform,
                      std::string_view prefix = "m_") noexcept;

}  // namespace generator
