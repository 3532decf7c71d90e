// Runs the scrivlet command line in-process on copies of source files: the whole resulting files
// byte for byte, comments at a line, usage errors, refused files, code pages, and failures at every
// point of a run, each of which must leave the file as it was.
#include "cli/scrivlet_command.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <initializer_list>
#include <optional>
#include <ostream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "host/builtin_ide/fixed_clock.h"
#include "host/builtin_ide/memory_settings_store.h"
#include "host/host_error.h"
#include "platform/posix/code_page_codec.h"
#include "platform/posix/locale_date_formatter.h"
#include "platform/posix/source_file.h"
#include "tests/cli/scrivlet_texts.h"
#include "tests/support/scoped_env.h"
#include "tests/support/temp_folder.h"
#include "tests/support/visible.h"

namespace {

namespace fs = std::filesystem;
using platform::posix::SaveStep;

// A standard module whose declarations end with a constant; generated routines go after line 4.
constexpr std::string_view kToolsHead =
    "Attribute VB_Name = \"Tools\"\n"
    "Option Explicit\n"
    "\n"
    "Private Const LIMIT As Long = 10\n";
constexpr std::string_view kToolsTail =
    "\n"
    "Public Sub Main()\n"
    "    Debug.Print LIMIT\n"
    "End Sub\n";

std::string Tools() {
  return test::CrLf(std::string{kToolsHead} + std::string{kToolsTail});
}

// Tools with `routines` (LF-separated) where AddFromString puts them.
std::string ToolsWith(std::string_view routines) {
  return test::CrLf(std::string{kToolsHead} + std::string{routines} + std::string{kToolsTail});
}

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

struct Result {
  int code = -1;
  std::string out;
  std::string err;
};

class ScrivletTest : public testing::Test {
 protected:
  // Runs the command with `arguments`; a trailing FILE argument is the caller's to give.
  Result Run(const std::vector<std::string>& arguments) {
    std::ostringstream out;
    std::ostringstream err;
    platform::posix::DiskSourceFiles files{faults_};
    cli::CommandServices services{out, err, *settings_, *clock_, *dates_, files, codePages_};
    Result result;
    result.code = cli::RunScrivlet(arguments, services);
    result.out = out.str();
    result.err = err.str();
    return result;
  }

  // Writes `bytes` to `name` in the test's folder and gives its path.
  std::string Put(const std::string& name, const std::string& bytes) {
    const fs::path path = folder_.path() / name;
    test::WriteFile(path, bytes);
    return path.string();
  }

  // Only `name` is in the folder: no temporary file was left behind.
  void ExpectAlone(const std::string& name) {
    EXPECT_EQ(test::Entries(folder_.path()), std::vector<std::string>{name});
  }

  test::ScopedEnv locale_{"LC_ALL", "C"};
  test::TempFolder folder_;
  host::MemorySettingsStore memorySettings_;
  host::FixedClock fixedClock_{{2026, 12, 6}};
  platform::posix::LocaleDateFormatter localeDates_;
  host::SettingsStore* settings_ = &memorySettings_;
  const host::Clock* clock_ = &fixedClock_;
  const host::DateFormatter* dates_ = &localeDates_;
  platform::posix::SaveFaults faults_;
  const platform::posix::IconvCodePages codePages_;
};

// ---------------------------------------------------------------------------------------------
// Whole files, byte for byte

// The user control example: a read-write property with PropertyChanged.
TEST_F(ScrivletTest, PropertyChangedIntoUserControl) {
  const std::string path = Put("Meter.ctl", test::CrLf(test::kMeter));
  const Result result = Run({"property", "Title", "--variable", "NewTitle", "--changed", path});
  EXPECT_EQ(result.code, cli::kSuccess);
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(test::Visible(test::ReadFile(path)), test::Visible(test::CrLf(test::kMeterWithTitle)));
  ExpectAlone("Meter.ctl");
}

// The example control already reads and writes its properties: the new lines go first in those
// procedures, and everything else stays as it was.
TEST_F(ScrivletTest, PropertyChangedIntoTheExampleControl) {
  const std::string original = test::ReadFile(fs::path{SCRIVLET_EXAMPLES_DIR} / "Gauge.ctl");
  const std::string path = Put("Gauge.ctl", original);
  ASSERT_EQ(Run({"property", "Title", "--variable", "NewTitle", "--changed", path}).code, cli::kSuccess);

  std::vector<std::string> lines;
  std::istringstream in{original};
  for (std::string line; std::getline(in, line);) lines.push_back(line + "\n");
  ASSERT_EQ(lines.size(), 80U);
  ASSERT_EQ(lines[52], "Private m_Range As GaugeRange\r\n");
  ASSERT_EQ(lines[73], "Private Sub UserControl_ReadProperties(PropBag As PropertyBag)\r\n");
  ASSERT_EQ(lines[77], "Private Sub UserControl_WriteProperties(PropBag As PropertyBag)\r\n");
  std::string expected;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    expected += lines[i];
    if (i == 52) {
      expected += test::CrLf(
          "Private m_NewTitle AS String\nProperty Let Title(NewTitle as String)\n" + test::Block() +
          test::LabelledBody("Title", "Property", "m_NewTitle = NewTitle\nPropertyChanged \"Title\"\n") +
          "Property Get Title( )AS String\n" + test::Block() +
          test::LabelledBody("Title", "Property", "Title = m_NewTitle\n"));
    } else if (i == 73) {
      expected += "m_NewTitle = PropBag.ReadProperty (\"Title\")\r\n";
    } else if (i == 77) {
      expected += "Propbag.WriteProperty \"Title\", m_NewTitle\r\n";
    }
  }
  EXPECT_EQ(test::Visible(test::ReadFile(path)), test::Visible(expected));
}

struct RoutineCase {
  const char* label;
  std::vector<std::string> arguments;  // FILE follows
  std::string routines;                // LF-separated, where AddFromString puts them in Tools
};

void PrintTo(const RoutineCase& c, std::ostream* os) {
  *os << c.label;
}

class RoutineTest : public ScrivletTest, public testing::WithParamInterface<RoutineCase> {};

TEST_P(RoutineTest, WritesTheWholeFile) {
  const RoutineCase& c = GetParam();
  const std::string path = Put("Tools.bas", Tools());
  std::vector<std::string> arguments = c.arguments;
  arguments.push_back(path);
  const Result result = Run(arguments);
  EXPECT_EQ(result.code, cli::kSuccess);
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(test::Visible(test::ReadFile(path)), test::Visible(ToolsWith(c.routines)));
  ExpectAlone("Tools.bas");
}

using test::Block;
using test::LabelledBody;
using test::ResumeNextBody;

INSTANTIATE_TEST_SUITE_P(
    Subcommands, RoutineTest,
    testing::Values(
        RoutineCase{"Sub", {"sub", "Refresh"}, "Sub Refresh( )\n" + Block() + LabelledBody("Refresh", "Sub")},
        RoutineCase{"SubPrivate",
                    {"sub", "Refresh", "--private"},
                    "Private Sub Refresh( )\n" + Block() + LabelledBody("Refresh", "Sub")},
        RoutineCase{"SubFriend",
                    {"sub", "Refresh", "--friend"},
                    "Friend Sub Refresh( )\n" + Block() + LabelledBody("Refresh", "Sub")},
        RoutineCase{"SubStatic",
                    {"sub", "Refresh", "--static"},
                    "Static Sub Refresh( )\n" + Block() + LabelledBody("Refresh", "Sub")},
        // The labels keep the name as given; only the declaration takes the suffix.
        RoutineCase{"SubHide",
                    {"sub", "Refresh", "--hide"},
                    "Sub Refresh_Hide ( )\n" + Block() + LabelledBody("Refresh", "Sub")},
        RoutineCase{"SubResumeNext",
                    {"sub", "Refresh", "--resume-next"},
                    "Sub Refresh( )\n" + Block() + ResumeNextBody("Sub")},
        RoutineCase{"SubEveryOption",
                    {"sub", "Refresh", "--private", "--static", "--hide", "--resume-next", "--usage",
                     "Reloads the list", "--programmer", "Ada Lovelace"},
                    "Private Static Sub Refresh_Hide ( )\n" + Block("Ada Lovelace", "Reloads the list") +
                        ResumeNextBody("Sub")},
        RoutineCase{
            "Usage",
            {"sub", "Refresh", "--usage", "Reloads the list"},
            "Sub Refresh( )\n" + Block("My name", "Reloads the list") + LabelledBody("Refresh", "Sub")},
        // Every line of a usage typed over several lines stays a comment.
        RoutineCase{
            "UsageOverTwoLines",
            {"sub", "Refresh", "--usage", "Reloads\nthe list"},
            "Sub Refresh( )\n" + Block("My name", "Reloads\n' the list") + LabelledBody("Refresh", "Sub")},
        RoutineCase{"EmptyUsage",
                    {"sub", "Refresh", "--usage", ""},
                    "Sub Refresh( )\n" + Block("My name", "") + LabelledBody("Refresh", "Sub")},
        RoutineCase{"Programmer",
                    {"sub", "Refresh", "--programmer", "Ada Lovelace"},
                    "Sub Refresh( )\n" + Block("Ada Lovelace") + LabelledBody("Refresh", "Sub")},
        RoutineCase{"Function",
                    {"function", "Total"},
                    "Function Total( )AS String\n" + Block() + LabelledBody("Total", "Function")},
        RoutineCase{
            "FunctionReturns",
            {"function", "Total", "--variable", "Values", "--type", "Variant", "--returns", "Double"},
            "Function Total(Values as Variant)AS Double\n" + Block() + LabelledBody("Total", "Function")},
        RoutineCase{
            "FunctionVariableOfDefaultType",
            {"function", "Total", "--variable", "Values"},
            "Function Total(Values as String)AS String\n" + Block() + LabelledBody("Total", "Function")},
        RoutineCase{"FunctionFriendStaticResumeNext",
                    {"function", "Total", "--friend", "--static", "--resume-next", "--returns", "Long"},
                    "Friend Static Function Total( )AS Long\n" + Block() + ResumeNextBody("Function")},
        RoutineCase{"PropertyReadOnly",
                    {"property", "Count", "--variable", "Total", "--type", "Long", "--read-only"},
                    "Private m_Total AS Long\nProperty Get Count( )AS Long\n" + Block() +
                        LabelledBody("Count", "Property", "Count = m_Total\n")},
        RoutineCase{"PropertyReadWrite",
                    {"property", "Title", "--variable", "NewTitle"},
                    "Private m_NewTitle AS String\nProperty Let Title(NewTitle as String)\n" + Block() +
                        LabelledBody("Title", "Property", "m_NewTitle = NewTitle\n") +
                        "Property Get Title( )AS String\n" + Block() +
                        LabelledBody("Title", "Property", "Title = m_NewTitle\n")},
        RoutineCase{"PropertySet",
                    {"property", "Font", "--variable", "NewFont", "--type", "StdFont", "--set"},
                    "Private m_NewFont AS StdFont\nProperty Set Font(NewFont as StdFont)\n" + Block() +
                        LabelledBody("Font", "Property", "Set m_NewFont = NewFont\n") +
                        "Property Get Font( )AS StdFont\n" + Block() +
                        LabelledBody("Font", "Property", "Set Font = m_NewFont\n")},
        RoutineCase{
            "PropertySetChanged",
            {"property", "Font", "--variable", "NewFont", "--type", "StdFont", "--set", "--changed"},
            "Private m_NewFont AS StdFont\n"
            "Private Sub UserControl_ReadProperties (PropBag As PropertyBag)\n"
            "Set m_NewFont = PropBag.ReadProperty (\"Font\")\n"
            "End Sub\n"
            "Private Sub UserControl_WriteProperties(PropBag As PropertyBag)\n"
            "Propbag.WriteProperty \"Font\", m_NewFont\n"
            "End Sub\n"
            "Property Set Font(NewFont as StdFont)\n" +
                Block() +
                LabelledBody("Font", "Property", "Set m_NewFont = NewFont\nPropertyChanged \"Font\"\n") +
                "Property Get Font( )AS StdFont\n" + Block() +
                LabelledBody("Font", "Property", "Set Font = m_NewFont\n")},
        RoutineCase{"PropertyPrivateHideResumeNext",
                    {"property", "Title", "--variable", "NewTitle", "--private", "--hide", "--resume-next"},
                    "Private m_NewTitle AS String\nPrivate Property Let Title_Hide (NewTitle as String)\n" +
                        Block() + ResumeNextBody("Property", "m_NewTitle = NewTitle\n") +
                        "Private Property Get Title_Hide ( )AS String\n" + Block() +
                        ResumeNextBody("Property", "Title_Hide = m_NewTitle\n")},
        RoutineCase{"PropertyFriendStatic",
                    {"property", "Title", "--variable", "NewTitle", "--friend", "--static"},
                    "Private m_NewTitle AS String\nFriend Static Property Let Title(NewTitle as String)\n" +
                        Block() + LabelledBody("Title", "Property", "m_NewTitle = NewTitle\n") +
                        "Friend Static Property Get Title( )AS String\n" + Block() +
                        LabelledBody("Title", "Property", "Title = m_NewTitle\n")},
        // A blank is a name, as in the dialog.
        RoutineCase{"PropertyBlankVariable",
                    {"property", "Title", "--variable", " "},
                    "Private m_  AS String\nProperty Let Title(  as String)\n" + Block() +
                        LabelledBody("Title", "Property", "m_  =  \n") + "Property Get Title( )AS String\n" +
                        Block() + LabelledBody("Title", "Property", "Title = m_ \n")}),
    [](const testing::TestParamInfo<RoutineCase>& info) { return std::string{info.param.label}; });

TEST_F(ScrivletTest, ProgrammerStoredOrGivenOrDefault) {
  struct Case {
    const char* label;
    std::optional<std::string> stored;
    std::vector<std::string> arguments;
    std::string programmer;
  };
  const Case cases[] = {
      {"Default", std::nullopt, {}, "My name"},
      {"Stored", "Grace Hopper", {}, "Grace Hopper"},
      {"GivenOverStored", "Grace Hopper", {"--programmer", "Ada Lovelace"}, "Ada Lovelace"},
      {"GivenEmpty", "Grace Hopper", {"--programmer", ""}, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    host::MemorySettingsStore settings;
    if (c.stored) settings.SaveSetting("Scrivlet", "Identification", "Programmer", *c.stored);
    settings_ = &settings;
    const std::string path = Put("Tools.bas", Tools());
    std::vector<std::string> arguments{"sub", "Refresh"};
    arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
    arguments.push_back(path);
    EXPECT_EQ(Run(arguments).code, cli::kSuccess);
    EXPECT_EQ(
        test::Visible(test::ReadFile(path)),
        test::Visible(ToolsWith("Sub Refresh( )\n" + Block(c.programmer) + LabelledBody("Refresh", "Sub"))));
    settings_ = &memorySettings_;
  }
}

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
  EXPECT_EQ(test::ReadFile(path),
            ToolsWith("Sub Refresh( )\n" + Block("Ada Lovelace") + LabelledBody("Refresh", "Sub")));
}

TEST_F(ScrivletTest, ConfigProgrammerThatCannotBeStoredFails) {
  FailingSettings settings;
  settings_ = &settings;
  const Result result = Run({"config", "programmer", "Ada Lovelace"});
  EXPECT_EQ(result.code, cli::kFailure);
  EXPECT_EQ(result.err, "scrivlet: The settings file cannot be written.\n");
}

// ---------------------------------------------------------------------------------------------
// Line breaks and the final break through the command

TEST_F(ScrivletTest, NewLinesFollowTheFilesBreaks) {
  struct Case {
    const char* label;
    std::string before;
    std::string after;
  };
  const std::string routine = "Sub Refresh( )\n" + Block() + LabelledBody("Refresh", "Sub");
  // An LF-only text with every break turned into `ending`.
  const auto with = [](std::string_view text, std::string_view ending) {
    std::string converted;
    for (const char c : text) {
      if (c == '\n') {
        converted += ending;
      } else {
        converted += c;
      }
    }
    return converted;
  };
  const std::string head{kToolsHead};
  const std::string tail{kToolsTail};
  std::string noFinalBreak = test::CrLf(head + routine + tail);
  noFinalBreak.resize(noFinalBreak.size() - 2);
  std::string noFinalBreakBefore = Tools();
  noFinalBreakBefore.resize(noFinalBreakBefore.size() - 2);
  const Case cases[] = {
      {"LfOnly", with(head + tail, "\n"), with(head + routine + tail, "\n")},
      {"CrOnly", with(head + tail, "\r"), with(head + routine + tail, "\r")},
      {"NoFinalBreak", noFinalBreakBefore, noFinalBreak},
      // Mostly LF: new lines take LF, the CR LF line keeps its own.
      {"Mixed", "Attribute VB_Name = \"Tools\"\r\nOption Explicit\n\nPrivate Const LIMIT As Long = 10\n",
       "Attribute VB_Name = \"Tools\"\r\nOption Explicit\n\nPrivate Const LIMIT As Long = 10\n" +
           with(routine, "\n")},
      // No routine and no final break: the routine goes at the end, which still has no break.
      {"AppendedWithoutFinalBreak", "Attribute VB_Name = \"Tools\"\r\nOption Explicit",
       "Attribute VB_Name = \"Tools\"\r\nOption Explicit\r\n" +
           [&] {
             std::string text = test::CrLf(routine);
             text.resize(text.size() - 2);
             return text;
           }()},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    const std::string path = Put("Tools.bas", c.before);
    ASSERT_EQ(Run({"sub", "Refresh", path}).code, cli::kSuccess);
    EXPECT_EQ(test::Visible(test::ReadFile(path)), test::Visible(c.after));
  }
}

// ---------------------------------------------------------------------------------------------
// comments --line N

struct CommentsCase {
  const char* label;
  long line;
  std::vector<std::string> options;
  std::size_t after;     // the comments follow this line of Meter
  std::string inserted;  // LF-separated
};

void PrintTo(const CommentsCase& c, std::ostream* os) {
  *os << c.label;
}

// Meter with `inserted` after its line `after`.
std::string MeterWith(std::size_t after, const std::string& inserted) {
  const std::string meter{test::kMeter};
  std::size_t at = 0;
  for (std::size_t line = 0; line < after; ++line) at = meter.find('\n', at) + 1;
  return test::CrLf(meter.substr(0, at) + inserted + meter.substr(at));
}

class CommentsTest : public ScrivletTest, public testing::WithParamInterface<CommentsCase> {};

TEST_P(CommentsTest, WritesIntoTheRoutineAtTheLine) {
  const CommentsCase& c = GetParam();
  const std::string path = Put("Meter.ctl", test::CrLf(test::kMeter));
  std::vector<std::string> arguments{"comments", "--line", std::to_string(c.line)};
  arguments.insert(arguments.end(), c.options.begin(), c.options.end());
  arguments.push_back(path);
  const Result result = Run(arguments);
  EXPECT_EQ(result.code, cli::kSuccess);
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(test::Visible(test::ReadFile(path)), test::Visible(MeterWith(c.after, c.inserted)));
}

INSTANTIATE_TEST_SUITE_P(
    Lines, CommentsTest,
    testing::Values(
        CommentsCase{"SubBody", 25, {}, 24, Block() + LabelledBody("UserControl_Click", "Sub", "", false)},
        CommentsCase{
            "SubDeclaration", 24, {}, 24, Block() + LabelledBody("UserControl_Click", "Sub", "", false)},
        // Above the caret line: on the End line, the comments go right above it.
        CommentsCase{"SubEndLine", 26, {}, 25, Block() + LabelledBody("UserControl_Click", "Sub", "", false)},
        CommentsCase{"FunctionBody", 21, {}, 20, Block() + LabelledBody("Percent", "Function", "", false)},
        CommentsCase{
            "FunctionWithUsageAndProgrammer",
            22,
            {"--usage", "Percent of the range", "--programmer", "Ada Lovelace"},
            21,
            Block("Ada Lovelace", "Percent of the range") + LabelledBody("Percent", "Function", "", false)},
        // The Get's declaration is followed by its Attribute line: the comments go after both.
        CommentsCase{"PropertyBody", 17, {}, 16, Block() + LabelledBody("Caption", "Property", "", false)},
        CommentsCase{
            "PropertyAttributeLine", 16, {}, 16, Block() + LabelledBody("Caption", "Property", "", false)},
        CommentsCase{
            "PropertyDeclaration", 15, {}, 16, Block() + LabelledBody("Caption", "Property", "", false)},
        // Comment and blank lines above a routine belong to it.
        CommentsCase{
            "CommentAboveProperty", 14, {}, 16, Block() + LabelledBody("Caption", "Property", "", false)},
        CommentsCase{
            "BlankAboveProperty", 13, {}, 16, Block() + LabelledBody("Caption", "Property", "", false)},
        CommentsCase{"PropertyWithVariable",
                     18,
                     {"--variable", "Text"},
                     17,
                     Block() + LabelledBody("Caption", "Property", "Caption = m_Text\n", false)},
        CommentsCase{"ResumeNext", 25, {"--resume-next"}, 24, Block() + ResumeNextBody("Sub", "", false)}),
    [](const testing::TestParamInfo<CommentsCase>& info) { return std::string{info.param.label}; });

TEST_F(ScrivletTest, CommentsOutsideEveryRoutineWriteNothing) {
  const std::string original = test::CrLf(test::kMeter);
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
  const std::string original = test::CrLf(test::kMeter);
  const std::string path = Put("Meter.ctl", original);
  struct Case {
    std::string line;
    std::string err;
  };
  const Case cases[] = {
      {"0", "scrivlet: --line 0: " + path + " has lines 1 to 26\n"},
      {"-3", "scrivlet: --line -3: " + path + " has lines 1 to 26\n"},
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
    EXPECT_EQ(result.code, cli::kFailure);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, "scrivlet: Name of propriete cannot be null.\n");
    EXPECT_EQ(test::ReadFile(path), original);
    ExpectAlone("Tools.bas");
  }
}

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
      {"NameNotUtf8", {"sub", "R\xE9initialiser", path}, "scrivlet: arguments must be UTF-8 text\n"},
      {"OptionNotUtf8",
       {"sub", "Refresh", "--usage", "caf\xE9", path},
       "scrivlet: arguments must be UTF-8 text\n"},
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
  const Result sub = Run({"property", "--help"});
  EXPECT_EQ(sub.code, cli::kSuccess);
  EXPECT_NE(sub.out.find("--read-only"), std::string::npos) << sub.out;
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
  const std::string notSource = ": not a VB6 source file (.bas, .cls, .ctl, .frm, .pag, .dsr)\n";
  const Case cases[] = {
      {{"sub", "Refresh", missing}, "scrivlet: " + missing + ": no such file\n"},
      {{"sub", "Refresh", folder}, "scrivlet: " + folder + ": is a folder, not a source file\n"},
      {{"sub", "Refresh", text}, "scrivlet: " + text + notSource},
      {{"property", "T", "--variable", "V", project}, "scrivlet: " + project + notSource},
      {{"comments", "--line", "1", folder_.path().string()},
       "scrivlet: " + folder_.path().string() + notSource},
      {{"sub", "Refresh", unterminated},
       "scrivlet: " + unterminated +
           ": the form description that starts on line 2 has no closing End line\n"},
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
  const std::string original = test::CrLf(test::kMeter);
  const std::string path = Put("Meter.ctl", original);
  ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
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
  const std::string original = test::CrLf(test::kMeter);
  for (const unsigned mode : {0644U, 0444U}) {
    SCOPED_TRACE(mode);
    const std::string path = Put("Meter.ctl", original);
    ASSERT_EQ(::chmod(path.c_str(), mode), 0);
    const Result result = Run({"property", "Title", "--variable", "NewTitle", "--changed", "--print", path});
    EXPECT_EQ(result.code, cli::kSuccess);
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(test::Visible(result.out), test::Visible(test::CrLf(test::kMeterWithTitle)));
    EXPECT_EQ(test::ReadFile(path), original);
    ExpectAlone("Meter.ctl");
    ASSERT_EQ(::chmod(path.c_str(), 0644), 0);
  }
}

TEST_F(ScrivletTest, PrintToAnOutputThatFailsIsAFailure) {
  const std::string path = Put("Meter.ctl", test::CrLf(test::kMeter));
  std::ostringstream out;
  out.setstate(std::ios::badbit);  // a closed pipe or a full disk
  std::ostringstream err;
  platform::posix::DiskSourceFiles files{faults_};
  cli::CommandServices services{out, err, *settings_, *clock_, *dates_, files, codePages_};
  const std::vector<std::string> arguments{"sub", "Refresh", "--print", path};
  const int code = cli::RunScrivlet(arguments, services);
  EXPECT_EQ(code, cli::kFailure);
  EXPECT_EQ(err.str(), "scrivlet: standard output: cannot be written\n");
  EXPECT_EQ(test::ReadFile(path), test::CrLf(test::kMeter));
}

TEST_F(ScrivletTest, PrintWritesInTheFilesCodePage) {
  const std::string original = "Attribute VB_Name = \"M\"\r\n' \xD1\xF7\xB8\xF2\xF7\xE8\xEA\r\n";
  const std::string path = Put("Counter.bas", original);
  const Result printed = Run({"sub", "\u041E\u0431\u043D\u043E\u0432\u0438\u0442\u044C", "--resume-next",
                              "--print", "--codepage", "1251", path});
  EXPECT_EQ(printed.code, cli::kSuccess);
  EXPECT_EQ(test::Visible(printed.out),
            test::Visible(original + test::CrLf("Sub \xCE\xE1\xED\xEE\xE2\xE8\xF2\xFC( )\n" + Block() +
                                                ResumeNextBody("Sub"))));
  EXPECT_EQ(test::ReadFile(path), original);
}

// ---------------------------------------------------------------------------------------------
// Code pages

TEST_F(ScrivletTest, CodePagesRoundTripThroughAGeneration) {
  struct Case {
    const char* label;
    std::string codePage;
    std::string name;       // UTF-8, as typed
    std::string nameBytes;  // in the code page
    std::string comment;    // a line of the file in the code page, kept byte for byte
  };
  const Case cases[] = {
      {"Western", "1252", "R\u00E9initialiser", "R\xE9initialiser", "' Caf\xE9 cr\xE8me \x80 \x9C"},
      {"WesternUndefinedBytes", "1252", "Refresh", "Refresh", "' \x81\x8D\x8F\x90\x9D"},
      {"CentralEuropean", "1250", "Przelicz\u0105", "Przelicz\xB9",
       "' \xA3\xF3"
       "d\x9F"},
      {"Cyrillic", "1251", "\u041E\u0431\u043D\u043E\u0432\u0438\u0442\u044C",
       "\xCE\xE1\xED\xEE\xE2\xE8\xF2\xFC", "' \xD1\xF7\xB8\xF2\xF7\xE8\xEA"},
      {"Japanese", "932", "\u66F4\u65B0", "\x8D\x58\x90\x56", "' \x93\xFA\x96\x7B\x8C\xEA \x83\x5C"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    const std::string head = "Attribute VB_Name = \"M\"\r\nOption Explicit\r\n" + c.comment + "\r\n";
    const std::string path = Put("Module1.bas", head);
    const Result result = Run({"sub", c.name, "--resume-next", "--codepage", c.codePage, path});
    EXPECT_EQ(result.code, cli::kSuccess);
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(
        test::Visible(test::ReadFile(path)),
        test::Visible(head + test::CrLf("Sub " + c.nameBytes + "( )\n" + Block() + ResumeNextBody("Sub"))));
  }
}

TEST_F(ScrivletTest, UnmappableCharacterWritesNothing) {
  const std::string original = Tools();
  struct Case {
    std::vector<std::string> arguments;
    std::string message;
  };
  const Case cases[] = {
      // The declaration is line 5.
      {{"sub", "\u03A3"}, "line 5: the character U+03A3 cannot be written in code page 1252"},
      // The programmer's name is the ninth line of the comment block.
      {{"sub", "Refresh", "--programmer", "\u0141ukasz"},
       "line 13: the character U+0141 cannot be written in code page 1252"},
      {{"function", "Total", "--returns", "\u65E5"},
       "line 5: the character U+65E5 cannot be written in code page 1252"},
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

// Another program saves the file while the command writes it.
TEST_F(ScrivletTest, FileChangedDuringTheRunIsNotOverwritten) {
  const std::string theirs = "Attribute VB_Name = \"Tools\"\r\n' their edit\r\n";
  for (const SaveStep step : {SaveStep::kCreateTemporary, SaveStep::kWrite, SaveStep::kClose}) {
    SCOPED_TRACE(static_cast<int>(step));
    const std::string path = Put("Tools.bas", Tools());
    faults_ = [&](SaveStep now) {
      if (now == step) test::WriteFile(path, theirs);
      return 0;
    };
    const Result result = Run({"sub", "Refresh", path});
    EXPECT_EQ(result.code, cli::kFailure);
    EXPECT_EQ(result.err, "scrivlet: " + path + ": changed on disk since it was read; nothing was written\n");
    EXPECT_EQ(test::ReadFile(path), theirs);
    ExpectAlone("Tools.bas");
  }
}

TEST_F(ScrivletTest, SaveFailureAtEachStepLeavesTheFile) {
  const std::string original = test::CrLf(test::kMeter);
  const SaveStep steps[] = {
      SaveStep::kCreateTemporary, SaveStep::kPermissions,    SaveStep::kWrite, SaveStep::kSync,
      SaveStep::kClose,           SaveStep::kCheckUnchanged, SaveStep::kRename};
  for (const SaveStep step : steps) {
    SCOPED_TRACE(static_cast<int>(step));
    const std::string path = Put("Meter.ctl", original);
    faults_ = [step](SaveStep now) { return now == step ? EIO : 0; };
    const Result result = Run({"property", "Title", "--variable", "NewTitle", "--changed", path});
    EXPECT_EQ(result.code, cli::kFailure);
    EXPECT_EQ(result.out, "");
    EXPECT_TRUE(result.err.starts_with("scrivlet: " + path + ": ")) << result.err;
    EXPECT_NE(result.err.find("Input/output error"), std::string::npos) << result.err;
    EXPECT_EQ(test::ReadFile(path), original);
    ExpectAlone("Meter.ctl");
  }
}

// Once the file is renamed into place, a folder that cannot be flushed is still reported.
TEST_F(ScrivletTest, FolderFlushFailureAfterTheRenameIsReported) {
  const std::string path = Put("Meter.ctl", test::CrLf(test::kMeter));
  faults_ = [](SaveStep now) { return now == SaveStep::kSyncFolder ? EIO : 0; };
  const Result result = Run({"property", "Title", "--variable", "NewTitle", "--changed", path});
  EXPECT_EQ(result.code, cli::kFailure);
  EXPECT_EQ(result.err, "scrivlet: " + path + ": was replaced, but its folder " + folder_.path().string() +
                            " cannot be flushed: Input/output error\n");
  EXPECT_EQ(test::ReadFile(path), test::CrLf(test::kMeterWithTitle));
  ExpectAlone("Meter.ctl");
}

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
      {"Comments", 1, {"comments", "--line", "25"}, "scrivlet: Description: The clock failed.\n"},
      {"DateFormat", 0, {"function", "Percent"}, "scrivlet: Description: No date format.\n"},
      // Nothing is printed either.
      {"Print",
       2,
       {"property", "Title", "--variable", "NewTitle", "--print"},
       "scrivlet: Description: The clock failed.\n"},
  };
  const std::string original = test::CrLf(test::kMeter);
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
    dates_ = &localeDates_;
  }
}

TEST_F(ScrivletTest, SuccessKeepsThePermissions) {
  const std::string path = Put("Meter.ctl", test::CrLf(test::kMeter));
  ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
  ASSERT_EQ(Run({"sub", "Refresh", path}).code, cli::kSuccess);
  struct stat info {};
  ASSERT_EQ(::stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777U, 0640U);
}

}  // namespace
