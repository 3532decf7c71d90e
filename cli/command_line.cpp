// cli/command_line.cpp: the subcommands, their options, and the usage rules.
#include "cli/command_line.h"

#include <algorithm>
#include <array>
#include <initializer_list>
#include <limits>
#include <string>
#include <string_view>
#include <tuple>

#include "host/code_page.h"
#include "scrivlet_version.h"

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

constexpr std::array<std::string_view, 9> kSubcommands{
    "property", "sub", "function", "comments", "headers", "traps", "config", "templates", "doctor"};
constexpr std::array<std::string_view, 3> kTemplatesSubcommands{"init", "show", "check"};

// Defines the options of a subcommand: every one, or only those that `named` names, the arguments
// as the parser sees them. An option that the arguments do not name takes no value and breaks no
// rule, and defining one costs the parser more than reading a common file.
class Definer {
 public:
  Definer(CLI::App& sub, const std::vector<std::string>* named) : sub_(sub), named_(named) {}

  CLI::App& sub() { return sub_; }

  template <class T>
  CLI::Option* Option(const std::string& name, T& value, const std::string& description) {
    return Named(name) ? sub_.add_option(name, value, description) : nullptr;
  }
  CLI::Option* Flag(const std::string& name, bool& value, const std::string& description) {
    return Named(name) ? sub_.add_flag(name, value, description) : nullptr;
  }

 private:
  // "--name" or "--name=value".
  bool Named(std::string_view name) const {
    if (named_ == nullptr) return true;
    for (const std::string& argument : *named_) {
      const std::string_view given{argument};
      if (given.substr(0, given.find('=')) == name) return true;
    }
    return false;
  }

  CLI::App& sub_;
  const std::vector<std::string>* named_;
};

// Each option that is defined excludes each other one.
void Exclude(CLI::Option* option, std::initializer_list<CLI::Option*> others) {
  if (option == nullptr) return;
  for (CLI::Option* other : others) {
    if (other != nullptr) option->excludes(other);
  }
}

void AddFile(CLI::App& sub, Command& command) {
  sub.add_option("FILE", command.file, "VB6 source file (.bas, .cls, .ctl, .dob, .frm, .pag, .dsr)")
      ->required();
}

// The options every generating subcommand takes.
void AddWriting(Definer& options, Command& command) {
  options.Flag("--resume-next", command.request.bResumeNext, "trap errors with On Error Resume Next");
  if (CLI::Option* usage =
          options.Option("--usage", command.request.sUsage, "the routine's utility, for its header"))
    usage->default_str(command.request.sUsage);
  options.Option("--programmer", command.programmer, "the programmer's name (default: the stored one)");
  CLI::Option* print = options.Flag("--print", command.print,
                                    "write the result to standard output, leaving the file as it is");
  CLI::Option* diff =
      options.Flag("--diff", command.diff, "show the change as a unified diff, leaving the file as it is");
  Exclude(print, {diff});
  if (CLI::Option* codePage = options.Option("--codepage", command.codePage, "the file's Windows code page"))
    codePage->default_val(1252);
}

void AddCommon(Definer& options, Command& command) {
  CLI::Option* isPrivate = options.Flag("--private", command.request.bProp_Prive, "declare it Private");
  CLI::Option* isFriend = options.Flag("--friend", command.request.bProp_Friend, "declare it Friend");
  Exclude(isPrivate, {isFriend});
  options.Flag("--static", command.request.bVariableLoc_Static, "declare it Static");
  options.Flag("--hide", command.request.bCacher, "append _Hide to the declared name");
  AddWriting(options, command);
}

void AddVariable(Definer& options, Command& command, bool required) {
  const std::string description = "the parameter, and for a property its m_ variable's name";
  if (required) {
    options.sub().add_option("--variable", command.request.sNomVariable, description)->required();
  } else {
    options.Option("--variable", command.request.sNomVariable, description);
  }
  if (CLI::Option* type = options.Option("--type", command.request.sTypeVariable, "the parameter's type"))
    type->default_str("String");
}

std::string CodePageList() {
  std::string list;
  for (const int codePage : host::WindowsAnsiCodePages()) {
    if (!list.empty()) list += ", ";
    list += std::to_string(codePage);
  }
  return list;
}

std::string SubcommandList() {
  std::string list;
  for (std::size_t i = 0; i < kSubcommands.size(); ++i) {
    if (i > 0) list += i + 1 == kSubcommands.size() ? " and " : ", ";
    list += kSubcommands[i];
  }
  return list;
}

// What goes into the file is text: a file's path alone is bytes, as the system takes it.
void RequireText(std::string_view text, std::string_view what) {
  if (!host::IsValidUtf8(text)) throw UsageError(std::string{what} + " must be UTF-8 text");
}

void RequireOneLine(std::string_view text, std::string_view what) {
  RequireText(text, what);
  if (HoldsControlCharacter(text)) {
    throw UsageError(std::string{what} + " must not hold a line break or another control character");
  }
}

// A line number in plain decimal digits, 1 or more and within a long.
long LineNumber(const std::string& text) {
  const UsageError wrong{"--line " + text + ": not a line number (decimal digits, from 1)"};
  if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos) throw wrong;
  long value = 0;
  for (const char digit : text) {
    if (value > (std::numeric_limits<long>::max() - (digit - '0')) / 10) throw wrong;
    value = value * 10 + (digit - '0');
  }
  if (value < 1) throw wrong;
  return value;
}

}  // namespace

bool HoldsControlCharacter(std::string_view text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (byte < 0x20 || byte == 0x7F) return true;
    if (byte == 0xC2 && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) < 0xA0) return true;
  }
  return false;
}

void Configure(CLI::App& app, Command& command, std::string_view only,
               const std::vector<std::string>* named) {
  const auto wanted = [only](std::string_view name) { return only.empty() || only == name; };
  // Help lists every option.
  if (named != nullptr && std::any_of(named->begin(), named->end(), [](const std::string& argument) {
        return argument == "-h" || argument == "--help";
      })) {
    named = nullptr;
  }
  command.request.sFuncReturn = "String";
  command.request.sTypeVariable = "String";
  command.request.sUsage = "Description of its utility";
  // Options start with dashes on every platform: "/x" is a file's path, not an option, on Windows too.
  app.allow_windows_style_options(false);
  app.require_subcommand(1);
  app.set_version_flag("--version", std::string{"scrivlet "} + SCRIVLET_VERSION, "show the version and exit");
  app.footer(kExamples);

  if (wanted("property")) {
    CLI::App* property = app.add_subcommand("property", "write a property: Get, Let or Set, m_ variable");
    Definer options{*property, named};
    property->add_option("NAME", command.request.sNom_Propriete, "the property's name")->required();
    AddVariable(options, command, true);
    CLI::Option* set =
        options.Flag("--set", command.request.bProp_Set, "an object property: Set instead of Let");
    CLI::Option* changed = options.Flag("--changed", command.request.bProp_Changed,
                                        "add PropertyChanged and the PropertyBag lines");
    CLI::Option* readOnly = options.Flag("--read-only", command.request.bLectureSeule, "write the Get alone");
    Exclude(readOnly, {set, changed});
    AddCommon(options, command);
    AddFile(*property, command);
  }

  if (wanted("sub")) {
    CLI::App* sub = app.add_subcommand("sub", "write a Sub");
    Definer options{*sub, named};
    sub->add_option("NAME", command.request.sNom_Propriete, "the Sub's name")->required();
    AddCommon(options, command);
    AddFile(*sub, command);
    sub->callback([&command] { command.request.bCreerProcedure = true; });
  }

  if (wanted("function")) {
    CLI::App* function = app.add_subcommand("function", "write a Function");
    Definer options{*function, named};
    function->add_option("NAME", command.request.sNom_Propriete, "the Function's name")->required();
    AddVariable(options, command, false);
    if (CLI::Option* returns = options.Option("--returns", command.request.sFuncReturn, "the return type"))
      returns->default_str("String");
    AddCommon(options, command);
    AddFile(*function, command);
    function->callback([&command] { command.request.bCreerFonction = true; });
  }

  if (wanted("comments")) {
    CLI::App* comments =
        app.add_subcommand("comments", "write the header and body into the routine at a line");
    Definer options{*comments, named};
    comments
        ->add_option("--line", command.line, "the file's line (as an editor numbers it) inside the routine")
        ->required();
    options.Option("--variable", command.request.sNomVariable, "the variable of the property statement");
    AddWriting(options, command);
    AddFile(*comments, command);
    comments->callback([&command] { command.request.bComment = true; });
  }

  for (const auto& [name, action, what] : {std::tuple{"headers", DressingAction::kHeaders, "header"},
                                           std::tuple{"traps", DressingAction::kTraps, "error trap"}}) {
    if (!wanted(name)) continue;
    CLI::App* sub =
        app.add_subcommand(name, std::string{"give every routine in PATH... the "} + what + " it lacks");
    sub->add_option("PATH", command.paths,
                    "VB6 source files, folders (every source file below) and .vbp files")
        ->required();
    sub->add_flag("--remove", command.remove, std::string{"take out the "} + what + "s the templates added");
    sub->add_option("--only", command.only, "only the routines of these names (NAME,NAME or --only again)")
        ->delimiter(',')
        ->expected(1)
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    CLI::Option* diff =
        sub->add_flag("--diff", command.diff, "print the changes as a unified diff, writing nothing");
    CLI::Option* dryRun =
        sub->add_flag("--dry-run", command.dryRun, "say what would change, writing nothing");
    diff->excludes(dryRun);
    sub->add_flag("--resume-next", command.request.bResumeNext, "trap errors with On Error Resume Next");
    sub->add_option("--usage", command.request.sUsage, "the utility text of the headers");
    sub->add_option("--programmer", command.programmer, "the programmer's name (default: the stored one)");
    sub->add_option("--codepage", command.codePage, "the files' Windows code page")->default_val(1252);
    sub->callback([&command, action = action] { command.dressing = action; });
  }

  if (wanted("config")) {
    CLI::App* config = app.add_subcommand("config", "show or change stored settings");
    config->require_subcommand(1);
    CLI::App* programmer = config->add_subcommand("programmer", "show the programmer's name, or store NAME");
    programmer->add_option("NAME", command.newProgrammer, "the name to store");
    programmer->callback([&command] { command.configProgrammer = true; });
  }

  if (wanted("doctor")) {
    CLI::App* doctor = app.add_subcommand(
        "doctor", "on Windows: check that each host would load the add-in, and say how to fix it");
    doctor->add_flag("--elevated", command.doctorElevated,
                     "judge as for hosts run as administrator, as VB6 often is");
    doctor->callback([&command] { command.doctor = true; });
  }

  if (wanted("templates")) {
    CLI::App* templates =
        app.add_subcommand("templates", "write, show or check the header and trap templates");
    templates->require_subcommand(1);
    CLI::App* init =
        templates->add_subcommand("init", "write the built-in set into FOLDER (.scrivlet) to edit");
    init->add_option("FOLDER", command.templatesPath, "where to write the set");
    init->callback([&command] { command.templates = TemplatesAction::kInit; });
    CLI::App* show =
        templates->add_subcommand("show", "say which set applies to FILE (or this folder), and whence");
    show->add_option("FILE", command.templatesPath, "a source file or a folder");
    show->callback([&command] { command.templates = TemplatesAction::kShow; });
    CLI::App* check = templates->add_subcommand("check", "check the set in FOLDER and show what it writes");
    check->add_option("FOLDER", command.templatesPath,
                      "the folder of a set (default: the set that applies here)");
    check->add_option("--codepage", command.codePage, "the Windows code page the set is written in")
        ->default_val(1252);
    check->callback([&command] { command.templates = TemplatesAction::kCheck; });
  }
}

std::vector<std::string> ParserArguments(std::span<const std::string> arguments) {
  std::vector<std::string> parsed;
  bool optionsEnded = false;
  for (const std::string& argument : arguments) {
    if (!optionsEnded && argument == "--") optionsEnded = true;
    if (!optionsEnded && argument.size() > 3 && argument.starts_with("--") && argument.ends_with('=')) {
      parsed.push_back(argument.substr(0, argument.size() - 1));
      parsed.emplace_back();
      continue;
    }
    parsed.push_back(argument);
  }
  if (!parsed.empty() && !parsed.front().starts_with('-')) {
    bool known = false;
    for (const std::string_view subcommand : kSubcommands) known = known || parsed.front() == subcommand;
    if (!known) {
      throw UsageError(parsed.front() + ": not a subcommand; the subcommands are " + SubcommandList());
    }
    if (parsed.front() == "config" && parsed.size() > 1 && !parsed[1].starts_with('-') &&
        parsed[1] != "programmer") {
      throw UsageError("config " + parsed[1] + ": not a subcommand; the one of config is programmer");
    }
    if (parsed.front() == "templates" && parsed.size() > 1 && !parsed[1].starts_with('-') &&
        std::find(kTemplatesSubcommands.begin(), kTemplatesSubcommands.end(), parsed[1]) ==
            kTemplatesSubcommands.end()) {
      throw UsageError("templates " + parsed[1] +
                       ": not a subcommand; those of templates are init, show and check");
    }
  }
  return parsed;
}

void CheckUsage(Command& command) {
  if (command.programmer) RequireOneLine(*command.programmer, "--programmer");
  if (command.configProgrammer) {
    if (command.newProgrammer) RequireOneLine(*command.newProgrammer, "NAME");
    return;
  }
  if (command.doctor) return;
  if (command.dressing != DressingAction::kNone) {
    RequireText(command.request.sUsage, "--usage");
    for (const std::string& name : command.only) RequireOneLine(name, "--only");
  }
  if (command.templates != TemplatesAction::kNone || command.dressing != DressingAction::kNone) {
    if (!host::IsWindowsAnsiCodePage(command.codePage)) {
      throw UsageError("--codepage " + std::to_string(command.codePage) + ": not a Windows ANSI code page (" +
                       CodePageList() + ")");
    }
    return;
  }
  const generator::Request& request = command.request;
  RequireText(request.sUsage, "--usage");
  RequireOneLine(request.sNom_Propriete, "NAME");
  RequireOneLine(request.sNomVariable, "--variable");
  RequireOneLine(request.sTypeVariable, "--type");
  RequireOneLine(request.sFuncReturn, "--returns");
  if (request.bComment) command.caretLine = LineNumber(command.line);
  if (!host::IsWindowsAnsiCodePage(command.codePage)) {
    throw UsageError("--codepage " + std::to_string(command.codePage) + ": not a Windows ANSI code page (" +
                     CodePageList() + ")");
  }
  if (!request.bComment && !request.bCreerProcedure && !request.bCreerFonction &&
      request.sNomVariable.empty()) {
    throw UsageError("--variable must not be empty: a property needs a variable");
  }
}

}  // namespace cli
