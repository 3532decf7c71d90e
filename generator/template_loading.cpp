// generator/template_loading.cpp: finding, parsing and checking the template set in use.
#include "generator/template_loading.h"

namespace generator {

LoadedTemplates ParseTemplateFolder(const host::TemplateFolder& folder) {
  std::vector<TemplateFile> files;
  for (const host::TemplateFolderFile& file : folder.files) {
    for (const std::string_view name : kTemplateFiles) {
      if (file.name == name) files.push_back({name, file.path, file.bytes});
    }
  }
  return {ParseTemplateSet(files), folder.origin, folder.path};
}

LoadedTemplates LoadTemplates(const host::TemplateStore* store, std::string_view folder) {
  if (store == nullptr) return {BuiltInTemplates(), host::TemplateOrigin::kBuiltIn, {}};
  return ParseTemplateFolder(store->Find(folder, kTemplateFiles));
}

LoadedTemplates LoadProjectTemplates(const host::Platform& platform, std::string_view projectFile) {
  const std::size_t slash = projectFile.find_last_of("/\\");
  LoadedTemplates loaded =
      LoadTemplates(platform.templates,
                    slash == std::string_view::npos ? std::string_view{} : projectFile.substr(0, slash));
  if (platform.codePage != nullptr) RequireTemplatesWritable(loaded.set, *platform.codePage);
  return loaded;
}

std::string DescribeTemplates(const LoadedTemplates& loaded) {
  switch (loaded.origin) {
    case host::TemplateOrigin::kProject:
      return "the project's set in " + loaded.folder;
    case host::TemplateOrigin::kUser:
      return "your set in " + loaded.folder;
    case host::TemplateOrigin::kBuiltIn:
      break;
  }
  return "the built-in set";
}

void RequireTemplatesWritable(const TemplateSet& set, const host::CodePage& codePage) {
  for (const Template* each : {&set.header, &set.trap, &set.resumeNextTrap}) {
    try {
      static_cast<void>(codePage.EncodeTaking(each->Literal()));
    } catch (const host::CodePageError& error) {
      throw TemplateError(each->File() + ": " + error.what());
    }
  }
}

}  // namespace generator
