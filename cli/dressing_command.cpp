// cli/dressing_command.cpp: "scrivlet headers" and "scrivlet traps": every routine of files, folders
// and projects given the header or the trap it lacks, or what the templates added taken out again.
#include "cli/dressing_command.h"

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "cli/templates_command.h"
#include "cli/unified_diff.h"
#include "generator/headers_and_traps.h"
#include "generator/programmer_setting.h"
#include "generator/template_loading.h"
#include "host/code_page.h"
#include "host/date_formatter.h"
#include "host/host_error.h"
#include "host/source_files/module_file.h"
#include "host/source_files/project_file.h"
#include "host/source_files/source_code_module.h"
#include "host/source_files/source_lines.h"

namespace cli {
namespace {

// The files to edit, each with the project that lists it (empty when it was not given through a
// .vbp). Packed, as a project's list lives through its whole run: the paths one after another in one
// text, and each file's end in it and its project's index.
class Targets {
 public:
  std::size_t size() const noexcept { return files_.size(); }
  std::string_view Path(std::size_t i) const {
    const std::size_t begin = i == 0 ? 0 : files_[i - 1].end;
    return std::string_view{paths_}.substr(begin, files_[i].end - begin);
  }
  const std::string& Project(std::size_t i) const { return projects_[files_[i].project]; }

  void Reserve(std::size_t files, std::size_t bytes) {
    files_.reserve(files_.size() + files);
    paths_.reserve(paths_.size() + bytes);
  }
  void Add(std::string_view path, const std::string& project) {
    if (projects_.back() != project) projects_.push_back(project);
    paths_ += path;
    files_.push_back({static_cast<std::size_t>(paths_.size()), projects_.size() - 1});
  }

 private:
  struct File {
    std::size_t end;      // of its path in paths_
    std::size_t project;  // its index in projects_
  };
  std::string paths_;
  std::vector<File> files_;
  std::vector<std::string> projects_{std::string{}};
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
  const auto add = [&](std::string_view path, const std::string& project) {
    if (several && !seen.emplace(path).second) return;
    targets.Add(path, project);
  };
  for (const std::string& path : command.paths) {
    if (std::optional<std::vector<std::string>> below = services.files.FilesBelow(path)) {
      std::size_t bytes = 0;
      for (const std::string& file : *below) bytes += file.size();
      targets.Reserve(below->size(), bytes);
      for (const std::string& file : *below) {
        if (host::SourceFileKindOfPath(file)) add(file, {});
      }
      continue;
    }
    if (path.size() > 4 && host::SameName(std::string_view{path}.substr(path.size() - 4), ".vbp")) {
      const std::unique_ptr<host::SourceFile> file = services.files.Read(path);
      const host::ProjectFile project = host::ReadProjectFile(file->bytes());
      for (std::string listed : project.files) {
        for (char& c : listed) {
          if (c == '\\') c = '/';  // Windows takes either; the project file was written on Windows
        }
        add(FolderOf(path) + listed, project.name);
      }
      continue;
    }
    add(path, {});
  }
  return targets;
}

struct Totals {
  long files = 0;
  long changedFiles = 0;
  long failedFiles = 0;
  long changed = 0;
  std::map<generator::LeftBecause, long> left;
  bool somethingLeft = false;  // a routine left for a reason other than having what was asked
};

// The routines of one file, counted as they are planned and added to the run's totals once the file
// is edited: a file that cannot be edited changed no routine.
struct RoutineCounts {
  long changed = 0;
  std::map<generator::LeftBecause, long> left;
  bool somethingLeft = false;

  void AddTo(Totals& totals) const {
    totals.changed += changed;
    for (const auto& [why, count] : left) totals.left[why] += count;
    totals.somethingLeft = totals.somethingLeft || somethingLeft;
  }
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
    pending_ = PlanChangingRoutine();
    return pending_;
  }

  std::span<const generator::LineEdit> Next() override {
    if (!std::exchange(pending_, false) && !PlanChangingRoutine()) return {};
    return plan_.edits;
  }

 private:
  bool PlanChangingRoutine() {
    plan_.edits.clear();
    while (plan_.edits.empty()) {
      plan_.routines.clear();
      if (!planner_.PlanNext(plan_)) return false;
      count_(plan_);
    }
    return true;
  }

  generator::DressingPlanner& planner_;
  Count count_;
  generator::DressingPlan plan_;
  bool pending_ = false;  // the edits of the routine Start planned are still to be handed over
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
        if (Edit(path, targets.Project(i))) ++totals_.changedFiles;
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
    return totals_.failedFiles > 0 || totals_.somethingLeft ? kFailure : kSuccess;
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

  // Edits one file; whether it changed. Nothing is written when anything fails.
  bool Edit(const std::string& path, const std::string& project) {
    host::ModuleFile file{services_.files, services_.codePages, path, command_.codePage};
    const generator::LoadedTemplates& templates = TemplatesFor(path, file.codePage());
    host::SourceCodeModule& module = file.Read();
    generator::DressingOptions options = options_;
    options.module = module.Parent()->Name();  // a module read from a source file always has one
    options.project = project;
    // The planner reads the module's lines where the module keeps them, without a copy of its text.
    const auto count = static_cast<std::size_t>(module.CountOfLines());
    std::vector<std::string_view> lines;
    lines.reserve(count);
    for (std::size_t i = 0; i < count; ++i) lines.push_back(module.CodeLine(i));
    RoutineCounts counts;
    if (command_.diff || command_.dryRun) {
      generator::DressingPlan plan = generator::PlanDressing(lines, templates.set, options);
      Count(path, plan, counts);
      if (plan.edits.empty()) {
        counts.AddTo(totals_);
        return false;
      }
      // The plan goes as its edits are made.
      generator::ApplyDressing(module, std::move(plan));
      if (command_.dryRun) {
        static_cast<void>(file.Render());  // refused as the edit itself would be
      } else {
        services_.out << UnifiedDiff(path, file.bytes(), file.Render().Joined());
      }
      counts.AddTo(totals_);
      return true;
    }
    generator::DressingPlanner planner{lines, templates.set, options};
    PlannedEdits edits{planner, [&](const generator::DressingPlan& plan) { Count(path, plan, counts); }};
    if (!edits.Start()) {
      counts.AddTo(totals_);
      return false;
    }
    file.RequireSavable();
    const std::string warning = file.SaveEdits(edits);
    counts.AddTo(totals_);
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
    out << "; " << totals_.changed << (totals_.changed == 1 ? " routine " : " routines ") << verb;
    for (const auto& [why, count] : totals_.left) {
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
