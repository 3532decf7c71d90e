// tests/cli/module_file_test.cpp: the file the command line edits, over the platform's files and code
// pages: its text as read, its new bytes rendered without writing, and the same bytes saved.
#include "host/source_files/module_file.h"

#include <gtest/gtest.h>

#include <string>

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
    {"ascii_unedited", "Attribute VB_Name = \"T\"\nOption Explicit",
     "Attribute VB_Name = \"T\"\nOption Explicit", nullptr, "Attribute VB_Name = \"T\"\nOption Explicit"},
    {"ascii_gains_an_ascii_line", "Attribute VB_Name = \"T\"\nOption Explicit\n",
     "Attribute VB_Name = \"T\"\nOption Explicit\n", "' added",
     "Attribute VB_Name = \"T\"\nOption Explicit\n' added\n"},
    {"ascii_gains_an_accent", "Attribute VB_Name = \"T\"\r\nOption Explicit\r\n",
     "Attribute VB_Name = \"T\"\r\nOption Explicit\r\n", "' caf\xC3\xA9",
     "Attribute VB_Name = \"T\"\r\nOption Explicit\r\n' caf\xE9\r\n"},
    {"cp1252_unedited", "Attribute VB_Name = \"T\"\r\n' caf\xE9\r\n",
     "Attribute VB_Name = \"T\"\r\n' caf\xC3\xA9\r\n", nullptr, "Attribute VB_Name = \"T\"\r\n' caf\xE9\r\n"},
    {"cp1252_gains_a_line", "Attribute VB_Name = \"T\"\r\n' caf\xE9\r\n",
     "Attribute VB_Name = \"T\"\r\n' caf\xC3\xA9\r\n", "' na\xC3\xAFve",
     "Attribute VB_Name = \"T\"\r\n' caf\xE9\r\n' na\xEFve\r\n"},
};

std::string Joined(const host::NewFileBytes& bytes) {
  std::string whole;
  for (const std::string_view piece : bytes.pieces()) whole.append(piece);
  return whole;
}

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

  EXPECT_EQ(Joined(file.Render()), c.expected);
  EXPECT_EQ(Joined(file.Render()), c.expected);
  EXPECT_EQ(test::ReadFile(path), c.bytes);
  EXPECT_EQ(file.Save(), "");
  EXPECT_EQ(test::ReadFile(path), c.expected);
  EXPECT_EQ(test::Entries(folder_.path()), std::vector<std::string>{"T.bas"});
}

INSTANTIATE_TEST_SUITE_P(ModuleFile, ModuleFileTest, testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string{info.param.label}; });

// Text the code page cannot hold is refused before anything is written, and the file stays as read.
TEST(ModuleFileRefusal, TextTheCodePageCannotHoldWritesNothing) {
  test::CliPlatform platform;
  test::TempFolder folder;
  const std::string path = (folder.path() / "T.bas").string();
  const std::string bytes = "Attribute VB_Name = \"T\"\r\nOption Explicit\r\n";
  test::WriteFile(path, bytes);
  host::ModuleFile file{platform.files(), platform.codePages(), path, 1252};
  file.Read().InsertLines(2, "' \xCE\xA9");  // U+03A9, no character of 1252
  const std::string expected =
      path + ": line 3: the character U+03A9 cannot be written in code page 1252; nothing was written";
  for (int attempt = 0; attempt < 2; ++attempt) {
    try {
      attempt == 0 ? static_cast<void>(file.Render()) : static_cast<void>(file.Save());
      ADD_FAILURE() << "no refusal";
    } catch (const host::UnwritableTextError& error) {
      EXPECT_EQ(std::string{error.what()}, expected);
    }
  }
  EXPECT_EQ(test::ReadFile(path), bytes);
}

}  // namespace
