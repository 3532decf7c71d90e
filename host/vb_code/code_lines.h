// host/vb_code/code_lines.h: splitting text into code lines and reading one code line, as the IDE does.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/proc_kind.h"

namespace host {

// Splits text at CR LF, CR and LF alike, each one line break. A break at the very end adds a last,
// empty line, so "" gives one empty line and "a\r" gives "a" and "".
std::vector<std::string> SplitLines(std::string_view text);
// How many lines SplitLines gives, without making them.
std::size_t CountSplitLines(std::string_view text);

// Blank or tab only.
bool IsBlankLine(std::string_view line);
// First non-blank text is an apostrophe or the word Rem.
bool IsCommentLine(std::string_view line);
// Ends, trailing blanks aside, with a blank and an underscore: the statement goes on on the next line.
bool ContinuesOnNextLine(std::string_view line);

// Appends the next physical line of a continued statement to `statement`, dropping the " _" marker
// (and the blanks after it) that ends `statement`, so that the joined text reads as one line would.
void AppendContinuation(std::string& statement, std::string_view next);

// The first character that is not a blank, lower-cased (ASCII), or 0 for a blank line. A declaration
// starts with p, f or s (Public, Private, Property, Friend, Function, Static, Sub), an End line with e:
// most lines are told from both by this letter alone.
inline char FirstLetter(std::string_view text) noexcept {
  for (const char c : text) {
    if (c != ' ' && c != '\t') return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
  }
  return 0;
}

// What a routine's declaration says about it.
struct Declaration {
  ProcKind kind = ProcKind::kProc;
  bool isSub = false;     // for kProc: Sub (true) or Function (false)
  std::string_view name;  // points into the parsed text
};

// Parses a declaration: optional Public/Private/Friend, optional Static, then Sub, Function or
// Property Get|Let|Set, then the name (up to the first blank or parenthesis). Keywords match in any
// case. A Declare statement or any other line gives nothing.
std::optional<Declaration> ParseDeclaration(std::string_view text);

// The name of the first parameter a declaration lists, after the words Optional, ByVal, ByRef or
// ParamArray; empty when it lists none.
std::string_view FirstParameter(std::string_view declaration);

// Whether `text` is the End Sub, End Function or End Property line that closes a routine of that kind.
bool IsEndOf(std::string_view text, ProcKind kind, bool isSub);

// Names and keywords match case-insensitively (ASCII), as VB identifiers do, whatever the C locale.
bool SameName(std::string_view a, std::string_view b);

}  // namespace host
