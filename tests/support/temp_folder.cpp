// tests/support/temp_folder.cpp: folders of a fresh random name, and binary file helpers, on every
// platform.
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

namespace test {

TempFolder::TempFolder() {
  static std::mt19937_64 random{std::random_device{}()};
  constexpr std::string_view kLetters = "0123456789abcdefghijklmnopqrstuvwxyz";
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string name = "scrivlet-";
    for (int i = 0; i < 8; ++i) name += kLetters[static_cast<std::size_t>(random() % kLetters.size())];
    const std::filesystem::path path = std::filesystem::path{testing::TempDir()} / name;
    // create_directory is false when the name is taken: another name is drawn.
    if (std::filesystem::create_directory(path)) {
      path_ = path;
      return;
    }
  }
  throw std::runtime_error{"no fresh folder in " + testing::TempDir()};
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in{path, std::ios::binary};
  std::ostringstream contents;
  contents << in.rdbuf();
  return contents.str();
}

void WriteFile(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream out{path, std::ios::binary | std::ios::trunc};
  out << bytes;
}

std::vector<std::string> Entries(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  for (const std::filesystem::directory_entry& entry : std::filesystem::directory_iterator{folder}) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace test
