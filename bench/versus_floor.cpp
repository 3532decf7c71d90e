// bench/versus_floor.cpp: whole scrivlet runs against the safe-edit floor (bench/safe_edit_floor.c),
// the two alternated round by round in one run so that both meet the same load, with dd conv=fsync
// of the same file for reference and scrivlet's peak memory.
//
//   scrivlet_versus_floor [ROUNDS]
#include <spawn.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "bench/big_module.h"
#include "bench/median.h"

extern char** environ;  // NOLINT(readability-redundant-declaration): POSIX leaves it undeclared

namespace {

constexpr long kLargestModule = 65534;
constexpr long kCommonModule = 1000;
constexpr int kLoopFiles = 200;

struct Run {
  double seconds = 0;
  double processorSeconds = 0;  // user and system
};

double Seconds(const timeval& time) {
  return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) * 1e-6;
}

std::vector<char*> Argv(std::vector<std::string>& arguments) {
  std::vector<char*> argv;
  argv.reserve(arguments.size() + 1);
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);
  return argv;
}

// Runs a program to its end.
Run RunProgram(std::vector<std::string> arguments) {
  const std::vector<char*> argv = Argv(arguments);
  const auto start = std::chrono::steady_clock::now();
  pid_t child = 0;
  if (::posix_spawn(&child, argv[0], nullptr, nullptr, argv.data(), environ) != 0) {
    throw std::runtime_error("cannot start " + arguments[0]);
  }
  int status = 0;
  struct rusage usage {};
  ::wait4(child, &status, 0, &usage);
  const auto end = std::chrono::steady_clock::now();
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) throw std::runtime_error(arguments[0] + " failed");
  return {std::chrono::duration<double>(end - start).count(),
          Seconds(usage.ru_utime) + Seconds(usage.ru_stime)};
}

// The peak memory of a program's run, in kilobytes. The system counts in a process's peak the memory
// of the process it was started from, up to the exec: a program started from this large one would be
// charged for it. So this program starts itself afresh, small, and that copy starts the program.
long PeakKilobytes(const std::vector<std::string>& arguments) {
  std::vector<std::string> launcher{"/proc/self/exe", "--peak-kilobytes"};
  launcher.insert(launcher.end(), arguments.begin(), arguments.end());
  const std::vector<char*> argv = Argv(launcher);
  std::array<int, 2> channel{};
  if (::pipe(channel.data()) != 0) throw std::runtime_error("cannot make a pipe");
  posix_spawn_file_actions_t actions;
  ::posix_spawn_file_actions_init(&actions);
  ::posix_spawn_file_actions_adddup2(&actions, channel[1], STDOUT_FILENO);
  ::posix_spawn_file_actions_addclose(&actions, channel[0]);
  pid_t child = 0;
  const int spawned = ::posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ);
  ::posix_spawn_file_actions_destroy(&actions);
  ::close(channel[1]);
  std::string answer;
  std::array<char, 64> buffer{};
  for (ssize_t n = 0; spawned == 0 && (n = ::read(channel[0], buffer.data(), buffer.size())) > 0;) {
    answer.append(buffer.data(), static_cast<std::size_t>(n));
  }
  ::close(channel[0]);
  int status = 0;
  if (spawned == 0) ::waitpid(child, &status, 0);
  if (spawned != 0 || !WIFEXITED(status) || WEXITSTATUS(status) != 0 || answer.empty()) {
    throw std::runtime_error(arguments[0] + " failed");
  }
  return std::stol(answer);
}

// The small copy: runs the program in a process of its own and prints its peak memory.
int ReportPeakKilobytes(char** argv) {
  const pid_t child = ::fork();
  if (child == 0) {
    ::execv(argv[0], argv);
    ::_exit(127);
  }
  int status = 0;
  struct rusage usage {};
  if (child < 0 || ::wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) ||
      WEXITSTATUS(status) != 0) {
    return 1;
  }
  std::printf("%ld\n", usage.ru_maxrss);
  return 0;
}

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out.flush()) throw std::runtime_error("cannot write " + path);
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

long LinesOf(const std::string& text) {
  return static_cast<long>(std::count(text.begin(), text.end(), '\n'));
}

// The program measured: the one built beside this one, or another build named by SCRIVLET_UNDER_TEST
// (to compare two versions on the same load).
std::string Scrivlet() {
  const char* other = std::getenv("SCRIVLET_UNDER_TEST");
  return other != nullptr && *other != '\0' ? other : SCRIVLET_PROGRAM;
}

std::vector<std::string> ScrivletEdit(const std::string& file) {
  return {Scrivlet(),  "property",     "Title", "--variable", "NewTitle",
          "--changed", "--programmer", "Bench", file};
}

// The lowest and the highest value, times `scale`.
std::string Spread(std::vector<double> values, double scale) {
  const auto [low, high] = std::minmax_element(values.begin(), values.end());
  std::array<char, 64> buffer{};
  std::snprintf(buffer.data(), buffer.size(), "%.2f to %.2f", *low * scale, *high * scale);
  return buffer.data();
}

class Bench {
 public:
  Bench() {
    std::string pattern = "/tmp/scrivlet-versus-floor-XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot create a temporary folder");
    folder_ = pattern;
  }
  Bench(const Bench&) = delete;
  Bench& operator=(const Bench&) = delete;
  ~Bench() { RunProgram({"/bin/rm", "-rf", folder_}); }

  const std::string& folder() const { return folder_; }

  // The lines one edit adds, found by making it once.
  long AddedLines() {
    const std::string probe = folder_ + "/Probe.ctl";
    const std::string before = bench::BigUserControl(kCommonModule);
    WriteFile(probe, before);
    RunProgram(ScrivletEdit(probe));
    return LinesOf(ReadFile(probe)) - LinesOf(before);
  }

 private:
  std::string folder_;
};

struct Case {
  std::string name;
  std::string original;            // the bytes each round starts from
  std::vector<std::string> files;  // edited one after another, each by a process of its own
};

struct Timings {
  std::vector<double> scrivlet, floor, ratio, dd;
  std::vector<double> scrivletProcessor, floorProcessor;
};

void Restore(const Case& c) {
  for (const std::string& file : c.files) WriteFile(file, c.original);
}

Run TimeLoop(const Case& c, bool scrivlet) {
  Restore(c);
  Run total;
  for (const std::string& file : c.files) {
    const Run run =
        RunProgram(scrivlet ? ScrivletEdit(file) : std::vector<std::string>{SAFE_EDIT_FLOOR, file});
    total.seconds += run.seconds;
    total.processorSeconds += run.processorSeconds;
  }
  return total;
}

Timings Measure(const Case& c, int rounds, bool withDd) {
  Timings t;
  for (int round = 0; round < rounds; ++round) {
    Run scrivlet;
    Run floor;
    // Each goes first every other round, so that neither always meets a cache the other warmed.
    if (round % 2 == 0) {
      scrivlet = TimeLoop(c, true);
      floor = TimeLoop(c, false);
    } else {
      floor = TimeLoop(c, false);
      scrivlet = TimeLoop(c, true);
    }
    t.scrivlet.push_back(scrivlet.seconds);
    t.floor.push_back(floor.seconds);
    t.ratio.push_back(scrivlet.seconds / floor.seconds);
    t.scrivletProcessor.push_back(scrivlet.processorSeconds);
    t.floorProcessor.push_back(floor.processorSeconds);
    if (withDd) {
      Restore(c);
      const std::string copy = c.files.front() + ".copy";
      t.dd.push_back(
          RunProgram({"/bin/dd", "if=" + c.files.front(), "of=" + copy, "conv=fsync", "status=none"})
              .seconds);
    }
  }
  return t;
}

void Report(const Case& c, const Timings& t, double goal) {
  std::printf("%s\n", c.name.c_str());
  std::printf("  scrivlet          %8.2f ms  (%s)\n", bench::Median(t.scrivlet) * 1e3,
              Spread(t.scrivlet, 1e3).c_str());
  std::printf("  safe-edit floor   %8.2f ms  (%s)\n", bench::Median(t.floor) * 1e3,
              Spread(t.floor, 1e3).c_str());
  if (!t.dd.empty())
    std::printf("  dd conv=fsync     %8.2f ms  (%s)\n", bench::Median(t.dd) * 1e3, Spread(t.dd, 1e3).c_str());
  std::printf("  ratio             %8.2f     (%s; goal at most %.1f)\n", bench::Median(t.ratio),
              Spread(t.ratio, 1).c_str(), goal);
  std::printf("  processor time    %8.2f ms  (the floor %.2f ms; user and system)\n",
              bench::Median(t.scrivletProcessor) * 1e3, bench::Median(t.floorProcessor) * 1e3);
}

}  // namespace

int main(int argc, char** argv) {
  try {
    if (argc > 2 && std::string_view{argv[1]} == "--peak-kilobytes") return ReportPeakKilobytes(argv + 2);
    const int rounds = argc > 1 ? std::stoi(argv[1]) : 51;
    Bench bench;
    const long added = bench.AddedLines();

    Case big{
        "property --changed, the control of 65,534 lines once edited", {}, {bench.folder() + "/Big.ctl"}};
    big.original = bench::BigUserControl(kLargestModule - added);
    Case common{"property --changed, a control of 1,000 lines",
                bench::BigUserControl(kCommonModule),
                {bench.folder() + "/Common.ctl"}};
    Case loop{"property --changed into each of 200 controls of 1,000 lines, one run each",
              bench::BigUserControl(kCommonModule),
              {}};
    for (int i = 0; i < kLoopFiles; ++i)
      loop.files.push_back(bench.folder() + "/Loop" + std::to_string(i) + ".ctl");

    std::printf(
        "%d rounds, scrivlet and the floor alternated in each; medians, with the lowest to the highest\n\n",
        rounds);
    const Timings bigTimes = Measure(big, rounds, true);
    Report(big, bigTimes, 1.5);
    Restore(big);
    RunProgram(ScrivletEdit(big.files.front()));
    if (LinesOf(ReadFile(big.files.front())) != kLargestModule)
      throw std::runtime_error("the edited control is not 65,534 lines");

    // The memory a run needs whatever the file, measured on the smallest control.
    const std::string tiny = bench.folder() + "/Tiny.ctl";
    WriteFile(tiny, bench::SmallUserControl());
    const double baseline = static_cast<double>(PeakKilobytes(ScrivletEdit(tiny))) / 1024;
    Restore(big);
    const double peak = static_cast<double>(PeakKilobytes(ScrivletEdit(big.files.front()))) / 1024;
    const double size = static_cast<double>(big.original.size()) / (1024 * 1024);
    std::printf(
        "  peak memory       %8.1f MB  (the file %.1f MB, a run on a small control %.1f MB; goal at most "
        "%.1f MB)\n\n",
        peak, size, baseline, 2 * size + baseline);

    Report(common, Measure(common, rounds, false), 1.3);
    std::printf("\n");
    Report(loop, Measure(loop, std::max(3, rounds / 2), false), 1.3);
    return 0;
  } catch (const std::exception& error) {
    std::fprintf(stderr, "scrivlet_versus_floor: %s\n", error.what());
    return 1;
  }
}
