// tests/generator/module_kinds_test.cpp: PropertyChanged by the kind of module, in the built-in IDE.
#include <gtest/gtest.h>

#include "generator/ecrire_code.h"
#include "testing/ide/memory_code_module.h"
#include "tests/generator/generator_fixture.h"
#include "tests/generator/module_kinds.h"
#include "tests/support/golden.h"

namespace {

class ModuleKind : public testing::TestWithParam<test::ModuleKindCase> {};

TEST_P(ModuleKind, WritesTheBagOfItsObjectOrNothing) {
  const test::ModuleKindCase& c = GetParam();
  test::TestPlatform platform;
  host::MemoryCodeModule module{test::kModuleKindsStart};
  module.SetComponent(c.type, c.persistable);
  generator::EcrireCode(test::ModuleKindsRequest(), module, platform.platform());
  if (c.bagObject != nullptr) {
    EXPECT_EQ(module.Text(), test::ModuleKindExpected(c));
    EXPECT_TRUE(platform.ui.messages().empty());
  } else {
    EXPECT_EQ(module.Text(), test::kModuleKindsStart);
    EXPECT_EQ(platform.ui.messages(),
              (std::vector<host::ShownMessage>{{std::string{test::kModuleKindRefusal}, "EcrireCode"}}));
  }
}

INSTANTIATE_TEST_SUITE_P(Generator, ModuleKind, testing::ValuesIn(test::ModuleKinds()),
                         [](const auto& info) { return std::string{info.param.name}; });

// An IDE that cannot say what the module is may hold a user control: the bag is the control's.
TEST(ModuleKindUnknown, WritesTheUserControlsBag) {
  test::TestPlatform platform;
  host::MemoryCodeModule module{test::kModuleKindsStart};
  generator::EcrireCode(test::ModuleKindsRequest(), module, platform.platform());
  EXPECT_TRUE(test::MatchesGolden("module_kinds/user_control.bas", module.Text()));
}

}  // namespace
