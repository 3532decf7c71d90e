// cli/scrivlet_command.cpp: the subcommands, their options, and one generation into one file.
#include "cli/scrivlet_command.h"

#include <CLI/CLI.hpp>

#include <optional>
#include <string_view>
#include <vector>

#include "cli/cli_ui.h"
#include "cli/generation_options.h"
#include "generator/c_ecrire_code.h"
#include "host/host_error.h"
#include "host/platform.h"
#include "host/source_files/source_code_module.h"
#include "platform/posix/code_page_codec.h"

namespace cli {
namespace {

constexpr std::string_view kApplication = "Scrivlet";
constexpr std::string_view kIdentification = "Identification";
constexpr std::string_view kProgrammer = "Programmer";
constexpr std::string_view kDefaultProgrammer = "My name";
constexpr std::string_view kNameMissing = "Name of propriete cannot be null.";

constexpr const char* kExamples = R"(Examples:
  scrivlet property Title --variable NewTitle --changed MyControl.ctl
  scrivlet property Font --variable NewFont --type StdFont --set MyControl.ctl
  scrivlet function Total --variable Values --type Variant --returns Double Module1.bas
  scrivlet sub Refresh --private --resume-next Form1.frm
  scrivlet comments --line 42 Class1.cls
  scrivlet property Title --variable NewTitle --print MyControl.ctl | less
  scrivlet config programmer "Ada Lovelace"
)";

// A command line that parses but asks for something impossible.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Everything the parsed command line says.
struct Command {
  GenerationOptions options;
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
  sub.add_flag("--resume-next", command.options.resumeNext, "trap errors with On Error Resume Next");
  sub.add_option("--usage", command.options.usage, "the routine's utility, for its header")
      ->default_str(command.options.usage);
  sub.add_option("--programmer", command.programmer, "the programmer's name (default: the stored one)");
  sub.add_flag("--print", command.print, "write the result to standard output, leaving the file as it is");
  sub.add_option("--codepage", command.codePage, "the file's Windows code page")->default_val(1252);
}

void AddCommon(CLI::App& sub, Command& command) {
  CLI::Option* isPrivate = sub.add_flag("--private", command.options.isPrivate, "declare it Private");
  CLI::Option* isFriend = sub.add_flag("--friend", command.options.isFriend, "declare it Friend");
  isPrivate->excludes(isFriend);
  sub.add_flag("--static", command.options.isStatic, "declare it Static");
  sub.add_flag("--hide", command.options.hide, "append _Hide to the declared name");
  AddWriting(sub, command);
}

void AddVariable(CLI::App& sub, Command& command, bool required) {
  CLI::Option* variable = sub.add_option("--variable", command.options.variable,
                                         "the parameter, and for a property its m_ variable's name");
  if (required) variable->required();
  sub.add_option("--type", command.options.type, "the parameter's type")->default_str("String");
}

void Configure(CLI::App& app, Command& command) {
  app.require_subcommand(1);
  app.footer(kExamples);

  CLI::App* property = app.add_subcommand("property", "write a property: Get, Let or Set, m_ variable");
  property->add_option("NAME", command.options.name, "the property's name")->required();
  AddVariable(*property, command, true);
  CLI::Option* set =
      property->add_flag("--set", command.options.set, "an object property: Set instead of Let");
  CLI::Option* changed = property->add_flag("--changed", command.options.changed,
                                            "add PropertyChanged and the PropertyBag lines");
  CLI::Option* readOnly = property->add_flag("--read-only", command.options.readOnly, "write the Get alone");
  readOnly->excludes(set)->excludes(changed);
  AddCommon(*property, command);
  AddFile(*property, command);

  CLI::App* sub = app.add_subcommand("sub", "write a Sub");
  sub->add_option("NAME", command.options.name, "the Sub's name")->required();
  AddCommon(*sub, command);
  AddFile(*sub, command);
  sub->callback([&command] { command.options.sub = true; });

  CLI::App* function = app.add_subcommand("function", "write a Function");
  function->add_option("NAME", command.options.name, "the Function's name")->required();
  AddVariable(*function, command, false);
  function->add_option("--returns", command.options.returns, "the return type")->default_str("String");
  AddCommon(*function, command);
  AddFile(*function, command);
  function->callback([&command] { command.options.function = true; });

  CLI::App* comments = app.add_subcommand("comments", "write the header and body into the routine at a line");
  comments->add_option("--line", command.line, "the file's line (as an editor numbers it) inside the routine")
      ->required();
  comments->add_option("--variable", command.options.variable, "the variable of the property statement");
  AddWriting(*comments, command);
  AddFile(*comments, command);
  comments->callback([&command] { command.options.comment = true; });

  CLI::App* config = app.add_subcommand("config", "show or change stored settings");
  config->require_subcommand(1);
  CLI::App* programmer = config->add_subcommand("programmer", "show the programmer's name, or store NAME");
  programmer->add_option("NAME", command.newProgrammer, "the name to store");
  programmer->callback([&command] { command.configProgrammer = true; });
}

std::string CodePageList() {
  std::string list;
  for (const int codePage : platform::posix::SupportedCodePages()) {
    if (!list.empty()) list += ", ";
    list += std::to_string(codePage);
  }
  return list;
}

void CheckUsage(const Command& command, const std::vector<std::string>& arguments) {
  for (const std::string& argument : arguments) {
    if (!platform::posix::IsValidUtf8(argument)) throw UsageError("arguments must be UTF-8 text");
  }
  if (command.configProgrammer) return;
  if (!platform::posix::IsSupportedCodePage(command.codePage)) {
    throw UsageError("--codepage " + std::to_string(command.codePage) + ": not a Windows ANSI code page (" +
                     CodePageList() + ")");
  }
  if (!command.options.comment && !command.options.sub && !command.options.function &&
      command.options.variable.empty()) {
    throw UsageError("--variable must not be empty: a property needs a variable");
  }
}

int ConfigProgrammer(const Command& command, CommandServices& services) {
  if (!command.newProgrammer) {
    services.out << services.settings.GetSetting(kApplication, kIdentification, kProgrammer,
                                                 kDefaultProgrammer)
                 << '\n';
    return kSuccess;
  }
  services.settings.SaveSetting(kApplication, kIdentification, kProgrammer, *command.newProgrammer);
  return kSuccess;
}

// Reads the file, generates into its lines in memory, and writes it once, only when nothing failed.
int Generate(Command& command, CommandServices& services) {
  using platform::posix::SourceFileError;
  const std::optional<host::SourceKind> kind = host::SourceKindOfPath(command.file);
  if (!kind)
    throw SourceFileError(command.file, "not a VB6 source file (.bas, .cls, .ctl, .frm, .pag, .dsr)");
  const platform::posix::CodePageCodec codec{command.codePage};
  const platform::posix::SourceFile file = platform::posix::SourceFile::Read(command.file);
  std::optional<host::SourceCodeModule> module;
  try {
    // The decoded text is dropped once the module holds its lines, so that the memory is reused.
    const std::string text = codec.Decode(file.bytes());
    module.emplace(text, *kind);
  } catch (const std::runtime_error& error) {
    throw SourceFileError(command.file, error.what());
  }
  if (command.options.comment) {
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
  if (!command.print && file.IsReadOnly())
    throw SourceFileError(command.file, "is read-only; nothing was written");

  CliUi ui{services.err};
  GenerationOptions& options = command.options;
  options.programmer = command.programmer ? *command.programmer
                                          : services.settings.GetSetting(kApplication, kIdentification,
                                                                         kProgrammer, kDefaultProgrammer);
  if (LacksName(options)) {
    ui.MsgBox(kNameMissing, host::kProgramTitle);
    return kFailure;
  }
  const host::Platform platform{ui, services.clock, services.dates, services.settings};
  generator::CEcrireCode request{platform};
  FillRequest(options, request);
  request.EcrireCode(*module);
  if (ui.shown() > 0) return kFailure;

  std::string bytes;
  try {
    bytes = codec.EncodeTaking(module->Text());
  } catch (const platform::posix::CodePageError& error) {
    throw SourceFileError(command.file, std::string{error.what()} + "; nothing was written");
  }
  if (command.print) {
    services.out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    services.out.flush();
    if (!services.out) throw std::runtime_error("standard output: cannot be written");
    return kSuccess;
  }
  file.Replace(bytes, services.saveFaults);
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
