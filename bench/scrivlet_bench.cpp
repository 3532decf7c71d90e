// bench/scrivlet_bench.cpp: (1) one scrivlet run on the largest module VB6 accepts, against the floor
// for a safe in-place edit, a durable copy of the same file; (2) many properties into one module.
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench/big_module.h"
#include "generator/ecrire_code.h"
#include "host/builtin_ide/fixed_clock.h"
#include "host/builtin_ide/memory_settings_store.h"
#include "host/builtin_ide/recording_ui.h"
#include "host/source_files/source_code_module.h"
#include "platform/posix/locale_date_formatter.h"

extern char** environ;  // NOLINT(readability-redundant-declaration): POSIX leaves it undeclared

namespace {

constexpr long kLargestModule = 65534;

std::string Folder() {
  static const std::string folder = [] {
    std::string pattern = "/tmp/scrivlet-bench-XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot create a temporary folder");
    return pattern;
  }();
  return folder;
}

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out.flush()) throw std::runtime_error("cannot write " + path);
}

const std::string& BigFile() {
  static const std::string path = [] {
    std::string file = Folder() + "/Big.ctl";
    WriteFile(file, bench::BigUserControl(kLargestModule));
    return file;
  }();
  return path;
}

// Runs a program to its end; the seconds it took.
double RunProgram(std::vector<std::string> arguments) {
  std::vector<char*> argv;
  argv.reserve(arguments.size() + 1);
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);
  const auto start = std::chrono::steady_clock::now();
  pid_t child = 0;
  if (::posix_spawn(&child, argv[0], nullptr, nullptr, argv.data(), environ) != 0) {
    throw std::runtime_error("cannot start " + arguments[0]);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  const auto end = std::chrono::steady_clock::now();
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) throw std::runtime_error(arguments[0] + " failed");
  return std::chrono::duration<double>(end - start).count();
}

// One property with PropertyChanged into a fresh copy of the 65,534-line control, as a whole process.
void BM_ScrivletPropertyChanged(benchmark::State& state) {
  const std::string work = Folder() + "/Work.ctl";
  for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores): the loop variable is unused
    RunProgram({"/bin/cp", BigFile(), work});
    state.SetIterationTime(RunProgram({SCRIVLET_PROGRAM, "property", "Title", "--variable", "NewTitle",
                                       "--changed", "--programmer", "Bench", work}));
  }
}
BENCHMARK(BM_ScrivletPropertyChanged)->UseManualTime()->Unit(benchmark::kMillisecond);

// Reading the same file, writing it and making it durable: the floor for a safe in-place edit.
void BM_DurableCopy(benchmark::State& state) {
  const std::string copy = Folder() + "/Copy.ctl";
  for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores): the loop variable is unused
    state.SetIterationTime(
        RunProgram({"/bin/dd", "if=" + BigFile(), "of=" + copy, "conv=fsync", "status=none"}));
  }
}
BENCHMARK(BM_DurableCopy)->UseManualTime()->Unit(benchmark::kMillisecond);

// Successive read-write properties with PropertyChanged into one user control held in memory.
void BM_PropertiesIntoOneModule(benchmark::State& state) {
  host::RecordingUi ui;
  host::FixedClock clock{{2026, 12, 6}};
  platform::posix::LocaleDateFormatter dates;
  host::MemorySettingsStore settings;
  const host::Platform platform{ui, clock, dates, settings};
  const std::string text = bench::SmallUserControl();
  for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores): the loop variable is unused
    host::SourceCodeModule module{text, host::SourceKind::kDescribedModule};
    for (long i = 0; i < state.range(0); ++i) {
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
  if (!ui.messages().empty()) state.SkipWithError("the generator reported a failure");
}
BENCHMARK(BM_PropertiesIntoOneModule)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
