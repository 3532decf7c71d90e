// cli/win32/registry_install_reader.h: what `scrivlet doctor` reads, from the Windows registry and files.
#pragma once

#include "cli/install_doctor.h"

namespace cli::win32 {

// Each read opens its key in the view asked for (KEY_WOW64_32KEY or KEY_WOW64_64KEY), whatever the
// bitness of scrivlet.exe, so that both hosts' views are seen from one program.
class RegistryInstallReader final : public InstallReader {
 public:
  std::optional<std::string> Text(RegistryRoot root, RegistryView view, std::string_view path,
                                  std::string_view name) const override;
  std::optional<std::uint32_t> Number(RegistryRoot root, RegistryView view, std::string_view path,
                                      std::string_view name) const override;
  bool KeyExists(RegistryRoot root, RegistryView view, std::string_view path) const override;
  std::optional<std::string> FileStart(std::string_view path, std::size_t size) const override;
  bool Elevated() const override;
};

}  // namespace cli::win32
