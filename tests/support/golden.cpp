// tests/support/golden.cpp: reads, compares and on request rewrites the golden files.
#include "tests/support/golden.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <utility>
#include <vector>

#include "tests/support/visible.h"

namespace test {
namespace {

namespace fs = std::filesystem;

// Read and written here rather than with the temporary-folder helpers, so that the programs run
// under Wine can compare with golden files too.
std::string ReadFile(const fs::path& path) {
  std::ifstream in{path, std::ios::binary};
  std::ostringstream contents;
  contents << in.rdbuf();
  return contents.str();
}

void WriteFile(const fs::path& path, const std::string& bytes) {
  std::ofstream out{path, std::ios::binary | std::ios::trunc};
  out << bytes;
}

fs::path PathOf(std::string_view name) {
  return fs::path{SCRIVLET_GOLDEN_DIR} / name;
}

// Lines as an editor counts them, each with its own break (CR LF, CR or LF) made visible.
std::vector<std::string> ShownLines(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
      end = text.size();
    } else {
      end += text.substr(end, 2) == "\r\n" ? 2U : 1U;
    }
    std::string shown = Visible(text.substr(start, end - start));
    std::erase(shown, '\n');
    lines.push_back(std::move(shown));
    start = end;
  }
  return lines;
}

// The first differing line and two lines either side of it, in the golden file and in the output.
std::string Difference(std::string_view expected, std::string_view actual) {
  const std::vector<std::string> golden = ShownLines(expected);
  const std::vector<std::string> output = ShownLines(actual);
  std::size_t first = 0;
  while (first < golden.size() && first < output.size() && golden[first] == output[first]) ++first;
  std::ostringstream shown;
  shown << "first difference at line " << first + 1 << '\n';
  const auto excerpt = [&](std::string_view title, const std::vector<std::string>& lines) {
    shown << title << ", " << lines.size() << " lines:\n";
    for (std::size_t i = first < 2 ? 0 : first - 2; i < first + 3; ++i) {
      shown << (i == first ? "> " : "  ") << i + 1 << ' ';
      if (i >= lines.size()) {
        shown << "(no line)\n";
        break;
      }
      shown << lines[i] << '\n';
    }
  };
  excerpt("golden", golden);
  excerpt("output", output);
  return shown.str();
}

}  // namespace

std::string Golden(std::string_view name) {
  const fs::path path = PathOf(name);
  if (!fs::is_regular_file(path)) {
    ADD_FAILURE() << "tests/golden/" << name << " is missing";
    return {};
  }
  return ReadFile(path);
}

testing::AssertionResult MatchesGolden(std::string_view name, std::string_view actual) {
  const fs::path path = PathOf(name);
  const char* update = std::getenv("SCRIVLET_UPDATE_GOLDEN");
  if (update != nullptr && std::string_view{update} == "1") {
    fs::create_directories(path.parent_path());
    WriteFile(path, std::string{actual});
    if (ReadFile(path) == actual) return testing::AssertionSuccess();
    return testing::AssertionFailure() << "tests/golden/" << name << " cannot be written";
  }
  if (!fs::is_regular_file(path)) {
    return testing::AssertionFailure()
           << "tests/golden/" << name << " is missing; SCRIVLET_UPDATE_GOLDEN=1 writes it from the output";
  }
  const std::string expected = ReadFile(path);
  if (expected == actual) return testing::AssertionSuccess();
  return testing::AssertionFailure() << "the output differs from tests/golden/" << name << "; "
                                     << Difference(expected, actual)
                                     << "SCRIVLET_UPDATE_GOLDEN=1 rewrites the file from the output";
}

}  // namespace test
