// tests/cli/templates_test.cpp: sets unlike the built-in one, found in the project's folder, writing
// properties, Subs, Functions and comments on the command line and on the built-in IDE alike; what
// "templates init" writes; --diff.
#include <gtest/gtest.h>

#include <filesystem>

#include "generator/template_loading.h"
#include "host/source_files/source_code_module.h"
#include "host/source_files/source_lines.h"
#include "testing/ide/memory_code_module.h"
#include "tests/cli/scrivlet_fixture.h"
#include "tests/generator/generator_fixture.h"
#include "tests/support/golden.h"

namespace {

namespace fs = std::filesystem;

const fs::path kSets = fs::path{SCRIVLET_GOLDEN_SOURCE_DIR} / "templates" / "sets";
const fs::path kExamples{SCRIVLET_EXAMPLES_DIR};

struct Generation {
  const char* label;
  const char* example;
  std::vector<std::string> arguments;  // the file goes last
};

const Generation kGenerations[] = {
    {"property_changed",
     "Meter.ctl",
     {"property", "Level", "--variable", "NewLevel", "--type", "Long", "--changed", "--usage",
      "The level shown"}},
    {"sub", "Startup.bas", {"sub", "Refresh", "--usage", "Reloads the list"}},
    {"function_resume_next", "Startup.bas", {"function", "Total", "--returns", "Long", "--resume-next"}},
    {"comments", "Startup.bas", {"comments", "--line", "7"}},
};

struct SetRun {
  std::string set;
  const Generation* generation;
  std::string label;
};

// Each set with each generation but two, which would show nothing new: like short, log has no Resume
// Next trap; short's property on Meter is the change that --diff shows below.
std::vector<SetRun> Runs() {
  std::vector<SetRun> runs;
  for (const char* set : {"raise", "log", "short"}) {
    for (const Generation& generation : kGenerations) {
      const std::string label = std::string{set} + "_" + generation.label;
      if (label == "log_function_resume_next" || label == "short_property_changed") continue;
      runs.push_back({set, &generation, label});
    }
  }
  return runs;
}

using TemplateCommands = test::ScrivletTest;

// The examples, and the fixture's small user control, whose whole file keeps the golden files short.
std::string SourceOf(std::string_view name) {
  return name == "Meter.ctl" ? test::Meter() : test::ReadFile(kExamples / name);
}

class TemplateSets : public test::ScrivletTest, public testing::WithParamInterface<SetRun> {
 protected:
  void PutSet(const std::string& set) { fs::copy(kSets / set, folder_.path() / ".scrivlet"); }
};

// The built-in IDE, given the module's code lines and the same set, writes the same lines.
void ExpectSameOnTheBuiltInIde(const SetRun& run, const std::string& source, const std::string& written) {
  const auto kind = *host::SourceFileKindOfPath(run.generation->example);
  const host::SourceCodeModule before{std::string_view{source}, kind.source, kind.component};
  const host::SourceCodeModule after{std::string_view{written}, kind.source, kind.component};
  std::deque<std::string> lines;
  for (long line = 1; line <= before.CountOfLines(); ++line) lines.push_back(before.Lines(line, 1));
  host::MemoryCodeModule ide{std::move(lines)};
  ide.SetComponent(kind.component, false, before.Parent()->Name());

  host::TemplateFolder folder{host::TemplateOrigin::kProject, {}, {}};
  for (const std::string_view name : generator::kTemplateFiles) {
    if (fs::exists(kSets / run.set / name)) {
      folder.files.push_back({std::string{name}, std::string{name}, test::ReadFile(kSets / run.set / name)});
    }
  }
  const generator::LoadedTemplates loaded = generator::ParseTemplateFolder(folder);
  test::TestPlatform platform;
  platform.clock.Set({2026, 12, 6});
  generator::Request request;
  const std::vector<std::string>& arguments = run.generation->arguments;
  request.sNomutilisateur = "My name";
  request.sUsage = "Description of its utility";
  request.sTypeVariable = "String";
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (argument == "--variable") request.sNomVariable = arguments[++i];
    if (argument == "--type") request.sTypeVariable = arguments[++i];
    if (argument == "--returns") request.sFuncReturn = arguments[++i];
    if (argument == "--usage") request.sUsage = arguments[++i];
    if (argument == "--changed") request.bProp_Changed = true;
    if (argument == "--resume-next") request.bResumeNext = true;
  }
  if (arguments[0] == "sub") request.bCreerProcedure = true;
  if (arguments[0] == "function") request.bCreerFonction = true;
  if (arguments[0] == "comments") {
    request.bComment = true;
    ide.pane().SetCaret(before.CodeLineOfFileLine(7));
  } else {
    request.sNom_Propriete = arguments[1];
  }
  generator::EcrireCode(request, ide, platform.platform(), &loaded.set);
  EXPECT_TRUE(platform.ui.messages().empty());
  ASSERT_EQ(ide.CountOfLines(), after.CountOfLines());
  for (long line = 1; line <= after.CountOfLines(); ++line) {
    EXPECT_EQ(ide.Lines(line, 1), after.Lines(line, 1)) << "line " << line;
  }
}

TEST_P(TemplateSets, WriteTheTeamsStyleOnTheCommandLineAndTheBuiltInIde) {
  const SetRun& run = GetParam();
  PutSet(run.set);
  const std::string source = SourceOf(run.generation->example);
  const std::string path = Put(run.generation->example, source);
  std::vector<std::string> arguments = run.generation->arguments;
  arguments.push_back(path);
  const test::Result result = Run(arguments);
  ASSERT_EQ(result.code, 0) << result.err;
  EXPECT_EQ(result.err, "");
  const std::string written = test::ReadFile(path);
  const std::string extension = fs::path{run.generation->example}.extension().string();
  EXPECT_TRUE(test::MatchesGolden("templates/" + run.set + "/" + run.generation->label + extension, written));
  ExpectSameOnTheBuiltInIde(run, source, written);
}

INSTANTIATE_TEST_SUITE_P(Cli, TemplateSets, testing::ValuesIn(Runs()), test::Label<SetRun>);

// The files "templates init" writes are the built-in set: with them, every output is the built-in one.
TEST_F(TemplateCommands, InitWritesTheBuiltInSetOnceAndItWritesAsTheBuiltInOne) {
  const std::string set = (folder_.path() / ".scrivlet").string();
  const test::Result init = Run({"templates", "init", set});
  ASSERT_EQ(init.code, 0) << init.err;
  const test::Result again = Run({"templates", "init", set});
  EXPECT_EQ(again.code, 1);
  EXPECT_EQ(again.err, "scrivlet: " + set + "/header.txt: already there; nothing was written\n");

  const std::string path = Put("Gauge.ctl", test::ReadFile(kExamples / "Gauge.ctl"));
  const test::Result run =
      Run({"property", "Title", "--variable", "NewTitle", "--changed", "--programmer", "My name", path});
  ASSERT_EQ(run.code, 0) << run.err;
  EXPECT_TRUE(test::MatchesGolden("cli/controls/Gauge.ctl", test::ReadFile(path)));
  const test::Result show = Run({"templates", "show", path});
  EXPECT_EQ(show.out.substr(0, show.out.find('\n')), path + ": the project's set in " + set);
}

// "templates check" shows what a set writes for a sample property, Sub and Function.
TEST_F(TemplateCommands, CheckShowsWhatTheSetWrites) {
  const test::Result result = Run({"templates", "check", (kSets / "short").string()});
  ASSERT_EQ(result.code, 0) << result.err;
  std::string shown = result.out;
  const std::string folder = (kSets / "short").string();
  shown.replace(shown.find(folder), folder.size(), "FOLDER");
  EXPECT_TRUE(test::MatchesGolden("templates/check-short.txt", shown));
}

// A set that is not one stops the run before the file is read, naming the file and the place; a
// character the code page cannot hold is refused, never written as "?".
TEST_F(TemplateCommands, BrokenSetStopsTheRunAndNamesThePlace) {
  const struct {
    const char* file;
    const char* text;
    const char* error;  // after the file's path
  } cases[] = {{"error-trap.txt", "On Error GoTo Oops\n{Bodie}\n", ":2:1: unknown variable {Bodie}"},
               {"header.txt", "' {Name}\n' \xE2\x86\x92 {Usage}\n",
                ": line 2: the character U+2192 cannot be written in code page 1252"}};
  const fs::path set = folder_.path() / ".scrivlet";
  const std::string path = Put("Startup.bas", test::ReadFile(kExamples / "Startup.bas"));
  for (const auto& c : cases) {
    fs::remove_all(set);
    fs::create_directory(set);
    test::WriteFile(set / c.file, c.text);
    const test::Result result = Run({"sub", "Refresh", path});
    EXPECT_EQ(result.code, 1);
    EXPECT_EQ(result.err, "scrivlet: " + (set / c.file).string() + c.error + "\n");
    EXPECT_EQ(test::ReadFile(path), test::ReadFile(kExamples / "Startup.bas"));
  }
}

// --diff shows the change and writes nothing; a short set keeps the change short.
TEST_F(TemplateCommands, DiffShowsTheChangeAndLeavesTheFile) {
  const std::string source = test::Meter();
  const std::string path = Put("Meter.ctl", source);
  fs::copy(kSets / "short", folder_.path() / ".scrivlet");
  const test::Result result =
      Run({"property", "Level", "--variable", "NewLevel", "--type", "Long", "--changed", "--diff", path});
  ASSERT_EQ(result.code, 0) << result.err;
  std::string shown = result.out;
  shown.replace(shown.find(path), path.size(), "Meter.ctl");
  shown.replace(shown.find(path), path.size(), "Meter.ctl");
  EXPECT_TRUE(test::MatchesGolden("templates/Meter.ctl.diff", shown));
  EXPECT_EQ(test::ReadFile(path), source);
  EXPECT_EQ(test::Entries(folder_.path()), (std::vector<std::string>{".scrivlet", "Meter.ctl"}));
}

}  // namespace
