// cli/command_line.h: the subcommands and options of scrivlet, parsed into one command, and the
// rules a command line must keep before any file is read.
#pragma once

#include <CLI/CLI.hpp>

#include <cstdint>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "generator/request.h"

namespace cli {

// A command line that parses but asks for something impossible: exit status 2.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// What "scrivlet templates" is asked to do.
enum class TemplatesAction : std::uint8_t { kNone, kInit, kShow, kCheck };

// Which of the runs over existing routines, if any.
enum class DressingAction : std::uint8_t { kNone, kHeaders, kTraps };

// Everything the parsed command line says. The request's defaults are the options dialog's, but for
// the usage text, which goes without the dialog's trailing line break so that it leaves no stray
// line in a file.
struct Command {
  generator::Request request;
  std::optional<std::string> programmer;  // --programmer, when given
  std::string file;
  int codePage = 1252;
  std::string line;  // comments: the file line the caret is on, as typed
  long caretLine = 0;
  bool print = false;
  bool diff = false;  // print the change as a unified diff, writing nothing
  bool configProgrammer = false;
  std::optional<std::string> newProgrammer;
  TemplatesAction templates = TemplatesAction::kNone;
  std::string templatesPath;  // the FOLDER or FILE a templates subcommand names; empty when none
  bool doctor = false;
  bool doctorElevated = false;  // doctor --elevated
  DressingAction dressing = DressingAction::kNone;
  std::vector<std::string> paths;  // files, folders and .vbp project files
  std::vector<std::string> only;   // --only: the routines to touch
  bool remove = false;             // --remove
  bool dryRun = false;             // --dry-run
};

// Defines the subcommands and options of `app`, each filling `command`: only subcommand `only` when
// it is given (the one the arguments name, which is all a run parses), else every one, as the
// program's help lists them. With `named`, the arguments as the parser sees them, a subcommand's
// options that they do not name are left out, unless they ask for help; its required ones never are.
// Defining every option costs more than reading a common file.
void Configure(CLI::App& app, Command& command, std::string_view only = {},
               const std::vector<std::string>* named = nullptr);

// The arguments as the parser is to see them. An option given as "--name=" with nothing after the
// equals sign has an empty value, never the next argument. Throws UsageError for a subcommand that
// does not exist, naming the ones that do. A file's path is taken as the bytes it is.
std::vector<std::string> ParserArguments(std::span<const std::string> arguments);

// C0 and C1 controls and DEL: a line break among them would put the rest of the text on a line of
// its own, as code, and the others have no place in a comment either.
bool HoldsControlCharacter(std::string_view text);

// The rules of a parsed command line: every text is UTF-8, names and types are one line of printable
// text, the code page is a Windows one, a property has a variable, and --line is a line number.
// Throws UsageError. VB's own rules for names and types need the code page, and are held when the
// run opens it.
void CheckUsage(Command& command);

}  // namespace cli
