// Checks the files below a folder: listed in the byte order of their whole paths though each folder is
// sorted alone, with hidden entries, broken links and what is not a file left out.
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/posix/source_file.h"
#include "tests/support/temp_folder.h"

namespace {

namespace fs = std::filesystem;

// '-' < '.' < '/' < '0': the folder "a" must list after "a.bas" and "a.x/c.bas" and before "a0.bas",
// where sorting its bare name would put it first.
const char* const kFiles[] = {"a0.bas",    "a.bas", "a-b.bas",      "a/b.bas",     "a/z/y.bas",
                              "a.x/c.bas", "B.frm", "\xc3\xa9.bas", ".hidden.bas", "a/.scrivlet/t.txt"};
// Each link and what it names: a file, a folder, nothing.
const std::pair<const char*, const char*> kLinks[] = {
    {"alias.bas", "a.bas"}, {"through", "a"}, {"gone.bas", "none.bas"}};
const std::vector<std::string> kListed = {"B.frm",         "a-b.bas",         "a.bas",       "a.x/c.bas",
                                          "a/b.bas",       "a/z/y.bas",       "a0.bas",      "alias.bas",
                                          "through/b.bas", "through/z/y.bas", "\xc3\xa9.bas"};

class FolderListing : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* file : kFiles) {
      fs::create_directories((folder_.path() / file).parent_path());
      test::WriteFile(folder_.path() / file, "x");
    }
    for (const auto& [link, target] : kLinks) fs::create_symlink(target, folder_.path() / link);
    fs::create_directory(folder_.path() / "empty");
    ASSERT_EQ(::mkfifo((folder_.path() / "pipe").c_str(), 0600), 0);
  }

  test::TempFolder folder_;
  platform::posix::DiskSourceFiles files_;
};

TEST_F(FolderListing, WholePathsInByteOrderWithHiddenAndNonFilesLeftOut) {
  const std::string root = folder_.path().string();
  for (const std::string& given : {root, root + "/"}) {
    const std::optional<host::FileList> listed = files_.FilesBelow(given);
    ASSERT_TRUE(listed) << given;
    EXPECT_EQ(listed->prefix(), root + "/");
    std::vector<std::string> paths;
    for (std::size_t i = 0; i < listed->size(); ++i) {
      EXPECT_EQ(listed->Path(i), root + "/" + std::string{listed->Relative(i)});
      paths.emplace_back(listed->Relative(i));
    }
    EXPECT_EQ(paths, kListed) << given;
  }
}

TEST_F(FolderListing, NothingForWhatIsNotAFolder) {
  for (const char* path : {"a.bas", "through/b.bas", "none", "gone.bas"}) {
    EXPECT_FALSE(files_.FilesBelow((folder_.path() / path).string())) << path;
  }
}

TEST_F(FolderListing, FolderThatCannotBeReadIsAnError) {
  if (::geteuid() == 0) GTEST_SKIP() << "root reads folders whatever their permissions";
  const fs::path locked = folder_.path() / "a" / "z";
  ASSERT_EQ(::chmod(locked.c_str(), 0), 0);
  try {
    static_cast<void>(files_.FilesBelow(folder_.path().string()));
    ADD_FAILURE() << "listed";
  } catch (const host::SourceFileError& error) {
    EXPECT_EQ(std::string{error.what()}, locked.string() + ": cannot be listed: Permission denied");
  }
  ::chmod(locked.c_str(), 0700);
}

}  // namespace
