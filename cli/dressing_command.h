// cli/dressing_command.h: "scrivlet headers" and "scrivlet traps" over files, folders and projects.
#pragma once

#include "cli/command_line.h"
#include "cli/scrivlet_command.h"

namespace cli {

// Edits every file the command's paths stand for, each all or nothing, going on past a file that
// cannot be edited; prints a summary. Exit status 1 when a file was not edited or a routine was left
// for want of a way to dress it; 0 otherwise.
int RunDressing(const Command& command, CommandServices& services);

}  // namespace cli
