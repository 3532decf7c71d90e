// Runs the scrivlet command line in-process on copies of source files: the whole resulting files
// byte for byte, comments at a line, usage errors, refused files, code pages and failures of the
// platform during a generation, each of which must leave the file as it was. The same table runs on
// the POSIX services here and on the Win32 ones under Wine.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <initializer_list>
#include <optional>
#include <ostream>
#include <sstream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "cli/scrivlet_command.h"
#include "host/host_error.h"
#include "tests/cli/scrivlet_fixture.h"
#include "tests/generator/vb_rules.h"
#include "tests/support/golden.h"
#include "tests/support/temp_folder.h"
#include "tests/support/visible.h"

namespace {

namespace fs = std::filesystem;
using test::kToolsHead;
using test::kToolsTail;
using test::Label;
using test::Meter;
using test::Result;
using test::ScrivletTest;
using test::Tools;

// A clock that fails on its `failing`-th reading, as a platform that cannot tell the date would.
class FlakyClock final : public host::Clock {
 public:
  explicit FlakyClock(int failing) : failing_(failing) {}
  host::CivilDate Today() const override {
    if (++calls_ == failing_) throw host::HostError{5, "The clock failed."};
    return {2026, 12, 6};
  }

 private:
  int failing_;
  mutable int calls_ = 0;
};

class FailingDates final : public host::DateFormatter {
 public:
  std::string Format(const host::CivilDate&, std::string_view) const override {
    throw host::HostError{5, "No date format."};
  }
};

class FailingSettings final : public host::SettingsStore {
 public:
  std::string GetSetting(std::string_view, std::string_view, std::string_view,
                         std::string_view fallback) const override {
    return std::string{fallback};
  }
  void SaveSetting(std::string_view, std::string_view, std::string_view, std::string_view) override {
    throw host::HostError{75, "The settings file cannot be written."};
  }
};

// ---------------------------------------------------------------------------------------------
// Whole files, byte for byte, against tests/golden/cli

// The new variable and persistence procedures go where the declarations end, ahead of the new Let
// and Get; a control that already reads and writes its properties gets the new lines first in those
// procedures. Everything else stays as it was.
TEST_F(ScrivletTest, PropertyChangedIntoUserControls) {
  struct Case {
    std::string file;
    std::string source;
    std::string golden;
  };
  const Case cases[] = {
      {"Meter.ctl", Meter(), "cli/controls/Meter.ctl"},
      {"Gauge.ctl", test::ReadFile(fs::path{SCRIVLET_EXAMPLES_DIR} / "Gauge.ctl"), "cli/controls/Gauge.ctl"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    const std::string path = Put(c.file, c.source);
    const Result result = Run({"property", "Title", "--variable", "NewTitle", "--changed", path});
    EXPECT_EQ(result.code, cli::kSuccess);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, "");
    EXPECT_TRUE(test::MatchesGolden(c.golden, test::ReadFile(path)));
    ExpectAlone(c.file);
    fs::remove(path);
  }
}

struct FileCase {
  const char* label;
  std::string file;                    // the name of the copy the command is given
  std::string source;                  // its bytes before the run
  std::vector<std::string> arguments;  // FILE follows
  std::string golden;                  // the whole file after the run; with --print, what is printed
  std::optional<std::string> storedProgrammer = std::nullopt;
};

void PrintTo(const FileCase& c, std::ostream* os) {
  *os << c.label;
}

class FileTest : public ScrivletTest, public testing::WithParamInterface<FileCase> {};

TEST_P(FileTest, WritesTheWholeFile) {
  const FileCase& c = GetParam();
  if (c.storedProgrammer) {
    memorySettings_.SaveSetting("Scrivlet", "Identification", "Programmer", *c.storedProgrammer);
  }
  const std::string path = Put(c.file, c.source);
  std::vector<std::string> arguments = c.arguments;
  arguments.push_back(path);
  const Result result = Run(arguments);
  EXPECT_EQ(result.code, cli::kSuccess);
  EXPECT_EQ(result.err, "");
  if (std::ranges::find(c.arguments, "--print") == c.arguments.end()) {
    EXPECT_EQ(result.out, "");
    EXPECT_TRUE(test::MatchesGolden(c.golden, test::ReadFile(path)));
  } else {
    EXPECT_TRUE(test::MatchesGolden(c.golden, result.out));
    EXPECT_EQ(test::ReadFile(path), c.source);
  }
  ExpectAlone(c.file);
}

// A run on Tools.bas whose golden file is named after the case.
FileCase OnTools(const char* label, std::vector<std::string> arguments,
                 std::optional<std::string> storedProgrammer = std::nullopt) {
  return {label,
          "Tools.bas",
          Tools(),
          std::move(arguments),
          std::string{"cli/routines/"} + label + ".bas",
          std::move(storedProgrammer)};
}

// The same bytes as a class, where Friend is allowed.
FileCase InClass(FileCase c) {
  c.file = "Tools.cls";
  return c;
}

const FileCase kRoutines[] = {
    OnTools("Sub", {"sub", "Refresh"}),
    OnTools("SubPrivate", {"sub", "Refresh", "--private"}),
    InClass(OnTools("SubFriend", {"sub", "Refresh", "--friend"})),
    OnTools("SubStatic", {"sub", "Refresh", "--static"}),
    // The labels keep the name as given; only the declaration takes the suffix.
    OnTools("SubHide", {"sub", "Refresh", "--hide"}),
    OnTools("SubResumeNext", {"sub", "Refresh", "--resume-next"}),
    OnTools("SubEveryOption", {"sub", "Refresh", "--private", "--static", "--hide", "--resume-next",
                               "--usage", "Reloads the list", "--programmer", "Ada Lovelace"}),
    OnTools("Usage", {"sub", "Refresh", "--usage", "Reloads the list"}),
    // Every line of a usage typed over several lines stays a comment.
    OnTools("UsageOverTwoLines", {"sub", "Refresh", "--usage", "Reloads\nthe list"}),
    OnTools("EmptyUsage", {"sub", "Refresh", "--usage", ""}),
    OnTools("Programmer", {"sub", "Refresh", "--programmer", "Ada Lovelace"}),
    // The name kept by "config programmer" stands unless the command gives one, even an empty one.
    OnTools("ProgrammerStored", {"sub", "Refresh"}, "Grace Hopper"),
    {"ProgrammerGivenOverStored",
     "Tools.bas",
     Tools(),
     {"sub", "Refresh", "--programmer", "Ada Lovelace"},
     "cli/routines/Programmer.bas",
     "Grace Hopper"},
    OnTools("ProgrammerGivenEmpty", {"sub", "Refresh", "--programmer", ""}, "Grace Hopper"),
    OnTools("Function", {"function", "Total"}),
    OnTools("FunctionReturns",
            {"function", "Total", "--variable", "Values", "--type", "Variant", "--returns", "Double"}),
    OnTools("FunctionVariableOfDefaultType", {"function", "Total", "--variable", "Values"}),
    // An option's value written after an equals sign.
    {"FunctionReturnsWithEqualsSigns",
     "Tools.bas",
     Tools(),
     {"function", "Total", "--variable=Values", "--type=Variant", "--returns=Double"},
     "cli/routines/FunctionReturns.bas"},
    InClass(OnTools("FunctionFriendStaticResumeNext",
                    {"function", "Total", "--friend", "--static", "--resume-next", "--returns", "Long"})),
    OnTools("PropertyReadOnly",
            {"property", "Count", "--variable", "Total", "--type", "Long", "--read-only"}),
    OnTools("PropertyReadWrite", {"property", "Title", "--variable", "NewTitle"}),
    OnTools("PropertySet", {"property", "Font", "--variable", "NewFont", "--type", "StdFont", "--set"}),
    OnTools("PropertyPrivateHideResumeNext",
            {"property", "Title", "--variable", "NewTitle", "--private", "--hide", "--resume-next"}),
    InClass(OnTools("PropertyFriendStatic",
                    {"property", "Title", "--variable", "NewTitle", "--friend", "--static"})),
};

INSTANTIATE_TEST_SUITE_P(Subcommands, FileTest, testing::ValuesIn(kRoutines), Label<FileCase>);

// A Resume Next Sub named in UTF-8 into a module in `codePage`: the name is written in the code page,
// and the module's comment line, in the code page, is kept byte for byte.
FileCase InCodePage(const char* label, const char* codePage, const char* name, const char* comment) {
  return {label,
          "Module1.bas",
          std::string{"Attribute VB_Name = \"M\"\r\nOption Explicit\r\n"} + comment + "\r\n",
          {"sub", name, "--resume-next", "--codepage", codePage},
          std::string{"cli/code_pages/"} + label + ".bas"};
}

const FileCase kCodePages[] = {
    InCodePage("Western", "1252", "R\u00E9initialiser", "' Caf\xE9 cr\xE8me \x80 \x9C"),
    // A file all ASCII is written from its own bytes; only the new lines are encoded.
    InCodePage("WesternIntoAscii", "1252", "R\u00E9initialiser", "' Cafe creme"),
    InCodePage("WesternUndefinedBytes", "1252", "Refresh", "' \x81\x8D\x8F\x90\x9D"),
    InCodePage("CentralEuropean", "1250", "Przelicz\u0105",
               "' \xA3\xF3"
               "d\x9F"),
    InCodePage("Cyrillic", "1251", "\u041E\u0431\u043D\u043E\u0432\u0438\u0442\u044C",
               "' \xD1\xF7\xB8\xF2\xF7\xE8\xEA"),
    InCodePage("Japanese", "932", "\u66F4\u65B0", "' \x93\xFA\x96\x7B\x8C\xEA \x83\x5C"),
    // A Vietnamese file whose last character the converter holds back, lest a combining mark follow.
    {"VietnameseEndingInALetter",
     "Module1.bas",
     "Attribute VB_Name = \"M\"\r\n' Vi\xEAt \xD0\xE0",
     {"sub", "Refresh", "--codepage", "1258"},
     "cli/code_pages/VietnameseEndingInALetter.bas"},
    // What --print writes is in the file's code page too.
    {"Printed",
     "Counter.bas",
     "Attribute VB_Name = \"M\"\r\n' \xD1\xF7\xB8\xF2\xF7\xE8\xEA\r\n",
     {"sub", "\u041E\u0431\u043D\u043E\u0432\u0438\u0442\u044C", "--resume-next", "--print", "--codepage",
      "1251"},
     "cli/code_pages/Printed.bas"},
};

INSTANTIATE_TEST_SUITE_P(CodePages, FileTest, testing::ValuesIn(kCodePages), Label<FileCase>);

// A file already past what VB6 loads is read as it is: only an excess the run would add is refused.
TEST_F(ScrivletTest, FileAlreadyPastALimitIsEdited) {
  const std::string longLine = "\r\n' " + std::string(1100, 'x') + "\r\n";
  std::string manyLines = Tools();
  for (int i = 0; i < 65534; ++i) manyLines += "'\r\n";
  for (const auto& [source, kept] : {std::pair{Tools() + longLine.substr(2), longLine},
                                     std::pair{manyLines, manyLines.substr(Tools().size() - 2)}}) {
    const std::string path = Put("Tools.bas", source);
    const Result result = Run({"sub", "Refresh", path});
    EXPECT_EQ(result.code, cli::kSuccess);
    EXPECT_EQ(result.err, "");
    const std::string after = test::ReadFile(path);
    EXPECT_EQ(std::ranges::count(after, '\n') - std::ranges::count(source, '\n'), 40)
        << "the new Sub's lines";
    EXPECT_TRUE(after.ends_with(kept)) << "the lines past the limit, byte for byte";
  }
}

// Tools with every line break made `ending`.
std::string ToolsWithBreaks(char ending) {
  std::string text = std::string{kToolsHead} + std::string{kToolsTail};
  std::ranges::replace(text, '\n', ending);
  return text;
}

// New lines follow the file's own breaks, and its final break or the lack of one.
FileCase WithBreaks(const char* label, std::string source) {
  return {label,
          "Tools.bas",
          std::move(source),
          {"sub", "Refresh"},
          std::string{"cli/line_breaks/"} + label + ".bas"};
}

const FileCase kLineBreaks[] = {
    WithBreaks("LfOnly", ToolsWithBreaks('\n')),
    WithBreaks("CrOnly", ToolsWithBreaks('\r')),
    WithBreaks("NoFinalBreak", Tools().substr(0, Tools().size() - 2)),
    // Mostly LF: new lines take LF, the CR LF line keeps its own.
    WithBreaks("Mixed",
               "Attribute VB_Name = \"Tools\"\r\nOption Explicit\n\nPrivate Const LIMIT As Long = 10\n"),
    // No routine and no final break: the routine goes at the end, which still has no break.
    WithBreaks("AppendedWithoutFinalBreak", "Attribute VB_Name = \"Tools\"\r\nOption Explicit"),
};

INSTANTIATE_TEST_SUITE_P(LineBreaks, FileTest, testing::ValuesIn(kLineBreaks), Label<FileCase>);

TEST_F(ScrivletTest, ConfigProgrammerStoresAndShows) {
  Result result = Run({"config", "programmer"});
  EXPECT_EQ(result.code, cli::kSuccess);
  EXPECT_EQ(result.out, "My name\n");
  result = Run({"config", "programmer", "Ada Lovelace"});
  EXPECT_EQ(result.code, cli::kSuccess);
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(memorySettings_.GetSetting("Scrivlet", "Identification", "Programmer", ""), "Ada Lovelace");
  result = Run({"config", "programmer"});
  EXPECT_EQ(result.code, cli::kSuccess);
  EXPECT_EQ(result.out, "Ada Lovelace\n");
  // The generation uses it.
  const std::string path = Put("Tools.bas", Tools());
  ASSERT_EQ(Run({"sub", "Refresh", path}).code, cli::kSuccess);
  EXPECT_TRUE(test::MatchesGolden("cli/routines/Programmer.bas", test::ReadFile(path)));
}

TEST_F(ScrivletTest, ConfigProgrammerThatCannotBeStoredFails) {
  FailingSettings settings;
  settings_ = &settings;
  const Result result = Run({"config", "programmer", "Ada Lovelace"});
  EXPECT_EQ(result.code, cli::kFailure);
  EXPECT_EQ(result.err, "scrivlet: The settings file cannot be written.\n");
}

// ---------------------------------------------------------------------------------------------
// comments --line N

struct CommentsCase {
  const char* label;
  long line;
  std::vector<std::string> options;
  const char* golden;  // Meter with the comments in, under tests/golden/cli/comments
  // Lines of the golden file that the options write otherwise, each with what they write instead.
  std::vector<std::pair<std::string, std::string>> instead = {};
};

void PrintTo(const CommentsCase& c, std::ostream* os) {
  *os << c.label;
}

class CommentsTest : public ScrivletTest, public testing::WithParamInterface<CommentsCase> {};

TEST_P(CommentsTest, WritesIntoTheRoutineAtTheLine) {
  const CommentsCase& c = GetParam();
  const std::string path = Put("Meter.ctl", Meter());
  std::vector<std::string> arguments{"comments", "--line", std::to_string(c.line)};
  arguments.insert(arguments.end(), c.options.begin(), c.options.end());
  arguments.push_back(path);
  const Result result = Run(arguments);
  EXPECT_EQ(result.code, cli::kSuccess);
  EXPECT_EQ(result.err, "");
  const std::string golden = std::string{"cli/comments/"} + c.golden + ".ctl";
  if (c.instead.empty()) {
    EXPECT_TRUE(test::MatchesGolden(golden, test::ReadFile(path)));
    return;
  }
  std::string expected = test::Golden(golden);
  for (const auto& [line, replacement] : c.instead) {
    const std::size_t at = expected.find("\r\n" + line + "\r\n");
    ASSERT_NE(at, std::string::npos) << line;
    expected.replace(at + 2, line.size(), replacement);
  }
  EXPECT_EQ(test::Visible(test::ReadFile(path)), test::Visible(expected));
}

// Wherever the line is in a routine, the routine gets its header and its trap around its statements.
const CommentsCase kLines[] = {
    {"SubBody", 25, {}, "Click"},
    {"SubDeclaration", 24, {}, "Click"},
    {"SubEndLine", 26, {}, "Click"},
    {"FunctionBody", 21, {}, "Percent"},
    {"FunctionWithUsageAndProgrammer",
     22,
     {"--usage", "Percent of the range", "--programmer", "Ada Lovelace"},
     "Percent",
     {{"' Utility: Description of its utility", "' Utility: Percent of the range"},
      {"' Programmer's name: My name", "' Programmer's name: Ada Lovelace"}}},
    // The Get's declaration is followed by its Attribute line: the header goes after both.
    {"PropertyBody", 17, {}, "Caption"},
    {"PropertyAttributeLine", 16, {}, "Caption"},
    {"PropertyDeclaration", 15, {}, "Caption"},
    // Comment and blank lines above a routine belong to it.
    {"CommentAboveProperty", 14, {}, "Caption"},
    {"BlankAboveProperty", 13, {}, "Caption"},
    {"ResumeNext", 25, {"--resume-next"}, "ClickResumeNext"},
};

INSTANTIATE_TEST_SUITE_P(Lines, CommentsTest, testing::ValuesIn(kLines), Label<CommentsCase>);

// A property without the comment above it gets its header too, below its declaration's Attribute line,
// and its statements stand inside the trap, not after Exit Property.
TEST_F(ScrivletTest, CommentsGoBelowTheDeclarationsAttributeLine) {
  std::string source = Meter();
  const std::string comment = "' The meter's caption.\r\n";
  source.erase(source.find(comment), comment.size());
  const std::string path = Put("Meter.ctl", source);
  const Result result = Run({"comments", "--line", "16", path});
  EXPECT_EQ(result.code, cli::kSuccess) << result.err;
  EXPECT_TRUE(test::MatchesGolden("cli/comments/CaptionWithoutComment.ctl", test::ReadFile(path)));
}

TEST_F(ScrivletTest, CommentsOutsideEveryRoutineWriteNothing) {
  const std::string original = Meter();
  // Option Explicit, the Event, and the Event's Attribute line.
  for (const long line : {10L, 11L, 12L}) {
    SCOPED_TRACE(line);
    const std::string path = Put("Meter.ctl", original);
    const Result result = Run({"comments", "--line", std::to_string(line), path});
    EXPECT_EQ(result.code, cli::kFailure);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, "scrivlet: EcrireCode: The caret is not inside a routine.\n");
    EXPECT_EQ(test::ReadFile(path), original);
    ExpectAlone("Meter.ctl");
  }
}

TEST_F(ScrivletTest, CommentsLineOutsideTheCodeIsAUsageError) {
  const std::string original = Meter();
  const std::string path = Put("Meter.ctl", original);
  struct Case {
    std::string line;
    std::string err;
  };
  const Case cases[] = {
      // The final break does not start a 27th line.
      {"27", "scrivlet: --line 27: " + path + " has lines 1 to 26\n"},
      {"100000", "scrivlet: --line 100000: " + path + " has lines 1 to 26\n"},
      {"1", "scrivlet: --line 1: lines 1 to 9 of " + path + " are its hidden header, not code\n"},
      {"5", "scrivlet: --line 5: lines 1 to 9 of " + path + " are its hidden header, not code\n"},
      {"9", "scrivlet: --line 9: lines 1 to 9 of " + path + " are its hidden header, not code\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    const Result result = Run({"comments", "--line", c.line, path});
    EXPECT_EQ(result.code, cli::kUsage);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, c.err);
    EXPECT_EQ(test::ReadFile(path), original);
  }
}

// ---------------------------------------------------------------------------------------------
// Refusals that write nothing

TEST_F(ScrivletTest, EmptyNameWritesNothing) {
  const std::vector<std::vector<std::string>> commands = {
      {"property", "", "--variable", "NewTitle"},
      {"property", "", "--variable", "NewTitle", "--changed"},
      {"sub", ""},
      {"function", "", "--returns", "Long"},
      {"sub", "", "--print"},
  };
  const std::string original = Tools();
  for (std::vector<std::string> arguments : commands) {
    SCOPED_TRACE(arguments.front());
    const std::string path = Put("Tools.bas", original);
    arguments.push_back(path);
    const Result result = Run(arguments);
    EXPECT_EQ(result.code, cli::kUsage);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, "scrivlet: NAME: A routine needs a name.\n");
    EXPECT_EQ(test::ReadFile(path), original);
    ExpectAlone("Tools.bas");
  }
}

// A name, variable or type VB would refuse is a wrong command line that names its option.
class NameRuleTest : public ScrivletTest, public testing::WithParamInterface<test::RuleCase> {};

TEST_P(NameRuleTest, IsAWrongCommandLineNamingTheOption) {
  const test::RuleCase& c = GetParam();
  std::vector<std::string> arguments = c.arguments;
  arguments.push_back(Put("Tools.bas", Tools()));
  const Result result = Run(arguments);
  EXPECT_EQ(result.code, c.option != nullptr ? cli::kUsage : cli::kSuccess);
  EXPECT_EQ(result.err, c.option != nullptr ? "scrivlet: " + (c.option + (": " + c.message)) + "\n" : "");
}

INSTANTIATE_TEST_SUITE_P(CommandLine, NameRuleTest, testing::ValuesIn(test::NameCases()),
                         Label<test::RuleCase>);

// A name the file already uses is refused with the file's own line, hidden lines counted.
class ConflictTest : public ScrivletTest, public testing::WithParamInterface<test::RuleCase> {};

TEST_P(ConflictTest, IsRefusedNamingTheFilesLine) {
  const test::RuleCase& c = GetParam();
  std::string code{test::kConflictModule};
  const std::string get = "Property Get Value() As Long\r\n";
  code.insert(code.find(get) + get.size(), "Attribute Value.VB_UserMemId = 0\r\n");
  const std::string original = "Attribute VB_Name = \"M\"\r\n" + code;
  const std::string file = c.type == host::ComponentType::kStdModule ? "M.bas" : "M.cls";
  std::vector<std::string> arguments = c.arguments;
  arguments.push_back(Put(file, original));
  const Result result = Run(arguments);
  EXPECT_EQ(result.code, c.message.empty() ? cli::kSuccess : cli::kFailure);
  const long fileLine = c.line + 1 + (c.line > 5 ? 1 : 0);
  EXPECT_EQ(result.err, c.message.empty()
                            ? ""
                            : "scrivlet: " + arguments.back() + ": " + test::RuleMessage(c, fileLine) + "\n");
  if (!c.message.empty()) {
    EXPECT_EQ(test::ReadFile(arguments.back()), original);
  }
}

INSTANTIATE_TEST_SUITE_P(CommandLine, ConflictTest, testing::ValuesIn(test::ConflictCases()),
                         Label<test::RuleCase>);

TEST_F(ScrivletTest, UsageErrorsExitTwoAndWriteNothing) {
  const std::string original = Tools();
  const std::string path = Put("Tools.bas", original);
  struct Case {
    const char* label;
    std::vector<std::string> arguments;
    std::string err;  // empty: any "scrivlet: " line from the parser
  };
  const Case cases[] = {
      {"NoSubcommand", {}, ""},
      {"UnknownSubcommand", {"procedure", "A", path}, ""},
      {"UnknownOption", {"sub", "Refresh", "--bogus", path}, ""},
      {"PrivateWithFriend", {"sub", "Refresh", "--private", "--friend", path}, ""},
      {"FriendWithPrivateOnProperty",
       {"property", "T", "--variable", "V", "--friend", "--private", path},
       ""},
      {"ReadOnlyWithSet", {"property", "T", "--variable", "V", "--read-only", "--set", path}, ""},
      {"ReadOnlyWithChanged", {"property", "T", "--variable", "V", "--changed", "--read-only", path}, ""},
      {"PropertyWithoutVariable", {"property", "Title", path}, ""},
      {"PropertyWithEmptyVariable",
       {"property", "Title", "--variable", "", path},
       "scrivlet: --variable must not be empty: a property needs a variable\n"},
      {"UnknownCodePage",
       {"sub", "Refresh", "--codepage", "65001", path},
       "scrivlet: --codepage 65001: not a Windows ANSI code page (874, 932, 936, 949, 950, 1250, 1251, 1252, "
       "1253, "
       "1254, 1255, 1256, 1257, 1258)\n"},
      {"CodePageNotANumber", {"sub", "Refresh", "--codepage", "latin1", path}, ""},
      {"NameNotUtf8", {"sub", "R\xE9initialiser", path}, "scrivlet: NAME must be UTF-8 text\n"},
      {"OptionNotUtf8",
       {"sub", "Refresh", "--usage", "caf\xE9", path},
       "scrivlet: --usage must be UTF-8 text\n"},
      {"ConfigNameNotUtf8", {"config", "programmer", "Ren\xE9"}, "scrivlet: NAME must be UTF-8 text\n"},
      {"MissingFile", {"sub", "Refresh"}, ""},
      {"ExtraArgument", {"sub", "Refresh", path, "more.bas"}, ""},
      {"CommentsWithoutLine", {"comments", path}, ""},
      {"CommentsLineNotANumber", {"comments", "--line", "ten", path}, ""},
      {"CommentsTakesNoPrivate", {"comments", "--line", "6", "--private", path}, ""},
      {"FunctionTakesNoSet", {"function", "Total", "--set", path}, ""},
      {"SubTakesNoVariable", {"sub", "Refresh", "--variable", "V", path}, ""},
      {"ConfigWithoutSetting", {"config"}, ""},
      {"ConfigUnknownSetting", {"config", "colour", "red"}, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    const Result result = Run(c.arguments);
    EXPECT_EQ(result.code, cli::kUsage);
    EXPECT_EQ(result.out, "");
    if (c.err.empty()) {
      EXPECT_TRUE(result.err.starts_with("scrivlet: ")) << result.err;
      EXPECT_TRUE(result.err.ends_with("\n")) << result.err;
    } else {
      EXPECT_EQ(result.err, c.err);
    }
    EXPECT_EQ(test::ReadFile(path), original);
  }
  EXPECT_EQ(memorySettings_.GetSetting("Scrivlet", "Identification", "Programmer", "none"), "none");
  ExpectAlone("Tools.bas");
}

TEST_F(ScrivletTest, HelpExitsZeroWithExamples) {
  for (const std::vector<std::string>& arguments :
       {std::vector<std::string>{"--help"}, std::vector<std::string>{"-h"}}) {
    const Result result = Run(arguments);
    EXPECT_EQ(result.code, cli::kSuccess);
    EXPECT_NE(result.out.find("Examples:\n"), std::string::npos) << result.out;
    EXPECT_NE(result.out.find("scrivlet property Title --variable NewTitle --changed MyControl.ctl"),
              std::string::npos);
    EXPECT_NE(result.out.find("scrivlet comments --line 42 Class1.cls"), std::string::npos);
    EXPECT_EQ(result.err, "");
  }
  // A subcommand's help lists all its options, also after other arguments.
  for (const std::vector<std::string>& arguments :
       {std::vector<std::string>{"property", "--help"},
        std::vector<std::string>{"property", "Title", "--print", "-h"}}) {
    const Result sub = Run(arguments);
    EXPECT_EQ(sub.code, cli::kSuccess);
    EXPECT_NE(sub.out.find("--read-only"), std::string::npos) << sub.out;
    EXPECT_NE(sub.out.find("--codepage"), std::string::npos) << sub.out;
  }
}

TEST_F(ScrivletTest, FilesThatCannotBeUsedAreNamed) {
  fs::create_directory(folder_.path() / "Folder.bas");
  const std::string missing = (folder_.path() / "Missing.bas").string();
  const std::string folder = (folder_.path() / "Folder.bas").string();
  const std::string text = Put("notes.txt", Tools());
  const std::string project = Put("Project1.vbp", "Type=Exe\r\n");
  const std::string unterminated =
      Put("Broken.frm", "VERSION 5.00\r\nBegin VB.Form F\r\n   Caption = \"x\"\r\n");
  const std::string undecodable =
      Put("Polish.bas", "Attribute VB_Name = \"P\"\r\nOption Explicit\r\n' \x98\r\n");
  // Code page 932 writes this character with other bytes: the file would change where nobody edited it.
  const std::string ambiguous = Put("Kanji.bas", "Attribute VB_Name = \"K\"\r\n' \xED\x40\r\n");
  struct Case {
    std::vector<std::string> arguments;
    std::string err;
  };
  const std::string notSource = ": not a VB6 source file (.bas, .cls, .ctl, .dob, .frm, .pag, .dsr)\n";
  const Case cases[] = {
      {{"sub", "Refresh", missing}, "scrivlet: " + missing + ": no such file\n"},
      {{"sub", "Refresh", folder}, "scrivlet: " + folder + ": is a folder, not a source file\n"},
      {{"sub", "Refresh", text}, "scrivlet: " + text + notSource},
      {{"property", "T", "--variable", "V", project}, "scrivlet: " + project + notSource},
      {{"comments", "--line", "1", folder_.path().string()},
       "scrivlet: " + folder_.path().string() + notSource},
      {{"sub", "Refresh", unterminated}, "scrivlet: " + unterminated + ": line 2: Begin without End\n"},
      {{"sub", "Refresh", "--codepage", "1250", undecodable},
       "scrivlet: " + undecodable + ": line 3: the byte 0x98 cannot be read in code page 1250\n"},
      {{"sub", "Refresh", "--print", missing}, "scrivlet: " + missing + ": no such file\n"},
      {{"sub", "Refresh", "--codepage", "932", ambiguous},
       "scrivlet: " + ambiguous + ": the file would not be written back unchanged in code page 932\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.arguments.back());
    const Result result = Run(c.arguments);
    EXPECT_EQ(result.code, cli::kFailure);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, c.err);
  }
  EXPECT_FALSE(fs::exists(missing));
  EXPECT_EQ(test::ReadFile(text), Tools());
  EXPECT_EQ(test::ReadFile(unterminated), "VERSION 5.00\r\nBegin VB.Form F\r\n   Caption = \"x\"\r\n");
  EXPECT_EQ(test::ReadFile(undecodable), "Attribute VB_Name = \"P\"\r\nOption Explicit\r\n' \x98\r\n");
  EXPECT_EQ(test::ReadFile(ambiguous), "Attribute VB_Name = \"K\"\r\n' \xED\x40\r\n");
}

TEST_F(ScrivletTest, ReadOnlyFileIsRefusedWhoeverRuns) {
  const std::string original = Meter();
  const std::string path = Put("Meter.ctl", original);
  test::SetReadOnly(path, true);
  const Result result = Run({"property", "Title", "--variable", "NewTitle", "--changed", path});
  EXPECT_EQ(result.code, cli::kFailure);
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(result.err, "scrivlet: " + path + ": is read-only; nothing was written\n");
  EXPECT_EQ(test::ReadFile(path), original);
  ExpectAlone("Meter.ctl");
}

// ---------------------------------------------------------------------------------------------
// --print

TEST_F(ScrivletTest, PrintWritesTheResultAndLeavesTheFile) {
  const std::string original = Meter();
  for (const bool readOnly : {false, true}) {
    SCOPED_TRACE(readOnly);
    const std::string path = Put("Meter.ctl", original);
    test::SetReadOnly(path, readOnly);
    const Result result = Run({"property", "Title", "--variable", "NewTitle", "--changed", "--print", path});
    EXPECT_EQ(result.code, cli::kSuccess);
    EXPECT_EQ(result.err, "");
    EXPECT_TRUE(test::MatchesGolden("cli/controls/Meter.ctl", result.out));
    EXPECT_EQ(test::ReadFile(path), original);
    ExpectAlone("Meter.ctl");
    test::SetReadOnly(path, false);
  }
}

TEST_F(ScrivletTest, PrintToAnOutputThatFailsIsAFailure) {
  const std::string path = Put("Meter.ctl", Meter());
  std::ostringstream out;
  out.setstate(std::ios::badbit);  // a closed pipe or a full disk
  std::ostringstream err;
  cli::CommandServices services{out,       err, *settings_, *clock_, *dates_, *files_, platform_.codePages(),
                                "SETTINGS"};
  const std::vector<std::string> arguments{"sub", "Refresh", "--print", path};
  const int code = cli::RunScrivlet(arguments, services);
  EXPECT_EQ(code, cli::kFailure);
  EXPECT_EQ(err.str(), "scrivlet: standard output: cannot be written\n");
  EXPECT_EQ(test::ReadFile(path), Meter());
}

// ---------------------------------------------------------------------------------------------
// Code pages

TEST_F(ScrivletTest, UnmappableCharacterWritesNothing) {
  const std::string original = Tools();
  struct Case {
    std::vector<std::string> arguments;
    std::string message;
  };
  const Case cases[] = {
      // The programmer's name is the ninth line of the comment block.
      {{"sub", "Refresh", "--programmer", "\u0141ukasz"},
       "line 13: the character U+0141 cannot be written in code page 1252"},
      // The variable and the Let come first, then the Let's comment block.
      {{"property", "Title", "--variable", "NewTitle", "--usage", "\U0001F600"},
       "line 8: the character U+1F600 cannot be written in code page 1252"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    const std::string path = Put("Tools.bas", original);
    std::vector<std::string> arguments = c.arguments;
    arguments.push_back(path);
    const Result result = Run(arguments);
    EXPECT_EQ(result.code, cli::kFailure);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, "scrivlet: " + path + ": " + c.message + "; nothing was written\n");
    EXPECT_EQ(test::ReadFile(path), original);
    ExpectAlone("Tools.bas");
  }
}

// ---------------------------------------------------------------------------------------------
// Failures during a run

// The platform fails in the middle of a generation: the generator shows the failure and goes on,
// and the run writes nothing.
TEST_F(ScrivletTest, PlatformFailureDuringTheGenerationWritesNothing) {
  struct Case {
    const char* label;
    int failingClockCall;  // 0: the date formatter fails instead
    std::vector<std::string> arguments;
    std::string err;
  };
  const Case cases[] = {
      {"FirstRoutine",
       1,
       {"property", "Title", "--variable", "NewTitle", "--changed"},
       "scrivlet: Description: The clock failed.\n"},
      // The Get is already in the module's lines when the Let's date cannot be read.
      {"SecondRoutine",
       2,
       {"property", "Title", "--variable", "NewTitle", "--changed"},
       "scrivlet: Description: The clock failed.\n"},
      {"Comments", 1, {"comments", "--line", "25"}, "scrivlet: EcrireCode: The clock failed.\n"},
      {"DateFormat", 0, {"function", "Ratio"}, "scrivlet: Description: No date format.\n"},
      // Nothing is printed either.
      {"Print",
       2,
       {"property", "Title", "--variable", "NewTitle", "--print"},
       "scrivlet: Description: The clock failed.\n"},
  };
  const std::string original = Meter();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    FlakyClock clock{c.failingClockCall};
    FailingDates dates;
    if (c.failingClockCall == 0) {
      dates_ = &dates;
    } else {
      clock_ = &clock;
    }
    const std::string path = Put("Meter.ctl", original);
    std::vector<std::string> arguments = c.arguments;
    arguments.push_back(path);
    const Result result = Run(arguments);
    EXPECT_EQ(result.code, cli::kFailure);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, c.err);
    EXPECT_EQ(test::ReadFile(path), original);
    ExpectAlone("Meter.ctl");
    clock_ = &fixedClock_;
    dates_ = &platform_.dates();
  }
}

}  // namespace
