// host/vb_code/code_lines.cpp: line splitting and the small parser that finds routine boundaries.
#include "host/vb_code/code_lines.h"

#include <initializer_list>
#include <utility>

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

constexpr std::size_t kNoWord = std::string_view::npos;

// A word ends at a blank, an opening parenthesis or a statement separator.
bool EndsWord(char c) {
  return IsBlankChar(c) || c == '(' || c == ':';
}

std::size_t SkipBlanks(std::string_view text, std::size_t at) {
  while (at < text.size() && IsBlankChar(text[at])) ++at;
  return at;
}

// Where the word at `at` ends when it is `keyword` (in lower case) in any case; kNoWord when it is
// another. Compared in place: nearly every line asked is turned away after a letter or two.
std::size_t AfterKeyword(std::string_view text, std::size_t at, std::string_view keyword) {
  if (text.size() - at < keyword.size()) return kNoWord;
  for (std::size_t i = 0; i < keyword.size(); ++i) {
    if (Lower(text[at + i]) != keyword[i]) return kNoWord;
  }
  const std::size_t end = at + keyword.size();
  return end == text.size() || EndsWord(text[end]) ? end : kNoWord;
}

// Where the first of `keywords` that the word at `at` is ends, or kNoWord.
std::size_t AfterAnyKeyword(std::string_view text, std::size_t at,
                            std::initializer_list<std::string_view> keywords) {
  for (const std::string_view keyword : keywords) {
    if (const std::size_t end = AfterKeyword(text, at, keyword); end != kNoWord) return end;
  }
  return kNoWord;
}

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
  // The scope and Static may come first, each once.
  std::size_t at = SkipBlanks(text, 0);
  if (const std::size_t end = AfterAnyKeyword(text, at, {"public", "private", "friend"}); end != kNoWord) {
    at = SkipBlanks(text, end);
  }
  if (const std::size_t end = AfterKeyword(text, at, "static"); end != kNoWord) at = SkipBlanks(text, end);

  Declaration declaration;
  std::size_t end = AfterKeyword(text, at, "sub");
  declaration.isSub = end != kNoWord;
  if (end == kNoWord) end = AfterKeyword(text, at, "function");
  if (end == kNoWord) {
    end = AfterKeyword(text, at, "property");
    if (end == kNoWord) return std::nullopt;
    at = SkipBlanks(text, end);
    static constexpr std::pair<std::string_view, ProcKind> kAccessors[] = {
        {"get", ProcKind::kGet}, {"let", ProcKind::kLet}, {"set", ProcKind::kSet}};
    end = kNoWord;
    for (const auto& [word, kind] : kAccessors) {
      end = AfterKeyword(text, at, word);
      if (end != kNoWord) {
        declaration.kind = kind;
        break;
      }
    }
    if (end == kNoWord) return std::nullopt;
  }
  // A name follows: "Sub(" or a line that stops after the keyword declares nothing.
  at = SkipBlanks(text, end);
  std::size_t nameEnd = at;
  while (nameEnd < text.size() && !EndsWord(text[nameEnd])) ++nameEnd;
  if (nameEnd == at) return std::nullopt;
  declaration.name = text.substr(at, nameEnd - at);
  return declaration;
}

std::string_view FirstParameter(std::string_view declaration) {
  const std::size_t open = declaration.find('(');
  if (open == std::string_view::npos) return {};
  std::size_t at = SkipBlanks(declaration, open + 1);
  for (;;) {
    const std::size_t end = AfterAnyKeyword(declaration, at, {"optional", "byval", "byref", "paramarray"});
    if (end == kNoWord) break;
    at = SkipBlanks(declaration, end);
  }
  std::size_t end = at;
  while (end < declaration.size() && !EndsWord(declaration[end]) && declaration[end] != ')' &&
         declaration[end] != ',')
    ++end;
  return declaration.substr(at, end - at);
}

bool IsEndOf(std::string_view text, ProcKind kind, bool isSub) {
  if (FirstLetter(text) != 'e') return false;
  std::size_t at = AfterKeyword(text, SkipBlanks(text, 0), "end");
  if (at == kNoWord) return false;
  const std::string_view expected = kind != ProcKind::kProc ? "property" : (isSub ? "sub" : "function");
  at = AfterKeyword(text, SkipBlanks(text, at), expected);
  if (at == kNoWord) return false;
  // Only a comment or a statement separator may follow.
  at = SkipBlanks(text, at);
  return at == text.size() || text[at] == '\'' || text[at] == ':';
}

}  // namespace host
