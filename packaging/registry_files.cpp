// packaging/registry_files.cpp: writes the registry table's generated files, run by the build:
//   scrivlet_registry_files WXI-PATH TEXT-PATH
#include <cstdio>
#include <fstream>
#include <string>

#include "packaging/registry_rows.h"

namespace {

bool Write(const char* path, const std::string& bytes) {
  std::ofstream out{path, std::ios::binary | std::ios::trunc};
  out << bytes;
  out.close();
  if (out) return true;
  std::fprintf(stderr, "scrivlet_registry_files: cannot write %s\n", path);
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: scrivlet_registry_files WXI-PATH TEXT-PATH\n");
    return 2;
  }
  return Write(argv[1], packaging::WixRegistryInclude()) && Write(argv[2], packaging::RegistryText()) ? 0 : 1;
}
