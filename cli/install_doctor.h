// cli/install_doctor.h: why the add-in would or would not load in each host, read from the registry and
// the files through an interface, so that the findings are the same on Windows and in a test.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace cli {

enum class RegistryRoot : std::uint8_t { kCurrentUser, kLocalMachine };
// The registry view of a 32-bit or a 64-bit program; on 32-bit Windows both are the one registry.
enum class RegistryView : std::uint8_t { k32, k64 };

// What the doctor reads of a Windows machine. Paths are below the root, joined by backslashes.
class InstallReader {
 public:
  virtual ~InstallReader() = default;
  // A text value (an expandable one expanded); empty `name`: the key's default value. Nothing when the
  // key or the value is absent or is not text.
  virtual std::optional<std::string> Text(RegistryRoot root, RegistryView view, std::string_view path,
                                          std::string_view name) const = 0;
  // A DWORD value; nothing when absent or of another type.
  virtual std::optional<std::uint32_t> Number(RegistryRoot root, RegistryView view, std::string_view path,
                                              std::string_view name) const = 0;
  virtual bool KeyExists(RegistryRoot root, RegistryView view, std::string_view path) const = 0;
  // The file's first `size` bytes (fewer when it is shorter); nothing when it cannot be opened.
  virtual std::optional<std::string> FileStart(std::string_view path, std::size_t size) const = 0;
  // Whether this process runs elevated, as an administrator's host would.
  virtual bool Elevated() const = 0;
};

// What a PE file's headers say: its Machine, and whether its security directory holds a certificate
// table (an Authenticode signature, whether or not it is trusted).
struct PeFacts {
  std::uint16_t machine = 0;
  bool signedFile = false;
};
// Nothing when `bytes` (the file's start) is no PE image.
std::optional<PeFacts> ReadPeFacts(std::string_view bytes);

enum class Verdict : std::uint8_t { kFine, kNote, kProblem };

struct Finding {
  Verdict verdict = Verdict::kFine;
  std::string text;
  std::string fix;  // one sentence; empty for a fine finding
};

struct HostDiagnosis {
  std::string host;
  bool registered = false;  // its add-in entry is there and its class is found
  std::vector<Finding> findings;
};

struct Diagnosis {
  std::vector<HostDiagnosis> hosts;
  std::vector<Finding> overall;
  int status = 1;  // 0: registered for a host at least, and no problem
};

// `asElevated`: judge as for hosts run as administrator, even when this process is not.
Diagnosis Diagnose(const InstallReader& reader, bool asElevated);

// The report as printed: each host with its findings, each problem with its fix.
std::string RenderDiagnosis(const Diagnosis& diagnosis);

}  // namespace cli
