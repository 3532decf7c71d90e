// platform/posix/template_folders.h: template sets in folders: a project's .scrivlet folder, found
// from a source file's folder upward, and the user's in the settings folder.
#pragma once

#include <string>

#include "host/template_store.h"

namespace platform::posix {

class TemplateFolders final : public host::TemplateStore {
 public:
  // `userFolder`: where the user's set is kept (empty: none), normally UserTemplateFolder().
  explicit TemplateFolders(std::string userFolder) : userFolder_(std::move(userFolder)) {}

  host::TemplateFolder Find(std::string_view folder, std::span<const std::string_view> names) const override;
  std::string DefaultProjectFolder() const override { return std::string{host::kProjectTemplateFolder}; }
  host::TemplateFolder Read(std::string_view folder, std::span<const std::string_view> names) const override;
  void Create(std::string_view folder, std::span<const host::TemplateFolderFile> files) const override;

 private:
  std::string userFolder_;
};

// The settings folder ($XDG_CONFIG_HOME/scrivlet, or ~/.config/scrivlet); empty when it cannot be told.
std::string UserTemplateFolder();

}  // namespace platform::posix
