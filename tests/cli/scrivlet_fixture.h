// tests/cli/scrivlet_fixture.h: runs the scrivlet command line in-process on files in a folder of the
// test's own, over the platform's files, code pages and dates.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "cli/scrivlet_command.h"
#include "testing/ide/fixed_clock.h"
#include "testing/ide/memory_settings_store.h"
#include "tests/cli/cli_platform.h"
#include "tests/support/temp_folder.h"

namespace test {

// A standard module whose declarations end with a constant; generated routines go after line 4.
inline constexpr std::string_view kToolsHead =
    "Attribute VB_Name = \"Tools\"\n"
    "Option Explicit\n"
    "\n"
    "Private Const LIMIT As Long = 10\n";
inline constexpr std::string_view kToolsTail =
    "\n"
    "Public Sub Main()\n"
    "    Debug.Print LIMIT\n"
    "End Sub\n";

// Tools with CR LF line breaks, as VB6 saves it.
std::string Tools();

// The user control most cases start from: a hidden header (lines 1 to 9), an Event with its
// Attribute line (11, 12), a Property Get with its Attribute line (15 to 18), a Function (20 to 22)
// and a Sub (24 to 26); no persistence procedures yet.
std::string Meter();

struct Result {
  int code = -1;
  std::string out;
  std::string err;
};

class ScrivletTest : public testing::Test {
 protected:
  // Runs the command with `arguments`; a trailing FILE argument is the caller's to give.
  Result Run(const std::vector<std::string>& arguments);

  // Writes `bytes` to `name` in the test's folder and gives its path.
  std::string Put(const std::string& name, const std::string& bytes);

  // Only `name` is in the folder: no temporary file was left behind.
  void ExpectAlone(const std::string& name);

  CliPlatform platform_;
  TempFolder folder_;
  host::MemorySettingsStore memorySettings_;
  host::FixedClock fixedClock_{{2026, 12, 6}};
  host::SettingsStore* settings_ = &memorySettings_;
  const host::Clock* clock_ = &fixedClock_;
  const host::DateFormatter* dates_ = &platform_.dates();
  host::SourceFiles* files_ = &platform_.files();
};

template <typename Case>
std::string Label(const testing::TestParamInfo<Case>& info) {
  return info.param.label;
}

}  // namespace test
