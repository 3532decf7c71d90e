// generator/request_rules.cpp: the empty-name rule, VB's rules for names and types, and the names a
// module already uses.
#include "generator/request_rules.h"

#include <initializer_list>
#include <string>
#include <vector>

#include "generator/declaration_lines.h"
#include "generator/reserved_words.h"
#include "host/error_trap.h"
#include "host/host_error.h"
#include "host/ui.h"
#include "host/vb_code/code_lines.h"
#include "host/vb_code/declarations_section.h"
#include "host/vb_component.h"

namespace generator {

void RequireRoutineName(const Request& request) {
  if (request.sNom_Propriete.empty() && !request.bComment) {
    throw host::HostError{kErrNameMissing, std::string{host::kProgramTitle}, std::string{kNameMissing}};
  }
}

namespace {

// VB allows no longer name; the messages say so.
constexpr std::size_t kLongestName = 255;

// What EcrireCode writes for the request, in its order of precedence.
enum class Path : std::uint8_t { kComments, kSub, kFunction, kProperty };

Path PathOf(const Request& request) {
  if (request.bComment) return Path::kComments;
  if (request.bCreerProcedure) return Path::kSub;
  if (request.bCreerFonction) return Path::kFunction;
  return Path::kProperty;
}

std::size_t CharacterCount(std::string_view text) {
  std::size_t count = 0;
  for (const char c : text) count += (static_cast<unsigned char>(c) & 0xC0U) != 0x80U ? 1 : 0;
  return count;
}

// The code point of the well-formed UTF-8 sequence `character`.
char32_t CodePoint(std::string_view character) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(character[i]); };
  if (character.size() == 1) return byte(0);
  char32_t point = byte(0) & (0xFFU >> (character.size() + 1));
  for (std::size_t i = 1; i < character.size(); ++i) point = (point << 6U) | (byte(i) & 0x3FU);
  return point;
}

// Past ASCII, controls and spaces are no letters, whatever the code page.
bool IsControlOrSpace(std::string_view character) {
  const char32_t point = CodePoint(character);
  return point <= 0xA0 || point == 0xAD || point == 0x3000;
}

// VB reads every character of the module's code page past ASCII as a letter.
bool InCodePage(std::string_view character, const host::CodePage* codePage) {
  if (codePage == nullptr) return true;
  try {
    codePage->EncodeTaking(std::string{character});
    return true;
  } catch (const host::CodePageError&) {
    return false;
  }
}

bool IsAsciiLetter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// The pieces one after another. Messages are built so: GCC 12 sees overlapping copies, at -O3, in
// a literal added to a string made on the spot.
std::string Joined(std::initializer_list<std::string_view> pieces) {
  std::string text;
  for (const std::string_view piece : pieces) text += piece;
  return text;
}

// Why `text`, not empty, is no name VB accepts, or nothing when its characters make one.
std::optional<std::string> WhyNotAName(std::string_view text, const host::CodePage* codePage) {
  for (std::size_t at = 0; at < text.size();) {
    const bool first = at == 0;
    const std::size_t length = host::Utf8SequenceLength(text, at);
    const std::string_view character = text.substr(at, length == 0 ? 1 : length);
    at += character.size();
    const char c = character[0];
    if (length == 1 && (IsAsciiLetter(c) || (!first && ((c >= '0' && c <= '9') || c == '_')))) continue;
    if (length > 1 && !IsControlOrSpace(character)) {
      if (InCodePage(character, codePage)) continue;
      return Joined({"\"", character, "\" is not a letter of the module's code page"});
    }
    if (first) return "it does not start with a letter";
    return Joined(
        {"\"", character, "\" cannot stand in a name, which holds letters, digits and underscores only"});
  }
  return std::nullopt;
}

// Why the name or variable `text`, not empty, cannot be written, or nothing when it can.
std::optional<std::string> NameProblem(std::string_view text, std::string_view noun,
                                       const host::CodePage* codePage) {
  if (const std::optional<std::string> why = WhyNotAName(text, codePage)) {
    return Joined({"\"", text, "\" is not a ", noun, " VB accepts: ", *why, "."});
  }
  if (IsReservedWord(text)) {
    return Joined({text, " is a reserved word in Visual Basic; choose another ", noun, "."});
  }
  if (const std::size_t length = CharacterCount(text); length > kLongestName) {
    return Joined({"The ", noun, " is ", std::to_string(length), " characters long; VB allows 255."});
  }
  return std::nullopt;
}

// A name made of the request's text and `added` characters, past VB's limit: what to say, or nothing.
std::optional<std::string> DerivedTooLong(std::string_view text, std::size_t added, std::string_view what,
                                          std::string_view noun) {
  const std::size_t length = CharacterCount(text) + added;
  if (length <= kLongestName) return std::nullopt;
  return Joined({"With this ", noun, ", ", what, " would be ", std::to_string(length),
                 " characters long; VB allows 255: choose a shorter ", noun, "."});
}

// Why the type `text` cannot be written, or nothing when it can.
std::optional<std::string> TypeProblem(std::string_view text, std::string_view noun,
                                       const host::CodePage* codePage) {
  if (text.empty())
    return Joined({"The ", noun, " is empty; give the name of a type, such as Long or Collection."});
  const std::string quoted = Joined({"\"", text, "\" is not a type VB accepts: "});
  const std::size_t dot = text.find('.');
  std::vector<std::string_view> parts{text.substr(0, dot)};
  if (dot != std::string_view::npos) parts.push_back(text.substr(dot + 1));
  for (const std::string_view part : parts) {
    if (part.empty() || part.find('.') != std::string_view::npos) {
      return quoted + "a type is a name, or two names joined by a dot (Library.Class).";
    }
    if (const std::optional<std::string> why = WhyNotAName(part, codePage)) {
      return quoted + *why + ".";
    }
    if (IsReservedWord(part) && !IsBuiltInTypeName(part)) {
      return Joined({part, " is a reserved word in Visual Basic, not a type."});
    }
    if (const std::size_t length = CharacterCount(part); length > kLongestName) {
      return Joined(
          {"The ", noun, " holds a name ", std::to_string(length), " characters long; VB allows 255."});
    }
  }
  return std::nullopt;
}

// How a message names a routine of that kind.
std::string_view RoutineWords(host::ProcKind kind, bool isSub) {
  switch (kind) {
    case host::ProcKind::kGet:
      return "a Property Get";
    case host::ProcKind::kLet:
      return "a Property Let";
    case host::ProcKind::kSet:
      return "a Property Set";
    case host::ProcKind::kProc:
      break;
  }
  return isSub ? "a Sub" : "a Function";
}

std::string_view ModuleNameWords(host::ModuleNameKind kind) {
  switch (kind) {
    case host::ModuleNameKind::kConstant:
      return "a constant";
    case host::ModuleNameKind::kDeclare:
      return "a Declare";
    case host::ModuleNameKind::kEvent:
      return "an Event";
    case host::ModuleNameKind::kType:
      return "a Type";
    case host::ModuleNameKind::kEnum:
      return "an Enum";
    case host::ModuleNameKind::kVariable:
      break;
  }
  return "a variable";
}

// Whether the IDE says the module is a standard module; one that cannot tell is taken for another.
bool InStandardModule(const host::CodeModule& module) {
  try {
    const std::shared_ptr<host::VBComponent> component = module.Parent();
    return component && component->Type() == host::ComponentType::kStdModule;
  } catch (const host::HostError&) {
    return false;
  }
}

// The routine of that name and kind the module already has, as a refusal.
std::optional<ModuleRefusal> RoutineInUse(const host::CodeModule& module, std::string_view name,
                                          host::ProcKind kind) {
  const long line = module.FindProcBodyLine(name, kind);
  if (line == 0) return std::nullopt;
  const std::string declaration = ReadDeclaration(module, line).text;
  const std::optional<host::Declaration> parsed = host::ParseDeclaration(declaration);
  const bool isSub = parsed && parsed->isSub;
  const std::string_view spelled = parsed ? parsed->name : name;
  return ModuleRefusal{Joined({"The module already has ", RoutineWords(kind, isSub), " ", spelled}), line,
                       "choose another name"};
}

}  // namespace

std::optional<NameRefusal> FindUnwritableName(const Request& request, const host::CodePage* codePage,
                                              std::string_view prefix) {
  const Path path = PathOf(request);
  const std::string& name = request.sNom_Propriete;
  const std::string& variable = request.sNomVariable;
  if (path != Path::kComments) {
    if (name.empty()) return NameRefusal{RequestText::kName, "A routine needs a name."};
    std::optional<std::string> problem = NameProblem(name, "name", codePage);
    if (!problem && request.bCacher) {
      problem = DerivedTooLong(name, 5, "the declared name (the name and _Hide)", "name");
    }
    if (!problem && !request.bResumeNext) {
      problem = DerivedTooLong(name, 5, "the error label (Error and the name)", "name");
    }
    if (problem) return NameRefusal{RequestText::kName, std::move(*problem)};
  }
  if (path == Path::kProperty || !variable.empty()) {
    if (variable.empty()) return NameRefusal{RequestText::kVariable, "A property needs a variable."};
    std::optional<std::string> problem = NameProblem(variable, "variable", codePage);
    if (!problem && (path == Path::kProperty || path == Path::kComments)) {
      const std::string what = Joined({"the module variable (", prefix, " and the variable)"});
      problem = DerivedTooLong(variable, CharacterCount(prefix), what, "variable");
    }
    if (problem) return NameRefusal{RequestText::kVariable, std::move(*problem)};
  }
  if (path == Path::kProperty || (path != Path::kComments && !variable.empty())) {
    if (std::optional<std::string> problem = TypeProblem(request.sTypeVariable, "type", codePage)) {
      return NameRefusal{RequestText::kType, std::move(*problem)};
    }
  }
  if (path == Path::kFunction) {
    if (std::optional<std::string> problem = TypeProblem(request.sFuncReturn, "return type", codePage)) {
      return NameRefusal{RequestText::kReturnType, std::move(*problem)};
    }
  }
  return std::nullopt;
}

std::string ModuleRefusal::Message(long shownLine) const {
  std::string message = subject;
  if (line != 0) message += Joined({", at line ", std::to_string(shownLine)});
  if (!advice.empty()) message += Joined({"; ", advice});
  message += '.';
  return message;
}

std::optional<ModuleRefusal> FindModuleRefusal(const Request& request, const host::CodeModule& module,
                                               std::string_view prefix) {
  const Path path = PathOf(request);
  if (path == Path::kComments) return std::nullopt;
  if (request.bProp_Friend && InStandardModule(module)) {
    return ModuleRefusal{
        "Friend is allowed only in class modules, forms, user controls and the like, not in a standard "
        "module",
        0, ""};
  }
  const std::string declared = Joined({request.sNom_Propriete, request.bCacher ? "_Hide" : ""});
  std::vector<host::ProcKind> kinds{host::ProcKind::kProc, host::ProcKind::kGet};
  if (path != Path::kProperty) {
    kinds.insert(kinds.end(), {host::ProcKind::kLet, host::ProcKind::kSet});
  } else if (!request.bLectureSeule) {
    kinds.push_back(request.bProp_Set ? host::ProcKind::kSet : host::ProcKind::kLet);
  }
  for (const host::ProcKind kind : kinds) {
    if (std::optional<ModuleRefusal> refusal = RoutineInUse(module, declared, kind)) return refusal;
  }

  const long declarations = module.CountOfDeclarationLines();
  if (declarations <= 0) return std::nullopt;
  const host::DeclarationsSection section = host::ReadDeclarationsSection(module.Lines(1, declarations));
  const std::string backing = Joined({prefix, request.sNomVariable});
  for (const bool variable : {false, true}) {
    if (variable && path != Path::kProperty) break;
    for (const host::ModuleLevelName& used : section.names) {
      if (!host::SameName(used.name, variable ? backing : declared)) continue;
      return ModuleRefusal{Joined({"The module already has ", ModuleNameWords(used.kind), " ", used.name}),
                           used.line, variable ? "choose another variable" : "choose another name"};
    }
  }
  return std::nullopt;
}

bool RefuseUnwritable(const Request& request, const host::CodeModule& module, const host::Platform& platform,
                      std::string_view prefix) noexcept {
  try {
    std::string message;
    if (const std::optional<NameRefusal> name = FindUnwritableName(request, platform.codePage, prefix)) {
      message = name->message;
    } else if (const std::optional<ModuleRefusal> used = FindModuleRefusal(request, module, prefix)) {
      message = used->Message(used->line);
    }
    if (message.empty()) return false;
    platform.ui.MsgBox(message, kRefusalTitle);
  } catch (...) {
    host::ShowCaughtFailure(platform.ui, kRefusalTitle);
  }
  return true;
}

}  // namespace generator
