// cli/scrivlet_command.cpp: one command line run: settings shown or stored, or one generation into
// one file.
#include "cli/scrivlet_command.h"

#include <CLI/CLI.hpp>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/cli_ui.h"
#include "cli/command_line.h"
#include "cli/dressing_command.h"
#include "cli/install_doctor.h"
#include "cli/templates_command.h"
#include "cli/unified_diff.h"
#include "generator/ecrire_code.h"
#include "generator/programmer_setting.h"
#include "generator/request.h"
#include "generator/request_rules.h"
#include "generator/template_loading.h"
#include "host/code_page.h"
#include "host/date_formatter.h"
#include "host/host_error.h"
#include "host/platform.h"
#include "host/source_file.h"
#include "host/source_files/module_file.h"
#include "host/source_files/source_code_module.h"

namespace cli {
namespace {

// A write to standard output that did not reach it (a full disk, a closed pipe) is a failure.
void RequireWritten(std::ostream& out) {
  out.flush();
  if (!out) throw std::runtime_error("standard output: cannot be written");
}

int ConfigProgrammer(const Command& command, CommandServices& services) {
  if (!command.newProgrammer) {
    services.out << generator::StoredProgrammer(services.settings) << '\n';
    RequireWritten(services.out);
    return kSuccess;
  }
  generator::StoreProgrammer(services.settings, *command.newProgrammer);
  return kSuccess;
}

// The stored name, which a person may have edited by hand, keeps the rule of --programmer: one line
// of text.
std::string Programmer(const Command& command, const CommandServices& services) {
  if (command.programmer) return *command.programmer;
  std::string name = generator::StoredProgrammer(services.settings);
  const char* wrong = !host::IsValidUtf8(name)      ? "is not UTF-8 text"
                      : HoldsControlCharacter(name) ? "holds a line break or another control character"
                                                    : nullptr;
  if (wrong != nullptr) {
    throw host::SourceFileError(std::string{services.settingsPlace},
                                std::string{"the stored programmer's name "} + wrong +
                                    "; store it again with scrivlet config programmer NAME");
  }
  return name;
}

// The platform's dates, keeping the last one made: the header's creation date is written in the file's
// code page, and a day or month name of the locale that the code page cannot hold is then named as
// what it is, not as a character of the file.
class RememberedDates final : public host::DateFormatter {
 public:
  explicit RememberedDates(const host::DateFormatter& dates) : dates_(dates) {}
  std::string Format(const host::CivilDate& date, std::string_view pattern) const override {
    std::string text = dates_.Format(date, pattern);
    last_ = text;
    return text;
  }
  const std::string& last() const noexcept { return last_; }

 private:
  const host::DateFormatter& dates_;
  mutable std::string last_;
};

bool Encodes(const host::CodePage& codec, const std::string& text) {
  try {
    codec.EncodeTaking(std::string{text});
    return true;
  } catch (const host::CodePageError&) {
    return false;
  }
}

// The argument that gives a request's text.
std::string_view OptionOf(generator::RequestText text) {
  switch (text) {
    case generator::RequestText::kVariable:
      return "--variable";
    case generator::RequestText::kType:
      return "--type";
    case generator::RequestText::kReturnType:
      return "--returns";
    case generator::RequestText::kName:
      break;
  }
  return "NAME";
}

// The code line of the file line that --line names.
long CaretLine(const Command& command, const host::SourceCodeModule& module) {
  const long lines = module.FileLineCount();
  if (command.caretLine > lines) {
    throw UsageError("--line " + command.line + ": " + command.file + " has lines 1 to " +
                     std::to_string(lines));
  }
  const long caret = module.CodeLineOfFileLine(command.caretLine);
  if (caret == 0) {
    throw UsageError("--line " + command.line + ": lines 1 to " + std::to_string(module.HiddenHeaderLines()) +
                     " of " + command.file + " are its hidden header, not code");
  }
  return caret;
}

// Reads the file, generates into its lines in memory, and writes it once, only when nothing failed.
// Names, variables and types that VB would not accept are a wrong command line; a name the file
// already uses, or Friend in a standard module, is refused naming the file's line.
int Generate(Command& command, CommandServices& services) {
  host::ModuleFile file{services.files, services.codePages, command.file, command.codePage};
  const generator::LoadedTemplates templates =
      generator::LoadTemplates(services.templates, TemplateFolderOf(file.path()));
  generator::RequireTemplatesWritable(templates.set, file.codePage());
  const std::string_view prefix = templates.set.variablePrefix;
  generator::Request& request = command.request;
  if (const std::optional<generator::NameRefusal> refusal =
          generator::FindUnwritableName(request, &file.codePage(), prefix)) {
    throw UsageError(std::string{OptionOf(refusal->text)} + ": " + refusal->message);
  }
  host::SourceCodeModule& module = file.Read();
  if (request.bComment) module.pane().SetCaret(CaretLine(command, module));
  if (const std::optional<generator::ModuleRefusal> refusal =
          generator::FindModuleRefusal(request, module, prefix)) {
    throw host::SourceFileError(command.file, refusal->Message(module.FileLineOfCodeLine(refusal->line)));
  }
  if (!command.print && !command.diff) file.RequireSavable();

  request.sNomutilisateur = Programmer(command, services);
  CliUi ui{services.err};
  const RememberedDates dates{services.dates};
  const host::Platform platform{
      ui, services.clock, dates, services.settings, &file.codePage(), services.templates};
  generator::EcrireCode(request, module, platform, &templates.set);
  if (ui.shown() > 0) return kFailure;
  try {
    if (command.print || command.diff) {
      const host::NewFileBytes bytes = file.Render();
      if (command.diff) {
        services.out << UnifiedDiff(command.file, file.bytes(), bytes.Joined());
      } else {
        for (const std::string_view piece : bytes.pieces())
          services.out.write(piece.data(), static_cast<std::streamsize>(piece.size()));
      }
      RequireWritten(services.out);
      return kSuccess;
    }
    // The edit is made whatever the warning says: a retry would add the routine twice.
    if (const std::string warning = file.Save(); !warning.empty()) {
      services.err << "scrivlet: warning: " << warning << '\n';
    }
  } catch (const host::UnwritableTextError&) {
    // The locale's creation date is no character of the file: the way out is another code page or
    // another language of dates.
    if (!Encodes(file.codePage(), dates.last())) {
      throw std::runtime_error("the creation date in this locale, \"" + dates.last() +
                               "\", cannot be written in code page " + std::to_string(command.codePage) +
                               ": choose another --codepage, or another " +
                               std::string{services.datesLanguage} + "; nothing was written");
    }
    throw;
  }
  return kSuccess;
}

}  // namespace

namespace {

// Exit 2 where there is no Windows install to check: the run checked nothing, so it neither says that
// all is well (0) nor that something is wrong with an install (1).
int RunDoctor(const Command& command, CommandServices& services) {
  if (services.install == nullptr) {
    services.err
        << "scrivlet: doctor checks the add-in's install on Windows; run scrivlet.exe doctor there\n";
    return kUsage;
  }
  const Diagnosis diagnosis = Diagnose(*services.install, command.doctorElevated);
  services.out << RenderDiagnosis(diagnosis);
  RequireWritten(services.out);
  return diagnosis.status;
}

int Run(CLI::App& app, Command& command, std::span<const std::string> arguments, CommandServices& services) {
  try {
    const std::vector<std::string> parsed = ParserArguments(arguments);
    // ParserArguments refused any first argument that is neither an option nor a subcommand.
    Configure(app, command, parsed.empty() || parsed.front().starts_with('-') ? "" : parsed.front(), &parsed);
    std::vector<const char*> argv{"scrivlet"};
    for (const std::string& argument : parsed) argv.push_back(argument.c_str());
    app.parse(static_cast<int>(argv.size()), argv.data());
    CheckUsage(command);
  } catch (const CLI::ParseError& error) {
    if (error.get_exit_code() == 0) {
      const int code = app.exit(error, services.out, services.err);
      services.out.flush();
      if (services.out) return code;
      services.err << "scrivlet: standard output: cannot be written\n";
      return kFailure;
    }
    services.err << "scrivlet: " << error.what() << '\n';
    return kUsage;
  } catch (const UsageError& error) {
    services.err << "scrivlet: " << error.what() << '\n';
    return kUsage;
  }

  try {
    if (command.configProgrammer) return ConfigProgrammer(command, services);
    if (command.templates != TemplatesAction::kNone) return RunTemplates(command, services);
    if (command.dressing != DressingAction::kNone) return RunDressing(command, services);
    if (command.doctor) return RunDoctor(command, services);
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

}  // namespace

int RunScrivlet(std::span<const std::string> arguments, CommandServices& services) {
  Command command;
  CLI::App app{
      "Writes VB6 routine skeletons (properties, Subs, Functions, comment headers) into VB6 source files.",
      "scrivlet"};
  const int status = Run(app, command, arguments, services);
  if (services.endRun != nullptr) services.endRun(status);
  return status;
}

}  // namespace cli
