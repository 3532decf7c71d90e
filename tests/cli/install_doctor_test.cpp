// tests/cli/install_doctor_test.cpp: the doctor's findings for a table of installs, good and broken, read
// from a registry and files kept in memory; and the PE headers it reads.
#include "cli/install_doctor.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "cli/scrivlet_command.h"
#include "tests/cli/scrivlet_fixture.h"
#include "tests/support/golden.h"

namespace {

using cli::RegistryRoot;
using cli::RegistryView;

// A registry of two views and a set of files. Keys above a value exist; lookups are exact.
class MemoryInstall final : public cli::InstallReader {
 public:
  void Set(RegistryRoot root, RegistryView view, const std::string& path, const std::string& name,
           const std::string& text) {
    AddKey(root, view, path);
    texts_[Name(root, view, path, name)] = text;
  }
  void SetNumber(RegistryRoot root, RegistryView view, const std::string& path, const std::string& name,
                 std::uint32_t number) {
    AddKey(root, view, path);
    numbers_[Name(root, view, path, name)] = number;
  }
  // A key that both views share (HKEY_CURRENT_USER\Software\Microsoft, ProgIDs, type libraries).
  void Shared(RegistryRoot root, const std::string& path, const std::string& name, const std::string& text) {
    for (const RegistryView view : {RegistryView::k32, RegistryView::k64}) Set(root, view, path, name, text);
  }
  void SharedNumber(RegistryRoot root, const std::string& path, const std::string& name,
                    std::uint32_t number) {
    for (const RegistryView view : {RegistryView::k32, RegistryView::k64})
      SetNumber(root, view, path, name, number);
  }
  // Removes the key and everything under it, in both views.
  void Delete(RegistryRoot root, const std::string& path) {
    for (const RegistryView view : {RegistryView::k32, RegistryView::k64}) Delete(root, view, path);
  }
  void Delete(RegistryRoot root, RegistryView view, const std::string& path) {
    const std::string prefix = Key(root, view, path);
    const auto under = [&prefix](const std::string& name) {
      return name == prefix || name.starts_with(prefix + '\\') || name.starts_with(prefix + '|');
    };
    std::erase_if(keys_, under);
    std::erase_if(texts_, [&under](const auto& entry) { return under(entry.first); });
    std::erase_if(numbers_, [&under](const auto& entry) { return under(entry.first); });
  }

  std::map<std::string, std::string> files;
  bool elevated = false;

  std::optional<std::string> Text(RegistryRoot root, RegistryView view, std::string_view path,
                                  std::string_view name) const override {
    const auto found = texts_.find(Name(root, view, std::string{path}, std::string{name}));
    return found == texts_.end() ? std::nullopt : std::optional{found->second};
  }
  std::optional<std::uint32_t> Number(RegistryRoot root, RegistryView view, std::string_view path,
                                      std::string_view name) const override {
    const auto found = numbers_.find(Name(root, view, std::string{path}, std::string{name}));
    return found == numbers_.end() ? std::nullopt : std::optional{found->second};
  }
  bool KeyExists(RegistryRoot root, RegistryView view, std::string_view path) const override {
    return keys_.contains(Key(root, view, std::string{path}));
  }
  std::optional<std::string> FileStart(std::string_view path, std::size_t size) const override {
    const auto found = files.find(std::string{path});
    return found == files.end() ? std::nullopt : std::optional{found->second.substr(0, size)};
  }
  bool Elevated() const override { return elevated; }

 private:
  static std::string Key(RegistryRoot root, RegistryView view, const std::string& path) {
    return std::string{root == RegistryRoot::kCurrentUser ? "HKCU" : "HKLM"} +
           (view == RegistryView::k32 ? "32:" : "64:") + path;
  }
  static std::string Name(RegistryRoot root, RegistryView view, const std::string& path,
                          const std::string& name) {
    return Key(root, view, path) + '|' + name;
  }
  void AddKey(RegistryRoot root, RegistryView view, std::string path) {
    for (;;) {
      keys_.insert(Key(root, view, path));
      const std::size_t slash = path.rfind('\\');
      if (slash == std::string::npos) return;
      path.resize(slash);
    }
  }

  std::set<std::string> keys_;
  std::map<std::string, std::string> texts_;
  std::map<std::string, std::uint32_t> numbers_;
};

constexpr RegistryRoot kUser = RegistryRoot::kCurrentUser;
constexpr RegistryRoot kMachine = RegistryRoot::kLocalMachine;
const std::string kClsid = "{FAEF55F2-E717-4EAD-A497-6FB86A685EF2}";
const std::string kServer = "Software\\Classes\\CLSID\\" + kClsid + "\\InprocServer32";
const std::string kTypeLib = "Software\\Classes\\TypeLib\\{ABD489EB-9188-4951-BE88-5A864556EE82}\\1.0\\0\\";
const std::string kVb6 = "Software\\Microsoft\\Visual Basic\\6.0\\Addins\\Penwright.Connect";
const std::string kVba32 = "Software\\Microsoft\\VBA\\VBE\\6.0\\Addins\\Penwright.Connect";
const std::string kVba64 = "Software\\Microsoft\\VBA\\VBE\\6.0\\Addins64\\Penwright.Connect";
const std::string kDll32 = R"(C:\Users\ada\AppData\Local\Programs\Scrivlet\x86\Scrivlet.dll)";
const std::string kDll64 = R"(C:\Users\ada\AppData\Local\Programs\Scrivlet\Scrivlet.dll)";
const std::string kExcelPolicy = "Software\\Policies\\Microsoft\\Office\\16.0\\Excel\\Security";

void PutLittle(std::string& bytes, std::size_t at, std::uint32_t value, std::size_t size) {
  for (std::size_t i = 0; i < size; ++i) bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xffU);
}

// The headers of a DLL, as far as the doctor reads them: PE32 for x86, PE32+ otherwise.
std::string Pe(std::uint16_t machine, bool signedFile, std::uint32_t directories = 16) {
  std::string bytes(512, '\0');
  bytes[0] = 'M';
  bytes[1] = 'Z';
  PutLittle(bytes, 0x3c, 0x80, 4);
  bytes.replace(0x80, 4, std::string{"PE\0\0", 4});
  PutLittle(bytes, 0x84, machine, 2);
  const bool plus = machine != 0x14c;
  const std::size_t optional = 0x80 + 24;
  PutLittle(bytes, optional, plus ? 0x20b : 0x10b, 2);
  PutLittle(bytes, optional + (plus ? 108 : 92), directories, 4);
  if (signedFile) {
    // The security directory is the fifth, eight bytes each.
    const std::size_t security = optional + (plus ? 112 : 96) + std::size_t{32};
    PutLittle(bytes, security, 0x6000, 4);
    PutLittle(bytes, security + 4, 0x1d40, 4);
  }
  return bytes;
}

// What the per-user package (or regsvr32 /n /i:user on both DLLs) leaves.
MemoryInstall PerUser() {
  MemoryInstall install;
  install.SharedNumber(kUser, kVb6, "LoadBehavior", 5);
  install.SharedNumber(kUser, kVba32, "LoadBehavior", 3);
  install.SharedNumber(kUser, kVba64, "LoadBehavior", 3);
  install.Shared(kUser, "Software\\Classes\\Penwright.Connect\\CLSID", "", kClsid);
  install.Set(kUser, RegistryView::k32, kServer, "", kDll32);
  install.Set(kUser, RegistryView::k64, kServer, "", kDll64);
  install.Shared(kUser, kTypeLib + "win32", "", kDll32);
  install.Shared(kUser, kTypeLib + "win64", "", kDll64);
  install.files[kDll32] = Pe(0x14c, false);
  install.files[kDll64] = Pe(0x8664, false);
  return install;
}

// The classes moved to HKEY_LOCAL_MACHINE, as a machine-wide registration leaves them.
MemoryInstall ForEveryone() {
  MemoryInstall install = PerUser();
  install.Delete(kUser, "Software\\Classes");
  install.Shared(kMachine, "Software\\Classes\\Penwright.Connect\\CLSID", "", kClsid);
  install.Set(kMachine, RegistryView::k32, kServer, "", kDll32);
  install.Set(kMachine, RegistryView::k64, kServer, "", kDll64);
  install.Shared(kMachine, kTypeLib + "win32", "", kDll32);
  install.Shared(kMachine, kTypeLib + "win64", "", kDll64);
  return install;
}

struct Case {
  const char* label;
  std::function<MemoryInstall()> make;
  bool asElevated = false;
};

const Case kCases[] = {
    {"per_user", PerUser},
    {"for_everyone_with_hosts_installed",
     [] {
       MemoryInstall install = ForEveryone();
       install.Set(kMachine, RegistryView::k32, "Software\\Microsoft\\Visual Basic\\6.0", "", "");
       install.Set(kMachine, RegistryView::k64, "Software\\Microsoft\\Office\\ClickToRun\\Configuration",
                   "Platform", "x64");
       return install;
     }},
    {"nothing_registered", [] { return MemoryInstall{}; }},
    {"load_behavior_0_and_2",
     [] {
       MemoryInstall install = PerUser();
       install.SharedNumber(kUser, kVb6, "LoadBehavior", 0);
       install.SharedNumber(kUser, kVba32, "LoadBehavior", 2);
       return install;
     }},
    {"load_behavior_text",
     [] {
       MemoryInstall install = PerUser();
       install.Delete(kUser, kVba64);
       install.Shared(kUser, kVba64, "LoadBehavior", "3");
       return install;
     }},
    {"class_only_64_bit",
     [] {
       MemoryInstall install = PerUser();
       install.Delete(kUser, RegistryView::k32, "Software\\Classes\\CLSID");
       return install;
     }},
    {"progid_names_another_class",
     [] {
       MemoryInstall install = PerUser();
       install.Shared(kUser, "Software\\Classes\\Penwright.Connect\\CLSID", "",
                      "{00000000-0000-0000-0000-000000000001}");
       return install;
     }},
    {"progid_missing",
     [] {
       MemoryInstall install = PerUser();
       install.Delete(kUser, "Software\\Classes\\Penwright.Connect");
       return install;
     }},
    {"dll_moved",
     [] {
       MemoryInstall install = PerUser();
       install.files.erase(kDll32);
       return install;
     }},
    {"dll_of_other_bitness_and_arm64",
     [] {
       MemoryInstall install = PerUser();
       install.files[kDll32] = Pe(0x8664, false);
       install.files[kDll64] = Pe(0xaa64, false);
       return install;
     }},
    {"dll_not_a_program",
     [] {
       MemoryInstall install = PerUser();
       install.files[kDll64] = "MZ but nothing after";
       return install;
     }},
    {"type_library_missing",
     [] {
       MemoryInstall install = PerUser();
       install.Delete(kUser, kTypeLib + "win64");
       return install;
     }},
    {"per_user_classes_elevated", PerUser, true},
    {"per_user_classes_elevated_process",
     [] {
       MemoryInstall install = PerUser();
       install.elevated = true;
       return install;
     }},
    {"both_scopes_elevated",
     [] {
       MemoryInstall install = ForEveryone();
       install.Set(kUser, RegistryView::k32, kServer, "", kDll32);
       install.files[kDll32] = Pe(0x14c, false);
       return install;
     },
     true},
    {"signature_policy_unsigned",
     [] {
       MemoryInstall install = PerUser();
       install.SharedNumber(kUser, kExcelPolicy, "RequireAddinSig", 1);
       return install;
     }},
    {"signature_policy_signed",
     [] {
       MemoryInstall install = ForEveryone();
       install.SharedNumber(kMachine, kExcelPolicy, "RequireAddinSig", 1);
       install.files[kDll32] = Pe(0x14c, true);
       install.files[kDll64] = Pe(0x8664, true);
       return install;
     }},
    {"signature_policy_off",
     [] {
       MemoryInstall install = ForEveryone();
       install.SharedNumber(kUser, kExcelPolicy, "RequireAddinSig", 0);
       return install;
     }},
};

// Every case's report and exit status, in one golden file that reads as the table of installs: the
// first cases whole, the others by what they find wrong or note, as their "ok" lines repeat those.
TEST(InstallDoctor, FindingsOfEachInstall) {
  std::string all;
  std::size_t index = 0;
  for (const Case& c : kCases) {
    const cli::Diagnosis diagnosis = cli::Diagnose(c.make(), c.asElevated);
    all += std::string{"== "} + c.label + (c.asElevated ? " --elevated" : "") + ": exit " +
           std::to_string(diagnosis.status) + '\n';
    const std::string report = cli::RenderDiagnosis(diagnosis);
    for (std::size_t start = 0; start < report.size();) {
      const std::size_t end = std::min(report.find('\n', start), report.size() - 1) + 1;
      const std::string_view line = std::string_view{report}.substr(start, end - start);
      if (index < 2 || !line.starts_with("  ok: ")) all += line;
      start = end;
    }
    ++index;
  }
  EXPECT_TRUE(test::MatchesGolden("cli/doctor_findings.txt", all));
}

struct PeCase {
  const char* label;
  std::string bytes;
  std::optional<std::uint16_t> machine;  // nothing: no PE image
  bool signedFile;
};

TEST(InstallDoctor, ReadsPeHeaders) {
  const std::string x86 = Pe(0x14c, true);
  std::string badSignature = x86;
  badSignature[0x81] = 'X';
  std::string farHeader = x86;
  PutLittle(farHeader, 0x3c, 0xfffffff0U, 4);
  std::string unknownMagic = x86;
  PutLittle(unknownMagic, 0x80 + 24, 0x107, 2);
  const PeCase cases[] = {
      {"x86_signed", x86, 0x14c, true},
      {"x64_unsigned", Pe(0x8664, false), 0x8664, false},
      {"arm64_signed", Pe(0xaa64, true), 0xaa64, true},
      {"no_security_directory", Pe(0x8664, true, 4), 0x8664, false},
      {"cut_before_directories", x86.substr(0, 0x80 + 24 + 2), 0x14c, false},
      {"cut_in_dos_header", x86.substr(0, 0x3e), std::nullopt, false},
      {"not_mz", "ZM" + x86.substr(2), std::nullopt, false},
      {"bad_pe_signature", badSignature, std::nullopt, false},
      {"header_offset_past_end", farHeader, std::nullopt, false},
      {"rom_image_magic", unknownMagic, std::nullopt, false},
  };
  for (const PeCase& c : cases) {
    const auto facts = cli::ReadPeFacts(c.bytes);
    ASSERT_EQ(facts.has_value(), c.machine.has_value()) << c.label;
    if (!facts) continue;
    EXPECT_EQ(facts->machine, *c.machine) << c.label;
    EXPECT_EQ(facts->signedFile, c.signedFile) << c.label;
  }
}

class DoctorCommand : public test::ScrivletTest {};

// Linux has no install of the add-in to check: the run says so and checks nothing.
TEST_F(DoctorCommand, SaysItChecksWindowsInstalls) {
  const test::Result result = Run({"doctor"});
  EXPECT_EQ(result.code, 2);
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(result.err,
            "scrivlet: doctor checks the add-in's install on Windows; run scrivlet.exe doctor there\n");
}

}  // namespace
