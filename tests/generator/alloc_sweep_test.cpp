// tests/generator/alloc_sweep_test.cpp: a whole read-write property generation while the N-th
// allocation fails, for N = 1, 2, ... until a run completes; never a crash, an escape or a leak.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "host/memory_code_module.h"
#include "tests/generator/generator_fixture.h"
#include "tests/generator/recording_module.h"
#include "tests/support/alloc_faults.h"

namespace {

using generator::CEcrireCode;

void FillRequest(CEcrireCode& request) {
  request.Nom_Propriete("Title");
  request.NomVariable("NewTitle");
  request.TypeVariable("String");
  request.Usage("Description of its utility\r\n");
  request.NomUtilisateur("My name");
  request.Prop_Changed(true);
}

const std::set<std::string> kTrapTitles = {"EcrireCode", "CreerEntete",          "Description",
                                           "CreerCorps", "CreerVariable_Module", "CreerEtoiles"};

class AllocationSweep : public ::testing::TestWithParam<bool> {};

TEST_P(AllocationSweep, EveryFailureIsTrapped) {
  const bool persistent = GetParam();
  std::vector<std::string> snapshots;
  std::string complete;
  {
    test::TestPlatform platform;
    CEcrireCode request{platform.platform()};
    FillRequest(request);
    test::RecordingModule reference{"Option Explicit\r\n"};
    request.EcrireCode(reference);
    ASSERT_TRUE(platform.ui.messages().empty());
    snapshots = reference.snapshots();
    complete = reference.inner().Text();
  }

  long runs = 0;
  for (long n = 0;; ++n) {
    SCOPED_TRACE(testing::Message() << "allocation " << n + 1 << (persistent ? " and later" : ""));
    test::TestPlatform platform;
    CEcrireCode request{platform.platform()};
    FillRequest(request);
    host::MemoryCodeModule module{"Option Explicit\r\n"};
    test::ArmAllocFault(n, persistent);
    request.EcrireCode(module);  // noexcept: an escaping exception would end the program here
    const bool fired = test::DisarmAllocFault();
    if (!fired) {
      EXPECT_EQ(module.Text(), complete);
      EXPECT_TRUE(platform.ui.messages().empty());
      break;
    }
    ++runs;
    // A trapped failure shows at least one box, even when recording it could not allocate.
    EXPECT_GE(platform.ui.shown(), 1);
    for (const host::ShownMessage& message : platform.ui.messages()) {
      EXPECT_EQ(message.text, "Out of memory");
      EXPECT_EQ(kTrapTitles.count(message.title), 1U) << message.title;
    }
    if (persistent) {
      // Nothing can be handed over after the first failure: the module holds what came before it.
      EXPECT_NE(std::find(snapshots.begin(), snapshots.end(), module.Text()), snapshots.end());
    }
  }
  EXPECT_GT(runs, 100);
}

INSTANTIATE_TEST_SUITE_P(Generator, AllocationSweep, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "persistent" : "transient"; });

}  // namespace
