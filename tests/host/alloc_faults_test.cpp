// Checks the host layer when memory runs out: each allocation failing in turn leaves no half-done edit.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <new>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "host/host_error.h"
#include "platform/posix/ini_settings_store.h"
#include "platform/posix/locale_date_formatter.h"
#include "platform/posix/stderr_ui.h"
#include "testing/ide/memory_code_module.h"
#include "testing/ide/recording_ui.h"
#include "tests/support/alloc_faults.h"
#include "tests/support/scoped_env.h"
#include "tests/support/temp_folder.h"

namespace {

namespace fs = std::filesystem;
using host::MemoryCodeModule;
using host::ProcKind;
using test::Entries;
using test::ReadFile;
using test::TempFolder;

// No sweep below needs anywhere near this many allocations; reaching it means the sweep never ends.
constexpr long kMostAllocations = 100000;

const std::string kModuleText = "Option Explicit\r\n\r\n' about Main\r\nSub Main()\r\nEnd Sub";

// Runs `edit` with the allocation after `n` successful ones failing. Tells whether a failure was
// injected; `edit` must then have thrown std::bad_alloc, which it reports through `threw`.
template <class Edit>
bool RunWithFault(long n, Edit&& edit, bool& threw) {
  threw = false;
  test::ArmAllocFault(n, false);
  try {
    edit();
  } catch (const std::bad_alloc&) {
    threw = true;
  }
  return test::DisarmAllocFault();
}

struct EditCase {
  const char* label;
  void (*edit)(MemoryCodeModule&);
  const char* after;  // the module's text once the edit is done
  long mainStart;     // where Main starts then
};

void PrintTo(const EditCase& c, std::ostream* os) {
  *os << c.label;
}

class ModuleEditSweepTest : public testing::TestWithParam<EditCase> {};

TEST_P(ModuleEditSweepTest, FailedEditChangesNothing) {
  const EditCase& c = GetParam();
  for (long n = 0;; ++n) {
    ASSERT_LT(n, kMostAllocations);
    MemoryCodeModule module{kModuleText};
    // The routine map is built before the edit, so that a failed edit must not leave it stale.
    ASSERT_EQ(module.ProcStartLine("Main", ProcKind::kProc), 2L);
    bool threw = false;
    const bool fired = RunWithFault(
        n, [&] { c.edit(module); }, threw);
    SCOPED_TRACE("allocation " + std::to_string(n));
    if (!fired) {
      EXPECT_FALSE(threw);
      EXPECT_EQ(module.Text(), c.after);
      break;
    }
    if (!threw) {
      // The failure hit the routine map's update, which is dropped and worked out again: the edit
      // is whole and the map right.
      EXPECT_EQ(module.Text(), c.after);
      EXPECT_EQ(module.ProcStartLine("Main", ProcKind::kProc), c.mainStart);
      continue;
    }
    EXPECT_EQ(module.Text(), kModuleText);
    EXPECT_EQ(module.ProcStartLine("Main", ProcKind::kProc), 2L);
    EXPECT_EQ(module.ProcBodyLine("Main", ProcKind::kProc), 4L);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Edits, ModuleEditSweepTest,
    testing::Values(
        EditCase{"InsertLines",
                 [](MemoryCodeModule& m) { m.InsertLines(3L, "Private a As Long\r\nPrivate b As Long"); },
                 "Option Explicit\r\n\r\nPrivate a As Long\r\nPrivate b As Long\r\n' about Main\r\nSub "
                 "Main()\r\nEnd Sub",
                 5L},
        EditCase{"AddFromString", [](MemoryCodeModule& m) { m.AddFromString("Private a As Long\r\n"); },
                 "Option Explicit\r\nPrivate a As Long\r\n\r\n\r\n' about Main\r\nSub Main()\r\nEnd Sub",
                 3L}),
    [](const testing::TestParamInfo<EditCase>& info) { return std::string{info.param.label}; });

TEST(RecordingUiAllocTest, NeverThrowsAndCountsWhatItCouldNotKeep) {
  host::RecordingUi ui;
  ui.MsgBox("kept", "Title");
  test::ArmAllocFault(0, true);
  ui.MsgBox("A message long enough not to fit in a short-string buffer", "");
  ui.MsgBox("Another message long enough not to fit in a short-string buffer", "Title");
  const bool fired = test::DisarmAllocFault();
  EXPECT_TRUE(fired);
  EXPECT_EQ(ui.shown(), 3);
  EXPECT_EQ(ui.dropped(), 2);
  ASSERT_EQ(ui.messages().size(), 1U);
  EXPECT_EQ(ui.messages()[0].text, "kept");
}

TEST(StderrUiAllocTest, WritesItsLineWithoutAllocating) {
  std::FILE* file = std::tmpfile();
  ASSERT_NE(file, nullptr);
  std::fflush(stderr);
  const int saved = ::dup(STDERR_FILENO);
  ASSERT_GE(saved, 0);
  ASSERT_GE(::dup2(::fileno(file), STDERR_FILENO), 0);

  platform::posix::StderrUi ui;
  test::ArmAllocFault(0, true);
  ui.MsgBox("Out of memory.", "");
  const bool fired = test::DisarmAllocFault();

  std::fflush(stderr);
  ::dup2(saved, STDERR_FILENO);
  ::close(saved);
  std::rewind(file);
  char buffer[64] = {};
  const std::size_t size = std::fread(buffer, 1, sizeof buffer - 1, file);
  std::fclose(file);
  EXPECT_FALSE(fired);
  EXPECT_EQ(std::string(buffer, size), "Scrivlet: Out of memory.\n");
}

// Saving rewrites the whole file: whatever allocation fails, the file holds either every old setting or
// every old setting and the new one, and no temporary file is left.
// An allocation that fails while the old file is read must not make it read as empty.
TEST(IniSettingsStoreAllocTest, FailedSaveKeepsTheOldFile) {
  const std::string before = "[Scrivlet\\Options]\nAuthor=Jo\nCompany=Penwright\n";
  const std::string after = "[Scrivlet\\Options]\nAuthor=Jo\nCompany=Penwright\nDate=1\n";
  TempFolder folder;
  const fs::path path = folder.path() / "settings.ini";
  for (long n = 0;; ++n) {
    ASSERT_LT(n, kMostAllocations);
    {
      std::ofstream out{path, std::ios::binary | std::ios::trunc};
      out << before;
    }
    platform::posix::IniSettingsStore store{path};
    bool threw = false;
    const bool fired = RunWithFault(
        n, [&] { store.SaveSetting("Scrivlet", "Options", "Date", "1"); }, threw);
    SCOPED_TRACE("allocation " + std::to_string(n));
    const std::string text = ReadFile(path);
    EXPECT_EQ(Entries(folder.path()), std::vector<std::string>{"settings.ini"});
    if (!fired) {
      EXPECT_FALSE(threw);
      EXPECT_EQ(text, after);
      break;
    }
    EXPECT_TRUE(threw);
    EXPECT_EQ(text, before);
  }
}

TEST(LocaleDateFormatterAllocTest, FailsCleanly) {
  const test::ScopedEnv all{"LC_ALL", "C"};
  const platform::posix::LocaleDateFormatter formatter;
  for (long n = 0;; ++n) {
    ASSERT_LT(n, kMostAllocations);
    std::string text;
    bool threw = false;
    const bool fired = RunWithFault(
        n,
        [&] {
          text = formatter.Format({2026, 12, 6}, host::kCreationDatePattern);
        },
        threw);
    if (!fired) {
      EXPECT_EQ(text, "Sunday 06 December 2026");
      break;
    }
    EXPECT_TRUE(threw) << "allocation " << n;
  }
}

}  // namespace
