// tests/cli/save_failures_test.cpp: a replacement that fails at each of its steps on the POSIX
// platform, and what a successful one keeps of the file's mode.
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <string>

#include "platform/posix/safe_replace.h"
#include "platform/posix/source_file.h"
#include "tests/cli/scrivlet_fixture.h"
#include "tests/support/golden.h"
#include "tests/support/temp_folder.h"

namespace {

using platform::posix::SaveStep;
using test::Meter;
using test::Result;
using test::Tools;

// The run's files meet the faults the test plans.
class SaveFailureTest : public test::ScrivletTest {
 protected:
  SaveFailureTest() { files_ = &faultyFiles_; }

  platform::posix::SaveFaults faults_;
  platform::posix::DiskSourceFiles faultyFiles_{
      [this](SaveStep step) { return faults_ ? faults_(step) : 0; }};
};

// Another program saves the file while the command writes it.
TEST_F(SaveFailureTest, FileChangedDuringTheRunIsNotOverwritten) {
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

TEST_F(SaveFailureTest, SaveFailureAtEachStepLeavesTheFile) {
  const std::string original = Meter();
  const SaveStep steps[] = {SaveStep::kCreateTemporary, SaveStep::kPermissions, SaveStep::kAttributes,
                            SaveStep::kWrite,           SaveStep::kSync,        SaveStep::kClose,
                            SaveStep::kCheckUnchanged,  SaveStep::kRename};
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

// Once the file is renamed into place, a folder that cannot be flushed is still reported, as a
// warning. The edit is made, so the run succeeds: a script that retried a failure would add the routine
// twice.
TEST_F(SaveFailureTest, FolderFlushFailureAfterTheRenameIsAWarning) {
  const std::string path = Put("Meter.ctl", Meter());
  faults_ = [](SaveStep now) { return now == SaveStep::kSyncFolder ? EIO : 0; };
  const Result result = Run({"property", "Title", "--variable", "NewTitle", "--changed", path});
  EXPECT_EQ(result.code, cli::kSuccess);
  EXPECT_EQ(result.err,
            "scrivlet: warning: " + path + ": was replaced, but its folder " + folder_.path().string() +
                " cannot be flushed: Input/output error, so the change may not survive a power loss\n");
  EXPECT_TRUE(test::MatchesGolden("cli/controls/Meter.ctl", test::ReadFile(path)));
  ExpectAlone("Meter.ctl");
}

TEST_F(SaveFailureTest, SuccessKeepsThePermissions) {
  const std::string path = Put("Meter.ctl", Meter());
  ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
  ASSERT_EQ(Run({"sub", "Refresh", path}).code, cli::kSuccess);
  struct stat info {};
  ASSERT_EQ(::stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777U, 0640U);
}

}  // namespace
