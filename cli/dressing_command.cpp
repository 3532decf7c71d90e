// cli/dressing_command.cpp: "scrivlet headers" and "scrivlet traps": every routine of files, folders
// and projects given the header or the trap it lacks, or what the templates added taken out again.
#include "cli/dressing_command.h"

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "cli/templates_command.h"
#include "cli/unified_diff.h"
#include "generator/headers_and_traps.h"
#include "generator/programmer_setting.h"
#include "generator/template_loading.h"
#include "host/code_page.h"
#include "host/date_formatter.h"
#include "host/file_list.h"
#include "host/host_error.h"
#include "host/source_files/module_file.h"
#include "host/source_files/project_file.h"
#include "host/source_files/source_code_module.h"
#include "host/source_files/source_lines.h"

namespace cli {
namespace {

// The files to edit, each with the project that lists it (empty when it was not given through a
// .vbp). Packed, as a project's list lives through its whole run: in groups that share a folder (a
// folder's listing kept as it came, a project's files, the paths given one by one), each with its
// project and where its files end among all the files.
class Targets {
 public:
  std::size_t size() const noexcept { return groups_.empty() ? 0 : groups_.back().end; }
  std::string Path(std::size_t i) const {
    const Group& group = GroupOf(i);
    return group.files.Path(i - (group.end - group.files.size()));
  }
  const std::string& Project(std::size_t i) const { return GroupOf(i).project; }

  void Add(host::FileList files, const std::string& project) {
    if (files.empty()) return;
    const std::size_t end = size() + files.size();
    groups_.push_back({std::move(files), project, end});
  }
  // One path, with the paths given one by one just before it when they share its project.
  void Add(std::string_view path, const std::string& project) {
    if (groups_.empty() || !groups_.back().files.prefix().empty() || groups_.back().project != project) {
      groups_.push_back({host::FileList{std::string{}}, project, size()});
    }
    groups_.back().files.Add(path);
    ++groups_.back().end;
  }

 private:
  struct Group {
    host::FileList files;
    std::string project;
    std::size_t end;  // one past its last file among all the files
  };
  const Group& GroupOf(std::size_t i) const {
    return *std::upper_bound(groups_.begin(), groups_.end(), i,
                             [](std::size_t index, const Group& group) { return index < group.end; });
  }
  std::vector<Group> groups_;
};

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.find_last_of("/\\");
  if (slash == std::string::npos) return {};
  return path.substr(0, slash + 1);
}

// The files each PATH stands for, each once, in the order given.
Targets TargetsOf(const Command& command, CommandServices& services) {
  Targets targets;
  // Paths given more than once, or inside each other, are edited once. One PATH needs no such record,
  // which for a project of many files would cost as much memory as the list itself.
  std::set<std::string, std::less<>> seen;
  const bool several = command.paths.size() > 1;
  const auto first = [&](std::string_view path) { return !several || seen.emplace(path).second; };
  for (const std::string& path : command.paths) {
    if (std::optional<host::FileList> below = services.files.FilesBelow(path)) {
      below->KeepOnly([&](std::string_view file) { return host::SourceFileKindOfPath(file) && first(file); });
      targets.Add(std::move(*below), {});
      continue;
    }
    if (path.size() > 4 && host::SameName(std::string_view{path}.substr(path.size() - 4), ".vbp")) {
      const std::unique_ptr<host::SourceFile> file = services.files.Read(path);
      const host::ProjectFile project = host::ReadProjectFile(file->bytes());
      host::FileList listed{FolderOf(path)};
      for (std::string name : project.files) {
        for (char& c : name) {
          if (c == '\\') c = '/';  // Windows takes either; the project file was written on Windows
        }
        if (first(listed.prefix() + name)) listed.Add(name);
      }
      targets.Add(std::move(listed), project.name);
      continue;
    }
    if (first(path)) targets.Add(path, {});
  }
  return targets;
}

// A source module's code lines, read where it keeps them.
struct ModuleCodeLines {
  const host::SourceCodeModule& module;
  std::size_t size() const { return static_cast<std::size_t>(module.CountOfLines()); }
  std::string_view operator[](std::size_t index) const { return module.CodeLine(index); }
};

// The routines of one file, counted as they are planned; and of the run, the sum of those of the
// files it edited: a file that cannot be edited changed no routine.
struct RoutineCounts {
  long changed = 0;
  std::map<generator::LeftBecause, long> left;
  bool somethingLeft = false;  // a routine left for a reason other than having what was asked

  void Add(const RoutineCounts& file) {
    changed += file.changed;
    for (const auto& [why, count] : file.left) left[why] += count;
    somethingLeft = somethingLeft || file.somethingLeft;
  }
};

struct Totals {
  long files = 0;
  long changedFiles = 0;
  long failedFiles = 0;
  RoutineCounts routines;
};

// A module's edits as its routines are planned, one routine's at a time, so that the file is written
// without its new text ever held whole. Each routine planned is counted.
class PlannedEdits final : public host::LineEditSource {
 public:
  using Count = std::function<void(const generator::DressingPlan&)>;
  PlannedEdits(generator::DressingPlanner& planner, Count count)
      : planner_(planner), count_(std::move(count)) {}

  // Plans up to the first routine that changes: false when none does, and nothing is to be written.
  bool Start() {
    while (plan_.edits.empty()) {
      if (!PlanRoutine()) return false;
    }
    return true;
  }

  // The edits of the routines planned next, a few KB of text at a time: one write for several
  // routines, and little held.
  std::span<const generator::LineEdit> Next() override {
    if (std::exchange(started_, true)) {  // else the routine Start planned begins the first batch
      plan_.edits.clear();
      bytes_ = 0;
    }
    while (bytes_ < kBatchBytes && PlanRoutine()) {
    }
    return plan_.edits;
  }

 private:
  static constexpr std::size_t kBatchBytes = 4096;

  // Plans and counts the next routine, its edits after those held; false when none is left.
  bool PlanRoutine() {
    const std::size_t before = plan_.edits.size();
    plan_.routines.clear();
    if (!planner_.PlanNext(plan_)) return false;
    count_(plan_);
    for (std::size_t i = before; i < plan_.edits.size(); ++i) bytes_ += plan_.edits[i].text.size();
    return true;
  }

  generator::DressingPlanner& planner_;
  Count count_;
  generator::DressingPlan plan_;
  std::size_t bytes_ = 0;  // the text of the edits held
  bool started_ = false;   // the first batch is handed over
};

class DressingRun {
 public:
  DressingRun(const Command& command, CommandServices& services) : command_(command), services_(services) {}

  int Run() {
    options_.headers = command_.dressing == DressingAction::kHeaders;
    options_.traps = command_.dressing == DressingAction::kTraps;
    options_.remove = command_.remove;
    options_.resumeNext = command_.request.bResumeNext;
    options_.only = command_.only;
    options_.usage = command_.request.sUsage;
    if (!command_.remove) {
      options_.programmer =
          command_.programmer ? *command_.programmer : generator::StoredProgrammer(services_.settings);
      options_.date = services_.dates.Format(services_.clock.Today(), host::kCreationDatePattern);
    }
    const Targets targets = TargetsOf(command_, services_);
    for (std::size_t i = 0; i < targets.size(); ++i) {
      if (services_.progress && targets.size() > 20) {
        services_.err << "\rscrivlet: " << i + 1 << " of " << targets.size() << " files" << std::flush;
      }
      ++totals_.files;
      const std::string path{targets.Path(i)};
      try {
        RoutineCounts counts;
        if (Edit(path, targets.Project(i), counts)) ++totals_.changedFiles;
        totals_.routines.Add(counts);
      } catch (const host::HostError& error) {
        Failed(path, error.description());
      } catch (const host::SourceFileError& error) {
        Failed({}, error.what());
      } catch (const std::exception& error) {
        Failed(path, error.what());
      }
    }
    if (services_.progress && targets.size() > 20) services_.err << "\r\033[K" << std::flush;
    Summary();
    return totals_.failedFiles > 0 || totals_.routines.somethingLeft ? kFailure : kSuccess;
  }

 private:
  void Failed(const std::string& path, const std::string& reason) {
    ++totals_.failedFiles;
    services_.err << "scrivlet: " << (path.empty() ? "" : path + ": ") << reason << '\n';
  }

  const generator::LoadedTemplates& TemplatesFor(const std::string& path, const host::CodePage& codePage) {
    const std::string folder = TemplateFolderOf(path);
    auto found = templates_.find(folder);
    if (found == templates_.end()) {
      generator::LoadedTemplates loaded = generator::LoadTemplates(services_.templates, folder);
      generator::RequireTemplatesWritable(loaded.set, codePage);
      found = templates_.emplace(folder, std::move(loaded)).first;
    }
    return found->second;
  }

  // Edits one file, counting its routines into `counts`; whether it changed. Nothing is written when
  // anything fails.
  bool Edit(const std::string& path, const std::string& project, RoutineCounts& counts) {
    host::ModuleFile file{services_.files, services_.codePages, path, command_.codePage};
    const generator::LoadedTemplates& templates = TemplatesFor(path, file.codePage());
    host::SourceCodeModule& module = file.Read();
    generator::DressingOptions options = options_;
    options.module = module.Parent()->Name();  // a module read from a source file always has one
    options.project = project;
    // The planner reads the module's lines where the module keeps them, without a copy of them.
    const ModuleCodeLines moduleLines{module};
    const host::CodeLinesView lines = host::CodeLinesView::Of(moduleLines);
    if (command_.diff || command_.dryRun) {
      generator::DressingPlan plan = generator::PlanDressing(lines, templates.set, options);
      Count(path, plan, counts);
      if (plan.edits.empty()) return false;
      // The plan goes as its edits are made.
      generator::ApplyDressing(module, std::move(plan));
      if (command_.dryRun) {
        static_cast<void>(file.Render());  // refused as the edit itself would be
      } else {
        services_.out << UnifiedDiff(path, file.bytes(), file.Render().Joined());
      }
      return true;
    }
    generator::DressingPlanner planner{lines, templates.set, options};
    PlannedEdits edits{planner, [&](const generator::DressingPlan& plan) { Count(path, plan, counts); }};
    if (!edits.Start()) return false;
    file.RequireSavable();
    const std::string warning = file.SaveEdits(edits);
    if (!warning.empty()) services_.err << "scrivlet: warning: " << warning << '\n';
    return true;
  }

  void Count(const std::string& path, const generator::DressingPlan& plan, RoutineCounts& counts) {
    for (const generator::RoutineDressing& routine : plan.routines) {
      if (routine.Changed()) ++counts.changed;
      const std::optional<generator::LeftBecause> why =
          routine.headerLeft ? routine.headerLeft : routine.trapLeft;
      if (!why || routine.Changed()) continue;
      ++counts.left[*why];
      using enum generator::LeftBecause;
      if (*why == kOneLine || *why == kNoEnd || *why == kLabelInUse) {
        counts.somethingLeft = true;
        services_.err << "scrivlet: " << path << ": " << routine.name
                      << " was left as it was: " << generator::ReasonText(*why) << '\n';
      }
    }
  }

  void Summary() {
    std::ostream& out = command_.diff ? services_.err : services_.out;
    const char* verb = command_.dryRun || command_.diff ? "would change" : "changed";
    out << totals_.files << (totals_.files == 1 ? " file, " : " files, ") << totals_.changedFiles << ' '
        << verb;
    if (totals_.failedFiles > 0) out << ", " << totals_.failedFiles << " not edited";
    out << "; " << totals_.routines.changed << (totals_.routines.changed == 1 ? " routine " : " routines ")
        << verb;
    for (const auto& [why, count] : totals_.routines.left) {
      out << "; " << count << " left alone: " << generator::ReasonText(why);
    }
    out << '\n';
    out.flush();
    if (!services_.out) throw std::runtime_error("standard output: cannot be written");
  }

  const Command& command_;
  CommandServices& services_;
  generator::DressingOptions options_;
  std::map<std::string, generator::LoadedTemplates> templates_;
  Totals totals_;
};

}  // namespace

int RunDressing(const Command& command, CommandServices& services) {
  return DressingRun{command, services}.Run();
}

}  // namespace cli
