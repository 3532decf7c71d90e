// host/vb_code/declarations_section.cpp: the statements of a declarations section, read word by word.
#include "host/vb_code/declarations_section.h"

#include "host/vb_code/code_lines.h"

namespace host {
namespace {

// Letters, digits and underscores; a byte past ASCII is part of a letter of the code page.
bool IsNameCharacter(char c) {
  return static_cast<unsigned char>(c) >= 0x80 || (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') ||
         (c >= 'a' && c <= 'z') || c == '_';
}

// The characters that may end a name to give its type, as in "Dim Total&".
bool IsTypeCharacter(char c) {
  return std::string_view{"%&^!#@$"}.find(c) != std::string_view::npos;
}

// A statement read one name or keyword at a time.
class Words {
 public:
  explicit Words(std::string_view text) : text_(text) { SkipBlanks(); }

  char Peek() const { return at_ < text_.size() ? text_[at_] : '\0'; }
  // Past the character at hand, such as the "#" of a directive.
  void SkipCharacter() {
    ++at_;
    SkipBlanks();
  }
  // The name or keyword here, without its type character; empty when none starts here.
  std::string_view Next() {
    const std::size_t start = at_;
    while (at_ < text_.size() && IsNameCharacter(text_[at_])) ++at_;
    const std::string_view word = text_.substr(start, at_ - start);
    if (!word.empty() && at_ < text_.size() && IsTypeCharacter(text_[at_])) ++at_;
    SkipBlanks();
    return word;
  }
  // Reads the next word when it is `keyword`, in any case.
  bool Take(std::string_view keyword) {
    const std::size_t start = at_;
    if (SameName(Next(), keyword)) return true;
    at_ = start;
    return false;
  }
  std::string_view Rest() const { return text_.substr(at_); }

 private:
  void SkipBlanks() {
    while (at_ < text_.size() && (text_[at_] == ' ' || text_[at_] == '\t')) ++at_;
  }

  std::string_view text_;
  std::size_t at_ = 0;
};

// Calls visit(part) for each part of `text` that `separator` ends outside strings; an apostrophe
// outside a string ends the text. A separator inside parentheses gives a part that starts with no
// name, which names nothing.
template <class Visit>
void ForEachPart(std::string_view text, char separator, Visit&& visit) {
  bool inString = false;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '"') {
      inString = !inString;
    } else if (!inString && c == '\'') {
      text = text.substr(0, i);
      break;
    } else if (!inString && c == separator) {
      visit(text.substr(start, i - start));
      start = i + 1;
    }
  }
  visit(text.substr(start));
}

class SectionReader {
 public:
  // A logical line, continuations joined, whose first and last physical lines are given.
  void LogicalLine(std::string_view text, long first, long last) {
    if (IsBlankLine(text) || IsCommentLine(text)) return;
    ForEachPart(text, ':', [&](std::string_view statement) { Statement(statement, first); });
    lastStatement_ = last;
  }

  DeclarationsSection Finish() {
    section_.beforeOpenBlock = depth_ > 0 ? beforeBlock_ : 0;
    return std::move(section_);
  }

 private:
  void Statement(std::string_view text, long line) {
    Words words{text};
    if (words.Peek() == '#') {
      words.SkipCharacter();
      Directive(words);
      return;
    }
    const bool scoped = words.Take("Public") || words.Take("Private") || words.Take("Global") ||
                        words.Take("Dim") || words.Take("Friend");
    if (words.Take("Const")) {
      AddEach(words.Rest(), ModuleNameKind::kConstant, line);
    } else if (words.Take("Declare")) {
      words.Take("PtrSafe");
      if (words.Take("Sub") || words.Take("Function")) Add(words.Next(), ModuleNameKind::kDeclare, line);
    } else if (words.Take("Event")) {
      Add(words.Next(), ModuleNameKind::kEvent, line);
    } else if (words.Take("Type")) {
      Add(words.Next(), ModuleNameKind::kType, line);
    } else if (words.Take("Enum")) {
      Add(words.Next(), ModuleNameKind::kEnum, line);
    } else if (scoped) {
      AddEach(words.Rest(), ModuleNameKind::kVariable, line);
    }
  }

  // #If opens a block and #End If (or #EndIf) closes one; #ElseIf, #Else and #Const change nothing here.
  void Directive(Words& words) {
    if (words.Take("If")) {
      if (depth_++ == 0) beforeBlock_ = lastStatement_ + 1;
    } else if (words.Take("EndIf") || (words.Take("End") && words.Take("If"))) {
      if (depth_ > 0) --depth_;
    }
  }

  // Each name of a list such as "a As Long, WithEvents b As Form1, c(1 To 2)" or "A = 1, B = 2".
  void AddEach(std::string_view list, ModuleNameKind kind, long line) {
    ForEachPart(list, ',', [&](std::string_view item) {
      Words words{item};
      if (kind == ModuleNameKind::kVariable) words.Take("WithEvents");
      Add(words.Next(), kind, line);
    });
  }

  void Add(std::string_view name, ModuleNameKind kind, long line) {
    if (!name.empty()) section_.names.push_back({std::string{name}, kind, line});
  }

  DeclarationsSection section_;
  long lastStatement_ = 0;
  long beforeBlock_ = 0;
  int depth_ = 0;
};

}  // namespace

DeclarationsSection ReadDeclarationsSection(std::string_view lines) {
  SectionReader reader;
  std::string statement;
  long line = 0;
  long first = 0;
  bool continuing = false;
  for (std::size_t at = 0, end = 0; end != std::string_view::npos; at = end + 2) {
    end = lines.find("\r\n", at);
    const std::string_view text = lines.substr(at, end == std::string_view::npos ? end : end - at);
    ++line;
    if (continuing) {
      AppendContinuation(statement, text);
    } else {
      statement.assign(text);
      first = line;
    }
    continuing = end != std::string_view::npos && ContinuesOnNextLine(statement);
    if (!continuing) reader.LogicalLine(statement, first, line);
  }
  return reader.Finish();
}

}  // namespace host
