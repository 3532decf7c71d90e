// tests/cli/file_safety_test.cpp: what a run must never lose of a file it edits: the additions of a
// run beside it, the saves of programs that take no lock, the file's owner, group, rights, extended
// attributes and hard links, a long name or one that is not UTF-8, its line breaks, and, when a
// signal or a limit stops it, its tidiness.
#include <fcntl.h>
#include <grp.h>
#include <signal.h>
#include <spawn.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "host/source_file.h"
#include "platform/posix/safe_replace.h"
#include "platform/posix/source_file.h"
#include "tests/support/temp_folder.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using platform::posix::SaveStep;

constexpr std::string_view kModule = "Attribute VB_Name = \"Tools\"\r\nOption Explicit\r\n";

// The arguments as a program's argv: pointers into `arguments`, then a null one.
std::vector<char*> Argv(std::vector<std::string>& arguments) {
  std::vector<char*> argv;
  argv.reserve(arguments.size() + 1);
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);
  return argv;
}

// Starts the scrivlet program adding `sub NAME` to `file`; the caller waits for it.
pid_t StartSub(const std::string& name, const std::string& file) {
  const std::string program = SCRIVLET_PROGRAM;
  std::vector<std::string> arguments{program, "sub", name, "--programmer", "Test", file};
  pid_t pid = 0;
  if (::posix_spawn(&pid, program.c_str(), nullptr, nullptr, Argv(arguments).data(), environ) != 0) return -1;
  return pid;
}

// What a run of the program said and how it ended: its exit status, or 128 + the signal that ended it.
struct Ran {
  int status = -1;
  std::string err;
};

// Runs the program with `arguments`, after `setup` in the child (a user to become, a limit to set).
Ran RunProgram(const std::vector<std::string>& arguments, const std::function<void()>& setup = {}) {
  int pipeFds[2];
  if (::pipe(pipeFds) != 0) return {};
  const pid_t child = ::fork();
  if (child == 0) {
    if (setup) setup();
    ::dup2(pipeFds[1], STDERR_FILENO);
    ::close(pipeFds[0]);
    std::vector<std::string> all{SCRIVLET_PROGRAM};
    all.insert(all.end(), arguments.begin(), arguments.end());
    ::execv(SCRIVLET_PROGRAM, Argv(all).data());
    ::_exit(127);
  }
  ::close(pipeFds[1]);
  Ran ran;
  char buffer[4096];
  for (ssize_t n; (n = ::read(pipeFds[0], buffer, sizeof buffer)) != 0;) {
    if (n > 0) ran.err.append(buffer, static_cast<std::size_t>(n));
    if (n < 0 && errno != EINTR) break;
  }
  ::close(pipeFds[0]);
  int status = 0;
  while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  ran.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return ran;
}

// In the child: becomes user 4444, whose own group is 4444 and who is also in group 4343.
void BecomeColleague() {
  const gid_t groups[] = {4343};
  if (::setgroups(1, groups) != 0 || ::setgid(4444) != 0 || ::setuid(4444) != 0) ::_exit(126);
}

struct stat StatOf(const fs::path& file) {
  struct stat info {};
  EXPECT_EQ(::stat(file.c_str(), &info), 0) << file;
  return info;
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

// A replacement stopped by `signal` at `step`: while its new file is written, the file stays as it was
// and nothing is said; once the edit is made (at the folder's flush), the run says so.
void StoppedBySignal(const fs::path& folder, int signal, SaveStep step = SaveStep::kSync) {
  const fs::path file = folder / "Tools.bas";
  test::WriteFile(file, std::string{kModule});
  const std::string edited = "Attribute VB_Name = \"Tools\"\r\n";
  int pipeFds[2];
  ASSERT_EQ(::pipe(pipeFds), 0);
  const pid_t child = ::fork();
  if (child == 0) {
    ::dup2(pipeFds[1], STDERR_FILENO);
    auto source = platform::posix::DiskSourceFile::Read(file.string());
    source.InjectFaults([signal, step](SaveStep now) {
      if (now == step) ::kill(::getpid(), signal);
      return 0;
    });
    source.Replace(edited);
    ::_exit(0);  // only reached if the signal did not stop the run
  }
  ::close(pipeFds[1]);
  std::string err(512, '\0');
  const ssize_t n = ::read(pipeFds[0], err.data(), err.size());
  err.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
  ::close(pipeFds[0]);
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFSIGNALED(status)) << "status " << status;
  EXPECT_EQ(WTERMSIG(status), signal);
  const bool made = step == SaveStep::kSyncFolder;
  EXPECT_EQ(err,
            made ? "scrivlet: " + file.string() + ": the edit was made before the run was stopped\n" : "");
  EXPECT_EQ(test::ReadFile(file), made ? edited : kModule);
  EXPECT_EQ(test::Entries(folder), std::vector<std::string>{"Tools.bas"});
}

// A module of about 3,000 bytes that ends with its version's number.
std::string Version(int number) {
  std::string text{kModule};
  for (int line = 0; line < 60; ++line)
    text += "' " + std::string(46, static_cast<char>('a' + line % 26)) + "\r\n";
  return text + "' version " + std::to_string(number) + "\r\n";
}

// Another program that takes no lock saves the file `saves` times, up to `pause` microseconds apart: in
// place (truncating the file it holds, writing half of it, pausing, writing the rest) or by a rename
// of its own, while runs of scrivlet add Subs one after another. Each run either adds its Sub or
// refuses (exit 1). Before each save, and at the end, the file still begins with the last save,
// whole: a run may add to it, never take it away.
void SaverLosesNothing(const fs::path& folder, bool byRename, int saves, unsigned pause) {
  const fs::path file = folder / "W.bas";
  test::WriteFile(file, Version(0));
  const pid_t saver = ::fork();
  if (saver == 0) {
    std::mt19937 random{static_cast<unsigned>(::getpid())};
    int lost = 0;
    for (int number = 1; number <= saves; ++number) {
      ::usleep(static_cast<useconds_t>(random() % pause));
      // A run that swaps its file in and finds it must swap it back shows it for an instant: only what
      // stays is lost.
      if (!test::ReadFile(file).starts_with(Version(number - 1))) {
        ::usleep(20000);
        if (!test::ReadFile(file).starts_with(Version(number - 1))) ++lost;
      }
      const std::string text = Version(number);
      if (byRename) {
        const fs::path temporary = folder / ("saver" + std::to_string(number));
        test::WriteFile(temporary, text);
        ::rename(temporary.c_str(), file.c_str());
        continue;
      }
      const int fd = ::open(file.c_str(), O_WRONLY | O_TRUNC);
      if (fd < 0) ::_exit(100);
      const std::size_t half = text.size() / 2;
      if (::write(fd, text.data(), half) != static_cast<ssize_t>(half)) ::_exit(100);
      ::usleep(static_cast<useconds_t>(random() % pause));
      if (::write(fd, text.data() + half, text.size() - half) != static_cast<ssize_t>(text.size() - half)) {
        ::_exit(100);
      }
      ::close(fd);
    }
    ::_exit(std::min(lost, 99));
  }
  int runs = 0;
  int status = 0;
  for (; ::waitpid(saver, &status, WNOHANG) == 0; ++runs) {
    const Ran ran = RunProgram({"sub", "R" + std::to_string(runs), "--programmer", "Test", file.string()});
    ASSERT_TRUE(ran.status == 0 || ran.status == 1) << ran.status << ": " << ran.err;
  }
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
      << "saves lost: " << WEXITSTATUS(status) << " in " << runs << " runs";
  EXPECT_TRUE(test::ReadFile(file).starts_with(Version(saves)));
  EXPECT_EQ(test::Entries(folder), std::vector<std::string>{"W.bas"});
}

// A file held by another program is waited for, with one word after the notice time, then refused.
void HeldFileRefused(const fs::path& folder, bool locked) {
  const fs::path file = folder / "Tools.bas";
  test::WriteFile(file, std::string{kModule});
  const int holder = ::open(file.c_str(), locked ? O_RDONLY : O_WRONLY);
  ASSERT_GE(holder, 0);
  if (locked) {
    ASSERT_EQ(::flock(holder, LOCK_EX), 0);
  }
  std::vector<std::string> notices;
  platform::posix::EditPolicy policy;
  policy.limits = {std::chrono::milliseconds{20}, std::chrono::milliseconds{200}};
  policy.notice = [&](const std::string& message) { notices.push_back(message); };
  platform::posix::DiskSourceFiles files{{}, policy};
  std::string error = "no error";
  try {
    files.Read(file.string());
  } catch (const host::SourceFileError& failure) {
    error = failure.what();
  }
  ::close(holder);
  EXPECT_EQ(error, file.string() +
                       (locked ? ": is locked by another program, which did not let go of it within "
                               : ": is open for writing in another program, which did not close it "
                                 "within ") +
                       "200 milliseconds");
  EXPECT_EQ(notices, std::vector<std::string>{file.string() +
                                              ": waiting for another program to let go of it (up to 200 "
                                              "milliseconds)"});
}

// A file in a folder that group 4343 may write, run on by root or by user 4444, who is in group 4343:
// the file keeps its owner, group and mode, and the run is refused (`refusal`, after "PATH: ") or
// edits it.
struct SharedFile {
  bool setgidFolder;
  uid_t owner;
  gid_t group;
  mode_t mode;
  bool byColleague;
  std::string refusal;
};

void KeepsItsOwnership(const fs::path& folder, const SharedFile& c) {
  if (::geteuid() != 0) GTEST_SKIP() << "only root can play two users";
  ASSERT_EQ(::chown(folder.c_str(), 0, 4343), 0);
  ASSERT_EQ(::chmod(folder.c_str(), c.setgidFolder ? 02775 : 0775), 0);
  const fs::path file = folder / "Tools.bas";
  test::WriteFile(file, std::string{kModule});
  ASSERT_EQ(::chown(file.c_str(), c.owner, c.group), 0);
  ASSERT_EQ(::chmod(file.c_str(), c.mode), 0);
  const Ran ran = RunProgram({"sub", "A", "--programmer", "T", file.string()},
                             c.byColleague ? BecomeColleague : std::function<void()>{});
  EXPECT_EQ(ran.err, c.refusal.empty() ? "" : "scrivlet: " + file.string() + ": " + c.refusal + "\n");
  EXPECT_EQ(ran.status, c.refusal.empty() ? 0 : 1);
  EXPECT_EQ(Count(test::ReadFile(file), "Sub A( )"), c.refusal.empty() ? 1U : 0U);
  const struct stat info = StatOf(file);
  EXPECT_EQ(info.st_uid, c.owner);
  EXPECT_EQ(info.st_gid, c.group);
  EXPECT_EQ(info.st_mode & 07777, c.mode);
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
    {"sigquit_removes_the_temporary_file", [](const fs::path& folder) { StoppedBySignal(folder, SIGQUIT); }},
    {"in_place_saver_loses_nothing",
     [](const fs::path& folder) { SaverLosesNothing(folder, false, 200, 2000); }},
    {"renaming_saver_loses_nothing",
     [](const fs::path& folder) { SaverLosesNothing(folder, true, 600, 1000); }},
    {"locked_file_waited_for_then_refused", [](const fs::path& folder) { HeldFileRefused(folder, true); }},
    {"file_open_for_writing_waited_for_then_refused",
     [](const fs::path& folder) { HeldFileRefused(folder, false); }},
    {"right_to_write_the_file_itself_is_needed",
     [](const fs::path& folder) {
       KeepsItsOwnership(
           folder, {false, 0, 0, 0644, true, "may not be written: Permission denied; nothing was written"});
     }},
    {"colleagues_file_keeps_its_owner_and_group",
     [](const fs::path& folder) {
       KeepsItsOwnership(folder, {false, 4242, 4343, 0664, true, ""});
     }},
    {"colleagues_setgid_file_keeps_its_owner_group_and_bit",
     [](const fs::path& folder) {
       KeepsItsOwnership(folder, {true, 4242, 4343, 02664, true, ""});
     }},
    {"roots_file_keeps_its_group_in_a_setgid_folder",
     [](const fs::path& folder) {
       KeepsItsOwnership(folder, {true, 0, 0, 0660, false, ""});
     }},
    {"folders_default_access_list_not_given_to_the_file",
     [](const fs::path& folder) {
       std::string list = AccessList();
       if (::setxattr(folder.c_str(), "system.posix_acl_default", list.data(), list.size(), 0) != 0) {
         GTEST_SKIP() << "no access lists here";
       }
       const fs::path file = folder / "Tools.bas";
       test::WriteFile(file, std::string{kModule});
       ::removexattr(file.c_str(), "system.posix_acl_access");
       ASSERT_EQ(::chmod(file.c_str(), 0664), 0);
       ASSERT_EQ(ExitStatusOf(StartSub("Refresh", file.string())), 0);
       EXPECT_EQ(Attribute(file, "system.posix_acl_access"), "(none)");
       EXPECT_EQ(StatOf(file).st_mode & 07777, 0664U);
     }},
    {"hard_links_stay_one_file",
     [](const fs::path& folder) {
       const fs::path file = folder / "H.bas";
       test::WriteFile(file, std::string{kModule});
       fs::create_hard_link(file, folder / "H2.bas");
       ASSERT_EQ(ExitStatusOf(StartSub("Refresh", file.string())), 0);
       EXPECT_TRUE(fs::equivalent(file, folder / "H2.bas"));
       EXPECT_EQ(Count(test::ReadFile(folder / "H2.bas"), "Sub Refresh( )"), 1U);
       EXPECT_EQ(test::Entries(folder), (std::vector<std::string>{"H.bas", "H2.bas"}));
     }},
    {"file_size_limit_is_a_clean_refusal",
     [](const fs::path& folder) {
       const fs::path file = folder / "Big.bas";
       test::WriteFile(file, std::string{kModule} + std::string(4000, '\'') + "\r\n");
       const Ran ran = RunProgram({"sub", "A", file.string()}, [] {
         const rlimit limit{4096, 4096};
         ::setrlimit(RLIMIT_FSIZE, &limit);
       });
       EXPECT_EQ(ran.err, "scrivlet: " + file.string() +
                              ": cannot write the new file: File too large; nothing was written\n");
       EXPECT_EQ(ran.status, 1);
       EXPECT_EQ(test::Entries(folder), std::vector<std::string>{"Big.bas"});
     }},
    {"stopped_after_the_edit_says_it_was_made",
     [](const fs::path& folder) { StoppedBySignal(folder, SIGTERM, SaveStep::kSyncFolder); }},
    {"name_that_is_not_utf8_edited",
     [](const fs::path& folder) {
       const fs::path file = folder / "\xE9t\xE9.bas";
       test::WriteFile(file, std::string{kModule});
       const Ran ran = RunProgram({"sub", "Refresh", "--programmer", "T", file.string()});
       EXPECT_EQ(ran.status, 0) << ran.err;
       EXPECT_EQ(Count(test::ReadFile(file), "Sub Refresh( )"), 1U);
     }},
    // The new routine's CR, before the LF of a blank line, would read as one CR LF with it.
    {"new_line_break_never_runs_into_the_next_one",
     [](const fs::path& folder) {
       const fs::path file = folder / "C.bas";
       test::WriteFile(file, "Attribute VB_Name = \"M\"\rOption Explicit\r\n\nPublic Sub A()\rEnd Sub\r");
       ASSERT_EQ(RunProgram({"sub", "X", "--resume-next", "--programmer", "T", file.string()}).status, 0);
       const std::string text = test::ReadFile(file);
       EXPECT_TRUE(text.starts_with("Attribute VB_Name = \"M\"\rOption Explicit\r\nSub X( )\r'")) << text;
       EXPECT_TRUE(text.ends_with("End Sub\r\n\nPublic Sub A()\rEnd Sub\r")) << text;
     }},
};

class FileSafety : public testing::TestWithParam<SafetyCase> {};

TEST_P(FileSafety, NothingIsLost) {
  const test::TempFolder folder;
  GetParam().check(folder.path());
}

INSTANTIATE_TEST_SUITE_P(Runs, FileSafety, testing::ValuesIn(kSafety),
                         [](const auto& info) { return std::string{info.param.name}; });

}  // namespace
