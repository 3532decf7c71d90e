// host/line_edit.h: one edit of a code module's lines, as a plan of many edits hands them over.
#pragma once

#include <string>

namespace host {

// Lines [first, first + count) (from 1, as the lines were given) become the `lineCount` lines of
// `text`, CR-separated: one text rather than a string a line, as a project's plans add up.
struct LineEdit {
  long first = 0;
  long count = 0;
  std::string text;
  long lineCount = 0;
};

}  // namespace host
