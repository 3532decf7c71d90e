// tests/cli/module_file_test.cpp: the file the command line edits, over the platform's files and code
// pages: its text as read, its new bytes rendered without writing, and the same bytes saved.
#include "host/source_files/module_file.h"

#include <gtest/gtest.h>

#include <span>
#include <string>
#include <utility>
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

// ---------------------------------------------------------------------------------------------
// Edits written as they come: the bytes Render gives once they are made in the module, or its
// refusal in its words, with the file left as it was.

struct StreamCase {
  const char* label;
  std::string bytes;
  std::vector<host::LineEdit> edits;
};

class AllAtOnce final : public host::LineEditSource {
 public:
  explicit AllAtOnce(const std::vector<host::LineEdit>& edits) : edits_(edits) {}
  std::span<const host::LineEdit> Next() override { return std::exchange(edits_, {}); }

 private:
  std::span<const host::LineEdit> edits_;
};

std::string ManyLines(int count) {
  std::string text = "Attribute VB_Name = \"T\"\r\n";
  for (int i = 0; i < count; ++i) text += "'\r\n";
  return text;
}

const StreamCase kStreamCases[] = {
    {"ascii_gains_an_accent",
     "Attribute VB_Name = \"T\"\r\nSub A()\r\nEnd Sub\r\n",
     {{2, 0, "' caf\xC3\xA9\r' plain", 2}}},
    {"cp1252_gains_a_line", "Attribute VB_Name = \"T\"\r\n' caf\xE9\r\n", {{1, 1, "' na\xC3\xAFve", 1}}},
    {"unwritable_on_its_line",
     "Attribute VB_Name = \"T\"\r\n'a\r\n'b\r\n",
     {{2, 0, "' one", 1}, {3, 0, "' two\r' \xE4\xB8\xAD", 2}}},
    {"too_long", "Attribute VB_Name = \"T\"\r\n'a\r\n", {{2, 0, "'" + std::string(1100, 'x'), 1}}},
    {"unwritable_and_too_long",
     "Attribute VB_Name = \"T\"\r\n'a\r\n",
     {{1, 0, "' \xE4\xB8\xAD", 1}, {2, 0, "'" + std::string(1100, 'x'), 1}}},
    {"too_many_lines", ManyLines(65530), {{3, 0, "'\r'\r'\r'\r'", 5}}},
    {"too_many_lines_and_too_long",
     ManyLines(65530),
     {{2, 0, "'" + std::string(1100, 'x') + "\r'\r'\r'\r'", 5}}},
};

class SaveEditsTest : public testing::TestWithParam<StreamCase> {
 protected:
  test::CliPlatform platform_;
  test::TempFolder folder_;
};

TEST_P(SaveEditsTest, WritesWhatRenderGivesOrRefusesAsItDoes) {
  const StreamCase& c = GetParam();
  const std::string path = (folder_.path() / "T.bas").string();
  test::WriteFile(path, c.bytes);
  std::string expected;
  {
    host::ModuleFile file{platform_.files(), platform_.codePages(), path, 1252};
    host::SourceCodeModule& module = file.Read();
    for (std::size_t i = c.edits.size(); i-- > 0;) {  // the last first, as a plan is made
      const host::LineEdit& edit = c.edits[i];
      if (edit.count > 0) module.DeleteLines(edit.first, edit.count);
      if (edit.lineCount > 0) module.InsertLines(edit.first, edit.text);
    }
    try {
      expected = file.Render().Joined();
    } catch (const host::SourceFileError& error) {
      expected = std::string{"refused: "} + error.what();
    }
  }
  host::ModuleFile file{platform_.files(), platform_.codePages(), path, 1252};
  file.Read();
  AllAtOnce edits{c.edits};
  std::string written;
  try {
    EXPECT_EQ(file.SaveEdits(edits), "");
    written = test::ReadFile(path);
  } catch (const host::SourceFileError& error) {
    written = std::string{"refused: "} + error.what();
    EXPECT_EQ(test::ReadFile(path), c.bytes);
  }
  EXPECT_EQ(written, expected);
  EXPECT_EQ(test::Entries(folder_.path()), std::vector<std::string>{"T.bas"});
}

INSTANTIATE_TEST_SUITE_P(ModuleFile, SaveEditsTest, testing::ValuesIn(kStreamCases),
                         [](const auto& info) { return std::string{info.param.label}; });

}  // namespace
