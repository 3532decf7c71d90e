// tests/support/temp_folder.h: a private folder for one test, and whole-file reads and writes.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace test {

// A fresh folder under the test temporary folder, removed with all it holds at the end of the test.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

std::string ReadFile(const std::filesystem::path& path);
void WriteFile(const std::filesystem::path& path, const std::string& bytes);
// Every name in `folder`, sorted.
std::vector<std::string> Entries(const std::filesystem::path& folder);

}  // namespace test
