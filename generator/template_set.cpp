// generator/template_set.cpp: templates read once, checked as a compiler checks a source file, and
// expanded for each routine; the built-in set, which writes what Scrivlet has always written.
#include "generator/template_set.h"

#include <algorithm>
#include <span>

#include "host/code_page.h"
#include "host/vb_code/code_lines.h"

namespace generator {
namespace {

constexpr std::array<std::string_view, kTemplateVariableCount> kVariableNames = {
    "Name",  "Kind",       "Accessor", "ExitKind", "Variable", "Type", "Returns",
    "Usage", "Programmer", "Date",     "Module",   "Project",  "Body"};

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

// The length of the line break at `text[at]`, 0 when none starts there.
std::size_t BreakAt(std::string_view text, std::size_t at) {
  if (text[at] == '\r') return at + 1 < text.size() && text[at + 1] == '\n' ? 2 : 1;
  return text[at] == '\n' ? 1 : 0;
}

// Where a reader's editor puts `at`: its line and its column in characters, both from 1.
struct Place {
  std::size_t line = 1;
  std::size_t column = 1;
};

Place PlaceOf(std::string_view text, std::size_t at) {
  Place place;
  for (std::size_t i = 0; i < at;) {
    if (const std::size_t size = BreakAt(text, i); size != 0) {
      ++place.line;
      place.column = 1;
      i += size;
      continue;
    }
    ++place.column;
    i += std::max<std::size_t>(1, host::Utf8SequenceLength(text, i));
  }
  return place;
}

[[noreturn]] void Fail(std::string_view file, std::string_view text, std::size_t at,
                       std::string_view reason) {
  const Place place = PlaceOf(text, at);
  throw TemplateError(std::string{file} + ':' + std::to_string(place.line) + ':' +
                      std::to_string(place.column) + ": " + std::string{reason});
}

std::size_t FirstInvalidUtf8(std::string_view text) {
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t size = host::Utf8SequenceLength(text, at);
    if (size == 0) return at;
    at += size;
  }
  return std::string_view::npos;
}

bool StartsComment(std::string_view rest) {
  if (rest.starts_with('\'')) return true;
  return rest.size() >= 3 && host::SameName(rest.substr(0, 3), "Rem") &&
         (rest.size() == 3 || IsBlank(rest[3]));
}

std::string Rule(char filler, std::size_t count) {
  std::string rule(count + 1, filler);
  rule.front() = '\'';
  return rule;
}

std::array<std::string, 4> MakeBuiltInTexts() {
  const std::string stars = Rule('*', 70);
  const std::string dashes = Rule('-', 35);
  std::string header = stars +
                       "\n' Utility: {Usage}\n'\n' Functions called: \n' Functions calling: \n'\n'\n" +
                       "' Programmer's name: {Programmer}\n' Creation date: {Date}\n" +
                       "' Last modification:          by\n" + stars + "\n";
  const std::string opening = dashes + "\n'Local variables definition \n\n\n\n\n" + dashes + "\n' Start \n";
  std::string trap =
      opening + "On Error Goto Error{Name}\n\n\n\n{Body}\n" + dashes + "\n'- End and exit\n" +
      "{Name}Next:\nExit {ExitKind}\n\n\n" + dashes + "\n'Error local traitment\nError{Name}:\n" +
      "Msgbox Err.Description, , \"{Name}\"\n       '-Resume\nResume {Name}Next\n" + dashes + "\n'End\n";
  std::string resumeNext = opening + "On Error Resume Next\n\n\n\n{Body}\n" + dashes + "\n'End\n";
  return {std::move(header), std::move(trap), std::move(resumeNext), "m_\n"};
}

// The text without the one line break that ends the file.
std::string_view WithoutFinalBreak(std::string_view text) {
  const std::size_t size = text.size();
  if (size > 0 && text[size - 1] == '\n') {
    return text.substr(0, size >= 2 && text[size - 2] == '\r' ? size - 2 : size - 1);
  }
  if (size > 0 && text[size - 1] == '\r') return text.substr(0, size - 1);
  return text;
}

// A prefix is the start of a VB name: a letter, then letters, digits and underscores.
std::string ParsePrefix(std::string_view text, std::string_view file) {
  if (const std::size_t bad = FirstInvalidUtf8(text); bad != std::string_view::npos) {
    Fail(file, text, bad, "not UTF-8 text");
  }
  const std::string_view prefix = WithoutFinalBreak(text);
  if (prefix.empty()) Fail(file, text, 0, "the prefix is empty");
  for (std::size_t at = 0; at < prefix.size(); ++at) {
    const char c = prefix[at];
    const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    const bool allowed = letter || (at > 0 && ((c >= '0' && c <= '9') || c == '_'));
    if (!allowed) {
      Fail(file, text, at,
           at == 0 ? "a prefix starts with a letter" : "a prefix holds only letters, digits and underscores");
    }
  }
  return std::string{prefix};
}

}  // namespace

std::string_view TemplateVariableName(TemplateVariable variable) noexcept {
  return kVariableNames.at(static_cast<std::size_t>(variable));
}

Template Template::Parse(std::string_view text, std::string_view file, Role role) {
  if (const std::size_t bad = FirstInvalidUtf8(text); bad != std::string_view::npos) {
    Fail(file, text, bad, "not UTF-8 text");
  }
  Template parsed;
  parsed.file_ = file;
  parsed.role_ = role;
  bool hasBody = false;
  const std::string_view content = WithoutFinalBreak(text);
  for (std::size_t at = 0; !text.empty();) {
    parsed.lines_.push_back(parsed.ParseLine(text, content, at, hasBody));
    at += parsed.lines_.back().length;
    if (at >= content.size()) break;
    at += BreakAt(content, at);
    if (at == content.size()) {
      parsed.lines_.emplace_back();  // the text ended with two line breaks: an empty last line
      break;
    }
  }
  if (role == Role::kTrap && !hasBody) {
    Fail(file, text, text.size(), "an error trap needs a {Body} line, where the routine's statements go");
  }
  for (std::size_t i = 0; i < parsed.lines_.size(); ++i) {
    if (parsed.lines_[i].isBody) parsed.body_ = i;
  }
  return parsed;
}

// One line from content[start], up to its line break; `text` is the whole file, for the places
// errors name.
Template::Line Template::ParseLine(std::string_view text, std::string_view content, std::size_t start,
                                   bool& hasBody) const {
  Line line;
  std::size_t at = start;
  while (at < content.size() && IsBlank(content[at])) line.indent += content[at++];
  line.isComment = StartsComment(content.substr(at));
  std::string literal = line.indent;
  const auto flush = [&] {
    if (!literal.empty()) line.pieces.push_back({false, TemplateVariable::kName, std::move(literal)});
    literal.clear();
  };
  const std::size_t end = std::min(content.find_first_of("\r\n", start), content.size());
  line.length = end - start;
  while (at < end) {
    const char c = content[at];
    if ((c == '{' || c == '}') && at + 1 < end && content[at + 1] == c) {
      literal += c;
      at += 2;
      continue;
    }
    if (c == '}') Fail(file_, text, at, "a brace alone; write }} for one");
    if (c != '{') {
      literal += c;
      ++at;
      continue;
    }
    const std::size_t close = content.find('}', at);
    if (close >= end) Fail(file_, text, at, "a brace left open; write {{ for one");
    const std::string_view name = content.substr(at + 1, close - at - 1);
    const auto* known = std::find(kVariableNames.begin(), kVariableNames.end(), name);
    if (known == kVariableNames.end()) {
      std::string reason = "unknown variable {";
      reason += name;
      reason += '}';
      Fail(file_, text, at, reason);
    }
    const auto variable = static_cast<TemplateVariable>(known - kVariableNames.begin());
    if (variable == TemplateVariable::kBody) {
      if (role_ == Role::kHeader) Fail(file_, text, at, "{Body} belongs in an error trap, not in a header");
      if (hasBody) Fail(file_, text, at, "a second {Body}; the statements go in one place");
      std::size_t after = close + 1;
      while (after < end && IsBlank(content[after])) ++after;
      if (at != start + line.indent.size() || after != end) {
        Fail(file_, text, at, "{Body} stands alone on its line, after blanks only");
      }
      hasBody = true;
      line.isBody = true;
      line.pieces.clear();
      return line;
    }
    flush();
    line.pieces.push_back({true, variable, {}});
    at = close + 1;
  }
  flush();
  return line;
}

void Template::AppendValue(std::string& out, const Line& line, std::string_view value) const {
  for (std::size_t i = 0; i < value.size();) {
    const std::size_t size = BreakAt(value, i);
    if (size == 0) {
      out += value[i++];
      continue;
    }
    if (line.isComment) {
      out += value.substr(i, size);
      out += line.indent;
      out += "' ";
    } else {
      out += ' ';
    }
    i += size;
  }
}

std::string Template::Expand(const TemplateValues& values, std::string_view body) const {
  std::string out;
  bool first = true;
  for (const Line& line : lines_) {
    if (line.isBody) {
      for (std::size_t start = 0; !body.empty() && start <= body.size();) {
        const std::size_t end = std::min(body.find('\r', start), body.size());
        if (!first) out += '\r';
        first = false;
        out += line.indent;
        out += body.substr(start, end - start);
        start = end + 1;
      }
      continue;
    }
    if (role_ == Role::kTrap && !first) out += '\r';
    first = false;
    AppendLine(out, line, values);
    if (role_ == Role::kHeader) out += '\r';
  }
  return out;
}

std::optional<std::size_t> Template::BodyLine() const noexcept {
  return body_;
}

std::string_view Template::BodyIndent() const noexcept {
  return body_ ? std::string_view{lines_[*body_].indent} : std::string_view{};
}

void Template::AppendExpandedLine(std::string& out, std::size_t index, const TemplateValues& values) const {
  AppendLine(out, lines_.at(index), values);
}

void Template::AppendLine(std::string& out, const Line& line, const TemplateValues& values) const {
  for (const Piece& piece : line.pieces) {
    if (piece.isVariable) {
      AppendValue(out, line, values.at(static_cast<std::size_t>(piece.variable)));
    } else {
      out += piece.text;
    }
  }
}

namespace {

// Pieces from `at` on match `text`: literal pieces and known values exactly, the others any text.
template <class Piece>
bool MatchPieces(std::span<const Piece> pieces, std::string_view text, const TemplateValues& values,
                 std::uint32_t anyText) {
  if (pieces.empty()) return text.empty();
  const Piece& piece = pieces.front();
  const std::span<const Piece> rest = pieces.subspan(1);
  const bool wild = piece.isVariable && (anyText & (1U << static_cast<unsigned>(piece.variable))) != 0;
  if (!wild) {
    const std::string_view expected =
        piece.isVariable ? values.at(static_cast<std::size_t>(piece.variable)) : std::string_view{piece.text};
    return text.starts_with(expected) && MatchPieces(rest, text.substr(expected.size()), values, anyText);
  }
  for (std::size_t taken = 0; taken <= text.size(); ++taken) {
    if (MatchPieces(rest, text.substr(taken), values, anyText)) return true;
  }
  return false;
}

}  // namespace

bool Template::MatchesLine(std::size_t index, std::string_view text, const TemplateValues& values,
                           std::uint32_t anyText) const {
  const Line& line = lines_.at(index);
  if (line.isBody) return false;
  return MatchPieces(std::span<const Piece>{line.pieces}, text, values, anyText);
}

bool Template::Uses(TemplateVariable variable) const noexcept {
  return std::any_of(lines_.begin(), lines_.end(), [variable](const Line& line) {
    if (variable == TemplateVariable::kBody) return line.isBody;
    return std::any_of(line.pieces.begin(), line.pieces.end(), [variable](const Piece& piece) {
      return piece.isVariable && piece.variable == variable;
    });
  });
}

std::string Template::Literal() const {
  std::string literal;
  for (const Line& line : lines_) {
    for (const Piece& piece : line.pieces) literal += piece.text;
    literal += '\n';
  }
  return literal;
}

const std::array<std::string, 4>& BuiltInTemplateTexts() {
  static const std::array<std::string, 4> texts = MakeBuiltInTexts();
  return texts;
}

const TemplateSet& BuiltInTemplates() {
  static const TemplateSet set = ParseTemplateSet({});
  return set;
}

TemplateSet ParseTemplateSet(const std::vector<TemplateFile>& files) {
  const auto textOf = [&files](std::string_view name) -> std::pair<std::string_view, std::string_view> {
    for (const TemplateFile& file : files) {
      if (file.name == name) return {file.text, file.path};
    }
    const auto index = static_cast<std::size_t>(
        std::find(kTemplateFiles.begin(), kTemplateFiles.end(), name) - kTemplateFiles.begin());
    return {BuiltInTemplateTexts().at(index), name};
  };
  const auto parse = [&textOf](std::string_view name, Template::Role role) {
    const auto [text, path] = textOf(name);
    return Template::Parse(text, path, role);
  };
  TemplateSet set;
  set.header = parse(kHeaderFile, Template::Role::kHeader);
  set.trap = parse(kTrapFile, Template::Role::kTrap);
  set.resumeNextTrap = parse(kResumeNextTrapFile, Template::Role::kTrap);
  const auto [prefix, prefixPath] = textOf(kVariablePrefixFile);
  set.variablePrefix = ParsePrefix(prefix, prefixPath);
  return set;
}

}  // namespace generator
