// tests/win32/file_safety_win32_test.cpp: what a run on Windows never loses of a file: the additions of
// runs beside it, its permissions and attributes, the file itself when a step fails, and its place
// when another program holds it.
#include <windows.h>

#include <aclapi.h>
#include <sddl.h>

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "platform/win32/source_file.h"
#include "platform/win32/system_error_text.h"
#include "tests/cli/scrivlet_fixture.h"
#include "tests/support/golden.h"
#include "tests/support/temp_folder.h"
#include "tests/win32/scrivlet_process.h"

namespace {

using platform::win32::SaveStep;
using platform::win32::UniqueFile;
using test::Result;

std::string Replaced(std::string text, std::string_view what, const std::string& with) {
  if (const std::size_t at = text.find(what); at != std::string::npos) text.replace(at, what.size(), with);
  return text;
}

std::size_t Count(const std::string& text, const std::string& what) {
  std::size_t n = 0;
  for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

// The run's files meet the faults the test plans, and wait `patience` for a file held elsewhere.
class WindowsFileTest : public test::ScrivletTest {
 protected:
  WindowsFileTest() { files_ = &faultyFiles_; }

  std::function<DWORD(SaveStep)> faults_;
  platform::win32::WindowsSourceFiles faultyFiles_{
      std::chrono::milliseconds{300}, [this](SaveStep step) { return faults_ ? faults_(step) : DWORD{0}; }};
};

// Runs of scrivlet.exe at once on one file: each waits for the one before it, and every addition stays.
TEST_F(WindowsFileTest, RunsAtOnceLoseNothing) {
  const std::string path = Put("Tools.bas", test::Tools());
  constexpr int kRuns = 3;
  for (int round = 0; round < 8; ++round) {
    std::vector<std::unique_ptr<test::ScrivletProcess>> runs;
    for (int run = 0; run < kRuns; ++run) {
      const std::wstring name = L"R" + std::to_wstring(round) + L"x" + std::to_wstring(run);
      runs.push_back(std::make_unique<test::ScrivletProcess>(
          std::vector<std::wstring>{L"sub", name, L"--programmer", L"Test",
                                    std::filesystem::path{path}.wstring()},
          nullptr, nullptr));
    }
    for (auto& run : runs) ASSERT_EQ(run->Wait(), 0U) << "round " << round;
    const std::string text = test::ReadFile(path);
    for (int run = 0; run < kRuns; ++run) {
      ASSERT_EQ(Count(text, "Sub R" + std::to_string(round) + "x" + std::to_string(run) + "( )\r\n"), 1U)
          << "round " << round << ", run " << run;
    }
  }
  ExpectAlone("Tools.bas");
}

// A failure at any step before the replacement leaves the file as it was and no new file beside it.
TEST_F(WindowsFileTest, FailureAtEachStepLeavesTheFile) {
  struct Case {
    SaveStep step;
    DWORD error;
    const char* reason;  // ERROR stands for the system's text of `error`
  };
  const Case cases[] = {
      {SaveStep::kCreateTemporary, ERROR_ACCESS_DENIED, "cannot create a temporary file in FOLDER: ERROR"},
      {SaveStep::kSecurity, ERROR_ACCESS_DENIED,
       "cannot give the new file the same permissions: ERROR; nothing was written"},
      {SaveStep::kAttributes, ERROR_ACCESS_DENIED,
       "cannot give the new file the same attributes: ERROR; nothing was written"},
      {SaveStep::kWrite, ERROR_DISK_FULL, "cannot write the new file: ERROR; nothing was written"},
      {SaveStep::kFlush, ERROR_DISK_FULL, "cannot flush the new file: ERROR; nothing was written"},
      {SaveStep::kClose, ERROR_DISK_FULL, "cannot close the new file: ERROR; nothing was written"},
      {SaveStep::kCheckUnchanged, ERROR_ACCESS_DENIED, "cannot be read again: ERROR; nothing was written"},
      {SaveStep::kReplace, ERROR_ACCESS_DENIED, "cannot replace the file: ERROR; nothing was written"},
  };
  const std::string original = test::Meter();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.reason);
    const std::string path = Put("Meter.ctl", original);
    faults_ = [&](SaveStep now) { return now == c.step ? c.error : DWORD{0}; };
    const Result result = Run({"property", "Title", "--variable", "NewTitle", "--changed", path});
    EXPECT_EQ(result.code, cli::kFailure);
    const std::string reason = Replaced(Replaced(c.reason, "FOLDER", folder_.path().string()), "ERROR",
                                        platform::win32::SystemErrorText(c.error));
    std::string expected = "scrivlet: " + path;
    expected.append(": ").append(reason).append("\n");
    EXPECT_EQ(result.err, expected);
    EXPECT_EQ(test::ReadFile(path), original);
    ExpectAlone("Meter.ctl");
  }
}

// While the run writes, another program can neither write the file nor save its own copy over the name:
// the run's edit is the one that stays.
TEST_F(WindowsFileTest, OtherWritersAreKeptOutDuringTheEdit) {
  const std::string theirs = "Attribute VB_Name = \"Tools\"\r\n' their edit\r\n";
  const std::string path = Put("Tools.bas", test::Tools());
  const std::filesystem::path copy = Put("copy.tmp", theirs);
  faults_ = [&](SaveStep now) {
    if (now == SaveStep::kWrite) {
      const UniqueFile writer{::CreateFileW(std::filesystem::path{path}.c_str(), GENERIC_WRITE,
                                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)};
      EXPECT_FALSE(writer);
      EXPECT_EQ(::GetLastError(), DWORD{ERROR_SHARING_VIOLATION});
      EXPECT_FALSE(
          ::MoveFileExW(copy.c_str(), std::filesystem::path{path}.c_str(), MOVEFILE_REPLACE_EXISTING));
    }
    return DWORD{0};
  };
  const Result result = Run({"sub", "Refresh", path});
  EXPECT_EQ(result.code, cli::kSuccess) << result.err;
  EXPECT_EQ(Count(test::ReadFile(path), "Sub Refresh( )"), 1U);
  EXPECT_EQ(test::ReadFile(copy), theirs);
  std::filesystem::remove(copy);
  ExpectAlone("Tools.bas");
}

// Run by the test below in a process of its own, which it ends, as Ctrl-C or TerminateProcess would,
// once the new file is written.
TEST_F(WindowsFileTest, DISABLED_EndedDuringTheEdit) {
  std::array<wchar_t, MAX_PATH> path{};
  ASSERT_NE(::GetEnvironmentVariableW(L"SCRIVLET_ENDED_FILE", path.data(), MAX_PATH), 0U);
  faults_ = [](SaveStep now) {
    if (now == SaveStep::kFlush) ::TerminateProcess(::GetCurrentProcess(), 3);
    return DWORD{0};
  };
  Run({"sub", "Refresh", std::filesystem::path{path.data()}.string()});
}

// A run ended before the new file takes the old one's place leaves the file as it was, and nothing beside it.
TEST_F(WindowsFileTest, RunEndedDuringTheEditLeavesNothing) {
  const std::string path = Put("Tools.bas", test::Tools());
  ASSERT_TRUE(::SetEnvironmentVariableW(L"SCRIVLET_ENDED_FILE", std::filesystem::path{path}.c_str()));
  std::array<wchar_t, MAX_PATH> self{};
  ASSERT_NE(::GetModuleFileNameW(nullptr, self.data(), MAX_PATH), 0U);
  test::ScrivletProcess ended{
      {L"--gtest_also_run_disabled_tests", L"--gtest_filter=*DISABLED_EndedDuringTheEdit"},
      nullptr,
      nullptr,
      self.data()};
  EXPECT_EQ(ended.Wait(), 3U);
  EXPECT_EQ(test::ReadFile(path), test::Tools());
  ExpectAlone("Tools.bas");
}

// Once the new file has taken the old one's place, the edit stands: an old copy that stays is a warning.
TEST_F(WindowsFileTest, OldCopyThatStaysIsAWarning) {
  const std::string path = Put("Meter.ctl", test::Meter());
  faults_ = [](SaveStep now) {
    return now == SaveStep::kRemoveOldCopy ? DWORD{ERROR_ACCESS_DENIED} : DWORD{0};
  };
  const Result result = Run({"property", "Title", "--variable", "NewTitle", "--changed", path});
  EXPECT_EQ(result.code, cli::kSuccess);
  EXPECT_TRUE(result.err.starts_with("scrivlet: warning: " + path + ": was replaced, but its old copy " +
                                     folder_.path().string() + "\\.scrivlet-"))
      << result.err;
  EXPECT_TRUE(result.err.ends_with(
      " cannot be deleted: " + platform::win32::SystemErrorText(ERROR_ACCESS_DENIED) + "\n"))
      << result.err;
  EXPECT_TRUE(test::MatchesGolden("cli/controls/Meter.ctl", test::ReadFile(path)));
}

std::wstring Dacl(const std::string& path) {
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (::GetNamedSecurityInfoW(std::filesystem::path{path}.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION,
                              nullptr, nullptr, nullptr, nullptr, &descriptor) != ERROR_SUCCESS) {
    return L"(none)";
  }
  LPWSTR text = nullptr;
  ::ConvertSecurityDescriptorToStringSecurityDescriptorW(descriptor, SDDL_REVISION_1,
                                                         DACL_SECURITY_INFORMATION, &text, nullptr);
  std::wstring shown = text == nullptr ? L"(none)" : text;
  ::LocalFree(text);
  ::LocalFree(descriptor);
  return shown;
}

// The new file has the old one's access list and its hidden attribute; and the archive bit, as a changed
// file. (Its creation time is kept too, but Wine cannot set one on a Linux file system to show it.)
TEST_F(WindowsFileTest, PermissionsAndAttributesKept) {
  const std::string path = Put("Meter.ctl", test::Meter());
  const std::filesystem::path file{path};
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  ASSERT_TRUE(::ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:P(A;;FA;;;WD)(A;;FR;;;BU)",
                                                                     SDDL_REVISION_1, &descriptor, nullptr));
  BOOL present = FALSE;
  BOOL defaulted = FALSE;
  PACL dacl = nullptr;
  ASSERT_TRUE(::GetSecurityDescriptorDacl(descriptor, &present, &dacl, &defaulted));
  ASSERT_EQ(::SetNamedSecurityInfoW(const_cast<wchar_t*>(file.c_str()), SE_FILE_OBJECT,
                                    DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION, nullptr,
                                    nullptr, dacl, nullptr),
            DWORD{ERROR_SUCCESS});
  ::LocalFree(descriptor);
  const std::wstring before = Dacl(path);
  ASSERT_TRUE(::SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_HIDDEN));

  ASSERT_EQ(Run({"sub", "Refresh", path}).code, cli::kSuccess);
  EXPECT_EQ(Dacl(path), before);
  WIN32_FILE_ATTRIBUTE_DATA now{};
  ASSERT_TRUE(::GetFileAttributesExW(file.c_str(), GetFileExInfoStandard, &now));
  EXPECT_EQ(now.dwFileAttributes, DWORD{FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE});
  EXPECT_EQ(Count(test::ReadFile(path), "Sub Refresh( )"), 1U);
  ExpectAlone("Meter.ctl");
}

// A program that holds the file without letting others write or delete it is waited for, then the run
// is refused, the file as it was.
TEST_F(WindowsFileTest, FileHeldByAnotherProgramIsRefused) {
  for (const DWORD share : {DWORD{FILE_SHARE_READ}, DWORD{FILE_SHARE_READ | FILE_SHARE_WRITE}}) {
    SCOPED_TRACE(share);
    const std::string path = Put("Meter.ctl", test::Meter());
    const UniqueFile other{::CreateFileW(std::filesystem::path{path}.c_str(), GENERIC_READ, share, nullptr,
                                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)};
    ASSERT_TRUE(other);
    const Result result = Run({"sub", "Refresh", path});
    EXPECT_EQ(result.code, cli::kFailure);
    EXPECT_EQ(result.err,
              "scrivlet: " + path +
                  ": is open in another program that does not let it be changed; nothing was written\n");
    EXPECT_EQ(test::ReadFile(path), test::Meter());
  }
}

}  // namespace
