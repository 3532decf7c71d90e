// tests/cli/module_kinds_test.cpp: PropertyChanged by the kind of module, on the files VB6 saves.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "cli/scrivlet_command.h"
#include "testing/ide/fixed_clock.h"
#include "testing/ide/memory_settings_store.h"
#include "tests/cli/cli_platform.h"
#include "tests/generator/module_kinds.h"
#include "tests/support/golden.h"
#include "tests/support/temp_folder.h"

namespace {

class ModuleKindFile : public testing::TestWithParam<test::ModuleKindCase> {};

TEST_P(ModuleKindFile, WritesTheBagOfItsObjectOrLeavesTheFile) {
  const test::ModuleKindCase& c = GetParam();
  test::CliPlatform platform;
  const test::TempFolder folder;
  const std::string path = (folder.path() / (std::string{"Tools"} + c.extension)).string();
  const std::string original = std::string{c.header} + std::string{test::kModuleKindsStart};
  test::WriteFile(path, original);

  std::ostringstream out;
  std::ostringstream err;
  host::MemorySettingsStore settings;
  const host::FixedClock clock{{2026, 12, 6}};
  cli::CommandServices services{
      out, err, settings, clock, platform.dates(), platform.files(), platform.codePages(), "SETTINGS"};
  const std::vector<std::string> arguments{"property", "Font",  "--variable", "NewFont", "--type",
                                           "StdFont",  "--set", "--changed",  path};
  const int code = cli::RunScrivlet(arguments, services);

  if (c.bagObject != nullptr) {
    EXPECT_EQ(code, cli::kSuccess);
    EXPECT_EQ(err.str(), "");
    EXPECT_EQ(test::ReadFile(path), c.header + test::ModuleKindExpected(c));
  } else {
    EXPECT_EQ(code, cli::kFailure);
    EXPECT_EQ(err.str(), "scrivlet: EcrireCode: " + std::string{test::kModuleKindRefusal} + "\n");
    EXPECT_EQ(test::ReadFile(path), original);
  }
  EXPECT_EQ(test::Entries(folder.path()), std::vector<std::string>{"Tools" + std::string{c.extension}});
}

INSTANTIATE_TEST_SUITE_P(CommandLine, ModuleKindFile, testing::ValuesIn(test::ModuleKinds()),
                         [](const auto& info) { return std::string{info.param.name}; });

}  // namespace
