// host/template_store.h: where a team's templates are kept, and the files that hold them, which each
// platform finds and reads.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace host {

// The name of the folder that holds a project's templates, found as .editorconfig is: in the source
// file's folder or the nearest folder above it.
inline constexpr std::string_view kProjectTemplateFolder = ".scrivlet";

// Where the set in use comes from, first match winning: the project's, the user's, the built-in one.
enum class TemplateOrigin : std::uint8_t { kProject, kUser, kBuiltIn };

// A folder's template files as read: each file's name, its path as an error names it, and its bytes.
// Only the files the folder has are listed.
struct TemplateFolderFile {
  std::string name;
  std::string path;
  std::string bytes;
};

struct TemplateFolder {
  TemplateOrigin origin = TemplateOrigin::kBuiltIn;
  std::string path;  // empty for the built-in set
  std::vector<TemplateFolderFile> files;
};

class TemplateStore {
 public:
  virtual ~TemplateStore() = default;

  // The set that applies to a source file in `folder` (or to a project whose file is there): the
  // nearest project folder at or above it, else the user's folder when it holds any of `names`, else
  // the built-in set, with no files. An empty `folder` (an unsaved project) has no project set.
  // Throws std::runtime_error, naming the file, when a file of the set cannot be read.
  virtual TemplateFolder Find(std::string_view folder, std::span<const std::string_view> names) const = 0;

  // The folder "templates init" writes to when it is given none: the project folder in the current
  // folder.
  virtual std::string DefaultProjectFolder() const = 0;

  // Reads `names` from `folder` as a set of that origin; a file the folder lacks is left out. Throws
  // std::runtime_error when `folder` is not a folder or a file cannot be read.
  virtual TemplateFolder Read(std::string_view folder, std::span<const std::string_view> names) const = 0;

  // Creates `folder` if needed and writes each file into it, refusing (std::runtime_error, naming the
  // file, nothing written) when any of them is there already.
  virtual void Create(std::string_view folder, std::span<const TemplateFolderFile> files) const = 0;

 protected:
  TemplateStore() = default;
  TemplateStore(const TemplateStore&) = default;
  TemplateStore& operator=(const TemplateStore&) = default;
};

}  // namespace host
