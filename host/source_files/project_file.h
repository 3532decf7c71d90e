// host/source_files/project_file.h: what a VB6 project file (.vbp) says of the project's name and
// the source files it is made of.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace host {

struct ProjectFile {
  std::string name;                // Name="..."
  std::vector<std::string> files;  // as written, relative to the project file's folder
};

// Reads the lines Module=, Class=, Form=, UserControl=, PropertyPage=, UserDocument= and Designer=
// (a Module or Class line names the module, then the file after "; "), and Name=.
ProjectFile ReadProjectFile(std::string_view text);

}  // namespace host
