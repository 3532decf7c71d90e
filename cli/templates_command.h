// cli/templates_command.h: "scrivlet templates": a set written to edit, which set applies, and a set
// checked with what it writes.
#pragma once

#include "cli/command_line.h"
#include "cli/scrivlet_command.h"

namespace cli {

// Runs the templates subcommand `command` names; returns the exit status. Throws what the store and
// the set throw, for the caller to report.
int RunTemplates(const Command& command, CommandServices& services);

// The folder whose set applies to `path`: a source file's own folder, else the path itself.
std::string TemplateFolderOf(std::string_view path);

}  // namespace cli
