// addin/registry_table.h: every registry value that registering Scrivlet.dll writes, the one table that
// the DLL writes from, the package's registry rows are generated from, and the tests compare with.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace addin::registry {

// Which DLL writes a row: both, or only the one of that bitness.
enum class Bits : std::uint8_t { kBoth, k32, k64 };

// Where a row's key is: under the classes of the registration's scope (HKEY_CURRENT_USER\Software\Classes
// per user, HKEY_LOCAL_MACHINE\Software\Classes machine-wide), or under HKEY_CURRENT_USER in both scopes.
enum class Root : std::uint8_t { kClasses, kCurrentUser };

// What a row's value holds: its text or number, or what only the installed DLL knows.
enum class Data : std::uint8_t {
  kText,          // REG_SZ, `text`
  kNumber,        // REG_DWORD, `number`
  kServerPath,    // REG_SZ, the DLL's full path
  kServerFolder,  // REG_SZ, the DLL's folder, without a final backslash
};

struct Row {
  Root root;
  Bits bits;
  std::string key;   // below the root
  std::string name;  // empty: the key's default value
  Data data;
  std::string text;
  std::uint32_t number;
  // Machine-wide, RegisterTypeLib writes the type library's rows itself, and its HELPDIR only with the
  // key (the folder of whichever DLL came first): that row is checked per user alone.
  bool typeLibrary;
  bool perUserOnly;
};

// A key that registration owns whole: unregistration deletes it with everything under it, and nothing
// of it is left once neither DLL is registered.
struct OwnedKey {
  Root root;
  Bits bits;
  std::string key;
};

struct ClassEntry {
  std::string_view progId;
  std::string_view clsid;  // as penwright.idl declares it, in braces
};
inline constexpr std::array<ClassEntry, 2> kClasses = {{
    {"Penwright.Connect", "{FAEF55F2-E717-4EAD-A497-6FB86A685EF2}"},
    {"Penwright.CEcrireCode", "{328BE73A-2D3B-4539-95A4-310DCE185468}"},
}};

struct InterfaceEntry {
  std::string_view name;
  std::string_view iid;
};
inline constexpr std::array<InterfaceEntry, 2> kInterfaces = {{
    {"_Connect", "{965C7AA9-434E-40DD-8486-3F40EEE37FBB}"},
    {"_CEcrireCode", "{DA96CC00-4985-4C65-ADBA-FA4F7F2074CD}"},
}};

inline constexpr std::string_view kLibid = "{ABD489EB-9188-4951-BE88-5A864556EE82}";
// The library's version and locale, as penwright.idl declares them.
inline constexpr std::string_view kLibraryVersion = "1.0";
inline constexpr std::string_view kLibraryLocale = "0";

// The add-in's entry in a host's list of add-ins: the key's name, and its values.
inline constexpr std::string_view kAddinProgId = "Penwright.Connect";

// One host's list of add-ins under HKEY_CURRENT_USER, and how that host is told to load Scrivlet. A
// 32-bit DLL serves the VB6 IDE (which loads at start-up and from the command line, 5) and 32-bit
// Office's VBA editor (3: load at start-up); a 64-bit DLL serves 64-bit Office's VBA editor, whose list
// has a name of its own because HKEY_CURRENT_USER's software keys are one for both bitnesses.
struct HostList {
  Bits bits;
  std::string_view addinsKey;
  std::uint32_t loadBehavior;
  bool commandLineSafe;  // the VB6 IDE's CommandLineSafe 1: it may load the add-in for a command-line build
};
inline constexpr std::array<HostList, 3> kHostLists = {{
    {Bits::k32, "Software\\Microsoft\\Visual Basic\\6.0\\Addins", 5, true},
    {Bits::k32, "Software\\Microsoft\\VBA\\VBE\\6.0\\Addins", 3, false},
    {Bits::k64, "Software\\Microsoft\\VBA\\VBE\\6.0\\Addins64", 3, false},
}};
// The host lists' common parent, which unregistration never removes.
inline constexpr std::string_view kHostsParent = "Software\\Microsoft";

// Every row, in the order registration writes them: the classes, the type library and its interfaces,
// then the host entries.
std::span<const Row> Rows();
std::span<const OwnedKey> OwnedKeys();

// Whether a DLL of `bits` (k32 or k64) writes what is marked `rowBits`.
constexpr bool Writes(Bits bits, Bits rowBits) noexcept {
  return rowBits == Bits::kBoth || rowBits == bits;
}

// "CLSID\{...}" below the classes, and the like: the keys that the rows are built from.
std::string ClassKey(const ClassEntry& entry);
std::string LibraryKey();
std::string LibraryVersionKey();
// The version key's subkey of a DLL's own platform: "0\win32" or "0\win64".
std::string LibraryPlatformKey(Bits bits);
std::string InterfaceKey(const InterfaceEntry& entry);
std::string AddinKey(const HostList& list);

}  // namespace addin::registry
