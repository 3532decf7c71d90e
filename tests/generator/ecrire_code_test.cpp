// tests/generator/ecrire_code_test.cpp: what EcrireCode hands the module on each path, in which
// order of host calls, and where it all lands in a module that already has code.
#include <gtest/gtest.h>

#include <functional>

#include "testing/ide/faulty_code_module.h"
#include "tests/generator/generator_fixture.h"
#include "tests/generator/recording_module.h"
#include "tests/support/visible.h"

namespace {

using generator::Request;
using test::HandedText;

void Title(Request& r) {
  test::TitleProperty(r);
  r.sUsage = "Reloads the list";
  r.sNomutilisateur = "My name";
}

std::string Routine(std::string_view declaration, const std::string& body) {
  return std::string{declaration} + '\r' + test::Header() + '\r' + body;
}

const std::string kGet = Routine("Property Get Title( )AS String",
                                 test::LabelledBody("Title", "Property", "Title = m_NewTitle\n"));
const std::string kLet = Routine("Property Let Title(NewTitle as String)",
                                 test::LabelledBody("Title", "Property", "m_NewTitle = NewTitle\n"));
const std::string kLetChanged =
    Routine("Property Let Title(NewTitle as String)",
            test::LabelledBody("Title", "Property", "m_NewTitle = NewTitle\nPropertyChanged \"Title\"\n"));
const std::string kDeclaration = "Private m_NewTitle AS String";
const std::string kWriteSkeleton = "Private Sub UserControl_WriteProperties(PropBag As PropertyBag)\rEnd Sub";
const std::string kReadSkeleton = "Private Sub UserControl_ReadProperties (PropBag As PropertyBag)\rEnd Sub";
const std::string kWriteLine = "Propbag.WriteProperty \"Title\", m_NewTitle";
const std::string kReadLine = "m_NewTitle = PropBag.ReadProperty (\"Title\")";

struct PathCase {
  const char* name;
  std::function<void(Request&)> options;
  std::vector<HandedText> handed;
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const PathCase& c, std::ostream* os) {
  *os << c.name;
}

const PathCase kPaths[] = {
    {"sub",
     [](Request& r) {
       Title(r);
       r.sNom_Propriete = "Refresh";
       r.sNomVariable = "";
       r.bCreerProcedure = true;
     },
     {{"AddFromString", Routine("Sub Refresh( )", test::LabelledBody("Refresh", "Sub", ""))}}},
    {"function",
     [](Request& r) {
       Title(r);
       r.sNom_Propriete = "Total";
       r.sFuncReturn = "Long";
       r.bCreerFonction = true;
     },
     {{"AddFromString",
       Routine("Function Total(NewTitle as String)AS Long", test::LabelledBody("Total", "Function", ""))}}},
    {"sub_wins_over_function",
     [](Request& r) {
       Title(r);
       r.sNom_Propriete = "Refresh";
       r.sNomVariable = "";
       r.bCreerProcedure = true;
       r.bCreerFonction = true;
     },
     {{"AddFromString", Routine("Sub Refresh( )", test::LabelledBody("Refresh", "Sub", ""))}}},
    // A read-only Get still reads m_NewTitle, so the variable is declared; nothing is persisted.
    {"read_only",
     [](Request& r) {
       Title(r);
       r.bLectureSeule = true;
       r.bProp_Changed = true;
     },
     {{"AddFromString", kGet}, {"AddFromString", kDeclaration}}},
    {"read_only_object",
     [](Request& r) {
       Title(r);
       r.bLectureSeule = true;
       r.bProp_Set = true;
     },
     {{"AddFromString", Routine("Property Get Title( )AS String",
                                test::LabelledBody("Title", "Property", "Set Title = m_NewTitle\n"))},
      {"AddFromString", kDeclaration}}},
    {"read_write",
     Title,
     {{"AddFromString", kGet}, {"AddFromString", kLet}, {"AddFromString", kDeclaration}}},
    {"read_write_changed",
     [](Request& r) {
       Title(r);
       r.bProp_Changed = true;
     },
     {{"AddFromString", kGet},
      {"AddFromString", kLetChanged},
      {"AddFromString", kDeclaration},
      {"AddFromString", kWriteSkeleton},
      {"InsertLines 4", kWriteLine},
      {"AddFromString", kReadSkeleton},
      {"InsertLines 4", kReadLine}}},
    {"object_changed",
     [](Request& r) {
       Title(r);
       r.sTypeVariable = "StdFont";
       r.bProp_Set = true;
       r.bProp_Changed = true;
     },
     {{"AddFromString", Routine("Property Get Title( )AS StdFont",
                                test::LabelledBody("Title", "Property", "Set Title = m_NewTitle\n"))},
      {"AddFromString",
       Routine("Property Set Title(NewTitle as StdFont)",
               test::LabelledBody("Title", "Property",
                                  "Set m_NewTitle = NewTitle\nPropertyChanged \"Title\"\n"))},
      {"AddFromString", "Private m_NewTitle AS StdFont"},
      {"AddFromString", kWriteSkeleton},
      {"InsertLines 4", kWriteLine},
      {"AddFromString", kReadSkeleton},
      {"InsertLines 4", "Set m_NewTitle = PropBag.ReadProperty (\"Title\")"}}},
    {"hidden_private_resume_next",
     [](Request& r) {
       Title(r);
       r.bCacher = true;
       r.bProp_Prive = true;
       r.bResumeNext = true;
     },
     {{"AddFromString",
       Routine("Private Property Get Title_Hide ( )AS String",
               test::Cr("'-----------------------------------\n'Local variables definition \n\n\n\n\n"
                        "'-----------------------------------\n' Start \nOn Error Resume Next\n\n\n\n"
                        "Title_Hide = m_NewTitle\n'-----------------------------------\n'End\n"
                        "End Property"))},
      {"AddFromString",
       Routine("Private Property Let Title_Hide (NewTitle as String)",
               test::Cr("'-----------------------------------\n'Local variables definition \n\n\n\n\n"
                        "'-----------------------------------\n' Start \nOn Error Resume Next\n\n\n\n"
                        "m_NewTitle = NewTitle\n'-----------------------------------\n'End\n"
                        "End Property"))},
      {"AddFromString", kDeclaration}}},
    // A request on which nothing was assigned takes the property path with empty texts.
    {"nothing_assigned",
     [](Request&) {},
     {{"AddFromString",
       "Property Get ( )AS \r" + test::Header("", "") + '\r' + test::LabelledBody("", "Property", " = m_\n")},
      {"AddFromString",
       "Property Let ( )\r" + test::Header("", "") + '\r' + test::LabelledBody("", "Property", "m_ = \n")},
      {"AddFromString", "Private m_ AS "}}},
    {"help_id_changes_nothing",
     [](Request& r) {
       Title(r);
       r.sAideId = "1234";
     },
     {{"AddFromString", kGet}, {"AddFromString", kLet}, {"AddFromString", kDeclaration}}},
};

class EcrireCodePath : public ::testing::TestWithParam<PathCase> {};

TEST_P(EcrireCodePath, HandsExactTextsInOrder) {
  test::TestPlatform platform;
  generator::Request request;
  GetParam().options(request);
  test::RecordingModule module{"Option Explicit\r\n"};
  generator::EcrireCode(request, module, platform.platform());
  ASSERT_EQ(module.handed().size(), GetParam().handed.size());
  for (std::size_t i = 0; i < GetParam().handed.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(module.handed()[i].call, GetParam().handed[i].call);
    EXPECT_EQ(test::Visible(module.handed()[i].text), test::Visible(GetParam().handed[i].text));
    EXPECT_EQ(module.handed()[i].text.find('\n'), std::string::npos);
  }
  EXPECT_TRUE(platform.ui.messages().empty());
}

INSTANTIATE_TEST_SUITE_P(Generator, EcrireCodePath, ::testing::ValuesIn(kPaths),
                         [](const auto& info) { return std::string{info.param.name}; });

// The example of a user control's Title property, from the dialog's "OK" to the saved module.
TEST(EcrireCodeModule, ReadWriteChangedPropertyIntoNewModule) {
  test::TestPlatform platform;
  generator::Request request;
  Title(request);
  request.bProp_Changed = true;
  host::MemoryCodeModule module{"Option Explicit\r\n"};
  generator::EcrireCode(request, module, platform.platform());
  const std::string expected = test::CrLf(
                                   "Option Explicit\n"
                                   "Private m_NewTitle AS String\n"
                                   "Private Sub UserControl_ReadProperties (PropBag As PropertyBag)\n"
                                   "m_NewTitle = PropBag.ReadProperty (\"Title\")\n"
                                   "End Sub\n"
                                   "Private Sub UserControl_WriteProperties(PropBag As PropertyBag)\n"
                                   "Propbag.WriteProperty \"Title\", m_NewTitle\n"
                                   "End Sub\n") +
                               test::Saved(kLetChanged) + "\r\n\r\n" + test::Saved(kGet);
  EXPECT_EQ(test::Visible(module.Text()), test::Visible(expected));
  EXPECT_TRUE(platform.ui.messages().empty());
}

// Generated routines go above the module's own; persistence lines go first inside the existing
// procedures, after their declarations, even with comment blocks above them and continued lines.
TEST(EcrireCodeModule, LandsAmongExistingCode) {
  test::TestPlatform platform;
  generator::Request request;
  Title(request);
  request.bResumeNext = true;
  request.bProp_Changed = true;
  host::MemoryCodeModule module{
      test::CrLf("Option Explicit\n"
                 "' Module comment\n"
                 "Private mCount As Long\n"
                 "\n"
                 "' Writes the bag\n"
                 "Private Sub UserControl_WriteProperties(PropBag As PropertyBag)\n"
                 "    Propbag.WriteProperty \"Old\", m_Old\n"
                 "End Sub\n"
                 "\n"
                 "' Reads the bag\n"
                 "Private Sub UserControl_ReadProperties( _\n"
                 "    PropBag As PropertyBag)\n"
                 "    m_Old = PropBag.ReadProperty(\"Old\")\n"
                 "End Sub")};
  generator::EcrireCode(request, module, platform.platform());
  const std::string get = "Property Get Title( )AS String\r\n" + test::Saved(test::Header()) + "\r\n" +
                          test::CrLf(
                              "'-----------------------------------\n'Local variables definition \n\n\n\n\n"
                              "'-----------------------------------\n' Start \nOn Error Resume Next\n\n\n\n"
                              "Title = m_NewTitle\n'-----------------------------------\n'End\nEnd Property");
  const std::string let = "Property Let Title(NewTitle as String)\r\n" + test::Saved(test::Header()) +
                          "\r\n" +
                          test::CrLf(
                              "'-----------------------------------\n'Local variables definition \n\n\n\n\n"
                              "'-----------------------------------\n' Start \nOn Error Resume Next\n\n\n\n"
                              "m_NewTitle = NewTitle\nPropertyChanged \"Title\"\n"
                              "'-----------------------------------\n'End\nEnd Property");
  const std::string expected = test::CrLf(
                                   "Option Explicit\n"
                                   "' Module comment\n"
                                   "Private mCount As Long\n"
                                   "Private m_NewTitle AS String\n") +
                               let + "\r\n" + get + "\r\n" +
                               test::CrLf(
                                   "\n"
                                   "' Writes the bag\n"
                                   "Private Sub UserControl_WriteProperties(PropBag As PropertyBag)\n"
                                   "Propbag.WriteProperty \"Title\", m_NewTitle\n"
                                   "    Propbag.WriteProperty \"Old\", m_Old\n"
                                   "End Sub\n"
                                   "\n"
                                   "' Reads the bag\n"
                                   "Private Sub UserControl_ReadProperties( _\n"
                                   "    PropBag As PropertyBag)\n"
                                   "m_NewTitle = PropBag.ReadProperty (\"Title\")\n"
                                   "    m_Old = PropBag.ReadProperty(\"Old\")\n"
                                   "End Sub");
  EXPECT_EQ(test::Visible(module.Text()), test::Visible(expected));
  EXPECT_TRUE(platform.ui.messages().empty());
}

TEST(EcrireCodeModule, SecondCallRepeatsTheGeneration) {
  test::TestPlatform platform;
  generator::Request request;
  Title(request);
  request.bProp_Changed = true;
  test::RecordingModule module{"Option Explicit\r\n"};
  generator::EcrireCode(request, module, platform.platform());
  generator::EcrireCode(request, module, platform.platform());
  ASSERT_EQ(module.handed().size(), 12U);
  EXPECT_EQ(module.handed()[7], (HandedText{"AddFromString", kGet}));
  EXPECT_EQ(module.handed()[8], (HandedText{"AddFromString", kLetChanged}));
  // The procedures exist now: the second run only adds its lines first in them.
  const std::deque<std::string>& lines = module.inner().lines();
  const auto count = [&](std::string_view text) { return std::count(lines.begin(), lines.end(), text); };
  EXPECT_EQ(count(kDeclaration), 2);
  EXPECT_EQ(count(kWriteLine), 2);
  EXPECT_EQ(count(kReadLine), 2);
  EXPECT_EQ(count("Private Sub UserControl_WriteProperties(PropBag As PropertyBag)"), 1);
  EXPECT_EQ(count("Private Sub UserControl_ReadProperties (PropBag As PropertyBag)"), 1);
}

// The host calls of each path, in order.
struct OrderCase {
  const char* name;
  std::string_view module;
  std::function<void(Request&)> options;
  std::vector<std::string> calls;
  long caret = 1;
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const OrderCase& c, std::ostream* os) {
  *os << c.name;
}

const OrderCase kOrders[] = {
    // Where the declarations end is asked first: the new code goes ahead of an #If block they leave open.
    {"sub", "", [](Request& r) { r.bCreerProcedure = true; }, {"CountOfDeclarationLines", "AddFromString"}},
    {"function",
     "",
     [](Request& r) { r.bCreerFonction = true; },
     {"CountOfDeclarationLines", "AddFromString"}},
    {"read_only",
     "",
     [](Request& r) { r.bLectureSeule = true; },
     {"CountOfDeclarationLines", "AddFromString", "AddFromString"}},
    {"read_write",
     "",
     [](Request&) {},
     {"CountOfDeclarationLines", "AddFromString", "AddFromString", "AddFromString"}},
    {"read_write_changed_new_procedures",
     "Option Explicit",
     [](Request& r) {
       r.sNom_Propriete = "Title";
       r.bProp_Changed = true;
     },
     // The module's kind is asked first: a built-in module without one may be a user control.
     {"Parent", "CountOfDeclarationLines", "Lines 1 1", "AddFromString", "AddFromString", "AddFromString",
      "ProcBodyLine UserControl_WriteProperties 0", "AddFromString",
      "ProcBodyLine UserControl_WriteProperties 0", "Lines 3 1", "InsertLines 4",
      "ProcBodyLine UserControl_ReadProperties 0", "AddFromString",
      "ProcBodyLine UserControl_ReadProperties 0", "Lines 3 1", "InsertLines 4"}},
    {"read_write_changed_existing_procedures",
     "Sub UserControl_WriteProperties(PropBag As PropertyBag)\nEnd Sub\n"
     "Sub UserControl_ReadProperties(PropBag As PropertyBag)\nEnd Sub",
     [](Request& r) {
       r.sNom_Propriete = "Title";
       r.bProp_Changed = true;
     },
     {"Parent", "CountOfDeclarationLines", "AddFromString", "AddFromString", "AddFromString",
      "ProcBodyLine UserControl_WriteProperties 0", "Lines 85 1", "InsertLines 86",
      "ProcBodyLine UserControl_ReadProperties 0", "Lines 88 1", "InsertLines 89"}},
    {"comments_only",
     "Sub Refresh()\nEnd Sub",
     [](Request& r) {
       r.bComment = true;
       r.bCreerProcedure = true;
     },
     {"CodePane", "GetSelection", "ProcOfLine 1", "CountOfLines", "Lines 1 2", "InsertLines 2"}},
    {"comments_only_continued_declaration_caret_in_body",
     "Sub Refresh(a, _\nb)\nx = 1\nEnd Sub",
     [](Request& r) { r.bComment = true; },
     {"CodePane", "GetSelection", "ProcOfLine 4", "CountOfLines", "Lines 1 4", "DeleteLines 3 1",
      "InsertLines 3"},
     4},
};

class EcrireCodeOrder : public ::testing::TestWithParam<OrderCase> {};

TEST_P(EcrireCodeOrder, CallsTheHostInOrder) {
  test::TestPlatform platform;
  generator::Request request;
  GetParam().options(request);
  host::MemoryCodeModule module{GetParam().module};
  module.pane().SetCaret(GetParam().caret);
  host::FaultPlan plan;
  host::FaultyCodeModule faulty{module, plan};
  generator::EcrireCode(request, faulty, platform.platform());
  EXPECT_EQ(plan.calls(), GetParam().calls);
  EXPECT_TRUE(platform.ui.messages().empty());
}

INSTANTIATE_TEST_SUITE_P(Generator, EcrireCodeOrder, ::testing::ValuesIn(kOrders),
                         [](const auto& info) { return std::string{info.param.name}; });

}  // namespace
