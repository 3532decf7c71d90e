// tests/cli/file_safety_test.cpp: what a run must never lose of a file it edits: the additions of a
// run beside it, the file's extended attributes, access list and setuid bits, a long name, and, when
// a signal stops it, its tidiness.
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "platform/posix/safe_replace.h"
#include "platform/posix/source_file.h"
#include "tests/support/temp_folder.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using platform::posix::SaveStep;

constexpr std::string_view kModule = "Attribute VB_Name = \"Tools\"\r\nOption Explicit\r\n";

// Starts the scrivlet program adding `sub NAME` to `file`; the caller waits for it.
pid_t StartSub(const std::string& name, const std::string& file) {
  const std::string program = SCRIVLET_PROGRAM;
  std::vector<std::string> arguments{program, "sub", name, "--programmer", "Test", file};
  std::vector<char*> argv;
  argv.reserve(arguments.size() + 1);
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);
  pid_t pid = 0;
  if (::posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv.data(), environ) != 0) return -1;
  return pid;
}

int ExitStatusOf(pid_t pid) {
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::size_t Count(const std::string& text, const std::string& what) {
  std::size_t n = 0;
  for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

// `runs` programs at once on one file, `rounds` times: each addition must be there once.
void RunsAtOnceLoseNothing(const fs::path& folder, int runs, int rounds) {
  const fs::path file = folder / "Tools.bas";
  test::WriteFile(file, std::string{kModule});
  for (int round = 0; round < rounds; ++round) {
    std::vector<pid_t> started;
    started.reserve(static_cast<std::size_t>(runs));
    for (int run = 0; run < runs; ++run) {
      started.push_back(StartSub("R" + std::to_string(round) + "x" + std::to_string(run), file.string()));
    }
    for (const pid_t pid : started) ASSERT_EQ(ExitStatusOf(pid), 0) << "round " << round;
    const std::string text = test::ReadFile(file);
    for (int run = 0; run < runs; ++run) {
      ASSERT_EQ(Count(text, "Sub R" + std::to_string(round) + "x" + std::to_string(run) + "( )\r\n"), 1U)
          << "round " << round << ", run " << run;
    }
  }
  EXPECT_EQ(test::Entries(folder), std::vector<std::string>{"Tools.bas"});
}

// An access list giving user 4242 read and write, with the mask that the group bits show: the
// on-disk form of system.posix_acl_access (version 2, then tag, permissions and id per entry).
std::string AccessList() {
  std::string list;
  const auto put32 = [&](std::uint32_t v) {
    for (int i = 0; i < 4; ++i) list += static_cast<char>((v >> (8 * i)) & 0xFFU);
  };
  const auto entry = [&](std::uint16_t tag, std::uint16_t permissions, std::uint32_t id) {
    list += static_cast<char>(tag & 0xFFU);
    list += static_cast<char>(tag >> 8U);
    list += static_cast<char>(permissions);
    list += '\0';
    put32(id);
  };
  put32(2);
  entry(0x01, 6, 0xFFFFFFFFU);  // owner rw-
  entry(0x02, 6, 4242);         // user 4242 rw-
  entry(0x04, 4, 0xFFFFFFFFU);  // group r--
  entry(0x10, 6, 0xFFFFFFFFU);  // mask rw-
  entry(0x20, 0, 0xFFFFFFFFU);  // others ---
  return list;
}

std::string Attribute(const fs::path& file, const char* name) {
  std::string value(256, '\0');
  const ssize_t size = ::getxattr(file.c_str(), name, value.data(), value.size());
  if (size < 0) return "(none)";
  value.resize(static_cast<std::size_t>(size));
  return value;
}

// A replacement stopped by `signal` while its new file is being written.
void StoppedBySignal(const fs::path& folder, int signal) {
  const fs::path file = folder / "Tools.bas";
  test::WriteFile(file, std::string{kModule});
  const pid_t child = ::fork();
  if (child == 0) {
    auto source = platform::posix::DiskSourceFile::Read(file.string());
    source.InjectFaults([signal](SaveStep step) {
      if (step == SaveStep::kSync) ::kill(::getpid(), signal);
      return 0;
    });
    source.Replace("Attribute VB_Name = \"Tools\"\r\n");
    ::_exit(0);  // only reached if the signal did not stop the run
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFSIGNALED(status)) << "status " << status;
  EXPECT_EQ(WTERMSIG(status), signal);
  EXPECT_EQ(test::ReadFile(file), kModule);
  EXPECT_EQ(test::Entries(folder), std::vector<std::string>{"Tools.bas"});
}

struct SafetyCase {
  const char* name;
  std::function<void(const fs::path& folder)> check;
};

void PrintTo(const SafetyCase& c, std::ostream* os) {
  *os << c.name;
}

const SafetyCase kSafety[] = {
    {"two_runs_at_once_lose_nothing", [](const fs::path& folder) { RunsAtOnceLoseNothing(folder, 2, 100); }},
    {"four_runs_at_once_lose_nothing", [](const fs::path& folder) { RunsAtOnceLoseNothing(folder, 4, 50); }},
    {"extended_attributes_kept",
     [](const fs::path& folder) {
       const fs::path file = folder / "Tools.bas";
       test::WriteFile(file, std::string{kModule});
       if (::setxattr(file.c_str(), "user.origin", "vcs", 3, 0) != 0)
         GTEST_SKIP() << "no user attributes here";
       ASSERT_EQ(ExitStatusOf(StartSub("Refresh", file.string())), 0);
       EXPECT_EQ(Attribute(file, "user.origin"), "vcs");
     }},
    {"access_list_kept_and_group_bits_not_widened",
     [](const fs::path& folder) {
       const fs::path file = folder / "Tools.bas";
       test::WriteFile(file, std::string{kModule});
       const std::string list = AccessList();
       if (::setxattr(file.c_str(), "system.posix_acl_access", list.data(), list.size(), 0) != 0) {
         GTEST_SKIP() << "no access lists here";
       }
       ASSERT_EQ(ExitStatusOf(StartSub("Refresh", file.string())), 0);
       EXPECT_EQ(Attribute(file, "system.posix_acl_access"), list);
       struct stat info {};
       ASSERT_EQ(::stat(file.c_str(), &info), 0);
       EXPECT_EQ(info.st_mode & 07777, 0660U);
     }},
    {"setuid_and_setgid_kept_with_the_owner",
     [](const fs::path& folder) {
       if (::geteuid() != 0) GTEST_SKIP() << "only root keeps another user's file";
       const fs::path file = folder / "Tools.bas";
       test::WriteFile(file, std::string{kModule});
       ASSERT_EQ(::chown(file.c_str(), 1, 1), 0);
       ASSERT_EQ(::chmod(file.c_str(), 06755), 0);
       ASSERT_EQ(ExitStatusOf(StartSub("Refresh", file.string())), 0);
       struct stat info {};
       ASSERT_EQ(::stat(file.c_str(), &info), 0);
       EXPECT_EQ(info.st_mode & 07777, 06755U);
       EXPECT_EQ(info.st_uid, 1U);
       EXPECT_EQ(info.st_gid, 1U);
     }},
    {"name_of_250_bytes_edited",
     [](const fs::path& folder) {
       const fs::path file = folder / (std::string(246, 'n') + ".bas");
       test::WriteFile(file, std::string{kModule});
       ASSERT_EQ(ExitStatusOf(StartSub("Refresh", file.string())), 0);
       EXPECT_EQ(Count(test::ReadFile(file), "Sub Refresh( )"), 1U);
       EXPECT_EQ(test::Entries(folder).size(), 1U);
     }},
    {"sigint_removes_the_temporary_file", [](const fs::path& folder) { StoppedBySignal(folder, SIGINT); }},
    {"sigterm_removes_the_temporary_file", [](const fs::path& folder) { StoppedBySignal(folder, SIGTERM); }},
    {"sighup_removes_the_temporary_file", [](const fs::path& folder) { StoppedBySignal(folder, SIGHUP); }},
};

class FileSafety : public testing::TestWithParam<SafetyCase> {};

TEST_P(FileSafety, NothingIsLost) {
  const test::TempFolder folder;
  GetParam().check(folder.path());
}

INSTANTIATE_TEST_SUITE_P(Runs, FileSafety, testing::ValuesIn(kSafety),
                         [](const auto& info) { return std::string{info.param.name}; });

}  // namespace
