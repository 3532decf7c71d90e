// host/vb_code/declarations_section.h: what a module's declarations section declares, and the #If
// block, if any, that is still open where the section ends.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace host {

// What a statement of the declarations section declares.
enum class ModuleNameKind : std::uint8_t { kVariable, kConstant, kDeclare, kEvent, kType, kEnum };

struct ModuleLevelName {
  std::string name;  // as the module spells it, without a type character
  ModuleNameKind kind = ModuleNameKind::kVariable;
  long line = 0;  // the first line of the statement that declares it
};

struct DeclarationsSection {
  // In the order of the module, from every branch of every #If block. The members of a Type or an
  // Enum, which no Public, Private, Dim or Global starts, are not among them.
  std::vector<ModuleLevelName> names;
  // When the section ends inside an #If block, so that the first routine stands in it: the line just
  // after the last statement above the outermost such block, where code goes that every build of the
  // module must compile. 0 when no block is open.
  long beforeOpenBlock = 0;
};

// Reads the declarations section, `lines` being its lines joined by CR LF as CodeModule.Lines gives
// them (line 1 first). Continued statements are read as one, comments and the statements after a
// colon as VB reads them.
DeclarationsSection ReadDeclarationsSection(std::string_view lines);

}  // namespace host
