// Checks reading a source file and replacing it safely: the kinds of path refused, read-only files,
// changes made by another program meanwhile, permissions and links kept, and a failure at every step.
#include "platform/posix/source_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "tests/support/temp_folder.h"

namespace {

using platform::posix::SaveStep;
using SourceFile = platform::posix::DiskSourceFile;
using host::SourceFileError;

// Replaces the file with `bytes` while `faults` are planned.
void ReplaceWith(SourceFile& file, std::string_view bytes, platform::posix::SaveFaults faults) {
  file.InjectFaults(std::move(faults));
  file.Replace(bytes);
}

namespace fs = std::filesystem;
using namespace std::string_literals;

const std::string kOriginal = "Attribute VB_Name = \"M\"\r\nOption Explicit\r\n";
const std::string kNew = "Attribute VB_Name = \"M\"\r\nOption Explicit\r\nDim a\r\n";

// The message of the SourceFileError that `action` throws, or "no error".
template <class Action>
std::string ErrorOf(Action&& action) {
  try {
    action();
  } catch (const SourceFileError& error) {
    return error.what();
  }
  return "no error";
}

mode_t ModeOf(const fs::path& path) {
  struct stat info {};
  EXPECT_EQ(::stat(path.c_str(), &info), 0) << path;
  return info.st_mode & 07777;
}

void SetMode(const fs::path& path, mode_t mode) {
  ASSERT_EQ(::chmod(path.c_str(), mode), 0) << path;
}

// Moves the file's modification time one second back, as a program that rewrites it would change it.
void Touch(const fs::path& path) {
  struct stat info {};
  ASSERT_EQ(::stat(path.c_str(), &info), 0);
  const timespec times[2] = {info.st_atim, {info.st_mtim.tv_sec - 1, info.st_mtim.tv_nsec}};
  ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
}

class SourceFileTest : public testing::Test {
 protected:
  // A file holding kOriginal in a fresh folder.
  fs::path MakeFile(const std::string& name = "Module1.bas") {
    fs::path path = folder_.path() / name;
    test::WriteFile(path, kOriginal);
    return path;
  }

  test::TempFolder folder_;
};

// ---------------------------------------------------------------------------------------------
// Reading

TEST_F(SourceFileTest, ReadsEveryByte) {
  const fs::path path = folder_.path() / "Form1.frm";
  const std::string bytes = "VERSION 5.00\r\n\x81\x9D\0\xFF\rlast"s;
  test::WriteFile(path, bytes);
  SourceFile file = SourceFile::Read(path);
  EXPECT_EQ(file.bytes(), bytes);
  EXPECT_EQ(file.path(), path.string());
}

TEST_F(SourceFileTest, ReadsAnEmptyFile) {
  const fs::path path = folder_.path() / "Empty.bas";
  test::WriteFile(path, "");
  EXPECT_EQ(SourceFile::Read(path).bytes(), "");
}

TEST_F(SourceFileTest, PathsThatAreNotReadableSourceFilesAreRefused) {
  const fs::path regular = MakeFile();
  const fs::path fifo = folder_.path() / "Pipe.bas";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
  const fs::path dangling = folder_.path() / "Dangling.bas";
  fs::create_symlink(folder_.path() / "Gone.bas", dangling);
  struct Case {
    std::string path;
    std::string reason;
  };
  const Case cases[] = {
      {(folder_.path() / "Missing.bas").string(), "no such file"},
      {(folder_.path() / "NoFolder" / "Missing.bas").string(), "no such file"},
      {folder_.path().string(), "is a folder, not a source file"},
      {(folder_.path() / ".").string(), "is a folder, not a source file"},
      // Opening a pipe with no writer must neither block nor read it.
      {fifo.string(), "is not a regular file"},
      {"/dev/null", "is not a regular file"},
      {(regular / "Inside.bas").string(), "cannot be read: Not a directory"},
      {dangling.string(), "cannot follow the link: No such file or directory"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    try {
      SourceFile::Read(c.path);
      ADD_FAILURE() << "no error";
    } catch (const SourceFileError& error) {
      EXPECT_EQ(std::string{error.what()}, c.path + ": " + c.reason);
      EXPECT_EQ(error.path(), c.path);
      EXPECT_EQ(error.reason(), c.reason);
    }
  }
}

TEST_F(SourceFileTest, UnreadableFileIsRefused) {
  if (::geteuid() == 0) GTEST_SKIP() << "root reads files whatever their permissions";
  const fs::path path = MakeFile();
  SetMode(path, 0200);
  EXPECT_EQ(ErrorOf([&] { SourceFile::Read(path); }), path.string() + ": cannot be read: Permission denied");
}

// A regular file whose reading fails after it opened: /proc/self/mem cannot be read at offset 0.
TEST_F(SourceFileTest, ReadFailureIsReported) {
  struct stat info {};
  if (::stat("/proc/self/mem", &info) != 0 || !S_ISREG(info.st_mode)) GTEST_SKIP() << "no /proc";
  EXPECT_EQ(ErrorOf([] { SourceFile::Read("/proc/self/mem"); }),
            "/proc/self/mem: cannot be read: Input/output error");
}

TEST_F(SourceFileTest, ReadOnlyMeansNoWriteBitAtAll) {
  struct Case {
    mode_t mode;
    bool readOnly;
  };
  const Case cases[] = {{0444, true},  {0400, true},  {0500, true},  {0555, true}, {0644, false},
                        {0620, false}, {0464, false}, {0446, false}, {0666, false}};
  const fs::path path = MakeFile();
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.mode));
    SetMode(path, c.mode);
    EXPECT_EQ(SourceFile::Read(path).ReadOnlyReason(), c.readOnly ? "is read-only" : "");
  }
}

// ---------------------------------------------------------------------------------------------
// Replacing

TEST_F(SourceFileTest, ReplaceWritesTheNewBytesAndLeavesNothingElse) {
  const fs::path path = MakeFile();
  SourceFile file = SourceFile::Read(path);
  std::vector<SaveStep> steps;
  ReplaceWith(file, kNew, [&](SaveStep step) {
    steps.push_back(step);
    return 0;
  });
  EXPECT_EQ(test::ReadFile(path), kNew);
  EXPECT_EQ(test::Entries(folder_.path()), std::vector<std::string>{"Module1.bas"});
  // Written and flushed before the swap, checked after it; the folder flushed last.
  using enum SaveStep;
  EXPECT_EQ(steps, (std::vector<SaveStep>{kCreateTemporary, kPermissions, kAttributes, kWrite, kSync, kClose,
                                          kExchange, kRename, kCheckUnchanged, kSyncFolder}));
}

TEST_F(SourceFileTest, ReplaceWithNothingEmptiesTheFile) {
  const fs::path path = MakeFile();
  SourceFile::Read(path).Replace("");
  EXPECT_EQ(test::ReadFile(path), "");
}

TEST_F(SourceFileTest, ReplaceKeepsThePermissions) {
  for (const mode_t mode : {0644U, 0600U, 0640U, 0755U, 0604U, 0660U, 0666U}) {
    SCOPED_TRACE(std::to_string(mode));
    const fs::path path = MakeFile();
    SetMode(path, mode);
    SourceFile::Read(path).Replace(kNew);
    EXPECT_EQ(test::ReadFile(path), kNew);
    EXPECT_EQ(ModeOf(path), mode);
  }
}

TEST_F(SourceFileTest, ReplaceByRootKeepsTheOwner) {
  if (::geteuid() != 0) GTEST_SKIP() << "only root can give a file away";
  const fs::path path = MakeFile();
  ASSERT_EQ(::chown(path.c_str(), 1234, 5678), 0);
  SourceFile::Read(path).Replace(kNew);
  struct stat info {};
  ASSERT_EQ(::stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_uid, 1234U);
  EXPECT_EQ(info.st_gid, 5678U);
}

// A bare name is a file in the current folder, where the temporary file goes too.
TEST_F(SourceFileTest, ReplaceFileInTheCurrentFolder) {
  MakeFile();
  const fs::path previous = fs::current_path();
  fs::current_path(folder_.path());
  const std::string error = ErrorOf([] { SourceFile::Read("Module1.bas").Replace(kNew); });
  fs::current_path(previous);
  EXPECT_EQ(error, "no error");
  EXPECT_EQ(test::ReadFile(folder_.path() / "Module1.bas"), kNew);
  EXPECT_EQ(test::Entries(folder_.path()), std::vector<std::string>{"Module1.bas"});
}

TEST_F(SourceFileTest, LinkStaysALinkAndItsTargetIsReplaced) {
  fs::create_directory(folder_.path() / "real");
  const fs::path target = folder_.path() / "real" / "Module1.bas";
  test::WriteFile(target, kOriginal);
  SetMode(target, 0640);
  const fs::path absolute = folder_.path() / "Absolute.bas";
  const fs::path relative = folder_.path() / "Relative.bas";
  fs::create_symlink(target, absolute);
  fs::create_symlink("real/Module1.bas", relative);
  for (const fs::path& link : {absolute, relative}) {
    SCOPED_TRACE(link.string());
    test::WriteFile(target, kOriginal);
    SourceFile file = SourceFile::Read(link);
    EXPECT_EQ(file.bytes(), kOriginal);
    file.Replace(kNew);
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(fs::read_symlink(link), link == absolute ? target : fs::path{"real/Module1.bas"});
    EXPECT_EQ(test::ReadFile(target), kNew);
    EXPECT_EQ(ModeOf(target), 0640U);
  }
  EXPECT_EQ(test::Entries(folder_.path()),
            (std::vector<std::string>{"Absolute.bas", "Relative.bas", "real"}));
  EXPECT_EQ(test::Entries(folder_.path() / "real"), std::vector<std::string>{"Module1.bas"});
}

// Source control leaves files that are not checked out read-only; root is refused too.
TEST_F(SourceFileTest, ReadOnlyFileIsRefusedWhoeverRuns) {
  for (const mode_t mode : {0444U, 0400U, 0555U}) {
    SCOPED_TRACE(std::to_string(mode));
    const fs::path path = MakeFile();
    SetMode(path, mode);
    SourceFile file = SourceFile::Read(path);
    bool stepped = false;
    EXPECT_EQ(ErrorOf([&] {
                ReplaceWith(file, kNew, [&](SaveStep) {
                  stepped = true;
                  return 0;
                });
              }),
              path.string() + ": is read-only; nothing was written");
    EXPECT_FALSE(stepped);
    EXPECT_EQ(test::ReadFile(path), kOriginal);
    EXPECT_EQ(ModeOf(path), mode);
    EXPECT_EQ(test::Entries(folder_.path()), std::vector<std::string>{"Module1.bas"});
  }
}

// ---------------------------------------------------------------------------------------------
// Another program's changes between reading and replacing

TEST_F(SourceFileTest, ChangeOnDiskSinceReadingIsRefused) {
  struct Case {
    const char* label;
    void (*change)(const fs::path&);
  };
  const Case cases[] = {
      {"OtherContent",
       [](const fs::path& path) { test::WriteFile(path, "Attribute VB_Name = \"M\"\r\n' edited\r\n"); }},
      {"SameSizeOtherContent",
       [](const fs::path& path) {
         test::WriteFile(path, "Attribute VB_Name = \"N\"\r\nOption Explicit\r\n");
       }},
      {"SameContentTouched", [](const fs::path& path) { Touch(path); }},
      {"SameContentRewrittenAndTouched",
       [](const fs::path& path) {
         test::WriteFile(path, kOriginal);
         Touch(path);
       }},
      {"ReplacedByAnotherFileOfSameContent",
       [](const fs::path& path) {
         const fs::path other = path.parent_path() / "other";
         test::WriteFile(other, kOriginal);
         fs::rename(other, path);
       }},
      {"PermissionsChanged", [](const fs::path& path) { SetMode(path, 0600); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    const fs::path path = MakeFile();
    SetMode(path, 0644);
    SourceFile file = SourceFile::Read(path);
    c.change(path);
    const std::string changed = test::ReadFile(path);
    EXPECT_EQ(ErrorOf([&] { file.Replace(kNew); }),
              path.string() + ": changed on disk since it was read; nothing was written");
    EXPECT_EQ(test::ReadFile(path), changed);
    EXPECT_EQ(test::Entries(folder_.path()), std::vector<std::string>{"Module1.bas"});
  }
}

// Another program saves the file at the last moment: in place (truncating and rewriting the file)
// or by a rename of its own, just before the swap or just after it. Its save is never lost.
TEST_F(SourceFileTest, LastMomentSaveIsNeverLost) {
  const std::string theirs = "Attribute VB_Name = \"M\"\r\n' theirs\r\n";
  struct Case {
    const char* label;
    bool canSwap;
    bool byRename;
    SaveStep when;
    std::string outcome;  // the error, or the warning after "PATH: "; KEPT stands for the copy's name
    bool edited;          // the file holds the new text, and theirs is kept beside it
  };
  const Case cases[] = {
      {"InPlaceBeforeTheSwap", true, false, SaveStep::kRename,
       "changed on disk since it was read; nothing was written", false},
      {"ByRenameBeforeTheSwap", true, true, SaveStep::kRename,
       "changed on disk since it was read; nothing was written", false},
      {"ByRenameAfterTheSwap", true, true, SaveStep::kSyncFolder,
       "was edited, but another program then saved its own file in its place, which does not hold the edit; "
       "run again",
       false},
      {"InPlaceBeforeARename", false, false, SaveStep::kRename,
       "was edited, but another program wrote to the file it replaced meanwhile: what it wrote is kept in "
       "KEPT",
       true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    test::TempFolder folder;
    const fs::path path = folder.path() / "Module1.bas";
    test::WriteFile(path, kOriginal);
    SourceFile file = SourceFile::Read(path);
    file.InjectFaults([&](SaveStep step) {
      if (step == SaveStep::kExchange && !c.canSwap) return EINVAL;
      if (step != c.when) return 0;
      if (c.byRename) {
        test::WriteFile(folder.path() / "theirs", theirs);
        fs::rename(folder.path() / "theirs", path);
      } else {
        test::WriteFile(path, theirs);
      }
      return 0;
    });
    std::string outcome;
    try {
      outcome = file.Replace(kNew);
    } catch (const SourceFileError& error) {
      outcome = error.reason();
    }
    std::vector<std::string> entries = test::Entries(folder.path());
    if (c.edited) {
      ASSERT_EQ(entries.size(), 2U);
      const fs::path kept = folder.path() / entries.back();
      EXPECT_EQ(outcome, path.string() + ": " + c.outcome.substr(0, c.outcome.find("KEPT")) + kept.string());
      EXPECT_EQ(test::ReadFile(path), kNew);
      EXPECT_EQ(test::ReadFile(kept), theirs);
      entries.pop_back();
    } else {
      EXPECT_EQ(outcome, c.outcome);
      EXPECT_EQ(test::ReadFile(path), theirs);
    }
    EXPECT_EQ(entries, std::vector<std::string>{"Module1.bas"});
  }
}

TEST_F(SourceFileTest, FileRemovedSinceReadingIsNotRecreated) {
  const fs::path path = MakeFile();
  SourceFile file = SourceFile::Read(path);
  fs::remove(path);
  EXPECT_EQ(ErrorOf([&] { file.Replace(kNew); }), path.string() + ": no such file");
  EXPECT_TRUE(test::Entries(folder_.path()).empty());
}

// A second replacement from the same reading finds the file changed by the first.
TEST_F(SourceFileTest, SecondReplacementFromTheSameReadingIsRefused) {
  const fs::path path = MakeFile();
  SourceFile file = SourceFile::Read(path);
  file.Replace(kNew);
  EXPECT_EQ(ErrorOf([&] { file.Replace(kOriginal); }),
            path.string() + ": was replaced once already; nothing was written");
  EXPECT_EQ(test::ReadFile(path), kNew);
}

// ---------------------------------------------------------------------------------------------
// A failure at each step

struct StepCase {
  const char* label;
  SaveStep step;
  int error;
  std::string reason;   // after "PATH: "; FOLDER stands for the file's folder
  bool linked = false;  // the file has a second hard link, and is edited in place
};

void PrintTo(const StepCase& c, std::ostream* os) {
  *os << c.label;
}

class SaveStepFailureTest : public testing::TestWithParam<StepCase> {};

TEST_P(SaveStepFailureTest, LeavesTheOriginalAndNoTemporaryFile) {
  const StepCase& c = GetParam();
  test::TempFolder folder;
  const fs::path path = folder.path() / "Gauge.ctl";
  test::WriteFile(path, kOriginal);
  SetMode(path, 0640);
  if (c.linked) fs::create_hard_link(path, folder.path() / "Gauge.ctl.link");
  SourceFile file = SourceFile::Read(path);
  std::string reason = c.reason;
  if (const std::size_t at = reason.find("FOLDER"); at != std::string::npos) {
    reason.replace(at, 6, folder.path().string());
  }
  EXPECT_EQ(
      ErrorOf([&] { ReplaceWith(file, kNew, [&](SaveStep step) { return step == c.step ? c.error : 0; }); }),
      path.string() + ": " + reason);
  if (c.linked) fs::remove(folder.path() / "Gauge.ctl.link");
  EXPECT_EQ(test::Entries(folder.path()), std::vector<std::string>{"Gauge.ctl"});
  EXPECT_EQ(ModeOf(path), 0640U);
  {
    EXPECT_EQ(test::ReadFile(path), kOriginal);
    // Nothing is left over that would stop a later attempt.
    SourceFile::Read(path).Replace(kNew);
    EXPECT_EQ(test::ReadFile(path), kNew);
  }
}

// The rename is the edit: a folder that cannot be flushed after it makes a warning, not a failure.
TEST_F(SourceFileTest, FolderFlushFailureAfterTheRenameIsAWarning) {
  const fs::path path = MakeFile();
  SourceFile file = SourceFile::Read(path);
  file.InjectFaults([](SaveStep step) { return step == SaveStep::kSyncFolder ? EIO : 0; });
  EXPECT_EQ(file.Replace(kNew), path.string() + ": was replaced, but its folder " + folder_.path().string() +
                                    " cannot be flushed: Input/output error, so the change may not survive a "
                                    "power loss");
  EXPECT_EQ(test::ReadFile(path), kNew);
  EXPECT_EQ(test::Entries(folder_.path()), std::vector<std::string>{"Module1.bas"});
}

INSTANTIATE_TEST_SUITE_P(
    Steps, SaveStepFailureTest,
    testing::Values(
        StepCase{"CreateTemporary", SaveStep::kCreateTemporary, EACCES,
                 "cannot create a temporary file in FOLDER: Permission denied"},
        StepCase{
            "Permissions", SaveStep::kPermissions, EPERM,
            "cannot give the new file the same permissions: Operation not permitted; nothing was written"},
        StepCase{"Write", SaveStep::kWrite, ENOSPC,
                 "cannot write the new file: No space left on device; nothing was written"},
        StepCase{"Sync", SaveStep::kSync, EIO,
                 "cannot flush the new file: Input/output error; nothing was written"},
        StepCase{"Close", SaveStep::kClose, EDQUOT,
                 "cannot close the new file: Disk quota exceeded; nothing was written"},
        StepCase{"CheckUnchanged", SaveStep::kCheckUnchanged, EIO,
                 "cannot be read again: Input/output error; nothing was written"},
        StepCase{"Attributes", SaveStep::kAttributes, ENOTSUP,
                 "cannot read the extended attributes: Operation not supported; nothing was written"},
        StepCase{"Rename", SaveStep::kRename, EXDEV,
                 "cannot replace the file: Invalid cross-device link; nothing was written"},
        StepCase{"Backup", SaveStep::kBackup, ENOSPC,
                 "cannot make a backup copy in FOLDER before editing the file in place: No space left on "
                 "device; nothing was written",
                 true},
        StepCase{"WriteInPlace", SaveStep::kWriteInPlace, EIO,
                 "cannot be written: Input/output error; it is as it was", true}),
    [](const testing::TestParamInfo<StepCase>& info) { return std::string{info.param.label}; });

}  // namespace
