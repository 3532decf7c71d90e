// bench/scrivlet_bench.cpp: many properties into one module in memory (whole runs are measured by
// bench/versus_floor.cpp).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "bench/big_module.h"
#include "bench/median.h"
#include "generator/ecrire_code.h"
#include "host/source_files/source_code_module.h"
#include "platform/posix/locale_date_formatter.h"
#include "testing/ide/fixed_clock.h"
#include "testing/ide/memory_settings_store.h"
#include "testing/ide/recording_ui.h"

namespace {

// The platform of a generation in memory, on a fixed day.
struct InMemory {
  host::RecordingUi ui;
  host::FixedClock clock{{2026, 12, 6}};
  platform::posix::LocaleDateFormatter dates;
  host::MemorySettingsStore settings;
  host::Platform platform{ui, clock, dates, settings};
};

// Successive read-write properties with PropertyChanged into one user control held in memory.
void AddProperties(long count, const std::string& text, const host::Platform& platform) {
  host::SourceCodeModule module{text, host::SourceKind::kDescribedModule};
  for (long i = 0; i < count; ++i) {
    generator::Request request;
    request.sNom_Propriete = "Prop" + std::to_string(i);
    request.sNomVariable = "Value" + std::to_string(i);
    request.sTypeVariable = "Long";
    request.bProp_Changed = true;
    request.sUsage = "Description of its utility";
    request.sNomutilisateur = "Bench";
    generator::EcrireCode(request, module, platform);
  }
  benchmark::DoNotOptimize(module.CountOfLines());
}

void BM_PropertiesIntoOneModule(benchmark::State& state) {
  InMemory services;
  const std::string text = bench::SmallUserControl();
  for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores): the loop variable is unused
    AddProperties(state.range(0), text, services.platform);
  }
  if (!services.ui.messages().empty()) state.SkipWithError("the generator reported a failure");
}
BENCHMARK(BM_PropertiesIntoOneModule)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

// 1,000 properties against 100, timed one right after the other in each iteration (each going first
// every other time), so that a machine whose speed drifts from second to second weighs on both
// alike: the median of the pairs' ratios, and their lowest and highest.
void BM_PropertiesPaired(benchmark::State& state) {
  InMemory services;
  const std::string text = bench::SmallUserControl();
  const auto seconds = [&](long count) {
    const auto start = std::chrono::steady_clock::now();
    AddProperties(count, text, services.platform);
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  };
  std::vector<double> ratios;
  for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores): the loop variable is unused
    const bool smallFirst = ratios.size() % 2 == 0;
    const double first = seconds(smallFirst ? 100 : 1000);
    const double second = seconds(smallFirst ? 1000 : 100);
    ratios.push_back(smallFirst ? second / first : first / second);
  }
  if (!ratios.empty()) {
    const auto [lowest, highest] = std::minmax_element(ratios.begin(), ratios.end());
    state.counters["ratio"] = bench::Median(ratios);
    state.counters["lowest"] = *lowest;
    state.counters["highest"] = *highest;
    state.counters["pairs"] = static_cast<double>(ratios.size());
  }
  if (!services.ui.messages().empty()) state.SkipWithError("the generator reported a failure");
}
BENCHMARK(BM_PropertiesPaired)->Unit(benchmark::kMillisecond);

// What a run does with the largest file VB6 loads, apart from the disk: its lines read, its routines
// mapped, one property added, and the pieces of the new text.
void BM_LargestModuleInMemory(benchmark::State& state) {
  InMemory services;
  const host::Platform& platform = services.platform;
  const std::string text = bench::BigUserControl(65534 - 83);  // 65,534 lines with the property
  generator::Request request;
  request.sNom_Propriete = "Title";
  request.sNomVariable = "NewTitle";
  request.bProp_Changed = true;
  request.sUsage = "Description of its utility";
  request.sNomutilisateur = "Bench";
  for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores): the loop variable is unused
    const auto module = std::make_shared<host::SourceCodeModule>(
        host::BorrowedText{text}, host::SourceKind::kDescribedModule, host::ComponentType::kUserControl);
    generator::EcrireCode(request, *module, platform);
    benchmark::DoNotOptimize(module->Pieces());
  }
  if (!services.ui.messages().empty()) state.SkipWithError("the generator reported a failure");
}
BENCHMARK(BM_LargestModuleInMemory)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
