// cli/install_doctor.cpp: the checks of `scrivlet doctor`, one host at a time, over an InstallReader.
#include "cli/install_doctor.h"

#include <array>
#include <cstddef>
#include <string>

#include "addin/registry_table.h"

namespace cli {
namespace {

// The names and keys that registration writes, from its own table.
constexpr std::string_view kProgId = addin::registry::kAddinProgId;
constexpr std::string_view kConnectClsid = addin::registry::kClasses[0].clsid;
constexpr std::string_view kTypeLib = addin::registry::kLibid;
constexpr std::string_view kClasses = "Software\\Classes\\";

constexpr std::uint16_t kMachineX86 = 0x14c;
constexpr std::uint16_t kMachineX64 = 0x8664;
constexpr std::uint16_t kMachineArm64 = 0xaa64;

struct Host {
  std::string_view name;
  RegistryView view;
  std::string_view addinsKey;
  std::uint32_t loadBehavior;  // what the package writes
  bool office;
};

// The hosts in the order of registration's host lists, whose keys and load behaviours they take.
constexpr std::array<Host, 3> kHosts = {{
    {"VB6 IDE (32-bit)", RegistryView::k32, addin::registry::kHostLists[0].addinsKey,
     addin::registry::kHostLists[0].loadBehavior, false},
    {"VBA editor of 32-bit Office", RegistryView::k32, addin::registry::kHostLists[1].addinsKey,
     addin::registry::kHostLists[1].loadBehavior, true},
    {"VBA editor of 64-bit Office", RegistryView::k64, addin::registry::kHostLists[2].addinsKey,
     addin::registry::kHostLists[2].loadBehavior, true},
}};

constexpr std::array<std::string_view, 3> kOfficeVersions = {"14.0", "15.0", "16.0"};
constexpr std::array<std::string_view, 8> kOfficeApps = {"Access",  "Excel",     "Outlook", "PowerPoint",
                                                         "Project", "Publisher", "Visio",   "Word"};

std::string_view RootName(RegistryRoot root) {
  return root == RegistryRoot::kCurrentUser ? "HKEY_CURRENT_USER" : "HKEY_LOCAL_MACHINE";
}

std::string_view Bits(RegistryView view) {
  return view == RegistryView::k32 ? "32-bit" : "64-bit";
}

RegistryView Other(RegistryView view) {
  return view == RegistryView::k32 ? RegistryView::k64 : RegistryView::k32;
}

std::string MachineName(std::uint16_t machine) {
  switch (machine) {
    case kMachineX86:
      return "32-bit (x86)";
    case kMachineX64:
      return "64-bit (x64)";
    case kMachineArm64:
      return "Arm64";
    default: {
      constexpr std::string_view kDigits = "0123456789abcdef";
      std::string hex = "machine 0x";
      for (unsigned shift = 16; shift != 0;) {
        shift -= 4;
        hex += kDigits[(static_cast<unsigned>(machine) >> shift) & 0xfU];
      }
      return hex;
    }
  }
}

std::uint32_t Little(std::string_view bytes, std::size_t at, std::size_t size) {
  std::uint32_t value = 0;
  for (std::size_t i = size; i-- > 0;) value = (value << 8U) | static_cast<unsigned char>(bytes[at + i]);
  return value;
}

bool Installed(const InstallReader& reader, const Host& host) {
  if (!host.office) {
    return reader.KeyExists(RegistryRoot::kLocalMachine, RegistryView::k32,
                            "Software\\Microsoft\\Visual Basic\\6.0");
  }
  // Click-to-Run Office names its bitness; an MSI install leaves its folder in its own view.
  if (const auto platform =
          reader.Text(RegistryRoot::kLocalMachine, RegistryView::k64,
                      "Software\\Microsoft\\Office\\ClickToRun\\Configuration", "Platform")) {
    if (*platform == (host.view == RegistryView::k32 ? "x86" : "x64")) return true;
  }
  for (const std::string_view version : kOfficeVersions) {
    const std::string key = "Software\\Microsoft\\Office\\" + std::string{version} + "\\Common\\InstallRoot";
    if (reader.Text(RegistryRoot::kLocalMachine, host.view, key, "Path")) return true;
  }
  return false;
}

// Where an Office setting asks for add-ins signed by a trusted publisher: the policy keys first, then
// the Trust Center's own. Empty when none does.
std::string SignaturePolicy(const InstallReader& reader) {
  struct Place {
    RegistryRoot root;
    std::string_view prefix;
  };
  constexpr std::array<Place, 3> kPlaces = {
      {{RegistryRoot::kCurrentUser, "Software\\Policies\\Microsoft\\Office\\"},
       {RegistryRoot::kLocalMachine, "Software\\Policies\\Microsoft\\Office\\"},
       {RegistryRoot::kCurrentUser, "Software\\Microsoft\\Office\\"}}};
  for (const Place& place : kPlaces) {
    for (const std::string_view version : kOfficeVersions) {
      for (const std::string_view app : kOfficeApps) {
        const std::string key =
            std::string{place.prefix} + std::string{version} + '\\' + std::string{app} + "\\Security";
        const auto required = reader.Number(place.root, RegistryView::k64, key, "RequireAddinSig");
        if (required && *required != 0)
          return std::string{RootName(place.root)} + '\\' + key + "\\RequireAddinSig";
      }
    }
  }
  return {};
}

class HostCheck {
 public:
  HostCheck(const InstallReader& reader, const Host& host, bool asElevated, const std::string& policy)
      : reader_(reader), host_(host), asElevated_(asElevated), policy_(policy) {
    result_.host = std::string{host.name};
  }

  HostDiagnosis Run() {
    const bool installed = Installed(reader_, host_);
    const std::string entry = std::string{host_.addinsKey} + '\\' + std::string{kProgId};
    if (!reader_.KeyExists(RegistryRoot::kCurrentUser, RegistryView::k64, entry)) {
      Add(Verdict::kNote,
          std::string{"not registered: no HKEY_CURRENT_USER\\"} + entry +
              (installed ? "" : " (the host is not installed either)"),
          {});
      return std::move(result_);
    }
    Fine(std::string{"host "} +
         (installed ? "installed" : "not found on this machine (nothing is required of it)"));
    CheckLoadBehavior(entry);
    const bool classFound = CheckClass();
    result_.registered = classFound;
    return std::move(result_);
  }

 private:
  void Add(Verdict verdict, std::string text, std::string fix) {
    result_.findings.push_back({verdict, std::move(text), std::move(fix)});
  }
  void Fine(std::string text) { Add(Verdict::kFine, std::move(text), {}); }

  std::string ClassKey() const { return std::string{kClasses} + "CLSID\\" + std::string{kConnectClsid}; }

  // The DLL the class names in `root`, when the class is there in the host's view.
  std::optional<std::string> Server(RegistryRoot root, RegistryView view) const {
    return reader_.Text(root, view, ClassKey() + "\\InprocServer32", "");
  }

  void CheckLoadBehavior(const std::string& entry) {
    const auto behavior =
        reader_.Number(RegistryRoot::kCurrentUser, RegistryView::k64, entry, "LoadBehavior");
    const std::string where = "HKEY_CURRENT_USER\\" + entry;
    const std::string fix =
        "Check \"Loaded/Unloaded\" and \"Load on Startup\" for Scrivlet in Add-Ins > Add-In "
        "Manager, or set LoadBehavior (a DWORD) to " +
        std::to_string(host_.loadBehavior) + " under " + where + ".";
    if (!behavior) {
      Add(Verdict::kProblem,
          "add-in entry " + where + " has no LoadBehavior DWORD: the host does not load it", fix);
    } else if ((*behavior & 1U) == 0) {
      Add(Verdict::kProblem,
          "add-in entry " + where + " has LoadBehavior " + std::to_string(*behavior) +
              ": the host lists it but does not load it",
          fix);
    } else {
      Fine("add-in entry " + where + ", LoadBehavior " + std::to_string(*behavior));
    }
  }

  // Finds the class as the host would (per user first, unless elevated) and checks what it names.
  bool CheckClass() {
    const std::string progIdKey = std::string{kClasses} + std::string{kProgId} + "\\CLSID";
    const std::string repair = "Repair or reinstall the package (msiexec /fa Scrivlet-VERSION-x64.msi).";
    bool progIdFound = false;
    for (const RegistryRoot root : {RegistryRoot::kCurrentUser, RegistryRoot::kLocalMachine}) {
      const auto clsid = reader_.Text(root, host_.view, progIdKey, "");
      if (!clsid) continue;
      progIdFound = true;
      if (*clsid != kConnectClsid) {
        Add(Verdict::kProblem,
            std::string{RootName(root)} + '\\' + progIdKey + " names " + *clsid + ", not Scrivlet's class " +
                std::string{kConnectClsid},
            repair);
      }
    }
    if (!progIdFound) {
      Add(Verdict::kProblem,
          std::string{"the ProgID "} + std::string{kProgId} + " is not registered in either scope", repair);
      return false;
    }
    const bool user = Server(RegistryRoot::kCurrentUser, host_.view).has_value();
    const bool machine = Server(RegistryRoot::kLocalMachine, host_.view).has_value();
    if (!user && !machine) {
      const bool other = Server(RegistryRoot::kCurrentUser, Other(host_.view)).has_value() ||
                         Server(RegistryRoot::kLocalMachine, Other(host_.view)).has_value();
      Add(Verdict::kProblem,
          std::string{"class "} + std::string{kConnectClsid} + " is not registered for " +
              std::string{Bits(host_.view)} + " programs" +
              (other ? std::string{", only for "} + std::string{Bits(Other(host_.view))} + " ones" : ""),
          "Register the " + std::string{Bits(host_.view)} +
              " Scrivlet.dll (regsvr32 /n /i:user PATH), or repair the package (msiexec /fa "
              "Scrivlet-VERSION-x64.msi).");
      return false;
    }
    const bool elevated = asElevated_ || reader_.Elevated();
    // The class that the host loads: an elevated one reads the machine's alone; without a machine
    // class there, the user's is checked all the same, for the host run without elevation.
    const RegistryRoot root =
        user && !(elevated && machine) ? RegistryRoot::kCurrentUser : RegistryRoot::kLocalMachine;
    Fine(std::string{"class "} + std::string{kConnectClsid} + " registered " +
         (user && machine ? "per user and for everyone"
          : user          ? "per user"
                          : "for everyone") +
         ", in the " + std::string{Bits(host_.view)} + " view");
    if (!machine) {
      const std::string text =
          "a host run as administrator does not read per-user classes, and would not load it";
      const std::string fix =
          "Install Scrivlet for every user (msiexec /i with ALLUSERS=1, or regsvr32 Scrivlet.dll, from a "
          "prompt run as administrator), or run the host without elevation.";
      Add(elevated ? Verdict::kProblem : Verdict::kNote, text, fix);
    }
    CheckServer(root);
    CheckTypeLibrary(root);
    return true;
  }

  void CheckServer(RegistryRoot root) {
    const std::string path = *Server(root, host_.view);
    const std::string where = std::string{RootName(root)} + '\\' + ClassKey() + "\\InprocServer32";
    const std::string fix = "Repair the package (msiexec /fa Scrivlet-VERSION-x64.msi), or register the " +
                            std::string{Bits(host_.view)} +
                            " Scrivlet.dll again from where it is (regsvr32 /n /i:user PATH).";
    const auto start = reader_.FileStart(path, 4096);
    if (!start) {
      Add(Verdict::kProblem, "the DLL that " + where + " names is not there: " + path, fix);
      return;
    }
    const auto pe = ReadPeFacts(*start);
    const std::uint16_t wanted = host_.view == RegistryView::k32 ? kMachineX86 : kMachineX64;
    if (!pe) {
      Add(Verdict::kProblem, "the DLL " + path + " is not a Windows program file", fix);
      return;
    }
    if (pe->machine != wanted) {
      Add(Verdict::kProblem,
          "the DLL " + path + " is " + MachineName(pe->machine) + "; this host loads only " +
              MachineName(wanted) + " ones",
          fix);
      return;
    }
    Fine("DLL " + path + ", " + MachineName(pe->machine) + (pe->signedFile ? ", signed" : ", not signed"));
    if (host_.office && !policy_.empty() && !pe->signedFile) {
      Add(Verdict::kProblem,
          policy_ + " asks for add-ins signed by a trusted publisher, and the DLL is not signed",
          "Install a signed release of Scrivlet and trust its publisher, or ask your administrator to lift "
          "\"Require that application add-ins are signed by Trusted Publisher\".");
    } else if (host_.office && !policy_.empty()) {
      Add(Verdict::kNote, policy_ + " asks for add-ins signed by a trusted publisher",
          "Make sure the signature's publisher is among Office's trusted publishers.");
    }
  }

  void CheckTypeLibrary(RegistryRoot root) {
    const std::string key = std::string{kClasses} + "TypeLib\\" + std::string{kTypeLib} + "\\1.0\\0\\" +
                            (host_.view == RegistryView::k32 ? "win32" : "win64");
    if (reader_.Text(root, host_.view, key, "")) {
      Fine("type library registered");
    } else {
      Add(Verdict::kProblem,
          std::string{"the type library is not registered: no "} + std::string{RootName(root)} + '\\' + key,
          "Repair the package (msiexec /fa Scrivlet-VERSION-x64.msi), or register the DLL again.");
    }
  }

  const InstallReader& reader_;
  const Host& host_;
  bool asElevated_;
  const std::string& policy_;
  HostDiagnosis result_;
};

}  // namespace

std::optional<PeFacts> ReadPeFacts(std::string_view bytes) {
  constexpr std::size_t kHeaderAt = 0x3c;
  constexpr std::size_t kDirectorySize = 8;
  constexpr std::size_t kSecurityIndex = 4;
  if (bytes.size() < kHeaderAt + 4 || bytes.substr(0, 2) != "MZ") return std::nullopt;
  const std::size_t pe = Little(bytes, kHeaderAt, 4);
  // Signature, then the file header (20 bytes), then the optional header.
  if (pe > bytes.size() || bytes.size() - pe < 24 + 2 ||
      bytes.substr(pe, 4) != std::string_view{"PE\0\0", 4}) {
    return std::nullopt;
  }
  PeFacts facts;
  facts.machine = static_cast<std::uint16_t>(Little(bytes, pe + 4, 2));
  const std::size_t optional = pe + 24;
  const std::uint32_t magic = Little(bytes, optional, 2);
  std::size_t directories = 0;
  if (magic == 0x10b) {
    directories = optional + 96;
  } else if (magic == 0x20b) {
    directories = optional + 112;
  } else {
    return std::nullopt;
  }
  const std::size_t security = directories + kSecurityIndex * kDirectorySize;
  const std::size_t count = optional + 92 + (magic == 0x20b ? 16 : 0);
  if (bytes.size() >= security + kDirectorySize && bytes.size() >= count + 4 &&
      Little(bytes, count, 4) > kSecurityIndex) {
    facts.signedFile = Little(bytes, security, 4) != 0 && Little(bytes, security + 4, 4) != 0;
  }
  return facts;
}

Diagnosis Diagnose(const InstallReader& reader, bool asElevated) {
  Diagnosis diagnosis;
  const std::string policy = SignaturePolicy(reader);
  bool registered = false;
  bool problem = false;
  for (const Host& host : kHosts) {
    HostDiagnosis result = HostCheck{reader, host, asElevated, policy}.Run();
    registered = registered || result.registered;
    for (const Finding& finding : result.findings) problem = problem || finding.verdict == Verdict::kProblem;
    diagnosis.hosts.push_back(std::move(result));
  }
  if (!registered) {
    diagnosis.overall.push_back(
        {Verdict::kProblem, "Scrivlet is not registered for any host",
         "Install the package (msiexec /i Scrivlet-VERSION-x64.msi), or register a DLL "
         "(regsvr32 /n /i:user PATH)."});
  }
  diagnosis.status = registered && !problem ? 0 : 1;
  return diagnosis;
}

std::string RenderDiagnosis(const Diagnosis& diagnosis) {
  std::string text;
  const auto render = [&text](const Finding& finding) {
    switch (finding.verdict) {
      case Verdict::kFine:
        text += "  ok: ";
        break;
      case Verdict::kNote:
        text += "  note: ";
        break;
      case Verdict::kProblem:
        text += "  PROBLEM: ";
        break;
    }
    text += finding.text + '\n';
    if (!finding.fix.empty()) text += "    fix: " + finding.fix + '\n';
  };
  for (const HostDiagnosis& host : diagnosis.hosts) {
    text += host.host + ":\n";
    for (const Finding& finding : host.findings) render(finding);
  }
  for (const Finding& finding : diagnosis.overall) render(finding);
  std::size_t problems = diagnosis.overall.size();
  for (const HostDiagnosis& host : diagnosis.hosts) {
    for (const Finding& finding : host.findings) problems += finding.verdict == Verdict::kProblem ? 1 : 0;
  }
  text += problems == 0 ? std::string{"No problem found.\n"}
                        : std::to_string(problems) + (problems == 1 ? " problem" : " problems") + " found.\n";
  return text;
}

}  // namespace cli
