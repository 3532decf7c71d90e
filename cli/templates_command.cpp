// cli/templates_command.cpp: the three templates subcommands.
#include "cli/templates_command.h"

#include <string>

#include "cli/cli_ui.h"
#include "generator/ecrire_code.h"
#include "generator/programmer_setting.h"
#include "generator/template_loading.h"
#include "host/platform.h"
#include "host/source_files/source_code_module.h"
#include "host/source_files/source_lines.h"

namespace cli {
namespace {

const host::TemplateStore& StoreOf(const CommandServices& services) {
  if (services.templates == nullptr) throw std::runtime_error("templates cannot be kept on this platform");
  return *services.templates;
}

void Write(CommandServices& services, std::string_view text) {
  services.out << text;
  services.out.flush();
  if (!services.out) throw std::runtime_error("standard output: cannot be written");
}

int Init(const Command& command, CommandServices& services) {
  const host::TemplateStore& store = StoreOf(services);
  const std::string folder =
      command.templatesPath.empty() ? store.DefaultProjectFolder() : command.templatesPath;
  std::vector<host::TemplateFolderFile> files;
  std::string names;
  for (std::size_t i = 0; i < generator::kTemplateFiles.size(); ++i) {
    const std::string_view name = generator::kTemplateFiles.at(i);
    files.push_back({std::string{name}, {}, generator::BuiltInTemplateTexts().at(i)});
    names += (i == 0 ? "" : ", ") + std::string{name};
  }
  store.Create(folder, files);
  Write(services, folder + ": wrote " + names + "; edit them to write in your team's style\n");
  return kSuccess;
}

int Show(const Command& command, CommandServices& services) {
  const std::string path = command.templatesPath.empty() ? "." : command.templatesPath;
  const host::TemplateFolder folder =
      StoreOf(services).Find(TemplateFolderOf(path), generator::kTemplateFiles);
  const generator::LoadedTemplates loaded = generator::ParseTemplateFolder(folder);
  std::string text = path + ": " + generator::DescribeTemplates(loaded) + "\n";
  for (const std::string_view name : generator::kTemplateFiles) {
    std::string from = "built-in";
    for (const host::TemplateFolderFile& file : folder.files) {
      if (file.name == name) from = file.path;
    }
    text += "  " + std::string{name} + ": " + from + "\n";
  }
  Write(services, text);
  return kSuccess;
}

// A standard module with a property, a Sub and a Function written into it, as a run would write them.
std::string Sample(const generator::TemplateSet& set, const host::CodePage& codec,
                   CommandServices& services) {
  host::SourceCodeModule module{std::string_view{"Attribute VB_Name = \"Sample\"\r\n"},
                                host::SourceKind::kStandardModule, host::ComponentType::kStdModule};
  CliUi ui{services.err};
  const host::Platform platform{ui,     services.clock,    services.dates, services.settings,
                                &codec, services.templates};
  const std::string programmer = generator::StoredProgrammer(services.settings);
  generator::Request function;
  function.bCreerFonction = true;
  function.sNom_Propriete = "Total";
  function.sFuncReturn = "Long";
  function.sUsage = "Adds up the list";
  function.sNomutilisateur = programmer;
  generator::Request sub = function;
  sub.bCreerFonction = false;
  sub.bCreerProcedure = true;
  sub.sNom_Propriete = "Refresh";
  sub.sUsage = "Reloads the list";
  generator::Request property = function;
  property.bCreerFonction = false;
  property.sNom_Propriete = "Value";
  property.sNomVariable = "NewValue";
  property.sTypeVariable = "Long";
  property.sUsage = "The value shown";
  for (const generator::Request* request : {&function, &sub, &property}) {
    generator::EcrireCode(*request, module, platform, &set);
  }
  if (ui.shown() > 0) throw std::runtime_error("the sample could not be written");
  std::string text = module.Text();
  std::string shown;
  for (std::size_t at = 0; at < text.size(); ++at) {
    if (text[at] == '\r' && at + 1 < text.size() && text[at + 1] == '\n') continue;
    shown += text[at];
  }
  return shown;
}

int Check(const Command& command, CommandServices& services) {
  const host::TemplateStore& store = StoreOf(services);
  const host::TemplateFolder folder = command.templatesPath.empty()
                                          ? store.Find(".", generator::kTemplateFiles)
                                          : store.Read(command.templatesPath, generator::kTemplateFiles);
  const generator::LoadedTemplates loaded = generator::ParseTemplateFolder(folder);
  const std::unique_ptr<host::CodePage> codec = services.codePages.Open(command.codePage);
  generator::RequireTemplatesWritable(loaded.set, *codec);
  Write(services, generator::DescribeTemplates(loaded) + ": every template can be used; a property, a Sub " +
                      "and a Function written with them:\n\n" + Sample(loaded.set, *codec, services));
  return kSuccess;
}

}  // namespace

std::string TemplateFolderOf(std::string_view path) {
  if (!host::SourceFileKindOfPath(path)) return std::string{path};
  const std::size_t slash = path.find_last_of("/\\");
  if (slash == std::string_view::npos) return ".";
  return slash == 0 ? std::string{path.substr(0, 1)} : std::string{path.substr(0, slash)};
}

int RunTemplates(const Command& command, CommandServices& services) {
  switch (command.templates) {
    case TemplatesAction::kInit:
      return Init(command, services);
    case TemplatesAction::kShow:
      return Show(command, services);
    case TemplatesAction::kCheck:
      return Check(command, services);
    case TemplatesAction::kNone:
      break;
  }
  return kUsage;
}

}  // namespace cli
