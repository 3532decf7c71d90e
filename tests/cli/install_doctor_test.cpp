// tests/cli/install_doctor_test.cpp: the doctor's findings for a table of installs, good and broken, read
// from a registry and files kept in memory; and the PE headers it reads.
#include "cli/install_doctor.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <variant>
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
  using Value = std::variant<std::string, std::uint32_t>;
  // No view: in both, as for the keys they share (HKEY_CURRENT_USER\Software\Microsoft, ProgIDs, type
  // libraries).
  void Set(RegistryRoot root, std::optional<RegistryView> view, const std::string& path,
           const std::string& name, const Value& value) {
    for (const RegistryView each : Views(view)) {
      for (std::string key = path;; key.resize(key.rfind('\\'))) {
        keys_.insert(Key(root, each, key));
        if (key.find('\\') == std::string::npos) break;
      }
      values_[Key(root, each, path) + '|' + name] = value;
    }
  }
  // Removes the key and everything under it.
  void Delete(RegistryRoot root, std::optional<RegistryView> view, const std::string& path) {
    for (const RegistryView each : Views(view)) {
      const std::string prefix = Key(root, each, path);
      const auto under = [&prefix](const std::string& name) {
        return name == prefix || name.starts_with(prefix + '\\') || name.starts_with(prefix + '|');
      };
      std::erase_if(keys_, under);
      std::erase_if(values_, [&under](const auto& entry) { return under(entry.first); });
    }
  }

  std::map<std::string, std::string> files;
  bool elevated = false;

  std::optional<std::string> Text(RegistryRoot root, RegistryView view, std::string_view path,
                                  std::string_view name) const override {
    return Get<std::string>(root, view, path, name);
  }
  std::optional<std::uint32_t> Number(RegistryRoot root, RegistryView view, std::string_view path,
                                      std::string_view name) const override {
    return Get<std::uint32_t>(root, view, path, name);
  }
  bool KeyExists(RegistryRoot root, RegistryView view, std::string_view path) const override {
    return keys_.contains(Key(root, view, path));
  }
  std::optional<std::string> FileStart(std::string_view path, std::size_t size) const override {
    const auto found = files.find(std::string{path});
    return found == files.end() ? std::nullopt : std::optional{found->second.substr(0, size)};
  }
  bool Elevated() const override { return elevated; }

 private:
  static std::vector<RegistryView> Views(std::optional<RegistryView> view) {
    return view ? std::vector{*view} : std::vector{RegistryView::k32, RegistryView::k64};
  }
  static std::string Key(RegistryRoot root, RegistryView view, std::string_view path) {
    return std::string{root == RegistryRoot::kCurrentUser ? "HKCU" : "HKLM"} +
           (view == RegistryView::k32 ? "32:" : "64:") + std::string{path};
  }
  template <class T>
  std::optional<T> Get(RegistryRoot root, RegistryView view, std::string_view path,
                       std::string_view name) const {
    const auto found = values_.find(Key(root, view, path) + '|' + std::string{name});
    if (found == values_.end() || !std::holds_alternative<T>(found->second)) return std::nullopt;
    return std::get<T>(found->second);
  }

  std::set<std::string> keys_;
  std::map<std::string, Value> values_;
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

constexpr std::optional<RegistryView> kBoth;
constexpr RegistryView k32 = RegistryView::k32;
constexpr RegistryView k64 = RegistryView::k64;

// What the per-user package (or regsvr32 /n /i:user on both DLLs) leaves; `root` holds the classes.
MemoryInstall Registered(RegistryRoot root) {
  MemoryInstall install;
  install.Set(kUser, kBoth, kVb6, "LoadBehavior", 5U);
  install.Set(kUser, kBoth, kVba32, "LoadBehavior", 3U);
  install.Set(kUser, kBoth, kVba64, "LoadBehavior", 3U);
  install.Set(root, kBoth, "Software\\Classes\\Penwright.Connect\\CLSID", "", kClsid);
  install.Set(root, k32, kServer, "", kDll32);
  install.Set(root, k64, kServer, "", kDll64);
  install.Set(root, kBoth, kTypeLib + "win32", "", kDll32);
  install.Set(root, kBoth, kTypeLib + "win64", "", kDll64);
  install.files[kDll32] = Pe(0x14c, false);
  install.files[kDll64] = Pe(0x8664, false);
  return install;
}

struct Case {
  const char* label;
  RegistryRoot classes;  // of the good install the row starts from
  std::function<void(MemoryInstall&)> breaking;
  bool asElevated = false;
};

const Case kCases[] = {
    {"per_user", kUser, [](MemoryInstall&) {}},
    {"for_everyone_with_hosts_installed", kMachine,
     [](MemoryInstall& install) {
       install.Set(kMachine, k32, "Software\\Microsoft\\Visual Basic\\6.0", "", "");
       install.Set(kMachine, k64, "Software\\Microsoft\\Office\\ClickToRun\\Configuration", "Platform",
                   "x64");
     }},
    {"nothing_registered", kUser, [](MemoryInstall& install) { install = MemoryInstall{}; }},
    {"load_behavior_0_and_2", kUser,
     [](MemoryInstall& install) {
       install.Set(kUser, kBoth, kVb6, "LoadBehavior", 0U);
       install.Set(kUser, kBoth, kVba32, "LoadBehavior", 2U);
     }},
    {"load_behavior_text", kUser,
     [](MemoryInstall& install) { install.Set(kUser, kBoth, kVba64, "LoadBehavior", std::string{"3"}); }},
    {"class_only_64_bit", kUser,
     [](MemoryInstall& install) { install.Delete(kUser, k32, "Software\\Classes\\CLSID"); }},
    {"progid_names_another_class", kUser,
     [](MemoryInstall& install) {
       install.Set(kUser, kBoth, "Software\\Classes\\Penwright.Connect\\CLSID", "",
                   std::string{"{00000000-0000-0000-0000-000000000001}"});
     }},
    {"progid_missing", kUser,
     [](MemoryInstall& install) { install.Delete(kUser, kBoth, "Software\\Classes\\Penwright.Connect"); }},
    {"dll_moved", kUser, [](MemoryInstall& install) { install.files.erase(kDll32); }},
    {"dll_of_other_bitness_and_arm64", kUser,
     [](MemoryInstall& install) {
       install.files[kDll32] = Pe(0x8664, false);
       install.files[kDll64] = Pe(0xaa64, false);
     }},
    {"dll_not_a_program", kUser,
     [](MemoryInstall& install) { install.files[kDll64] = "MZ but nothing after"; }},
    {"type_library_missing", kUser,
     [](MemoryInstall& install) { install.Delete(kUser, kBoth, kTypeLib + "win64"); }},
    {"per_user_classes_elevated", kUser, [](MemoryInstall&) {}, true},
    {"both_scopes_elevated", kMachine,
     [](MemoryInstall& install) { install.Set(kUser, k32, kServer, "", kDll32); }, true},
    {"signature_policy_unsigned", kUser,
     [](MemoryInstall& install) { install.Set(kUser, kBoth, kExcelPolicy, "RequireAddinSig", 1U); }},
    {"signature_policy_signed", kMachine,
     [](MemoryInstall& install) {
       install.Set(kMachine, kBoth, kExcelPolicy, "RequireAddinSig", 1U);
       install.files[kDll32] = Pe(0x14c, true);
       install.files[kDll64] = Pe(0x8664, true);
     }},
    {"signature_policy_off", kMachine,
     [](MemoryInstall& install) { install.Set(kUser, kBoth, kExcelPolicy, "RequireAddinSig", 0U); }},
};

cli::Diagnosis DiagnoseCase(const Case& c) {
  MemoryInstall install = Registered(c.classes);
  c.breaking(install);
  return cli::Diagnose(install, c.asElevated);
}

// A report's lines in groups: each host's name with its findings, then the count.
std::vector<std::vector<std::string>> Sections(const std::string& report) {
  std::vector<std::vector<std::string>> sections;
  for (std::size_t start = 0; start < report.size();) {
    const std::size_t end = std::min(report.find('\n', start), report.size() - 1) + 1;
    if (sections.empty() || report[start] != ' ') sections.emplace_back();
    sections.back().push_back(report.substr(start, end - start));
    start = end;
  }
  return sections;
}

// Every case's report and exit status, in one golden file that reads as the table of installs: the first
// whole, the others by what differs from it. A host's findings (or the count) that read as the first's are
// left out, and so are "ok" lines shown above; every other line is shown.
TEST(InstallDoctor, FindingsOfEachInstall) {
  const auto good = Sections(cli::RenderDiagnosis(DiagnoseCase(kCases[0])));
  std::set<std::string> shown;
  std::string all;
  for (const Case& c : kCases) {
    const bool first = &c == &kCases[0];
    const cli::Diagnosis diagnosis = DiagnoseCase(c);
    all += std::string{"== "} + c.label + (c.asElevated ? " --elevated" : "") + ": exit " +
           std::to_string(diagnosis.status) + '\n';
    const auto sections = Sections(cli::RenderDiagnosis(diagnosis));
    for (std::size_t i = 0; i < sections.size(); ++i) {
      if (!first && i < good.size() && sections[i] == good[i]) continue;
      for (const std::string& line : sections[i]) {
        if (first || !line.starts_with("  ok: ") || !shown.contains(line)) all += line;
        shown.insert(line);
      }
    }
  }
  EXPECT_TRUE(test::MatchesGolden("cli/doctor_findings.txt", all));
}

// An elevated doctor judges as one told --elevated.
TEST(InstallDoctor, ElevatedProcessJudgesAsElevatedHosts) {
  MemoryInstall install = Registered(kUser);
  install.elevated = true;
  EXPECT_EQ(cli::RenderDiagnosis(cli::Diagnose(install, false)),
            cli::RenderDiagnosis(cli::Diagnose(Registered(kUser), true)));
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
