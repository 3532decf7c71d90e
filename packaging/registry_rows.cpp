// packaging/registry_rows.cpp: the WiX rows and the text table, each row of the registry table in turn.
#include "packaging/registry_rows.h"

#include <cstdio>
#include <span>
#include <string_view>

#include "addin/registry_table.h"

namespace packaging {
namespace {

using addin::registry::Bits;
using addin::registry::Data;
using addin::registry::Root;
using addin::registry::Row;

// Text in an XML attribute, and as Windows Installer formats it: a bracket would start a property's
// name, and a value that starts with # would be read as a number.
std::string Attribute(std::string_view text) {
  std::string out = text.starts_with('#') ? "#" : "";
  for (const char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\r':
        out += "&#13;";
        break;
      case '\n':
        out += "&#10;";
        break;
      case '[':
        out += "[\\[]";
        break;
      case ']':
        out += "[\\]]";
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::string WixRow(const Row& row, bool& keyPathGiven) {
  // HKMU: the current user's classes in a per-user install, the machine's in a machine-wide one. The host
  // entries are always the user's (the hosts read no other).
  const bool classes = row.root == Root::kClasses;
  std::string line = std::string{"    <RegistryValue Root=\""} + (classes ? "HKMU" : "HKCU") + "\" Key=\"" +
                     Attribute((classes ? "Software\\Classes\\" : "") + row.key) + "\"";
  if (!row.name.empty()) line += " Name=\"" + Attribute(row.name) + "\"";
  switch (row.data) {
    case Data::kText:
      line += " Type=\"string\" Value=\"" + Attribute(row.text) + "\"";
      break;
    case Data::kNumber:
      line += " Type=\"integer\" Value=\"" + std::to_string(row.number) + "\"";
      break;
    case Data::kServerPath:
      line += " Type=\"string\" Value=\"[#Dll$(var.Bits)]\"";
      break;
    case Data::kServerFolder:
      line += " Type=\"string\" Value=\"[INSTALLDIR]x$(var.Arch)\"";
      break;
  }
  // The component's key path: the first class's server, which says the DLL is installed.
  if (row.data == Data::kServerPath && !keyPathGiven) {
    line += " KeyPath=\"yes\"";
    keyPathGiven = true;
  }
  return line + "/>\n";
}

}  // namespace

std::string WixRegistryInclude() {
  std::string out =
      "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
      "<!--\n"
      "  Generated at build time from the registry table (addin/registry_table.cpp): one Scrivlet.dll and\n"
      "  what `regsvr32 /n /i:user` writes for it (the classes under HKMU: the machine's in a machine-wide\n"
      "  install), included once per bitness with Bits (32 or 64) and Guid (the component's) defined.\n"
      "  A 32-bit component's keys under Software\\Classes go to the 32-bit view\n"
      "  of the registry and a 64-bit one's to the 64-bit view, as each DLL's own registration does: a\n"
      "  client of either bitness then creates the DLL of its own.\n"
      "-->\n"
      "<Include>\n"
      "<?if $(var.Bits) = 32 ?>\n"
      "  <?define Win64=\"no\"?><?define Arch=\"86\"?>\n"
      "<?else?>\n"
      "  <?define Win64=\"yes\"?><?define Arch=\"64\"?>\n"
      "<?endif?>\n"
      "  <Component Id=\"AddIn$(var.Bits)\" Guid=\"$(var.Guid)\" Win64=\"$(var.Win64)\">\n"
      "    <File Id=\"Dll$(var.Bits)\" Name=\"Scrivlet.dll\" Source=\"x$(var.Arch)/Scrivlet.dll\"/>\n"
      "    <RemoveFolder Id=\"RemoveDir$(var.Bits)\" On=\"uninstall\"/>\n";
  bool keyPathGiven = false;
  const std::span<const Row> rows = addin::registry::Rows();
  // A run of rows of one bitness or the other becomes one <?if?>: the 32-bit rows, then the 64-bit ones.
  for (std::size_t i = 0; i < rows.size();) {
    if (rows[i].bits == Bits::kBoth) {
      out += WixRow(rows[i++], keyPathGiven);
      continue;
    }
    std::string for32;
    std::string for64;
    for (; i < rows.size() && rows[i].bits != Bits::kBoth; ++i) {
      (rows[i].bits == Bits::k32 ? for32 : for64) += WixRow(rows[i], keyPathGiven);
    }
    out.append("<?if $(var.Bits) = 32 ?>\n")
        .append(for32)
        .append("<?else?>\n")
        .append(for64)
        .append("<?endif?>\n");
  }
  out +=
      "  </Component>\n"
      "<?undef Win64?><?undef Arch?>\n"
      "</Include>\n";
  return out;
}

std::string RegistryText() {
  const auto bits = [](Bits b) { return b == Bits::kBoth ? "both" : b == Bits::k32 ? "32" : "64"; };
  const auto root = [](Root r) { return r == Root::kClasses ? "CLASSES" : "HKCU"; };
  std::string out;
  for (const addin::registry::OwnedKey& key : addin::registry::OwnedKeys()) {
    out.append("key\t").append(bits(key.bits)).append("\t").append(root(key.root)).append("\t");
    out.append(key.key).append("\n");
  }
  for (const Row& row : addin::registry::Rows()) {
    out.append("value\t").append(bits(row.bits)).append(row.perUserOnly ? "\tuser\t" : "\tboth\t");
    out.append(root(row.root)).append("\t").append(row.key).append("\t");
    out.append(row.name.empty() ? "(Default)" : row.name);
    switch (row.data) {
      case Data::kText:
        out.append("\tREG_SZ\t");
        for (const char c : row.text) {
          if (c == '\r') {
            out += "\\r";
          } else if (c == '\n') {
            out += "\\n";
          } else {
            out += c;
          }
        }
        break;
      case Data::kNumber: {
        char hex[16];
        std::snprintf(hex, sizeof hex, "0x%x", static_cast<unsigned>(row.number));
        out.append("\tREG_DWORD\t").append(hex);
        break;
      }
      case Data::kServerPath:
        out.append("\tREG_SZ\t{dll}");
        break;
      case Data::kServerFolder:
        out.append("\tREG_SZ\t{folder}");
        break;
    }
    out += "\n";
  }
  return out;
}

}  // namespace packaging
