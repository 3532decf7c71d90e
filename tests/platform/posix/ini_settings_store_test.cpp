// Checks the settings file on disk: what it reads in every shape, what it refuses, atomic saving, its place.
#include "platform/posix/ini_settings_store.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
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
using namespace std::string_literals;

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
  ASSERT_EQ(::chmod(real.c_str(), 0640), 0);
  fs::create_symlink(real, path_);
  IniSettingsStore{path_}.SaveSetting("Scrivlet", "Options", "Company", "Penwright");
  EXPECT_TRUE(fs::is_symlink(path_));
  EXPECT_EQ(ReadFile(real), "[Scrivlet\\Options]\nAuthor=Jo\nCompany=Penwright\n");
  struct stat info {};
  ASSERT_EQ(::stat(real.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640U);
}

TEST_F(IniSettingsStoreTest, LeavesNoTemporaryFileBehind) {
  IniSettingsStore store{path_};
  for (int i = 0; i < 3; ++i) store.SaveSetting("Scrivlet", "Options", "Count", std::to_string(i));
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

// The HostError that `call` throws, as "number: description".
template <class Call>
std::string ErrorOf(Call&& call) {
  try {
    call();
  } catch (const HostError& error) {
    return std::to_string(error.number()) + ": " + error.description();
  }
  return "no error";
}

// Saving one value into a file a person edited keeps every line that is not that value's; a file
// that is not understood as settings is never saved over. Each file has mode 0644, which stays.
struct SaveCase {
  const char* label;
  std::string before;
  std::string after;    // the file once Programmer is saved as "Ada", or
  std::string refusal;  // what the save throws, after "75: <path>: cannot save: "
};

void PrintTo(const SaveCase& c, std::ostream* os) {
  *os << c.label;
}

class SettingsSaveTest : public IniSettingsStoreTest, public testing::WithParamInterface<SaveCase> {};

TEST_P(SettingsSaveTest, KeepsWhatItDidNotWrite) {
  const SaveCase& c = GetParam();
  WriteFile(path_, c.before);
  ASSERT_EQ(::chmod(path_.c_str(), 0644), 0);
  const std::string error = ErrorOf(
      [&] { IniSettingsStore{path_}.SaveSetting("Scrivlet", "Identification", "Programmer", "Ada"); });
  if (c.refusal.empty()) {
    EXPECT_EQ(error, "no error");
    EXPECT_EQ(test::Visible(ReadFile(path_)), test::Visible(c.after));
  } else {
    EXPECT_EQ(error, "75: " + path_.string() + ": cannot save: " + c.refusal + "; nothing was written");
    EXPECT_EQ(ReadFile(path_), c.before);
  }
  struct stat info {};
  ASSERT_EQ(::stat(path_.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0644U);
  EXPECT_EQ(Entries(folder_.path()), std::vector<std::string>{"settings.ini"});
}

INSTANTIATE_TEST_SUITE_P(
    Saves, SettingsSaveTest,
    testing::Values(
        SaveCase{"ValueReplacedCommentsAndOtherSectionsKept",
                 "; mine\r\n[Scrivlet \\ Identification]  ; who\r\nProgrammer = Al ; old\r\n  Company = x\r\n"
                 "\r\n[Other]\r\nkey=value\r\n",
                 "; mine\r\n[Scrivlet \\ Identification]  ; who\r\nProgrammer=Ada\r\n  Company = x\r\n"
                 "\r\n[Other]\r\nkey=value\r\n",
                 ""},
        SaveCase{"ValueGoingOnOverLinesReplacedWhole",
                 "[Scrivlet\\Identification]\nProgrammer=Jo\n  Smith\n; note\n\tJr\nCompany=P\n",
                 "[Scrivlet\\Identification]\nProgrammer=Ada\n; note\nCompany=P\n", ""},
        SaveCase{"NewKeyAfterTheSectionsLastKey",
                 "[Scrivlet\\Identification]\nCompany=P\n  enwright\n\n# later\n[Other]\nk=v",
                 "[Scrivlet\\Identification]\nCompany=P\n  enwright\nProgrammer=Ada\n\n# later\n[Other]\nk=v",
                 ""},
        SaveCase{"NewSectionAtTheEnd", "[Other]\nk=v",
                 "[Other]\nk=v\n\n[Scrivlet\\Identification]\nProgrammer=Ada\n", ""},
        SaveCase{"CopyOfAPasswordFile", "root:x:0:0:root:/root:/bin/bash\nbin:x:1:1::/:/bin/false\n", "",
                 "line 1 holds a setting before any section"},
        SaveCase{"LineThatIsNoSetting", "[Scrivlet\\Recent]\nFile1=a.bas\njunk line\n", "",
                 "line 3 is not a setting, a section or a comment"},
        SaveCase{"UnterminatedHeader", "[Scrivlet\\Identification\nProgrammer = Jo\n", "",
                 "line 1 opens a section without closing it"}),
    [](const testing::TestParamInfo<SaveCase>& info) { return std::string{info.param.label}; });

// A save that would make a file every later run refuses is refused, and the file stays as it was.
TEST_F(IniSettingsStoreTest, SaveThatWouldPassOneMegabyteIsRefused) {
  IniSettingsStore store{path_};
  store.SaveSetting("Scrivlet", "Identification", "Programmer", std::string(1030000, 'x'));
  const std::string before = ReadFile(path_);
  ASSERT_EQ(before.size(), 1040494U);
  EXPECT_EQ(
      ErrorOf([&] { store.SaveSetting("Scrivlet", "Identification", "Company", std::string(10000, 'y')); }),
      "75: " + path_.string() +
          ": cannot save: the settings would take 1050603 bytes, more than 1 MB (1048576 bytes)");
  EXPECT_TRUE(ReadFile(path_) == before);
  EXPECT_EQ(Entries(folder_.path()), std::vector<std::string>{"settings.ini"});
}

// Run where the user may not read the file (root, who reads anything, first becomes "nobody"): the
// defaults are read, and saving, which would lose the other settings, is refused.
void ReadAsAUserWhoMayNot(const fs::path& path) {
  if (::geteuid() == 0 && ::setuid(65534) != 0) std::_Exit(2);
  IniSettingsStore store{path};
  const std::string read = store.GetSetting("Scrivlet", "Identification", "Programmer", "My name");
  const std::string save =
      ErrorOf([&] { store.SaveSetting("Scrivlet", "Identification", "Programmer", "Al"); });
  std::fprintf(stderr, "read %s, save %s\n", read.c_str(), save.c_str());
  std::_Exit(0);
}

TEST_F(IniSettingsStoreTest, FileThatMayNotBeReadGivesTheDefaults) {
  const std::string before = "[Scrivlet\\Identification]\nProgrammer=Jo\n";
  WriteFile(path_, before);
  fs::permissions(path_, fs::perms::none);
  EXPECT_EXIT(ReadAsAUserWhoMayNot(path_), testing::ExitedWithCode(0),
              "^read My name, save 75: " + path_.string() + ": cannot read: Permission denied\n$");
  EXPECT_EQ(ReadFile(path_), before);
}

// The settings file in every shape it comes in, and what GetSetting finds in it for the programmer.
enum class Kind { kFile, kFifo, kFolder, kLink };

struct SettingsFileCase {
  const char* label;
  Kind kind;
  std::string contents;    // the file's bytes, or where the link points
  std::string programmer;  // what GetSetting gives, "My name" when nothing is stored
  std::string refusal;     // or what reading and saving both throw, after "75: <path>: "
  bool written = false;    // saving `programmer` where there is no file writes exactly `contents`
};

const std::string kSection = "[Scrivlet\\Identification]\n";

void PrintTo(const SettingsFileCase& c, std::ostream* os) {
  *os << c.label;
}

SettingsFileCase Reads(const char* label, std::string contents, std::string programmer) {
  return {label, Kind::kFile, std::move(contents), std::move(programmer), "", false};
}

SettingsFileCase Writes(const char* label, std::string programmer, const std::string& keyLines) {
  return {label, Kind::kFile, kSection + keyLines, std::move(programmer), "", true};
}

SettingsFileCase Refuses(const char* label, Kind kind, std::string contents, std::string refusal) {
  return {label, kind, std::move(contents), "", std::move(refusal), false};
}

// `text` followed by comment lines that bring it to `size` bytes.
std::string Padded(std::string text, std::size_t size) {
  while (text.size() < size) {
    const std::size_t line = std::min<std::size_t>(size - text.size(), 100);
    text += line == 1 ? std::string{"\n"} : ";" + std::string(line - 2, '-') + "\n";
  }
  return text;
}

const std::string kCrLfFile = "[Scrivlet\\Identification]\r\nProgrammer = Jo\r\n";

class SettingsFileTest : public IniSettingsStoreTest, public testing::WithParamInterface<SettingsFileCase> {};

TEST_P(SettingsFileTest, GetSettingGives) {
  const SettingsFileCase& c = GetParam();
  switch (c.kind) {
    case Kind::kFile:
      WriteFile(path_, c.contents);
      break;
    case Kind::kFifo:
      ASSERT_EQ(::mkfifo(path_.c_str(), 0600), 0);
      break;
    case Kind::kFolder:
      fs::create_directory(path_);
      break;
    case Kind::kLink:
      fs::create_symlink(c.contents, path_);
      break;
  }
  IniSettingsStore store{path_};
  if (c.refusal.empty()) {
    EXPECT_EQ(test::Visible(store.GetSetting("Scrivlet", "Identification", "Programmer", "My name")),
              test::Visible(c.programmer));
    if (c.written) {
      fs::remove(path_);
      store.SaveSetting("Scrivlet", "Identification", "Programmer", c.programmer);
      EXPECT_EQ(test::Visible(ReadFile(path_)), test::Visible(c.contents));
    }
    return;
  }
  // A pipe would hang a run that reads it, and /dev/zero never ends: should either be read, the
  // alarm ends the test.
  ::alarm(20);
  const std::string refusal = "75: " + path_.string() + ": " + c.refusal;
  EXPECT_EQ(ErrorOf([&] { store.GetSetting("Scrivlet", "Identification", "Programmer", "My name"); }),
            refusal);
  EXPECT_EQ(ErrorOf([&] { store.SaveSetting("Scrivlet", "Identification", "Programmer", "Al"); }), refusal);
  ::alarm(0);
  EXPECT_EQ(Entries(folder_.path()), std::vector<std::string>{"settings.ini"});
  switch (c.kind) {
    case Kind::kFile:
      EXPECT_TRUE(ReadFile(path_) == c.contents);
      break;
    case Kind::kFifo:
      EXPECT_TRUE(fs::is_fifo(path_));
      break;
    case Kind::kFolder:
      EXPECT_TRUE(fs::is_directory(path_) && fs::is_empty(path_));
      break;
    case Kind::kLink:
      EXPECT_EQ(fs::read_symlink(path_), c.contents);
      break;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Files, SettingsFileTest,
    testing::Values(
        Refuses("Fifo", Kind::kFifo, "", "the settings file is a named pipe (FIFO), not a regular file"),
        Refuses("LinkToDevZero", Kind::kLink, "/dev/zero",
                "the settings file is a character device, not a regular file"),
        Refuses("Folder", Kind::kFolder, "", "the settings file is a folder, not a regular file"),
        Refuses("LinkToItself", Kind::kLink, "settings.ini",
                "cannot read: Too many levels of symbolic links"),
        Refuses("OverOneMegabyte", Kind::kFile, Padded(kCrLfFile, 1048577),
                "the settings file is larger than 1 MB (1048576 bytes)"),
        // Cut where inih's buffer ends, the comment's tail would read as a key line.
        Refuses("LineLongerThanInihReads", Kind::kFile,
                kSection + "Programmer=Jo\n; " + std::string(197, '-') + "Programmer=Al\n",
                "line 3 is longer than 198 bytes"),
        Reads("OneMegabyteIsRead", Padded(kCrLfFile, 1048576), "Jo"),
        Reads("CrLf", "[Scrivlet\\Identification]\r\nProgrammer=Jo Smith\r\n", "Jo Smith"),
        Reads("ByteOrderMark", "\xEF\xBB\xBF[Scrivlet\\Identification]\nProgrammer=Jo\n", "Jo"),
        Reads("BlanksAroundEquals", kSection + "Programmer = Jo Smith \n", "Jo Smith"),
        Reads("BlanksAroundSectionAndKey", "[ Scrivlet \\ Identification ]\n \t Programmer\t= Jo\n", "Jo"),
        Reads("ColonForEquals", kSection + "Programmer: Jo\n", "Jo"),
        Reads("CaseIsIgnored", "[SCRIVLET\\identification]\nPROGRAMMER = Jo\n", "Jo"),
        Reads("CommentLines",
              "; mine\n# mine too\n[Scrivlet\\Identification] ; me\n  # Programmer=Al\nProgrammer=Jo\n",
              "Jo"),
        Reads("SemicolonAfterABlankEndsTheValue", kSection + "Programmer = Jo ; Al\n", "Jo"),
        Reads("SemicolonOrHashWithinIsText", kSection + "Programmer = Jo;Al #1\n", "Jo;Al #1"),
        Reads("IndentedKeys", kSection + "\tCompany = Penwright\n\tProgrammer = Jo\n", "Jo"),
        Reads("IndentedLinesGoOnWithTheValue", kSection + "Programmer=Jo\n  Smith\n\n; c\n\tJr\n",
              "JoSmithJr"),
        Reads("HandEditedOnWindows",
              "\xEF\xBB\xBF; Scrivlet\r\n\r\n[Scrivlet \\ Window]\r\n  Left = 120\r\n\r\n"
              "[Scrivlet \\ Identification]   ; who writes the headers\r\n"
              "  Programmer = Ren\xC3\xA9 Dupont   ; as in the headers\r\n  Company = Penwright",
              "Ren\xC3\xA9 Dupont"),
        Reads("KeyBeforeAnyHeader", "Programmer = Al\n" + kSection + "Programmer = Jo\n", "Jo"),
        Reads("LinesWithoutEquals", kSection + "junk\nProgrammer = Jo\n\x01\x02\xFF\n", "Jo"),
        Reads("HeadersThatAreNoAddress",
              kSection + "Programmer = Jo\n[Scrivlet]\nProgrammer = Al\n[a\\b\\c]\nProgrammer = "
                         "Al\n[]\nProgrammer = Al\n",
              "Jo"),
        Reads("UnterminatedHeader", kSection + "[Scrivlet\\Other\nProgrammer = Jo\n", "Jo"),
        Reads("LaterValueWins", kSection + "Programmer = Al\nProgrammer = Jo", "Jo"),
        Reads("EqualsSignsAfterTheFirst", kSection + "Programmer = =Jo=\n", "=Jo="),
        Writes("BlanksAtTheEnds", "  Jo Smith\t", "Programmer=%20 Jo Smith%09\n"),
        Writes("CommentCharactersAndColons", "Jo ;#1: C:\\x", "Programmer=Jo %3B%231%3A C%3A%5Cx\n"),
        Writes("EveryByteAlwaysEscaped", "%\\\r\n\0=:[];#"s,
               "Programmer=%25%5C%0D%0A%00%3D%3A%5B%5D%3B%23\n"),
        Writes("LoneSurrogateAndNotUtf8", "\xED\xA0\x80 \xFF;\xFE\v",
               "Programmer=\xED\xA0\x80 \xFF%3B\xFE%0B\n"),
        Writes("LongValue", std::string(186, 'x') + "; " + std::string(300, 'y'),
               "Programmer=" + std::string(186, 'x') + "\n %3B%20" + std::string(191, 'y') + "\n " +
                   std::string(109, 'y') + "\n")),
    [](const testing::TestParamInfo<SettingsFileCase>& info) { return std::string{info.param.label}; });

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
