// generator/template_loading.h: the template set that applies to a source file or a project, found
// through the platform's store and checked before anything is written with it.
#pragma once

#include <string>
#include <string_view>

#include "generator/template_set.h"
#include "host/code_page.h"
#include "host/platform.h"
#include "host/template_store.h"

namespace generator {

struct LoadedTemplates {
  TemplateSet set;
  host::TemplateOrigin origin = host::TemplateOrigin::kBuiltIn;
  std::string folder;  // empty for the built-in set
};

// The set for a source file or project file in `folder` (empty: an unsaved project); the built-in
// set when `store` is null. Throws TemplateError for a set that is not one, std::runtime_error for a
// file that cannot be read.
LoadedTemplates LoadTemplates(const host::TemplateStore* store, std::string_view folder);

// The set of the IDE's active project, found from the folder of its file (`projectFile`, as
// VBProject.FileName gives it; empty when unsaved) and held to the modules' code page when the
// platform knows it. Throws as LoadTemplates and RequireTemplatesWritable do.
LoadedTemplates LoadProjectTemplates(const host::Platform& platform, std::string_view projectFile);

// Parses the files of `folder` as a set.
LoadedTemplates ParseTemplateFolder(const host::TemplateFolder& folder);

// Which set is in use, for a person: "the built-in set", "the project's set in FOLDER", "your set in
// FOLDER".
std::string DescribeTemplates(const LoadedTemplates& loaded);

// Every character the set writes of its own must have bytes in the module's code page: a template
// is never written with "?" for a character. Throws TemplateError "FILE: line N: the character U+...
// cannot be written in code page N".
void RequireTemplatesWritable(const TemplateSet& set, const host::CodePage& codePage);

}  // namespace generator
