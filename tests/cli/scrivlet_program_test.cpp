// Runs the scrivlet program itself, as a shell or a build would: exit statuses, standard error and
// the file left behind, end to end.
#include <sys/stat.h>
#include <sys/wait.h>

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/golden.h"
#include "tests/support/temp_folder.h"

namespace {

namespace fs = std::filesystem;

struct Outcome {
  int status = -1;
  std::string out;
  std::string err;
};

class ScrivletProgramTest : public testing::Test {
 protected:
  // Runs the program with `arguments` (none may hold a single quote) and a settings folder of the
  // test's own, in the C locale, on the given day.
  Outcome Run(const std::vector<std::string>& arguments) {
    const fs::path out = folder_.path() / "out";
    const fs::path err = folder_.path() / "err";
    std::string command = Command(arguments);
    command += " >'" + out.string() + "' 2>'" + err.string() + "'";
    const int status = std::system(command.c_str());
    Outcome outcome;
    outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    outcome.out = test::ReadFile(out);
    outcome.err = test::ReadFile(err);
    fs::remove(out);
    fs::remove(err);
    return outcome;
  }

  std::string Command(const std::vector<std::string>& arguments) {
    std::string command = "env -u LANG -u LC_TIME LC_ALL=C SOURCE_DATE_EPOCH=1796558400 XDG_CONFIG_HOME='" +
                          (folder_.path() / "config").string() + "' '" + SCRIVLET_PROGRAM + "'";
    for (const std::string& argument : arguments) command += " '" + argument + "'";
    return command;
  }

  std::string Put(const std::string& name, const std::string& bytes) {
    const fs::path path = folder_.path() / name;
    test::WriteFile(path, bytes);
    return path.string();
  }

  test::TempFolder folder_;
};

TEST_F(ScrivletProgramTest, HelpShowsTheExamples) {
  const Outcome outcome = Run({"--help"});
  EXPECT_EQ(outcome.status, 0);
  EXPECT_NE(
      outcome.out.find("Examples:\n  scrivlet property Title --variable NewTitle --changed MyControl.ctl\n"),
      std::string::npos)
      << outcome.out;
  EXPECT_EQ(outcome.err, "");
}

// The version comes from the file VERSION, whatever else is asked with it.
TEST_F(ScrivletProgramTest, VersionIsTheVersionFiles) {
  const std::string file = test::ReadFile(SCRIVLET_VERSION_FILE);
  const std::string expected = "scrivlet " + file.substr(0, file.find('\n')) + "\n";
  for (const std::vector<std::string>& arguments :
       {std::vector<std::string>{"--version"}, std::vector<std::string>{"--version", "property"}}) {
    const Outcome outcome = Run(arguments);
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.out, expected);
    EXPECT_EQ(outcome.err, "");
  }
}

TEST_F(ScrivletProgramTest, UsageErrorExitsTwo) {
  const std::string original = test::Golden("cli/Meter.ctl");
  const std::string path = Put("Meter.ctl", original);
  for (const std::vector<std::string>& arguments :
       {std::vector<std::string>{"sub", "Refresh", "--private", "--friend", path},
        std::vector<std::string>{"property", "Title", "--variable", "V", "--codepage", "65001", path},
        std::vector<std::string>{"comments", "--line", "3", path}, std::vector<std::string>{}}) {
    SCOPED_TRACE(arguments.empty() ? "no arguments" : arguments.front());
    const Outcome outcome = Run(arguments);
    EXPECT_EQ(outcome.status, 2);
    EXPECT_EQ(outcome.out, "");
    EXPECT_TRUE(outcome.err.starts_with("scrivlet: ")) << outcome.err;
    EXPECT_EQ(test::ReadFile(path), original);
  }
}

// Tests and CI run as root, whom permissions do not stop: the program refuses all the same.
TEST_F(ScrivletProgramTest, ReadOnlyFileIsRefused) {
  const std::string original = test::Golden("cli/Meter.ctl");
  const std::string path = Put("Meter.ctl", original);
  ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
  const Outcome outcome = Run({"property", "Title", "--variable", "NewTitle", "--changed", path});
  EXPECT_EQ(outcome.status, 1);
  EXPECT_EQ(outcome.out, "");
  EXPECT_EQ(outcome.err, "scrivlet: " + path + ": is read-only; nothing was written\n");
  EXPECT_EQ(test::ReadFile(path), original);
}

// The whole example, from the command line to the file, with the date taken from SOURCE_DATE_EPOCH.
TEST_F(ScrivletProgramTest, PropertyChangedIntoUserControl) {
  const std::string path = Put("Meter.ctl", test::Golden("cli/Meter.ctl"));
  const Outcome outcome = Run({"property", "Title", "--variable", "NewTitle", "--changed", path});
  EXPECT_EQ(outcome.status, 0);
  EXPECT_EQ(outcome.out, "");
  EXPECT_EQ(outcome.err, "");
  EXPECT_TRUE(test::MatchesGolden("cli/controls/Meter.ctl", test::ReadFile(path)));
}

TEST_F(ScrivletProgramTest, MessageOfTheGeneratorExitsOne) {
  const std::string original = test::Golden("cli/Meter.ctl");
  const std::string path = Put("Meter.ctl", original);
  const Outcome outcome = Run({"comments", "--line", "10", path});
  EXPECT_EQ(outcome.status, 1);
  EXPECT_EQ(outcome.err, "scrivlet: EcrireCode: The caret is not inside a routine.\n");
  EXPECT_EQ(test::ReadFile(path), original);
}

// A reader that stops early (`| head -c 100`) on more than a pipe holds: the program is not killed by
// SIGPIPE (a shell would show 141) but says so and exits 1, with the program started as a shell starts
// it, SIGPIPE at its default.
TEST_F(ScrivletProgramTest, ReaderThatStopsEarlyIsAFailureToWrite) {
  std::string module = "Attribute VB_Name = \"Big\"\r\n";
  while (module.size() < 200'000)
    module += "' A comment line, so that the output outgrows a pipe's buffer.\r\n";
  const std::string path = Put("Big.bas", module);
  const fs::path err = folder_.path() / "err";
  const fs::path status = folder_.path() / "status";
  std::signal(SIGPIPE, SIG_DFL);
  const std::string command = "{ " + Command({"sub", "Refresh", "--print", path}) + " 2>'" + err.string() +
                              "'; echo $? >'" + status.string() + "'; } | head -c 100 >/dev/null";
  ASSERT_EQ(std::system(command.c_str()), 0);
  EXPECT_EQ(test::ReadFile(status), "1\n");
  EXPECT_EQ(test::ReadFile(err), "scrivlet: standard output: cannot be written\n");
  EXPECT_EQ(test::ReadFile(path), module);
}

}  // namespace
