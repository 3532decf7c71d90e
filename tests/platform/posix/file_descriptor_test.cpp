// Checks the whole-file reads and the writes of many pieces at once: every byte arrives, in order,
// whatever the number of pieces, the empty ones, and a file longer than its reader expected.
#include "platform/posix/file_descriptor.h"

#include <fcntl.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <string_view>
#include <vector>

#include "tests/support/temp_folder.h"

namespace {

using platform::posix::FileBytes;
using platform::posix::FileDescriptor;

TEST(WriteAllTest, PiecesArriveInOrderAcrossSeveralCalls) {
  const test::TempFolder folder;
  // More pieces than one call takes, with empty ones at the start, at the end and at the seams.
  std::vector<std::string> texts{""};
  for (int i = 0; i < 150; ++i) texts.push_back(i % 7 == 0 ? "" : "piece " + std::to_string(i) + "\r\n");
  texts.emplace_back("");
  const std::vector<std::string_view> pieces(texts.begin(), texts.end());
  std::string expected;
  for (const std::string& text : texts) expected += text;

  const std::string path = (folder.path() / "out").string();
  FileDescriptor file{::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600)};
  ASSERT_GE(file.get(), 0);
  EXPECT_EQ(platform::posix::WriteAll(file.get(), pieces), 0);
  EXPECT_EQ(platform::posix::WriteAll(file.get(), std::vector<std::string_view>{}), 0);
  ASSERT_EQ(file.Close(), 0);
  EXPECT_EQ(test::ReadFile(path), expected);
}

TEST(WriteAllTest, AFailedWriteGivesItsErrno) {
  FileDescriptor file{::open("/dev/null", O_RDONLY | O_CLOEXEC)};
  const std::string_view pieces[] = {"a", "b"};
  EXPECT_EQ(platform::posix::WriteAll(file.get(), pieces), EBADF);
}

TEST(ReadAllTest, ReadsTheWholeFileWhateverSizeWasExpected) {
  const test::TempFolder folder;
  std::string large(70000, 'x');
  for (std::size_t i = 0; i < large.size(); i += 97) large[i] = static_cast<char>('a' + i % 26);
  struct Case {
    const char* label;
    std::string bytes;
    std::size_t expected;
  };
  const Case cases[] = {
      {"Empty", "", 0},
      {"AsExpected", large, large.size()},
      {"GrewSinceItsSizeWasTaken", large, 10},
      {"ShrankSinceItsSizeWasTaken", "abc", 5000},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    const std::string path = (folder.path() / c.label).string();
    test::WriteFile(path, c.bytes);
    const FileDescriptor file{::open(path.c_str(), O_RDONLY | O_CLOEXEC)};
    FileBytes bytes;
    EXPECT_EQ(platform::posix::ReadAll(file.get(), bytes, c.expected), 0);
    EXPECT_EQ(bytes.view(), c.bytes);
  }
}

TEST(ReadAllTest, AFailedReadGivesItsErrno) {
  FileBytes bytes;
  EXPECT_EQ(platform::posix::ReadAll(-1, bytes, 10), EBADF);
}

}  // namespace
