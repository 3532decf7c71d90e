// tests/cli/dressing_test.cpp: headers and traps over a folder and a project file: each file edited
// whole or not at all, one that cannot be edited reported while the others go on, the summary, and
// --remove giving back every byte.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/cli/scrivlet_fixture.h"

namespace {

namespace fs = std::filesystem;

using DressingCommand = test::ScrivletTest;

TEST_F(DressingCommand, FolderAndProjectFileAddAndRemove) {
  const fs::path examples{SCRIVLET_EXAMPLES_DIR};
  const std::string startup = test::ReadFile(examples / "Startup.bas");
  const std::string gauge = test::ReadFile(examples / "Gauge.ctl");
  Put("Startup.bas", startup);
  Put("Gauge.ctl", gauge);
  fs::create_directory(folder_.path() / "sub");
  const std::string other = Put("sub/Other.bas", startup);
  const std::string broken = Put("Broken.bas", "Sub A()\r\nEnd Sub\r\n");
  const std::string project = Put("Project.vbp",
                                  "Type=Exe\r\nModule=Startup; Startup.bas\r\nUserControl=Gauge.ctl\r\n"
                                  "Module=Other; sub\\Other.bas\r\nName=\"Invoices\"\r\n");
  const std::string folder = folder_.path().string();

  const test::Result dry = Run({"traps", "--dry-run", folder});
  EXPECT_EQ(dry.out, "4 files, 3 would change, 1 not edited; 7 routines would change\n");
  EXPECT_EQ(test::ReadFile(other), startup);

  const test::Result added = Run({"traps", folder});
  EXPECT_EQ(added.code, 1) << "a file was left";
  EXPECT_EQ(added.err, "scrivlet: " + broken +
                           ": is not a VB6 module: it has no Attribute VB_Name line, which VB6 writes into "
                           "every module it saves\n");
  EXPECT_EQ(added.out, "4 files, 3 changed, 1 not edited; 7 routines changed\n");
  EXPECT_NE(test::ReadFile(other), startup);

  const test::Result again = Run({"traps", project});
  EXPECT_EQ(again.code, 0);
  EXPECT_EQ(again.out,
            "3 files, 0 changed; 0 routines changed; 7 left alone: it has an On Error statement\n");

  const test::Result removed = Run({"traps", "--remove", "--only", "Main,Value", project});
  EXPECT_EQ(removed.code, 0) << removed.err;
  EXPECT_EQ(removed.out, "3 files, 3 changed; 4 routines changed\n");
  EXPECT_EQ(test::ReadFile(other), startup);
  const test::Result rest = Run({"traps", "--remove", project});
  EXPECT_EQ(
      rest.out,
      "3 files, 1 changed; 3 routines changed; 4 left alone: nothing there is what the templates add\n");
  EXPECT_EQ(test::ReadFile(folder_.path() / "Gauge.ctl"), gauge);
  EXPECT_EQ(test::ReadFile(folder_.path() / "Startup.bas"), startup);
}

// A file given more than once (through its project, its folder and itself) is edited once, taking the
// {Project} of the first path that gives it: the project's name for its module, none for the others.
TEST_F(DressingCommand, FileGivenAgainIsEditedOnceWithItsProjectsName) {
  const fs::path examples{SCRIVLET_EXAMPLES_DIR};
  const std::string startup = Put("Startup.bas", test::ReadFile(examples / "Startup.bas"));
  const std::string gauge = Put("Gauge.ctl", test::ReadFile(examples / "Gauge.ctl"));
  const std::string project =
      Put("Project.vbp", "Type=Exe\r\nModule=Startup; Startup.bas\r\nName=\"Invoices\"\r\n");
  fs::create_directory(folder_.path() / ".scrivlet");
  Put(".scrivlet/error-trap.txt",
      "    On Error GoTo Fail\n    {Body}\n    Exit {ExitKind}\nFail:\n    Err.Raise Err.Number, "
      "\"[{Project}]\"\n");

  const test::Result run = Run({"traps", project, folder_.path().string(), startup});
  EXPECT_EQ(run.code, 0) << run.err;
  EXPECT_EQ(run.out, "2 files, 2 changed; 6 routines changed\n");
  const std::string started = test::ReadFile(startup);
  EXPECT_NE(started.find("Err.Raise Err.Number, \"[Invoices]\""), std::string::npos) << started;
  EXPECT_EQ(started.find("\"[]\""), std::string::npos) << started;
  const std::string control = test::ReadFile(gauge);
  EXPECT_NE(control.find("Err.Raise Err.Number, \"[]\""), std::string::npos) << control;
  EXPECT_EQ(control.find("Invoices"), std::string::npos) << control;
}

}  // namespace
