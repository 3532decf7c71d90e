// tests/generator/alloc_sweep_test.cpp: a whole read-write property generation while the N-th
// allocation fails, for N = 1, 2, ... until a run completes; never a crash, an escape or a leak,
// and each builder's failure gives exactly its own box and its own fallback text.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>

#include "testing/ide/memory_code_module.h"
#include "tests/generator/generator_fixture.h"
#include "tests/generator/recording_module.h"
#include "tests/support/alloc_faults.h"
#include "tests/support/visible.h"

namespace {

using generator::Request;

void FillRequest(Request& request) {
  request.sNom_Propriete = "Title";
  request.sNomVariable = "NewTitle";
  request.sTypeVariable = "String";
  request.sUsage = "Description of its utility\r\n";
  request.sNomutilisateur = "My name";
  request.bProp_Changed = true;
}

// The routine text `complete` as it reads when the builder named `title` fails once and hands back
// its fallback.
std::vector<std::string> WithFallback(const std::string& complete, const std::string& title) {
  const std::size_t declarationEnd = complete.find('\r');
  // The header's last CR ends its closing rule line (its usage line may hold breaks of its own).
  const std::size_t closingRule = complete.find(test::kStars, complete.find(test::kStars) + 1);
  const std::size_t headerEnd = complete.find('\r', closingRule);
  if (title == "CreerEntete") return {complete.substr(declarationEnd)};
  if (title == "Description") {
    return {complete.substr(0, declarationEnd + 1) + "'-Erreur Description - " +
            complete.substr(headerEnd + 1)};
  }
  if (title == "CreerCorps") return {complete.substr(0, headerEnd + 2)};
  return {};
}

TEST(AllocationSweep, EachTransientFailureGivesOneBoxAndItsFallback) {
  std::vector<test::HandedText> reference;
  {
    test::TestPlatform platform;
    generator::Request request;
    FillRequest(request);
    test::RecordingModule module{"Option Explicit\r\n"};
    generator::EcrireCode(request, module, platform.platform());
    ASSERT_TRUE(platform.ui.messages().empty());
    reference = module.handed();
  }

  std::map<std::string, int> boxes;  // title: how many runs showed it
  for (long n = 0;; ++n) {
    SCOPED_TRACE(testing::Message() << "allocation " << n + 1);
    test::TestPlatform platform;
    generator::Request request;
    FillRequest(request);
    test::RecordingModule module{"Option Explicit\r\n"};
    test::ArmAllocFault(n, false);
    generator::EcrireCode(request, module,
                          platform.platform());  // noexcept: an escaping exception would end the program here
    if (!test::DisarmAllocFault()) {
      EXPECT_EQ(module.handed(), reference);
      EXPECT_TRUE(platform.ui.messages().empty());
      break;
    }
    if (platform.ui.messages().empty()) {
      // The failure hit a cache of the module that is worked out again: the generation is whole.
      EXPECT_EQ(module.handed(), reference);
      continue;
    }
    ASSERT_EQ(platform.ui.messages().size(), 1U);
    const host::ShownMessage& box = platform.ui.messages()[0];
    EXPECT_EQ(box.text, "Out of memory");
    ++boxes[box.title];
    const std::vector<test::HandedText>& handed = module.handed();
    ASSERT_LE(handed.size(), reference.size());
    if (box.title == "EcrireCode" || box.title == "CreerVariable_Module") {
      // The generation stopped at the failing step; what was handed over before it is unchanged.
      for (std::size_t i = 0; i < handed.size(); ++i) EXPECT_EQ(handed[i], reference[i]) << i;
      continue;
    }
    // A builder's failure does not stop the generation: every text is handed over, one of them
    // with the builder's fallback in place of its piece.
    ASSERT_EQ(handed.size(), reference.size()) << box.title;
    int changed = 0;
    for (std::size_t i = 0; i < handed.size(); ++i) {
      // A routine without its declaration line shifts where later lines land, not what they are.
      EXPECT_EQ(handed[i].call.substr(0, 11), reference[i].call.substr(0, 11));
      if (handed[i].text == reference[i].text) continue;
      ++changed;
      const std::vector<std::string> allowed = WithFallback(reference[i].text, box.title);
      EXPECT_NE(std::find(allowed.begin(), allowed.end(), handed[i].text), allowed.end())
          << box.title << " gave:\n"
          << test::Visible(handed[i].text);
    }
    EXPECT_EQ(changed, 1) << box.title;
  }
  // Every trap of the property path was reached by some failure.
  for (const char* title :
       {"EcrireCode", "CreerEntete", "Description", "CreerCorps", "CreerVariable_Module"}) {
    EXPECT_GT(boxes[title], 0) << title;
  }
}

TEST(AllocationSweep, PersistentFailureLeavesTheModuleAsBeforeTheFailingStep) {
  std::vector<std::string> snapshots;
  std::string complete;
  {
    test::TestPlatform platform;
    generator::Request request;
    FillRequest(request);
    test::RecordingModule reference{"Option Explicit\r\n"};
    generator::EcrireCode(request, reference, platform.platform());
    ASSERT_TRUE(platform.ui.messages().empty());
    snapshots = reference.snapshots();
    complete = reference.inner().Text();
  }

  long runs = 0;
  for (long n = 0;; ++n) {
    SCOPED_TRACE(testing::Message() << "allocation " << n + 1 << " and later");
    test::TestPlatform platform;
    generator::Request request;
    FillRequest(request);
    host::MemoryCodeModule module{"Option Explicit\r\n"};
    test::ArmAllocFault(n, true);
    generator::EcrireCode(request, module, platform.platform());
    if (!test::DisarmAllocFault()) {
      EXPECT_EQ(module.Text(), complete);
      EXPECT_TRUE(platform.ui.messages().empty());
      break;
    }
    ++runs;
    if (platform.ui.shown() == 0) {
      // The failure hit a cache of the module that is worked out again: the generation is whole.
      EXPECT_EQ(module.Text(), complete);
      continue;
    }
    // Nothing can be handed over after the first failure: the module holds what came before it.
    EXPECT_NE(std::find(snapshots.begin(), snapshots.end(), module.Text()), snapshots.end());
  }
  EXPECT_GT(runs, 100);
}

}  // namespace
