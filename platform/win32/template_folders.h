// platform/win32/template_folders.h: template sets in folders on Windows: a project's .scrivlet
// folder, found from a source file's folder upward, and the user's in %APPDATA%\Scrivlet.
#pragma once

#include <string>

#include "host/template_store.h"

namespace platform::win32 {

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

// %APPDATA%\Scrivlet (the roaming application data folder); empty when Windows cannot tell.
std::string UserTemplateFolder();

}  // namespace platform::win32
