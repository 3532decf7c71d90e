// cli/scrivlet_command.cpp: the subcommands, their options, and one generation into one file.
#include "cli/scrivlet_command.h"

#include <CLI/CLI.hpp>

#include <optional>
#include <string_view>
#include <vector>

#include "cli/cli_ui.h"
#include "generator/ecrire_code.h"
#include "generator/programmer_setting.h"
#include "generator/request.h"
#include "generator/request_rules.h"
#include "host/code_page.h"
#include "host/host_error.h"
#include "host/platform.h"
#include "host/source_file.h"
#include "host/source_files/source_code_module.h"

namespace cli {
namespace {

constexpr const char* kExamples = R"(Examples:
  scrivlet property Title --variable NewTitle --changed MyControl.ctl
  scrivlet property Font --variable NewFont --type StdFont --set MyControl.ctl
  scrivlet function Total --variable Values --type Variant --returns Double Module1.bas
  scrivlet sub Refresh --private --resume-next Form1.frm
  scrivlet comments --line 42 Class1.cls
  scrivlet property Title --variable NewTitle --print MyControl.ctl | less
  scrivlet config programmer "Ada Lovelace"
)";

generator::Request DefaultRequest() {
  generator::Request request;
  request.sFuncReturn = "String";
  request.sTypeVariable = "String";
  request.sUsage = "Description of its utility";
  return request;
}

// A command line that parses but asks for something impossible.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Everything the parsed command line says. The request's defaults are the options dialog's, but for
// the usage text, which goes without the dialog's trailing line break so that it leaves no stray
// line in a file.
struct Command {
  generator::Request request = DefaultRequest();
  std::optional<std::string> programmer;  // --programmer, when given
  std::string file;
  int codePage = 1252;
  long line = 0;  // comments: the file line the caret is on
  bool print = false;
  bool configProgrammer = false;
  std::optional<std::string> newProgrammer;
};

void AddFile(CLI::App& sub, Command& command) {
  sub.add_option("FILE", command.file, "VB6 source file (.bas, .cls, .ctl, .frm, .pag, .dsr)")->required();
}

// The options every generating subcommand takes.
void AddWriting(CLI::App& sub, Command& command) {
  sub.add_flag("--resume-next", command.request.bResumeNext, "trap errors with On Error Resume Next");
  sub.add_option("--usage", command.request.sUsage, "the routine's utility, for its header")
      ->default_str(command.request.sUsage);
  sub.add_option("--programmer", command.programmer, "the programmer's name (default: the stored one)");
  sub.add_flag("--print", command.print, "write the result to standard output, leaving the file as it is");
  sub.add_option("--codepage", command.codePage, "the file's Windows code page")->default_val(1252);
}

void AddCommon(CLI::App& sub, Command& command) {
  CLI::Option* isPrivate = sub.add_flag("--private", command.request.bProp_Prive, "declare it Private");
  CLI::Option* isFriend = sub.add_flag("--friend", command.request.bProp_Friend, "declare it Friend");
  isPrivate->excludes(isFriend);
  sub.add_flag("--static", command.request.bVariableLoc_Static, "declare it Static");
  sub.add_flag("--hide", command.request.bCacher, "append _Hide to the declared name");
  AddWriting(sub, command);
}

void AddVariable(CLI::App& sub, Command& command, bool required) {
  CLI::Option* variable = sub.add_option("--variable", command.request.sNomVariable,
                                         "the parameter, and for a property its m_ variable's name");
  if (required) variable->required();
  sub.add_option("--type", command.request.sTypeVariable, "the parameter's type")->default_str("String");
}

void Configure(CLI::App& app, Command& command) {
  app.require_subcommand(1);
  app.footer(kExamples);

  CLI::App* property = app.add_subcommand("property", "write a property: Get, Let or Set, m_ variable");
  property->add_option("NAME", command.request.sNom_Propriete, "the property's name")->required();
  AddVariable(*property, command, true);
  CLI::Option* set =
      property->add_flag("--set", command.request.bProp_Set, "an object property: Set instead of Let");
  CLI::Option* changed = property->add_flag("--changed", command.request.bProp_Changed,
                                            "add PropertyChanged and the PropertyBag lines");
  CLI::Option* readOnly =
      property->add_flag("--read-only", command.request.bLectureSeule, "write the Get alone");
  readOnly->excludes(set)->excludes(changed);
  AddCommon(*property, command);
  AddFile(*property, command);

  CLI::App* sub = app.add_subcommand("sub", "write a Sub");
  sub->add_option("NAME", command.request.sNom_Propriete, "the Sub's name")->required();
  AddCommon(*sub, command);
  AddFile(*sub, command);
  sub->callback([&command] { command.request.bCreerProcedure = true; });

  CLI::App* function = app.add_subcommand("function", "write a Function");
  function->add_option("NAME", command.request.sNom_Propriete, "the Function's name")->required();
  AddVariable(*function, command, false);
  function->add_option("--returns", command.request.sFuncReturn, "the return type")->default_str("String");
  AddCommon(*function, command);
  AddFile(*function, command);
  function->callback([&command] { command.request.bCreerFonction = true; });

  CLI::App* comments = app.add_subcommand("comments", "write the header and body into the routine at a line");
  comments->add_option("--line", command.line, "the file's line (as an editor numbers it) inside the routine")
      ->required();
  comments->add_option("--variable", command.request.sNomVariable, "the variable of the property statement");
  AddWriting(*comments, command);
  AddFile(*comments, command);
  comments->callback([&command] { command.request.bComment = true; });

  CLI::App* config = app.add_subcommand("config", "show or change stored settings");
  config->require_subcommand(1);
  CLI::App* programmer = config->add_subcommand("programmer", "show the programmer's name, or store NAME");
  programmer->add_option("NAME", command.newProgrammer, "the name to store");
  programmer->callback([&command] { command.configProgrammer = true; });
}

std::string CodePageList() {
  std::string list;
  for (const int codePage : host::WindowsAnsiCodePages()) {
    if (!list.empty()) list += ", ";
    list += std::to_string(codePage);
  }
  return list;
}

void CheckUsage(const Command& command, const std::vector<std::string>& arguments) {
  for (const std::string& argument : arguments) {
    if (!host::IsValidUtf8(argument)) throw UsageError("arguments must be UTF-8 text");
  }
  if (command.configProgrammer) return;
  if (!host::IsWindowsAnsiCodePage(command.codePage)) {
    throw UsageError("--codepage " + std::to_string(command.codePage) + ": not a Windows ANSI code page (" +
                     CodePageList() + ")");
  }
  if (!command.request.bComment && !command.request.bCreerProcedure && !command.request.bCreerFonction &&
      command.request.sNomVariable.empty()) {
    throw UsageError("--variable must not be empty: a property needs a variable");
  }
}

int ConfigProgrammer(const Command& command, CommandServices& services) {
  if (!command.newProgrammer) {
    services.out << generator::StoredProgrammer(services.settings) << '\n';
    return kSuccess;
  }
  generator::StoreProgrammer(services.settings, *command.newProgrammer);
  return kSuccess;
}

// Reads the file, generates into its lines in memory, and writes it once, only when nothing failed.
int Generate(Command& command, CommandServices& services) {
  using host::SourceFileError;
  const std::optional<host::SourceKind> kind = host::SourceKindOfPath(command.file);
  if (!kind)
    throw SourceFileError(command.file, "not a VB6 source file (.bas, .cls, .ctl, .frm, .pag, .dsr)");
  const std::unique_ptr<host::CodePage> codec = services.codePages.Open(command.codePage);
  const std::unique_ptr<host::SourceFile> file = services.files.Read(command.file);
  std::optional<host::SourceCodeModule> module;
  try {
    // The decoded text is dropped once the module holds its lines, so that the memory is reused.
    const std::string text = codec->Decode(file->bytes());
    module.emplace(text, *kind);
  } catch (const std::runtime_error& error) {
    throw SourceFileError(command.file, error.what());
  }
  if (command.request.bComment) {
    const long lines = module->FileLineCount();
    if (command.line < 1 || command.line > lines) {
      throw UsageError("--line " + std::to_string(command.line) + ": " + command.file + " has lines 1 to " +
                       std::to_string(lines));
    }
    const long caret = module->CodeLineOfFileLine(command.line);
    if (caret == 0) {
      throw UsageError("--line " + std::to_string(command.line) + ": lines 1 to " +
                       std::to_string(module->HiddenHeaderLines()) + " of " + command.file +
                       " are its hidden header, not code");
    }
    module->pane().SetCaret(caret);
  }
  if (!command.print && file->IsReadOnly())
    throw SourceFileError(command.file, "is read-only; nothing was written");

  generator::Request& request = command.request;
  request.sNomutilisateur =
      command.programmer ? *command.programmer : generator::StoredProgrammer(services.settings);
  generator::RequireRoutineName(request);
  CliUi ui{services.err};
  const host::Platform platform{ui, services.clock, services.dates, services.settings};
  generator::EcrireCode(request, *module, platform);
  if (ui.shown() > 0) return kFailure;

  std::string bytes;
  try {
    bytes = codec->EncodeTaking(module->Text());
  } catch (const host::CodePageError& error) {
    throw SourceFileError(command.file, std::string{error.what()} + "; nothing was written");
  }
  if (command.print) {
    services.out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    services.out.flush();
    if (!services.out) throw std::runtime_error("standard output: cannot be written");
    return kSuccess;
  }
  // The edit is made whatever the warning says: a retry would add the routine twice.
  if (const std::string warning = file->Replace(bytes); !warning.empty()) {
    services.err << "scrivlet: warning: " << warning << '\n';
  }
  return kSuccess;
}

}  // namespace

int RunScrivlet(std::span<const std::string> arguments, CommandServices& services) {
  Command command;
  CLI::App app{
      "Writes VB6 routine skeletons (properties, Subs, Functions, comment headers) into VB6 source files.",
      "scrivlet"};
  Configure(app, command);
  std::vector<const char*> argv{"scrivlet"};
  for (const std::string& argument : arguments) argv.push_back(argument.c_str());
  try {
    app.parse(static_cast<int>(argv.size()), argv.data());
    CheckUsage(command, {arguments.begin(), arguments.end()});
  } catch (const CLI::ParseError& error) {
    if (error.get_exit_code() == 0) return app.exit(error, services.out, services.err);
    services.err << "scrivlet: " << error.what() << '\n';
    return kUsage;
  } catch (const UsageError& error) {
    services.err << "scrivlet: " << error.what() << '\n';
    return kUsage;
  }

  try {
    if (command.configProgrammer) return ConfigProgrammer(command, services);
    return Generate(command, services);
  } catch (const UsageError& error) {
    services.err << "scrivlet: " << error.what() << '\n';
    return kUsage;
  } catch (const host::HostError& error) {
    services.err << "scrivlet: " << error.description() << '\n';
    return kFailure;
  } catch (const std::exception& error) {
    services.err << "scrivlet: " << error.what() << '\n';
    return kFailure;
  }
}

}  // namespace cli
