// host/source_files/project_file.cpp: the lines of a .vbp that name the project and its modules.
#include "host/source_files/project_file.h"

#include <array>

#include "host/vb_code/code_lines.h"

namespace host {
namespace {

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

constexpr std::array<std::string_view, 7> kFileKeys = {
    "Module", "Class", "Form", "UserControl", "PropertyPage", "UserDocument", "Designer"};

}  // namespace

ProjectFile ReadProjectFile(std::string_view text) {
  ProjectFile project;
  for (const std::string& line : SplitLines(text)) {
    const std::size_t equals = line.find('=');
    if (equals == std::string::npos) continue;
    const std::string_view key = Trimmed(std::string_view{line}.substr(0, equals));
    std::string_view value = Trimmed(std::string_view{line}.substr(equals + 1));
    if (SameName(key, "Name")) {
      if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
        value = value.substr(1, value.size() - 2);
      project.name = value;
      continue;
    }
    bool listed = false;
    for (const std::string_view fileKey : kFileKeys) listed = listed || SameName(key, fileKey);
    if (!listed) continue;
    // "Module=Name; File.bas": the file follows the module's name.
    if (const std::size_t semicolon = value.find(';'); semicolon != std::string_view::npos) {
      value = Trimmed(value.substr(semicolon + 1));
    }
    if (!value.empty()) project.files.emplace_back(value);
  }
  return project;
}

}  // namespace host
