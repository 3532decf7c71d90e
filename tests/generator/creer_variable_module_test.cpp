// tests/generator/creer_variable_module_test.cpp: the m_ variable and the persistence lines, in
// modules with and without the persistence procedures, and when the host fails.
#include <gtest/gtest.h>

#include <functional>

#include "testing/ide/faulty_code_module.h"
#include "testing/ide/memory_code_module.h"
#include "tests/generator/generator_fixture.h"
#include "tests/support/visible.h"

namespace {

using generator::Request;

constexpr auto* Title = &test::TitleProperty;

struct VariableCase {
  const char* name;
  std::function<void(Request&)> options;
  bool propertyBag;
  std::string_view before;  // LF for CR LF
  std::string_view after;
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const VariableCase& c, std::ostream* os) {
  *os << c.name;
}

const VariableCase kVariables[] = {
    {"declaration_only", Title, false, "Option Explicit\nSub A()\nEnd Sub",
     "Option Explicit\nPrivate m_NewTitle AS String\nSub A()\nEnd Sub"},
    {"creates_both_procedures", Title, true, "Option Explicit",
     "Option Explicit\n"
     "Private m_NewTitle AS String\n"
     "Private Sub UserControl_ReadProperties (PropBag As PropertyBag)\n"
     "m_NewTitle = PropBag.ReadProperty (\"Title\")\n"
     "End Sub\n"
     "Private Sub UserControl_WriteProperties(PropBag As PropertyBag)\n"
     "Propbag.WriteProperty \"Title\", m_NewTitle\n"
     "End Sub"},
    {"both_procedures_exist", Title, true,
     "Dim a\n"
     "Sub UserControl_WriteProperties(PropBag As PropertyBag)\n"
     "  Propbag.WriteProperty \"A\", a\n"
     "End Sub\n"
     "Sub UserControl_ReadProperties(PropBag As PropertyBag)\n"
     "  a = PropBag.ReadProperty(\"A\")\n"
     "End Sub",
     "Dim a\n"
     "Private m_NewTitle AS String\n"
     "Sub UserControl_WriteProperties(PropBag As PropertyBag)\n"
     "Propbag.WriteProperty \"Title\", m_NewTitle\n"
     "  Propbag.WriteProperty \"A\", a\n"
     "End Sub\n"
     "Sub UserControl_ReadProperties(PropBag As PropertyBag)\n"
     "m_NewTitle = PropBag.ReadProperty (\"Title\")\n"
     "  a = PropBag.ReadProperty(\"A\")\n"
     "End Sub"},
    {"only_read_procedure_exists", Title, true,
     "Dim a\n"
     "Sub UserControl_ReadProperties(PropBag As PropertyBag)\n"
     "End Sub",
     "Dim a\n"
     "Private m_NewTitle AS String\n"
     "Private Sub UserControl_WriteProperties(PropBag As PropertyBag)\n"
     "Propbag.WriteProperty \"Title\", m_NewTitle\n"
     "End Sub\n"
     "Sub UserControl_ReadProperties(PropBag As PropertyBag)\n"
     "m_NewTitle = PropBag.ReadProperty (\"Title\")\n"
     "End Sub"},
    // The line goes after the declaration, not after the comment block that starts the procedure,
    // and after every line of a continued declaration. Names match in any case.
    {"comment_blocks_and_continued_declarations", Title, true,
     "Dim a\n"
     "\n"
     "' Saves the control\n"
     "' in the bag\n"
     "private sub usercontrol_writeproperties(PropBag As PropertyBag)\n"
     "End Sub\n"
     "' Restores it\n"
     "Private Sub UserControl_ReadProperties( _\n"
     "    PropBag As PropertyBag _\n"
     "    )\n"
     "End Sub",
     "Dim a\n"
     "Private m_NewTitle AS String\n"
     "\n"
     "' Saves the control\n"
     "' in the bag\n"
     "private sub usercontrol_writeproperties(PropBag As PropertyBag)\n"
     "Propbag.WriteProperty \"Title\", m_NewTitle\n"
     "End Sub\n"
     "' Restores it\n"
     "Private Sub UserControl_ReadProperties( _\n"
     "    PropBag As PropertyBag _\n"
     "    )\n"
     "m_NewTitle = PropBag.ReadProperty (\"Title\")\n"
     "End Sub"},
    {"object_is_read_with_set",
     [](Request& r) {
       Title(r);
       r.sTypeVariable = "StdFont";
       r.bProp_Set = true;
     },
     true, "Option Explicit",
     "Option Explicit\n"
     "Private m_NewTitle AS StdFont\n"
     "Private Sub UserControl_ReadProperties (PropBag As PropertyBag)\n"
     "Set m_NewTitle = PropBag.ReadProperty (\"Title\")\n"
     "End Sub\n"
     "Private Sub UserControl_WriteProperties(PropBag As PropertyBag)\n"
     "Propbag.WriteProperty \"Title\", m_NewTitle\n"
     "End Sub"},
    // The lines name the bag as their procedure's declaration does.
    {"bag_named_by_the_procedure", Title, true,
     "Sub UserControl_WriteProperties(ByVal Bag As PropertyBag)\nEnd Sub\n"
     "Sub UserControl_ReadProperties(PB As PropertyBag)\nEnd Sub",
     "Private m_NewTitle AS String\nSub UserControl_WriteProperties(ByVal Bag As PropertyBag)\n"
     "Bag.WriteProperty \"Title\", m_NewTitle\nEnd Sub\nSub UserControl_ReadProperties(PB As PropertyBag)\n"
     "m_NewTitle = PB.ReadProperty (\"Title\")\nEnd Sub"},
    {"empty_variable_and_type", [](Request& r) { r.sNom_Propriete = "Title"; }, false, "Dim a",
     "Dim a\nPrivate m_ AS "},
    {"quote_in_name_not_escaped",
     [](Request& r) {
       Title(r);
       r.sNom_Propriete = "Ti\"tle";
     },
     true, "Sub UserControl_WriteProperties()\nEnd Sub\nSub UserControl_ReadProperties()\nEnd Sub",
     "Private m_NewTitle AS String\n"
     "Sub UserControl_WriteProperties()\n"
     "Propbag.WriteProperty \"Ti\"tle\", m_NewTitle\n"
     "End Sub\n"
     "Sub UserControl_ReadProperties()\n"
     "m_NewTitle = PropBag.ReadProperty (\"Ti\"tle\")\n"
     "End Sub"},
};

class CreerVariableModule : public ::testing::TestWithParam<VariableCase> {};

TEST_P(CreerVariableModule, DeclaresAndPersists) {
  test::TestPlatform platform;
  generator::Request request;
  GetParam().options(request);
  host::MemoryCodeModule module{test::CrLf(GetParam().before)};
  generator::CreerVariable_Module(request, module, GetParam().propertyBag ? "UserControl" : "", platform.ui);
  EXPECT_EQ(test::Visible(module.Text()), test::Visible(test::CrLf(GetParam().after)));
  EXPECT_TRUE(platform.ui.messages().empty());
}

INSTANTIATE_TEST_SUITE_P(Generator, CreerVariableModule, ::testing::ValuesIn(kVariables),
                         [](const auto& info) { return std::string{info.param.name}; });

// A failing host call ends the operation with a box titled after it; what was added stays.
struct VariableFailureCase {
  const char* name;
  const char* operation;
  int nth;
  long number;
  std::string_view after;  // LF for CR LF
  std::size_t callsMade;   // the failing call included
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const VariableFailureCase& c, std::ostream* os) {
  *os << c.name;
}

const VariableFailureCase kVariableFailures[] = {
    {"declaration_refused", "AddFromString", 1, 7, "Option Explicit", 1},
    // Error 35 from any call but the look-up of a procedure is a failure like another.
    {"declaration_refused_with_35", "AddFromString", 1, 35, "Option Explicit", 1},
    {"lookup_fails_otherwise", "ProcBodyLine", 1, 91, "Option Explicit\nPrivate m_NewTitle AS String", 2},
    {"write_skeleton_refused", "AddFromString", 2, 5, "Option Explicit\nPrivate m_NewTitle AS String", 3},
    // The procedure just added cannot be found: the line is not put at line 1 of the module.
    {"new_procedure_not_found", "ProcBodyLine", 2, 35,
     "Option Explicit\nPrivate m_NewTitle AS String\n"
     "Private Sub UserControl_WriteProperties(PropBag As PropertyBag)\nEnd Sub",
     4},
    {"write_line_refused", "InsertLines", 1, 5,
     "Option Explicit\nPrivate m_NewTitle AS String\n"
     "Private Sub UserControl_WriteProperties(PropBag As PropertyBag)\nEnd Sub",
     6},
    {"read_line_refused", "InsertLines", 2, 5,
     "Option Explicit\nPrivate m_NewTitle AS String\n"
     "Private Sub UserControl_ReadProperties (PropBag As PropertyBag)\nEnd Sub\n"
     "Private Sub UserControl_WriteProperties(PropBag As PropertyBag)\n"
     "Propbag.WriteProperty \"Title\", m_NewTitle\nEnd Sub",
     11},
};

class CreerVariableModuleFailure : public ::testing::TestWithParam<VariableFailureCase> {};

TEST_P(CreerVariableModuleFailure, ShowsTheFailureAndStops) {
  test::TestPlatform platform;
  generator::Request request;
  Title(request);
  host::MemoryCodeModule module{"Option Explicit"};
  host::FaultPlan plan;
  plan.Fail(GetParam().operation, GetParam().nth, {GetParam().number, "Injected failure"});
  host::FaultyCodeModule faulty{module, plan};
  generator::CreerVariable_Module(request, faulty, "UserControl", platform.ui);
  EXPECT_EQ(test::Visible(module.Text()), test::Visible(test::CrLf(GetParam().after)));
  EXPECT_EQ(platform.ui.messages(),
            (std::vector<host::ShownMessage>{{"Injected failure", "CreerVariable_Module"}}));
  EXPECT_EQ(plan.calls().size(), GetParam().callsMade);
}

INSTANTIATE_TEST_SUITE_P(Generator, CreerVariableModuleFailure, ::testing::ValuesIn(kVariableFailures),
                         [](const auto& info) { return std::string{info.param.name}; });

// Error 35 from the look-up is how a missing procedure is found: it is not reported.
TEST(CreerVariableModuleLookup, NotFoundCreatesTheProcedureSilently) {
  test::TestPlatform platform;
  generator::Request request;
  Title(request);
  host::MemoryCodeModule module{"Sub UserControl_WriteProperties(PropBag As PropertyBag)\r\nEnd Sub"};
  host::FaultPlan plan;
  plan.Fail("ProcBodyLine", 1, host::kErrSubNotDefined);
  host::FaultyCodeModule faulty{module, plan};
  generator::CreerVariable_Module(request, faulty, "UserControl", platform.ui);
  EXPECT_TRUE(platform.ui.messages().empty());
  // The host said it was missing, so a second one was added ahead of the first.
  const std::deque<std::string>& lines = module.lines();
  EXPECT_EQ(std::count(lines.begin(), lines.end(),
                       "Private Sub UserControl_WriteProperties(PropBag As PropertyBag)"),
            1);
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "Propbag.WriteProperty \"Title\", m_NewTitle"), 1);
}

}  // namespace
