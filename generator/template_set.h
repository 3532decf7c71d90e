// generator/template_set.h: the texts written around a routine (its comment header and its error
// trap in both styles) and the backing variable's prefix, as templates a team can write for itself.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace generator {

// The variables a template may name, as {Name}, {Kind} and so on.
enum class TemplateVariable : std::uint8_t {
  kName,        // the routine
  kKind,        // Sub, Function or Property
  kAccessor,    // Get, Let, Set, or nothing
  kExitKind,    // the word after Exit
  kVariable,    // the property's parameter
  kType,        // the parameter's type
  kReturns,     // a Function's return type, a Property Get's type
  kUsage,       // the utility text typed in the dialog or given with --usage
  kProgrammer,  // the programmer's name
  kDate,        // today, formatted as the creation date always was
  kModule,      // the module's VB_Name
  kProject,     // the project's name, where known
  kBody,        // the routine's statements; in a trap only, alone on its line
};
inline constexpr std::size_t kTemplateVariableCount = 13;

// The spelling of each variable between its braces, in TemplateVariable order.
std::string_view TemplateVariableName(TemplateVariable variable) noexcept;

// A value for each variable but {Body}, in TemplateVariable order.
using TemplateValues = std::array<std::string_view, kTemplateVariableCount>;

// A template that cannot be used: the message is "FILE:LINE:COLUMN: reason", as compilers say it,
// the column counted in characters from 1.
class TemplateError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// One template, read once and expanded for every routine. Its text is UTF-8 with lines ended by
// LF, CR LF or CR; one line break at the end of the file is the file's own, not an empty last line.
// "{{" and "}}" stand for a brace.
class Template {
 public:
  enum class Role : std::uint8_t { kHeader, kTrap };

  // Throws TemplateError, naming `file`, for text that is not UTF-8, an unknown variable, a brace
  // left open or alone, and a {Body} that is not alone on its line, or missing from a trap, or
  // given twice or in a header.
  static Template Parse(std::string_view text, std::string_view file, Role role);

  // A header: every line ends with a CR. A trap: its lines are joined by CR, and the line that holds
  // {Body} becomes the lines of `body` (CR-separated, none when empty), each after the blanks that
  // stood before {Body}. A value's line breaks continue a comment line as a comment (its blanks and
  // "' "), and are a blank in a line of code, so that a value never makes a line of code.
  std::string Expand(const TemplateValues& values, std::string_view body = {}) const;

  bool Uses(TemplateVariable variable) const noexcept;

  // Line by line, for what is written around a routine that exists: how many lines the template has,
  // which is the {Body} line (a header has none), the blanks before {Body}, and one line expanded (a
  // value's line breaks make it several, CR-separated).
  std::size_t LineCount() const noexcept { return lines_.size(); }
  std::optional<std::size_t> BodyLine() const noexcept;
  std::string_view BodyIndent() const noexcept;
  // Line `index` expanded, appended to `out`, so that a caller expanding many routines reuses one buffer.
  void AppendExpandedLine(std::string& out, std::size_t index, const TemplateValues& values) const;
  // Whether `text` is what line `index` writes, given `values` for the variables not in `anyText`
  // and any text within the line for those in it (a bit per TemplateVariable).
  bool MatchesLine(std::size_t index, std::string_view text, const TemplateValues& values,
                   std::uint32_t anyText) const;
  const std::string& File() const noexcept { return file_; }
  // The template's own characters, without its variables: what the module's code page must hold.
  std::string Literal() const;

 private:
  struct Piece {
    bool isVariable = false;
    TemplateVariable variable = TemplateVariable::kName;
    std::string text;  // literal text when not a variable
  };
  struct Line {
    std::vector<Piece> pieces;
    bool isBody = false;     // the {Body} line: `indent`, then each body line
    bool isComment = false;  // begins, after blanks, with an apostrophe or Rem
    std::string indent;      // the blanks the line starts with
    std::size_t length = 0;  // in the file, without its line break
  };
  Line ParseLine(std::string_view text, std::string_view content, std::size_t start, bool& hasBody) const;
  void AppendValue(std::string& out, const Line& line, std::string_view value) const;
  // The line's text and values, without its line break.
  void AppendLine(std::string& out, const Line& line, const TemplateValues& values) const;

  std::vector<Line> lines_;
  std::optional<std::size_t> body_;  // the index of the {Body} line, asked for every routine
  std::string file_;
  Role role_ = Role::kHeader;
};

// What Scrivlet writes around a routine: the comment header, the labelled trap, the trap of
// "On Error Resume Next", and the prefix of a property's backing variable.
struct TemplateSet {
  Template header;
  Template trap;
  Template resumeNextTrap;
  std::string variablePrefix;
};

// The files a set is kept in, one template each, named for what it holds.
inline constexpr std::string_view kHeaderFile = "header.txt";
inline constexpr std::string_view kTrapFile = "error-trap.txt";
inline constexpr std::string_view kResumeNextTrapFile = "error-trap-resume-next.txt";
inline constexpr std::string_view kVariablePrefixFile = "variable-prefix.txt";
inline constexpr std::array<std::string_view, 4> kTemplateFiles = {kHeaderFile, kTrapFile,
                                                                   kResumeNextTrapFile, kVariablePrefixFile};

// A set's file as read: its name among kTemplateFiles, the path its errors name, and its bytes.
struct TemplateFile {
  std::string_view name;
  std::string path;
  std::string text;
};

// The texts of the built-in set's files, in kTemplateFiles order, with LF line breaks: what
// "templates init" writes, and what the set uses for a file a folder lacks.
const std::array<std::string, 4>& BuiltInTemplateTexts();

// The built-in set: what Scrivlet has always written.
const TemplateSet& BuiltInTemplates();

// The set made of `files`, the built-in text standing in for each file missing from them. Throws
// TemplateError for the first file that is not a template, or a prefix that is not the start of a
// VB name.
TemplateSet ParseTemplateSet(const std::vector<TemplateFile>& files);

}  // namespace generator
