// tests/cli/refusals_test.cpp: every command line that scrivlet refuses rather than writes what it
// should not: each with its exit status and message, and the file as it was.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "cli/scrivlet_command.h"
#include "testing/ide/fixed_clock.h"
#include "testing/ide/memory_settings_store.h"
#include "tests/cli/cli_platform.h"
#include "tests/support/golden.h"
#include "tests/support/temp_folder.h"

namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

// A day whose names code page 1252 cannot hold.
class GreekDates final : public host::DateFormatter {
 public:
  std::string Format(const host::CivilDate&, std::string_view) const override {
    return "\xCE\x9A\xCF\x85\xCF\x81\xCE\xB9\xCE\xB1\xCE\xBA\xCE\xAE 06 \xCE\x94\xCE\xB5\xCE\xBA 2026";
  }
};

struct World {
  fs::path folder;
  std::string file;  // "FILE" in a case's arguments
  host::MemorySettingsStore settings;
  bool greekDates = false;
  bool brokenOutput = false;
};

struct RefusalCase {
  const char* name;
  std::vector<std::string> arguments;
  int code;
  std::string err;  // FILE stands for the file's path, SETTINGS for the settings file's
  std::function<std::string(World&)> file = [](World&) { return test::Golden("cli/Meter.ctl"); };
  const char* fileName = "Meter.ctl";
};

void PrintTo(const RefusalCase& c, std::ostream* os) {
  *os << c.name;
}

std::string Replaced(std::string text, std::string_view from, std::string_view to) {
  for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
  return text;
}

std::string LinesOf(int count) {
  std::string text = "Attribute VB_Name = \"Big\"\r\n";
  for (int i = 1; i < count; ++i) text += "' " + std::to_string(i) + "\r\n";
  return text;
}

const std::string kLong256(256, 'N');
const std::string kLong255(255, 'T');

const RefusalCase kRefusals[] = {
    // Names and types are one line of printable text, and names no longer than VB allows.
    {"name_with_a_line_break",
     {"property", "Ti\ntle", "--variable", "V", "FILE"},
     2,
     "scrivlet: NAME must not hold a line break or another control character\n"},
    {"name_with_a_c1_control",
     {"sub", "Next\xC2\x85Line", "FILE"},
     2,
     "scrivlet: NAME must not hold a line break or another control character\n"},
    {"variable_with_a_carriage_return",
     {"property", "Title", "--variable", "V\rEnd Sub", "FILE"},
     2,
     "scrivlet: --variable must not hold a line break or another control character\n"},
    {"type_with_a_tab",
     {"property", "Title", "--variable", "V", "--type", "Long\tX", "FILE"},
     2,
     "scrivlet: --type must not hold a line break or another control character\n"},
    {"returns_with_a_control",
     {"function", "Total", "--returns", "Long\x01", "FILE"},
     2,
     "scrivlet: --returns must not hold a line break or another control character\n"},
    {"programmer_with_a_line_break",
     {"sub", "Refresh", "--programmer", "Ada\nEnd Sub", "FILE"},
     2,
     "scrivlet: --programmer must not hold a line break or another control character\n"},
    {"stored_programmer_with_a_line_break",
     {"config", "programmer", "Ada\nEnd Sub\nSub Evil()"},
     2,
     "scrivlet: NAME must not hold a line break or another control character\n"},
    {"name_past_255_characters",
     {"sub", kLong256, "FILE"},
     2,
     "scrivlet: NAME: The name is 256 characters long; VB allows 255.\n"},
    {"variable_past_255_characters",
     {"property", "Title", "--variable", kLong256, "FILE"},
     2,
     "scrivlet: --variable: The variable is 256 characters long; VB allows 255.\n"},
    // An empty value after '=' is empty, not the next argument.
    {"empty_variable_after_equals",
     {"property", "X", "--variable=", "--read-only", "FILE"},
     2,
     "scrivlet: --variable must not be empty: a property needs a variable\n"},
    // --line is plain decimal digits from 1, checked before the file is read.
    {"line_empty",
     {"comments", "--line", "", "FILE"},
     2,
     "scrivlet: --line : not a line number (decimal digits, from 1)\n"},
    {"line_hexadecimal",
     {"comments", "--line", "0x10", "FILE"},
     2,
     "scrivlet: --line 0x10: not a line number (decimal digits, from 1)\n"},
    {"line_with_a_sign",
     {"comments", "--line", "+5", "FILE"},
     2,
     "scrivlet: --line +5: not a line number (decimal digits, from 1)\n"},
    {"line_with_a_blank",
     {"comments", "--line", " 5", "FILE"},
     2,
     "scrivlet: --line  5: not a line number (decimal digits, from 1)\n"},
    {"line_past_a_long",
     {"comments", "--line", "99999999999999999999", "FILE"},
     2,
     "scrivlet: --line 99999999999999999999: not a line number (decimal digits, from 1)\n"},
    {"line_zero_of_a_missing_file",
     {"comments", "--line", "0", "FOLDER/Missing.bas"},
     2,
     "scrivlet: --line 0: not a line number (decimal digits, from 1)\n"},
    {"unknown_subcommand",
     {"frobnicate"},
     2,
     "scrivlet: frobnicate: not a subcommand; the subcommands are property, sub, function, comments, "
     "headers, traps, config, templates and doctor\n"},
    {"unknown_templates_subcommand",
     {"templates", "frobnicate"},
     2,
     "scrivlet: templates frobnicate: not a subcommand; those of templates are init, show and check\n"},
    {"unknown_config_subcommand",
     {"config", "frobnicate"},
     2,
     "scrivlet: config frobnicate: not a subcommand; the one of config is programmer\n"},
    // Files VB6 never saves.
    {"utf16_file",
     {"sub", "Refresh", "FILE"},
     1,
     "scrivlet: FILE: starts with a UTF-16 byte-order mark; VB6 saves source files in a Windows code page\n",
     [](World&) {
       return std::string{
           "\xFF\xFE"
           "A\0t\0t\0r\0\r\0\n\0",
           14};
     }},
    {"utf8_byte_order_mark",
     {"sub", "Refresh", "FILE"},
     1,
     "scrivlet: FILE: starts with a UTF-8 byte-order mark; VB6 saves source files in a Windows code page\n",
     [](World&) {
       return "\xEF\xBB\xBF"
              "Attribute VB_Name = \"M\"\r\n";
     }},
    {"nul_byte",
     {"sub", "Refresh", "FILE"},
     1,
     "scrivlet: FILE: line 3 holds a NUL byte, which VB6 never saves\n",
     [](World&) {
       return std::string{"Attribute VB_Name = \"M\"\r\n'\r\nDim a\0\r\n", 36};
     }},
    {"begin_without_end_before_code",
     {"sub", "Refresh", "FILE"},
     1,
     "scrivlet: FILE: line 2: Begin without End\n",
     [](World&) { return "VERSION 5.00\r\nBegin VB.UserControl U\r\nSub A()\r\nEnd Sub\r\n"; },
     "Meter.ctl"},
    // Past what VB6 loads.
    {"module_past_65534_lines",
     {"sub", "Refresh", "FILE"},
     1,
     "scrivlet: FILE: the module would have 65,573 lines, more than the 65,534 that VB6 loads; nothing was "
     "written\n",
     [](World&) { return LinesOf(65534); }},
    {"line_past_1023_characters",
     {"property", std::string(250, 'N'), "--variable", std::string(253, 'V'), "--type",
      kLong255 + "." + kLong255, "--private", "--static", "FILE"},
     1,
     "scrivlet: FILE: a new line (\"Private Static Property Let NNNNNNNNNNNN...\") would be 1,048 characters "
     "long, more than the 1,023 that VB6 loads; nothing was written\n"},
    // Inputs that cannot be written are named as what they are.
    {"creation_date_outside_the_code_page",
     {"sub", "Refresh", "FILE"},
     1,
     "scrivlet: the creation date in this locale, \"\xCE\x9A\xCF\x85\xCF\x81\xCE\xB9\xCE\xB1\xCE\xBA\xCE\xAE "
     "06 "
     "\xCE\x94\xCE\xB5\xCE\xBA 2026\", cannot be written in code page 1252: choose another --codepage, or "
     "another LC_TIME; nothing was written\n",
     [](World& world) {
       world.greekDates = true;
       return test::Golden("cli/Meter.ctl");
     }},
    {"stored_programmer_not_utf8",
     {"sub", "Refresh", "FILE"},
     1,
     "scrivlet: SETTINGS: the stored programmer's name is not UTF-8 text; store it again with scrivlet "
     "config "
     "programmer NAME\n",
     [](World& world) {
       world.settings.SaveSetting("Scrivlet", "Identification", "Programmer", "Ad\xE9");
       return test::Golden("cli/Meter.ctl");
     }},
    // A stored name is held to the rule of --programmer (a hand-edited settings file can hold anything).
    {"stored_programmer_with_a_nul_and_an_escape",
     {"sub", "Refresh", "FILE"},
     1,
     "scrivlet: SETTINGS: the stored programmer's name holds a line break or another control character; "
     "store it again with scrivlet config programmer NAME\n",
     [](World& world) {
       world.settings.SaveSetting("Scrivlet", "Identification", "Programmer", "Ada\0x\x1B[2J\f\v"s);
       return test::Golden("cli/Meter.ctl");
     }},
    // A file without the line VB6 writes into every module is not one, or not yet a whole one: what
    // another program is in the middle of saving, an empty file among them.
    {"empty_file",
     {"sub", "Refresh", "FILE"},
     1,
     "scrivlet: FILE: is not a VB6 module: it has no Attribute VB_Name line, which VB6 writes into every "
     "module it saves\n",
     [](World&) { return std::string{}; },
     "Module.bas"},
    {"control_cut_short_before_its_name",
     {"sub", "Refresh", "--print", "FILE"},
     1,
     "scrivlet: FILE: is not a VB6 module: it has no Attribute VB_Name line, which VB6 writes into every "
     "module it saves\n",
     [](World&) {
       const std::string whole = test::Golden("cli/Meter.ctl");
       return whole.substr(0, whole.find("Attribute VB_Name"));
     }},
    // Standard output that cannot be written is a failure, whatever was to be written there.
    {"help_to_a_full_output",
     {"--help"},
     1,
     "scrivlet: standard output: cannot be written\n",
     [](World& world) {
       world.brokenOutput = true;
       return test::Golden("cli/Meter.ctl");
     }},
    {"programmer_to_a_full_output",
     {"config", "programmer"},
     1,
     "scrivlet: standard output: cannot be written\n",
     [](World& world) {
       world.brokenOutput = true;
       return test::Golden("cli/Meter.ctl");
     }},
};

class Refusal : public testing::TestWithParam<RefusalCase> {};

TEST_P(Refusal, ExitsWithItsMessageAndLeavesTheFile) {
  const RefusalCase& c = GetParam();
  test::CliPlatform platform;
  const test::TempFolder folder;
  World world;
  world.folder = folder.path();
  world.file = (folder.path() / c.fileName).string();
  const std::string original = c.file(world);
  test::WriteFile(world.file, original);

  std::vector<std::string> arguments;
  for (const std::string& argument : c.arguments) {
    arguments.push_back(Replaced(Replaced(argument, "FOLDER", folder.path().string()), "FILE", world.file));
  }
  std::ostringstream out;
  std::ostringstream err;
  if (world.brokenOutput) out.setstate(std::ios::badbit);
  const host::FixedClock clock{{2026, 12, 6}};
  const GreekDates greekDates;
  const host::DateFormatter& dates =
      world.greekDates ? static_cast<const host::DateFormatter&>(greekDates) : platform.dates();
  cli::CommandServices services{
      out, err, world.settings, clock, dates, platform.files(), platform.codePages(), "SETTINGS"};

  EXPECT_EQ(cli::RunScrivlet(arguments, services), c.code);
  EXPECT_EQ(err.str(), Replaced(c.err, "FILE", world.file));
  if (!world.brokenOutput) {
    EXPECT_EQ(out.str(), "");
  }
  EXPECT_EQ(test::ReadFile(world.file), original);
  EXPECT_EQ(test::Entries(folder.path()), std::vector<std::string>{c.fileName});
}

INSTANTIATE_TEST_SUITE_P(CommandLine, Refusal, testing::ValuesIn(kRefusals),
                         [](const auto& info) { return std::string{info.param.name}; });

}  // namespace
