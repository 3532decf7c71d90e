// addin/registry_table.cpp: the rows of the registry table, built from the identifiers and host lists.
#include "addin/registry_table.h"

#include <vector>

namespace addin::registry {
namespace {

constexpr std::string_view kFriendlyName = "Scrivlet";
// Six lines joined by CR LF, without a final line break.
constexpr std::string_view kDescription =
    "Scrivlet\r\n"
    "-----------------------\r\n"
    "Petite application permettant de faire la mise en page n\u00e9cessaire des proc\u00e9dures, \r\n"
    "fonctions et propri\u00e9t\u00e9.\r\n"
    "\r\n"
    "AddIn permitting to automate the layout of procedure, functions and property.";
// The library's help string, as penwright.idl gives it.
constexpr std::string_view kLibraryDescription = "Adds Properties and comments.";
// LIBFLAG_FHASDISKIMAGE, the library's own flags, as RegisterTypeLib writes them: a decimal number.
constexpr std::string_view kLibraryFlags = "8";
// The automation marshaller (PSOAInterface), the proxy of every dual interface a type library describes.
constexpr std::string_view kAutomationProxy = "{00020424-0000-0000-C000-000000000046}";

std::string Join(std::string_view key, std::string_view sub) {
  std::string joined{key};
  if (!sub.empty()) joined.append("\\").append(sub);
  return joined;
}

struct Builder {
  std::vector<Row> rows;
  bool typeLibrary = false;

  void Text(Root root, Bits bits, std::string key, std::string_view name, std::string_view text) {
    rows.push_back({root, bits, std::move(key), std::string{name}, Data::kText, std::string{text}, 0,
                    typeLibrary, false});
  }
  void Number(std::string key, Bits bits, std::string_view name, std::uint32_t number) {
    rows.push_back({Root::kCurrentUser,
                    bits,
                    std::move(key),
                    std::string{name},
                    Data::kNumber,
                    {},
                    number,
                    false,
                    false});
  }
  void Server(Bits bits, std::string key, Data data, bool perUserOnly = false) {
    rows.push_back({Root::kClasses, bits, std::move(key), {}, data, {}, 0, typeLibrary, perUserOnly});
  }
};

std::vector<Row> BuildRows() {
  Builder b;
  constexpr Root kClassesRoot = Root::kClasses;
  constexpr Bits kBoth = Bits::kBoth;
  for (const ClassEntry& entry : kClasses) {
    const std::string key = ClassKey(entry);
    b.Text(kClassesRoot, kBoth, key, {}, entry.progId);
    b.Server(kBoth, Join(key, "InprocServer32"), Data::kServerPath);
    b.Text(kClassesRoot, kBoth, Join(key, "InprocServer32"), "ThreadingModel", "Apartment");
    b.Text(kClassesRoot, kBoth, Join(key, "ProgID"), {}, entry.progId);
    b.Text(kClassesRoot, kBoth, std::string{entry.progId}, {}, entry.progId);
    b.Text(kClassesRoot, kBoth, Join(entry.progId, "CLSID"), {}, entry.clsid);
  }

  // The keys RegisterTypeLibForUser writes: the version key with the library's description, this
  // platform's path, FLAGS and HELPDIR, and each automation interface pointing at the library.
  b.typeLibrary = true;
  const std::string version = LibraryVersionKey();
  b.Text(kClassesRoot, kBoth, version, {}, kLibraryDescription);
  for (const Bits bits : {Bits::k32, Bits::k64}) {
    b.Server(bits, Join(version, LibraryPlatformKey(bits)), Data::kServerPath);
  }
  b.Text(kClassesRoot, kBoth, Join(version, "FLAGS"), {}, kLibraryFlags);
  b.Server(kBoth, Join(version, "HELPDIR"), Data::kServerFolder, true);
  for (const InterfaceEntry& entry : kInterfaces) {
    const std::string key = InterfaceKey(entry);
    b.Text(kClassesRoot, kBoth, key, {}, entry.name);
    b.Text(kClassesRoot, kBoth, Join(key, "ProxyStubClsid"), {}, kAutomationProxy);
    b.Text(kClassesRoot, kBoth, Join(key, "ProxyStubClsid32"), {}, kAutomationProxy);
    b.Text(kClassesRoot, kBoth, Join(key, "TypeLib"), {}, kLibid);
    b.Text(kClassesRoot, kBoth, Join(key, "TypeLib"), "Version", kLibraryVersion);
  }
  b.typeLibrary = false;

  for (const HostList& list : kHostLists) {
    const std::string key = AddinKey(list);
    b.Text(Root::kCurrentUser, list.bits, key, "FriendlyName", kFriendlyName);
    b.Text(Root::kCurrentUser, list.bits, key, "Description", kDescription);
    b.Number(key, list.bits, "LoadBehavior", list.loadBehavior);
    if (list.commandLineSafe) b.Number(key, list.bits, "CommandLineSafe", 1);
  }
  return std::move(b.rows);
}

std::vector<OwnedKey> BuildOwnedKeys() {
  std::vector<OwnedKey> keys;
  keys.reserve(2 * kClasses.size() + 1 + kInterfaces.size() + kHostLists.size());
  for (const ClassEntry& entry : kClasses) keys.push_back({Root::kClasses, Bits::kBoth, ClassKey(entry)});
  for (const ClassEntry& entry : kClasses) {
    keys.push_back({Root::kClasses, Bits::kBoth, std::string{entry.progId}});
  }
  keys.push_back({Root::kClasses, Bits::kBoth, LibraryKey()});
  for (const InterfaceEntry& entry : kInterfaces) {
    keys.push_back({Root::kClasses, Bits::kBoth, InterfaceKey(entry)});
  }
  for (const HostList& list : kHostLists) keys.push_back({Root::kCurrentUser, list.bits, AddinKey(list)});
  return keys;
}

}  // namespace

std::span<const Row> Rows() {
  static const std::vector<Row> rows = BuildRows();
  return rows;
}

std::span<const OwnedKey> OwnedKeys() {
  static const std::vector<OwnedKey> keys = BuildOwnedKeys();
  return keys;
}

std::string ClassKey(const ClassEntry& entry) {
  return Join("CLSID", entry.clsid);
}

std::string LibraryKey() {
  return Join("TypeLib", kLibid);
}

std::string LibraryVersionKey() {
  return Join(LibraryKey(), kLibraryVersion);
}

std::string LibraryPlatformKey(Bits bits) {
  return Join(kLibraryLocale, bits == Bits::k64 ? "win64" : "win32");
}

std::string InterfaceKey(const InterfaceEntry& entry) {
  return Join("Interface", entry.iid);
}

std::string AddinKey(const HostList& list) {
  return Join(list.addinsKey, kAddinProgId);
}

}  // namespace addin::registry
