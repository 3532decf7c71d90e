// cli/generation_options.h: what a command line asks the generator for, and the request it makes.
#pragma once

#include <string>

#include "generator/c_ecrire_code.h"

namespace cli {

// The defaults are the options dialog's, but for the usage text, which goes without the dialog's
// trailing line break so that it leaves no stray line in a file.
struct GenerationOptions {
  std::string name;
  bool hide = false;
  bool comment = false;
  bool function = false;
  bool sub = false;
  bool readOnly = false;
  std::string returns = "String";
  std::string programmer;
  std::string variable;
  bool changed = false;
  bool isFriend = false;
  bool isPrivate = false;
  bool set = false;
  bool resumeNext = false;
  std::string type = "String";
  std::string usage = "Description of its utility";
  bool isStatic = false;
};

// The empty-name rule of the options dialog: a routine needs a name unless only comments are written.
bool LacksName(const GenerationOptions& options) noexcept;

// Assigns every option of `request`, in the order the options dialog assigns them.
void FillRequest(const GenerationOptions& options, generator::CEcrireCode& request);

}  // namespace cli
