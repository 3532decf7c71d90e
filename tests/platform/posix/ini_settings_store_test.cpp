// Checks the settings file on disk: reading, atomic saving, its default place and unreadable files.
#include "platform/posix/ini_settings_store.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <optional>
#include <ostream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <system_error>
#include <vector>

#include "host/host_error.h"
#include "platform/posix/settings_ini.h"
#include "tests/support/scoped_env.h"
#include "tests/support/temp_folder.h"
#include "tests/support/visible.h"

namespace {

namespace fs = std::filesystem;
using host::HostError;
using platform::posix::IniSettingsStore;
using test::Entries;
using test::ReadFile;
using test::TempFolder;
using test::WriteFile;

class IniSettingsStoreTest : public testing::Test {
 protected:
  TempFolder folder_;
  fs::path path_ = folder_.path() / "settings.ini";
};

TEST_F(IniSettingsStoreTest, MissingFileGivesTheFallback) {
  const IniSettingsStore store{path_};
  EXPECT_EQ(store.GetSetting("Scrivlet", "Options", "Author", "nobody"), "nobody");
  EXPECT_EQ(store.GetSetting("Scrivlet", "Options", "Author", ""), "");
  EXPECT_FALSE(fs::exists(path_));
}

TEST_F(IniSettingsStoreTest, MissingFolderGivesTheFallback) {
  const IniSettingsStore store{folder_.path() / "none" / "settings.ini"};
  EXPECT_EQ(store.GetSetting("Scrivlet", "Options", "Author", "nobody"), "nobody");
}

TEST_F(IniSettingsStoreTest, SavedValueIsReadBackByAnyStoreOnTheFile) {
  IniSettingsStore store{path_};
  store.SaveSetting("Scrivlet", "Options", "Author", "Jo Smith");
  EXPECT_EQ(store.GetSetting("Scrivlet", "Options", "Author", "nobody"), "Jo Smith");
  const IniSettingsStore other{path_};
  EXPECT_EQ(other.GetSetting("Scrivlet", "Options", "Author", "nobody"), "Jo Smith");
}

TEST_F(IniSettingsStoreTest, EveryKeyAndSectionIsKept) {
  IniSettingsStore store{path_};
  store.SaveSetting("Scrivlet", "Options", "Author", "Jo");
  store.SaveSetting("Scrivlet", "Options", "Company", "Penwright");
  store.SaveSetting("Scrivlet", "Window", "Left", "120");
  store.SaveSetting("Other", "Options", "Author", "Al");
  store.SaveSetting("Scrivlet", "Options", "Author", "Jo Smith");  // replaces, keeps the rest

  EXPECT_EQ(store.GetSetting("Scrivlet", "Options", "Author", "?"), "Jo Smith");
  EXPECT_EQ(store.GetSetting("Scrivlet", "Options", "Company", "?"), "Penwright");
  EXPECT_EQ(store.GetSetting("Scrivlet", "Window", "Left", "?"), "120");
  EXPECT_EQ(store.GetSetting("Other", "Options", "Author", "?"), "Al");
  EXPECT_EQ(store.GetSetting("Scrivlet", "Window", "Author", "?"), "?");
  EXPECT_EQ(store.GetSetting("Scrivlet", "Options", "Top", "?"), "?");
}

TEST_F(IniSettingsStoreTest, EmptyValueIsStoredNotTheFallback) {
  IniSettingsStore store{path_};
  store.SaveSetting("Scrivlet", "Options", "Author", "Jo");
  store.SaveSetting("Scrivlet", "Options", "Author", "");
  EXPECT_EQ(store.GetSetting("Scrivlet", "Options", "Author", "nobody"), "");
}

TEST_F(IniSettingsStoreTest, AddressesIgnoreCase) {
  IniSettingsStore store{path_};
  store.SaveSetting("Scrivlet", "Options", "Author", "Jo");
  EXPECT_EQ(store.GetSetting("SCRIVLET", "options", "aUTHOR", "nobody"), "Jo");
  store.SaveSetting("scrivlet", "OPTIONS", "author", "Al");
  EXPECT_EQ(store.GetSetting("Scrivlet", "Options", "Author", "nobody"), "Al");
  EXPECT_EQ(platform::posix::ReadSettingsIni(ReadFile(path_)).size(), 1U) << ReadFile(path_);
}

TEST_F(IniSettingsStoreTest, AnyTextComesBackAsItWas) {
  const std::string texts[] = {"  blanks  ",
                               "a=b",
                               "[x]",
                               "100%",
                               "C:\\Users\\jo",
                               "line 1\r\nline 2\r",
                               "\n",
                               "Ren\xC3\xA9 \xE2\x82\xAC",
                               "%41"};
  IniSettingsStore store{path_};
  for (const std::string& text : texts) {
    SCOPED_TRACE(test::Visible(text));
    store.SaveSetting("Scrivlet", "Options", text, text);
    EXPECT_EQ(test::Visible(store.GetSetting("Scrivlet", "Options", text, "?")), test::Visible(text));
  }
  // Saved one after the other, they are all still there.
  for (const std::string& text : texts) {
    SCOPED_TRACE(test::Visible(text));
    EXPECT_EQ(test::Visible(store.GetSetting("Scrivlet", "Options", text, "?")), test::Visible(text));
  }
}

TEST_F(IniSettingsStoreTest, ReadsAFileWrittenByHandAndKeepsItsOtherSettings) {
  WriteFile(path_, "[Scrivlet\\Options]\nAuthor=Jo\n\n[Scrivlet\\Recent]\nFile1=a.bas\njunk line\n");
  IniSettingsStore store{path_};
  EXPECT_EQ(store.GetSetting("Scrivlet", "Options", "Author", "?"), "Jo");
  store.SaveSetting("Scrivlet", "Options", "Company", "Penwright");
  EXPECT_EQ(store.GetSetting("Scrivlet", "Recent", "File1", "?"), "a.bas");
  EXPECT_EQ(store.GetSetting("Scrivlet", "Options", "Author", "?"), "Jo");
  EXPECT_EQ(store.GetSetting("Scrivlet", "Options", "Company", "?"), "Penwright");
}

TEST_F(IniSettingsStoreTest, FileHoldsTheSettingsText) {
  IniSettingsStore store{path_};
  store.SaveSetting("Scrivlet", "Options", "Author", "Jo");
  store.SaveSetting("Scrivlet", "Options", "Company", "Pen=wright");
  EXPECT_EQ(test::Visible(ReadFile(path_)),
            test::Visible("[Scrivlet\\Options]\nAuthor=Jo\nCompany=Pen%3Dwright\n"));
}

TEST_F(IniSettingsStoreTest, CreatesTheMissingFolders) {
  const fs::path deep = folder_.path() / "config" / "scrivlet" / "settings.ini";
  IniSettingsStore store{deep};
  store.SaveSetting("Scrivlet", "Options", "Author", "Jo");
  EXPECT_TRUE(fs::is_directory(folder_.path() / "config" / "scrivlet"));
  EXPECT_TRUE(fs::is_regular_file(deep));
  EXPECT_EQ(IniSettingsStore{deep}.GetSetting("Scrivlet", "Options", "Author", "?"), "Jo");
}

TEST_F(IniSettingsStoreTest, SavingThroughALinkKeepsTheLink) {
  const fs::path real = folder_.path() / "real.ini";
  WriteFile(real, "[Scrivlet\\Options]\nAuthor=Jo\n");
  fs::create_symlink(real, path_);
  IniSettingsStore{path_}.SaveSetting("Scrivlet", "Options", "Company", "Penwright");
  EXPECT_TRUE(fs::is_symlink(path_));
  EXPECT_EQ(ReadFile(real), "[Scrivlet\\Options]\nAuthor=Jo\nCompany=Penwright\n");
}

TEST_F(IniSettingsStoreTest, LeavesNoTemporaryFileBehind) {
  IniSettingsStore store{path_};
  for (int i = 0; i < 3; ++i) store.SaveSetting("Scrivlet", "Options", "Count", std::to_string(i));
  EXPECT_EQ(Entries(folder_.path()), std::vector<std::string>{"settings.ini"});
}

TEST_F(IniSettingsStoreTest, UnreadableFileGivesTheFallbackAndIsNotReplaced) {
  // The settings path names a folder: it exists, but cannot be read as a file.
  fs::create_directory(path_);
  WriteFile(path_ / "keep.txt", "precious");
  IniSettingsStore store{path_};

  EXPECT_EQ(store.GetSetting("Scrivlet", "Options", "Author", "nobody"), "nobody");
  EXPECT_THROW(store.SaveSetting("Scrivlet", "Options", "Author", "Jo"), HostError);

  EXPECT_TRUE(fs::is_directory(path_));
  EXPECT_EQ(ReadFile(path_ / "keep.txt"), "precious");
  EXPECT_EQ(Entries(path_), std::vector<std::string>{"keep.txt"});
  EXPECT_EQ(Entries(folder_.path()), std::vector<std::string>{"settings.ini"});
}

TEST_F(IniSettingsStoreTest, LinkThatCannotBeFollowedGivesTheFallbackAndIsNotReplaced) {
  // The settings file is a link to itself: it exists, but opening it fails (too many levels of links).
  fs::create_symlink("settings.ini", path_);
  IniSettingsStore store{path_};

  EXPECT_EQ(store.GetSetting("Scrivlet", "Options", "Author", "nobody"), "nobody");
  try {
    store.SaveSetting("Scrivlet", "Options", "Author", "Jo");
    ADD_FAILURE() << "no error";
  } catch (const HostError& error) {
    EXPECT_EQ(error.number(), 75L);
    EXPECT_NE(error.description().find(path_.string()), std::string::npos) << error.description();
  }

  EXPECT_TRUE(fs::is_symlink(path_));
  EXPECT_EQ(fs::read_symlink(path_), "settings.ini");
  EXPECT_EQ(Entries(folder_.path()), std::vector<std::string>{"settings.ini"});
}

TEST_F(IniSettingsStoreTest, PathThroughAPlainFileGivesTheFallback) {
  WriteFile(folder_.path() / "config", "[Scrivlet\\Options]\nAuthor=Jo\n");
  const IniSettingsStore store{folder_.path() / "config" / "settings.ini"};
  EXPECT_EQ(store.GetSetting("Scrivlet", "Options", "Author", "nobody"), "nobody");
}

TEST_F(IniSettingsStoreTest, FolderThatCannotBeCreatedIsAnError) {
  // A plain file stands where the settings folder should be.
  WriteFile(folder_.path() / "config", "not a folder");
  IniSettingsStore store{folder_.path() / "config" / "settings.ini"};
  try {
    store.SaveSetting("Scrivlet", "Options", "Author", "Jo");
    ADD_FAILURE() << "no error";
  } catch (const HostError& error) {
    EXPECT_EQ(error.number(), 75L);
    EXPECT_NE(error.description().find("config"), std::string::npos) << error.description();
  }
  EXPECT_EQ(ReadFile(folder_.path() / "config"), "not a folder");
  EXPECT_EQ(Entries(folder_.path()), std::vector<std::string>{"config"});
}

struct DefaultPathCase {
  const char* label;
  std::optional<std::string> xdgConfigHome;
  std::optional<std::string> home;
  std::string expected;
};

void PrintTo(const DefaultPathCase& c, std::ostream* os) {
  *os << c.label;
}

class DefaultPathTest : public testing::TestWithParam<DefaultPathCase> {};

TEST_P(DefaultPathTest, FollowsTheEnvironment) {
  const DefaultPathCase& c = GetParam();
  const test::ScopedEnv xdg{"XDG_CONFIG_HOME", c.xdgConfigHome};
  const test::ScopedEnv home{"HOME", c.home};
  EXPECT_EQ(IniSettingsStore::DefaultPath(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Environments, DefaultPathTest,
    testing::Values(
        DefaultPathCase{"XdgConfigHome", "/srv/cfg", "/home/jo", "/srv/cfg/scrivlet/settings.ini"},
        DefaultPathCase{"XdgConfigHomeWithoutHome", "/srv/cfg", std::nullopt,
                        "/srv/cfg/scrivlet/settings.ini"},
        DefaultPathCase{"XdgUnset", std::nullopt, "/home/jo", "/home/jo/.config/scrivlet/settings.ini"},
        DefaultPathCase{"XdgEmpty", "", "/home/jo", "/home/jo/.config/scrivlet/settings.ini"},
        DefaultPathCase{"XdgRelativeIsIgnored", "cfg", "/home/jo", "/home/jo/.config/scrivlet/settings.ini"}),
    [](const testing::TestParamInfo<DefaultPathCase>& info) { return std::string{info.param.label}; });

TEST(DefaultPathTest, WithoutHomeUsesTheUsersHomeFolder) {
  const test::ScopedEnv xdg{"XDG_CONFIG_HOME", std::nullopt};
  const test::ScopedEnv home{"HOME", std::nullopt};
  const std::string path = IniSettingsStore::DefaultPath();
  ASSERT_FALSE(path.empty());
  EXPECT_EQ(path.front(), '/');
  const std::string tail = "/.config/scrivlet/settings.ini";
  ASSERT_GT(path.size(), tail.size());
  EXPECT_EQ(path.substr(path.size() - tail.size()), tail);
}

}  // namespace
