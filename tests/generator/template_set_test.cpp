// tests/generator/template_set_test.cpp: templates that are not templates, each error naming the
// file, line and column; and what a template's lines become around a body and multi-line values.
#include <gtest/gtest.h>

#include "generator/template_set.h"
#include "tests/support/visible.h"

namespace {

using generator::Template;
using generator::TemplateError;

struct Broken {
  const char* label;
  std::string_view file;
  std::string text;
  const char* error;
};

const Broken kBroken[] = {
    {"unknown_variable", "header.txt", "' {Name}\n' {Author}\n", "header.txt:2:3: unknown variable {Author}"},
    {"variable_case", "header.txt", "' {name}\n", "header.txt:1:3: unknown variable {name}"},
    {"brace_open", "header.txt", "' {Name\n", "header.txt:1:3: a brace left open; write {{ for one"},
    {"brace_alone", "header.txt", "' a } b\n", "header.txt:1:5: a brace alone; write }} for one"},
    {"body_in_header", "header.txt", "{Body}\n",
     "header.txt:1:1: {Body} belongs in an error trap, not in a header"},
    {"trap_without_body", "error-trap.txt", "On Error GoTo E\r\nE:\r\n",
     "error-trap.txt:3:1: an error trap needs a {Body} line, where the routine's statements go"},
    {"body_not_alone", "error-trap.txt", "On Error GoTo E\n  x = 1: {Body}\n",
     "error-trap.txt:2:10: {Body} stands alone on its line, after blanks only"},
    {"body_twice", "error-trap.txt", "{Body}\n{Body}\n",
     "error-trap.txt:2:1: a second {Body}; the statements go in one place"},
    // Columns count characters, not bytes.
    {"column_after_accent", "header.txt", "' \xC3\xA9t\xC3\xA9 {Nom}\n",
     "header.txt:1:7: unknown variable {Nom}"},
    {"not_utf8", "header.txt", "' ok\r' caf\xE9\n", "header.txt:2:6: not UTF-8 text"},
    {"prefix_digit", "variable-prefix.txt", "1m\n", "variable-prefix.txt:1:1: a prefix starts with a letter"},
    {"prefix_blank", "variable-prefix.txt", "m \n",
     "variable-prefix.txt:1:2: a prefix holds only letters, digits and underscores"},
    {"prefix_empty", "variable-prefix.txt", "\n", "variable-prefix.txt:1:1: the prefix is empty"},
};

class BrokenTemplate : public testing::TestWithParam<Broken> {};

TEST_P(BrokenTemplate, NamesFileLineAndColumn) {
  const Broken& c = GetParam();
  std::vector<generator::TemplateFile> files{{c.file, std::string{c.file}, c.text}};
  try {
    static_cast<void>(generator::ParseTemplateSet(files));
    FAIL() << "no error";
  } catch (const TemplateError& error) {
    EXPECT_STREQ(error.what(), c.error);
  }
}

INSTANTIATE_TEST_SUITE_P(Generator, BrokenTemplate, testing::ValuesIn(kBroken),
                         [](const auto& info) { return std::string{info.param.label}; });

generator::TemplateValues Values(std::string_view usage) {
  generator::TemplateValues values{};
  values.at(static_cast<std::size_t>(generator::TemplateVariable::kName)) = "Refresh";
  values.at(static_cast<std::size_t>(generator::TemplateVariable::kUsage)) = usage;
  return values;
}

struct Expansion {
  const char* label;
  Template::Role role;
  std::string text;
  std::string_view usage;
  std::string_view body;
  std::string expected;  // CR-separated, as the module receives it
};

const Expansion kExpansions[] = {
    // The body's lines take the blanks before {Body}; no body, no line.
    {"indented_body", Template::Role::kTrap, "  On Error GoTo E\r\n\t  {Body}  \r\nE:", "", "a = 1\rb = 2",
     "  On Error GoTo E\r\t  a = 1\r\t  b = 2\rE:"},
    {"empty_body", Template::Role::kTrap, "On Error Resume Next\n{Body}\n' {Name}\n", "", "",
     "On Error Resume Next\r' Refresh"},
    // A value's line breaks continue a comment as a comment, keeping the breaks as typed; in code
    // they are blanks.
    {"usage_in_comment", Template::Role::kHeader, "  ' Use: {Usage}\n", "one\r\ntwo\nthree", "",
     "  ' Use: one\r\n  ' two\n  ' three\r"},
    {"usage_in_rem", Template::Role::kHeader, "Rem {Usage}\n", "one\rtwo", "", "Rem one\r' two\r"},
    {"usage_in_code", Template::Role::kTrap, "{Body}\nDebug.Print \"{Usage}\"\n", "one\r\ntwo", "",
     "Debug.Print \"one two\""},
    {"escaped_braces", Template::Role::kHeader, "' {{{Name}}} }}{{\n", "", "", "' {Refresh} }{\r"},
    // One line break ends the file; a second makes an empty last line.
    {"empty_last_line", Template::Role::kHeader, "' {Name}\n\n", "", "", "' Refresh\r\r"},
    {"empty_header", Template::Role::kHeader, "", "", "", ""},
};

class TemplateExpansion : public testing::TestWithParam<Expansion> {};

TEST_P(TemplateExpansion, WritesItsLines) {
  const Expansion& c = GetParam();
  const Template parsed = Template::Parse(c.text, "t.txt", c.role);
  EXPECT_EQ(test::Visible(parsed.Expand(Values(c.usage), c.body)), test::Visible(c.expected));
}

INSTANTIATE_TEST_SUITE_P(Generator, TemplateExpansion, testing::ValuesIn(kExpansions),
                         [](const auto& info) { return std::string{info.param.label}; });

}  // namespace
