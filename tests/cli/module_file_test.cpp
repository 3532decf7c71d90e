// tests/cli/module_file_test.cpp: the file the command line edits, over the platform's files and code
// pages: its text as read, its new bytes rendered without writing, and the same bytes saved.
#include "host/source_files/module_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/cli/cli_platform.h"
#include "tests/support/temp_folder.h"

namespace {

struct Case {
  const char* label;
  std::string bytes;  // the file as read
  std::string text;   // its text, in UTF-8
  const char* added;  // inserted after the last code line; null for no edit
  std::string expected;
};

// Code page 1252: 0xE9 is é, 0xEF is ï. An all-ASCII file is written back piece by piece, any other
// whole.
const Case kCases[] = {
    {"ascii_without_a_final_break", "Attribute VB_Name = \"T\"\nOption Explicit",
     "Attribute VB_Name = \"T\"\nOption Explicit", "' added",
     "Attribute VB_Name = \"T\"\nOption Explicit\n' added"},
    {"ascii_gains_an_accent", "Attribute VB_Name = \"T\"\r\nOption Explicit\r\n",
     "Attribute VB_Name = \"T\"\r\nOption Explicit\r\n", "' caf\xC3\xA9",
     "Attribute VB_Name = \"T\"\r\nOption Explicit\r\n' caf\xE9\r\n"},
    {"cp1252_unedited", "Attribute VB_Name = \"T\"\r\n' caf\xE9\r\n",
     "Attribute VB_Name = \"T\"\r\n' caf\xC3\xA9\r\n", nullptr, "Attribute VB_Name = \"T\"\r\n' caf\xE9\r\n"},
    {"cp1252_gains_a_line", "Attribute VB_Name = \"T\"\r\n' caf\xE9\r\n",
     "Attribute VB_Name = \"T\"\r\n' caf\xC3\xA9\r\n", "' na\xC3\xAFve",
     "Attribute VB_Name = \"T\"\r\n' caf\xE9\r\n' na\xEFve\r\n"},
};

class ModuleFileTest : public testing::TestWithParam<Case> {
 protected:
  test::CliPlatform platform_;
  test::TempFolder folder_;
};

// What a caller that shows the change before making it relies on: rendering writes nothing, gives
// the same bytes each time, and saving writes exactly those.
TEST_P(ModuleFileTest, RendersWithoutWritingAndSavesWhatItRendered) {
  const Case& c = GetParam();
  const std::string path = (folder_.path() / "T.bas").string();
  test::WriteFile(path, c.bytes);
  host::ModuleFile file{platform_.files(), platform_.codePages(), path, 1252};
  host::SourceCodeModule& module = file.Read();
  EXPECT_EQ(file.path(), path);
  EXPECT_EQ(file.bytes(), c.bytes);
  EXPECT_EQ(file.text(), c.text);
  if (c.added != nullptr) module.InsertLines(module.CountOfLines() + 1, c.added);

  EXPECT_EQ(file.Render().Joined(), c.expected);
  EXPECT_EQ(file.Render().Joined(), c.expected);
  EXPECT_EQ(test::ReadFile(path), c.bytes);
  EXPECT_EQ(file.Save(), "");
  EXPECT_EQ(test::ReadFile(path), c.expected);
  EXPECT_EQ(test::Entries(folder_.path()), std::vector<std::string>{"T.bas"});
}

INSTANTIATE_TEST_SUITE_P(ModuleFile, ModuleFileTest, testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string{info.param.label}; });

}  // namespace
