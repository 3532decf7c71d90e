// host/vb_code/code_lines.cpp: line splitting and the small parser that finds routine boundaries.
#include "host/vb_code/code_lines.h"

namespace host {
namespace {

bool IsBlankChar(char c) {
  return c == ' ' || c == '\t';
}

// VB keywords and identifiers compare without regard to case in ASCII, whatever the C locale says.
char Lower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (Lower(a[i]) != Lower(b[i])) return false;
  }
  return true;
}

namespace {

// Reads words separated by blanks; a word ends at a blank, an opening parenthesis or a statement
// separator.
class WordReader {
 public:
  explicit WordReader(std::string_view text) : text_(text) {}

  std::string_view Next() {
    while (pos_ < text_.size() && IsBlankChar(text_[pos_])) ++pos_;
    const std::size_t start = pos_;
    while (pos_ < text_.size() && !IsBlankChar(text_[pos_]) && text_[pos_] != '(' && text_[pos_] != ':')
      ++pos_;
    return text_.substr(start, pos_ - start);
  }

  // What follows the last word read, without a leading blank check.
  std::string_view Rest() const { return text_.substr(pos_); }

 private:
  std::string_view text_;
  std::size_t pos_ = 0;
};

}  // namespace

std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n') continue;
    lines.emplace_back(text.substr(start, i - start));
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  lines.emplace_back(text.substr(start));
  return lines;
}

std::size_t CountSplitLines(std::string_view text) {
  std::size_t count = 1;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    if (text[i] == '\r' || text[i] == '\n') ++count;
  }
  return count;
}

bool IsBlankLine(std::string_view line) {
  for (const char c : line) {
    if (!IsBlankChar(c)) return false;
  }
  return true;
}

bool IsCommentLine(std::string_view line) {
  std::size_t i = 0;
  while (i < line.size() && IsBlankChar(line[i])) ++i;
  if (i < line.size() && line[i] == '\'') return true;
  const std::string_view rest = line.substr(i);
  return SameName(rest.substr(0, 3), "Rem") && (rest.size() == 3 || IsBlankChar(rest[3]));
}

bool ContinuesOnNextLine(std::string_view line) {
  std::size_t end = line.size();
  while (end > 0 && IsBlankChar(line[end - 1])) --end;
  return end >= 2 && line[end - 1] == '_' && IsBlankChar(line[end - 2]);
}

void AppendContinuation(std::string& statement, std::string_view next) {
  if (ContinuesOnNextLine(statement)) statement.resize(statement.find_last_of('_'));
  statement += next;
}

std::optional<Declaration> ParseDeclaration(std::string_view text) {
  // Public, Private, Friend, Static, Sub, Function or Property comes first.
  const char first = FirstLetter(text);
  if (first != 'p' && first != 'f' && first != 's') return std::nullopt;
  WordReader words{text};
  std::string_view word = words.Next();
  if (SameName(word, "Public") || SameName(word, "Private") || SameName(word, "Friend")) word = words.Next();
  if (SameName(word, "Static")) word = words.Next();

  Declaration declaration;
  if (SameName(word, "Sub")) {
    declaration.isSub = true;
  } else if (SameName(word, "Function")) {
    declaration.isSub = false;
  } else if (SameName(word, "Property")) {
    const std::string_view accessor = words.Next();
    if (SameName(accessor, "Get")) {
      declaration.kind = ProcKind::kGet;
    } else if (SameName(accessor, "Let")) {
      declaration.kind = ProcKind::kLet;
    } else if (SameName(accessor, "Set")) {
      declaration.kind = ProcKind::kSet;
    } else {
      return std::nullopt;
    }
  } else {
    return std::nullopt;
  }
  // The keyword must stand alone: "Sub(" or a line that stops after the keyword declares nothing.
  const std::string_view rest = words.Rest();
  if (rest.empty() || !IsBlankChar(rest.front())) return std::nullopt;
  declaration.name = words.Next();
  if (declaration.name.empty()) return std::nullopt;
  return declaration;
}

bool IsEndOf(std::string_view text, ProcKind kind, bool isSub) {
  if (FirstLetter(text) != 'e') return false;
  WordReader words{text};
  if (!SameName(words.Next(), "End")) return false;
  const std::string_view what = words.Next();
  const std::string_view expected = kind != ProcKind::kProc ? "Property" : (isSub ? "Sub" : "Function");
  if (!SameName(what, expected)) return false;
  // Only a comment or a statement separator may follow.
  std::string_view rest = words.Rest();
  while (!rest.empty() && IsBlankChar(rest.front())) rest.remove_prefix(1);
  return rest.empty() || rest.front() == '\'' || rest.front() == ':';
}

}  // namespace host
