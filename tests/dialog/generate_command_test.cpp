// tests/dialog/generate_command_test.cpp: the request the "OK" button hands the generator, the name
// test and every failure of the command.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "generator/builders.h"
#include "generator/ecrire_code.h"
#include "generator/request.h"
#include "generator/request_rules.h"
#include "host/host_error.h"
#include "testing/ide/faulty_vbe.h"
#include "testing/ide/memory_vbe.h"
#include "tests/dialog/dialog_fixture.h"
#include "tests/generator/vb_rules.h"
#include "tests/support/visible.h"

namespace {

using dialog::ControlId;
using enum dialog::ControlId;

constexpr std::string_view kStart = "Option Explicit\r\n";
constexpr std::string_view kWithRoutine = "Option Explicit\r\nSub Refresh()\r\n  x = 1\r\nEnd Sub";

// A shown dialog whose host, seen through a fault plan, has one code window open on a module.
struct Generating {
  explicit Generating(std::string_view text = kStart)
      : module(std::make_shared<host::MemoryCodeModule>(text)) {
    ide->SetActiveModule(module);
    dialog.form.VBInstance = std::make_shared<host::FaultyVbe>(ide, plan);
    dialog.Shown();
  }

  void Type(int page, ControlId id, std::string_view text) {
    ASSERT_TRUE(dialog.view->SelectPage(page));
    ASSERT_TRUE(dialog.view->Type(id, text)) << dialog::Name(id);
    ASSERT_TRUE(dialog.view->SelectPage(dialog::kPagePropriety));
  }
  void Click(ControlId id) { ASSERT_TRUE(dialog.view->Click(id)) << dialog::Name(id); }

  host::FaultPlan plan;
  test::DialogHarness dialog;
  std::shared_ptr<host::MemoryVbe> ide = std::make_shared<host::MemoryVbe>();
  std::shared_ptr<host::MemoryCodeModule> module;
};

// The request a case expects the command to hand over; unlisted options keep the dialog's defaults.
struct Options {
  std::string aideId{};
  std::string nom{};
  std::string funcReturn = "String";
  std::string nomUtilisateur = "My name";
  std::string nomVariable{};
  std::string type = "String";
  std::string usage = "Description of its utility\r\n";
  bool cacher = false;
  bool comment = false;
  bool fonction = false;
  bool procedure = false;
  bool lectureSeule = false;
  bool changed = false;
  bool friendly = false;
  bool prive = false;
  bool set = false;
  bool resumeNext = false;
  bool statique = false;
};

// The module as the generator leaves it for that request, on a copy of the starting text.
std::string Generated(const Options& o, std::string_view start, long caret) {
  test::TestPlatform platform;
  generator::Request request;
  request.sAideId = o.aideId;
  request.bCacher = o.cacher;
  request.bComment = o.comment;
  request.bCreerFonction = o.fonction;
  request.bCreerProcedure = o.procedure;
  request.bLectureSeule = o.lectureSeule;
  request.sNom_Propriete = o.nom;
  request.sFuncReturn = o.funcReturn;
  request.sNomutilisateur = o.nomUtilisateur;
  request.sNomVariable = o.nomVariable;
  request.bProp_Changed = o.changed;
  request.bProp_Friend = o.friendly;
  request.bProp_Prive = o.prive;
  request.bProp_Set = o.set;
  request.bResumeNext = o.resumeNext;
  request.sTypeVariable = o.type;
  request.sUsage = o.usage;
  request.bVariableLoc_Static = o.statique;
  host::MemoryCodeModule module{start};
  module.pane().SetCaret(caret);
  generator::EcrireCode(request, module, platform.platform());
  return module.Text();
}

struct Request {
  const char* name;
  std::string_view start;
  long caret;
  std::function<void(Generating&)> fill;
  Options expected;
};

void PrintTo(const Request& r, std::ostream* os) {
  *os << r.name;
}

const Request kRequests[] = {
    {"defaults_with_name",
     kStart,
     1,
     [](Generating& g) {
       g.Type(0, txtPropriete, "Title");
       g.Type(0, txtVariable, "NewTitle");
     },
     {.nom = "Title", .nomVariable = "NewTitle"}},
    {"example_property",
     kStart,
     1,
     [](Generating& g) {
       g.Type(0, txtPropriete, "Title");
       g.Type(0, txtVariable, "NewTitle");
       g.Click(chkPropertyChanged);
     },
     {.nom = "Title", .nomVariable = "NewTitle", .changed = true}},
    {"function_with_picked_return",
     kStart,
     1,
     [](Generating& g) {
       g.Type(0, txtPropriete, "Total");
       g.Click(chkFonction);
       ASSERT_TRUE(g.dialog.view->Pick(cmbFuncReturn, 6));
       ASSERT_TRUE(g.dialog.view->Pick(cmbType, 0));
     },
     {.nom = "Total", .funcReturn = "Long", .type = "Boolean", .fonction = true}},
    // The return type goes along even when "Function" is not checked.
    {"return_type_passed_without_function",
     kStart,
     1,
     [](Generating& g) {
       g.Type(0, txtPropriete, "Total");
       g.Type(0, txtVariable, "Sum");
       g.Click(chkFonction);
       g.Type(0, cmbFuncReturn, "Currency");
       g.Click(chkFonction);
     },
     {.nom = "Total", .funcReturn = "Currency", .nomVariable = "Sum"}},
    {"typed_class_name",
     kStart,
     1,
     [](Generating& g) {
       g.Type(0, txtPropriete, "Items");
       g.Type(0, txtVariable, "NewItems");
       g.Type(0, cmbType, "Collection");
       g.Click(chkSet);
     },
     {.nom = "Items", .nomVariable = "NewItems", .type = "Collection", .set = true}},
    {"every_modifier",
     kStart,
     1,
     [](Generating& g) {
       g.Type(0, txtPropriete, "Refresh");
       g.Click(chkProcedure);
       g.Click(chkPrive);
       g.Click(chkHide);
       g.Click(chkStatique);
       g.Click(chkResumeNext);
     },
     {.nom = "Refresh",
      .cacher = true,
      .procedure = true,
      .prive = true,
      .resumeNext = true,
      .statique = true}},
    {"friend_read_only",
     kStart,
     1,
     [](Generating& g) {
       g.Type(0, txtPropriete, "Count");
       g.Type(0, txtVariable, "Total");
       g.Click(chkFriend);
       g.Click(chkLectureSeule);
     },
     {.nom = "Count", .nomVariable = "Total", .lectureSeule = true, .friendly = true}},
    // The name typed on the page "User" is used without being stored.
    {"programmer_and_usage_as_typed",
     kStart,
     1,
     [](Generating& g) {
       g.Type(0, txtPropriete, "Title");
       g.Type(0, txtVariable, "NewTitle");
       g.Type(dialog::kPageUser, txtNomUtilisateur, " Ann ");
       g.Type(dialog::kPageDescription, txtUsage, "Keeps the title\r\nof the form");
     },
     {.nom = "Title",
      .nomUtilisateur = " Ann ",
      .nomVariable = "NewTitle",
      .usage = "Keeps the title\r\nof the form"}},
    // Comments only needs no name; the boxes it disables give False, the texts go as they stand.
    {"comments_only_without_name",
     kWithRoutine,
     3,
     [](Generating& g) {
       g.Type(0, txtVariable, "NewTitle");
       g.Click(chkPrive);
       g.Click(chkComment);
     },
     {.nomVariable = "NewTitle", .comment = true}},
};

class GenerateRequest : public ::testing::TestWithParam<Request> {};

TEST_P(GenerateRequest, WritesWhatTheControlsSay) {
  const Request& r = GetParam();
  Generating g{r.start};
  g.module->pane().SetCaret(r.caret);
  r.fill(g);
  ASSERT_FALSE(HasFatalFailure());
  const std::string expected = Generated(r.expected, r.start, r.caret);
  ASSERT_NE(expected, r.start);
  g.dialog.view->Click(OKButton);
  EXPECT_EQ(test::Visible(g.module->Text()), test::Visible(expected));
  EXPECT_TRUE(g.dialog.platform.ui.messages().empty());
  // The name typed on the page "User" is not stored by the command.
  EXPECT_EQ(g.dialog.platform.settings.GetSetting("Scrivlet", "Identification", "Programmer", "<none>"),
            "<none>");
}

INSTANTIATE_TEST_SUITE_P(Dialog, GenerateRequest, ::testing::ValuesIn(kRequests),
                         [](const auto& info) { return std::string{info.param.name}; });

// Nothing is reset: the dialog shows the same values, and a second click sends the same request,
// which the module, now holding the Sub, refuses.
TEST(GenerateCommand, KeepsTheDialogAndRefusesTheRepeat) {
  Generating g;
  g.Type(0, txtPropriete, "Refresh");
  g.Click(chkProcedure);
  std::vector<dialog::ControlState> before;
  for (const dialog::ControlDesign& d : dialog::Designs()) before.push_back(g.dialog.form.State(d.id));
  g.dialog.view->Click(OKButton);
  const std::string once = g.module->Text();
  g.dialog.view->Click(OKButton);
  for (const dialog::ControlDesign& d : dialog::Designs()) {
    const dialog::ControlState& now = g.dialog.form.State(d.id);
    const dialog::ControlState& was = before[dialog::Index(d.id)];
    EXPECT_EQ(now.caption, was.caption) << d.name;
    EXPECT_EQ(now.value, was.value) << d.name;
    EXPECT_EQ(now.enabled, was.enabled) << d.name;
  }
  EXPECT_TRUE(g.dialog.form.Visible());
  EXPECT_EQ(once, Generated({.nom = "Refresh", .procedure = true}, kStart, 1));
  EXPECT_EQ(g.module->Text(), once);
  EXPECT_EQ(g.dialog.platform.ui.messages(),
            (std::vector<host::ShownMessage>{
                {"The module already has a Sub Refresh, at line 3; choose another name.", "EcrireCode"}}));
}

TEST(GenerateCommand, NameTestRaisesTheCommandsOwnFailure) {
  generator::Request request;
  try {
    generator::RequireRoutineName(request);
    FAIL() << "no failure raised";
  } catch (const host::HostError& error) {
    EXPECT_EQ(error.number(), static_cast<long>(static_cast<std::int32_t>(0x800403E8U)));
    EXPECT_EQ(error.source(), "Scrivlet");
    EXPECT_EQ(error.description(), "Name of propriete cannot be null.");
  }
  request.bComment = true;
  EXPECT_NO_THROW(generator::RequireRoutineName(request));
  request.bComment = false;
  request.sNom_Propriete = " ";
  EXPECT_NO_THROW(generator::RequireRoutineName(request));
}

// The options of a command line, set as the programmer would set them in the dialog.
void Fill(Generating& g, const std::vector<std::string>& arguments) {
  if (arguments[0] != "property") g.Click(arguments[0] == "sub" ? chkProcedure : chkFonction);
  g.Type(0, txtPropriete, arguments[1]);
  for (std::size_t i = 2; i < arguments.size(); ++i) {
    const std::string& option = arguments[i];
    if (option == "--resume-next") g.Click(chkResumeNext);
    if (option == "--hide") g.Click(chkHide);
    if (option == "--variable") g.Type(0, txtVariable, arguments[++i]);
    if (option == "--type") g.Type(0, cmbType, arguments[++i]);
    if (option == "--returns") g.Type(0, cmbFuncReturn, arguments[++i]);
  }
}

// A name, variable or type VB would refuse is shown as the generator shows its failures, and the
// module stays as it was.
class NameRule : public testing::TestWithParam<test::RuleCase> {};

TEST_P(NameRule, IsRefusedInABoxTitledEcrireCode) {
  const test::RuleCase& c = GetParam();
  Generating g;
  Fill(g, c.arguments);
  ASSERT_FALSE(HasFatalFailure());
  g.dialog.view->Click(OKButton);
  if (c.option == nullptr) {
    EXPECT_NE(g.module->Text(), kStart);
    EXPECT_TRUE(g.dialog.platform.ui.messages().empty());
  } else {
    EXPECT_EQ(g.module->Text(), kStart);
    EXPECT_EQ(g.dialog.platform.ui.messages(), (std::vector<host::ShownMessage>{{c.message, "EcrireCode"}}));
  }
}

INSTANTIATE_TEST_SUITE_P(Dialog, NameRule, testing::ValuesIn(test::NameCases()),
                         [](const auto& info) { return std::string{info.param.label}; });

struct Failure {
  const char* name;
  std::function<void(Generating&)> setup;
  std::vector<host::ShownMessage> messages;
};

void PrintTo(const Failure& f, std::ostream* os) {
  *os << f.name;
}

const Failure kFailures[] = {
    {"empty_name", [](Generating&) {}, {{"Name of propriete cannot be null.", "Scrivlet"}}},
    {"no_code_window_with_empty_name",
     [](Generating& g) { g.ide->SetActiveModule(nullptr); },
     {{"Object variable or With block variable not set", "Scrivlet"}}},
    {"no_code_window",
     [](Generating& g) {
       g.Type(0, txtPropriete, "Title");
       g.ide->SetActiveModule(nullptr);
     },
     {{"Object variable or With block variable not set", "Scrivlet"}}},
    {"no_host",
     [](Generating& g) { g.dialog.form.VBInstance = nullptr; },
     {{"Object variable or With block variable not set", "Scrivlet"}}},
    {"active_pane_fails",
     [](Generating& g) {
       g.Type(0, txtPropriete, "Title");
       g.plan.Fail("ActiveCodePane", 1, 440);
     },
     {{"Automation error", "Scrivlet"}}},
    {"pane_gives_no_module",
     [](Generating& g) {
       g.Type(0, txtPropriete, "Title");
       g.plan.Fail("CodeModule", 1, host::kErrObjectNotSet);
     },
     {{"Object variable or With block variable not set", "Scrivlet"}}},
    // A VBA project holds no user controls: the property bag's code has nowhere to run.
    {"property_changed_without_user_controls",
     [](Generating& g) {
       g.ide = std::make_shared<host::MemoryVbe>(host::IdeFlavour::kVbaEditor);
       g.ide->SetActiveModule(g.module);
       g.dialog.form.VBInstance = g.ide;
       g.Type(0, txtPropriete, "Title");
       g.Click(chkPropertyChanged);
     },
     {{"Add PropertyChanged writes code for user controls, which this project cannot hold.", "Scrivlet"}}},
    // A failure the generator traps itself is its own report, not the command's.
    {"generator_reports_its_own",
     [](Generating& g) {
       g.Type(0, txtPropriete, "Title");
       g.Type(0, txtVariable, "NewTitle");
       g.plan.Fail("AddFromString", 1, host::kErrOutOfMemory);
     },
     {{"Out of memory", "EcrireCode"}}},
};

class GenerateFailure : public ::testing::TestWithParam<Failure> {};

TEST_P(GenerateFailure, IsShownAndWritesNothing) {
  Generating g;
  GetParam().setup(g);
  ASSERT_FALSE(HasFatalFailure());
  g.dialog.view->Click(OKButton);
  EXPECT_EQ(g.dialog.platform.ui.messages(), GetParam().messages);
  EXPECT_EQ(test::Visible(g.module->Text()), test::Visible(kStart));
  EXPECT_TRUE(g.dialog.form.Visible());
}

INSTANTIATE_TEST_SUITE_P(Dialog, GenerateFailure, ::testing::ValuesIn(kFailures),
                         [](const auto& info) { return std::string{info.param.name}; });

// The module is found before any option is read: with no code window, the name test does not run.
TEST(GenerateCommand, FindsTheModuleBeforeTheNameTest) {
  Generating g;
  g.dialog.view->Click(OKButton);
  EXPECT_EQ(g.plan.calls(), (std::vector<std::string>{"ActiveCodePane", "CodeModule"}));
  EXPECT_EQ(g.dialog.platform.ui.messages(),
            (std::vector<host::ShownMessage>{{"Name of propriete cannot be null.", "Scrivlet"}}));
}

}  // namespace
