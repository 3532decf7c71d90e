// tests/generator/creer_entete_test.cpp: the declaration line of every kind and option.
#include <gtest/gtest.h>

#include <functional>

#include "tests/generator/generator_fixture.h"

namespace {

using generator::ProcedureKind;
using generator::Request;

struct DeclarationCase {
  const char* name;
  ProcedureKind kind;
  std::function<void(Request&)> options;
  std::string_view expected;
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const DeclarationCase& c, std::ostream* os) {
  *os << c.name;
}

void Refresh(Request& r) {
  r.sNom_Propriete = "Refresh";
}
void Total(Request& r) {
  r.sNom_Propriete = "Total";
}
constexpr auto* Title = &test::TitleProperty;

const DeclarationCase kDeclarations[] = {
    {"sub", generator::pkSub, Refresh, "Sub Refresh( )"},
    {"private_static_sub", generator::pkSub,
     [](Request& r) {
       Refresh(r);
       r.bProp_Prive = true;
       r.bVariableLoc_Static = true;
     },
     "Private Static Sub Refresh( )"},
    {"function_return_type", generator::pkFunction,
     [](Request& r) {
       Total(r);
       r.sFuncReturn = "Long";
     },
     "Function Total( )AS Long"},
    {"friend_function_with_parameter", generator::pkFunction,
     [](Request& r) {
       Title(r);
       r.sNom_Propriete = "Total";
       r.sFuncReturn = "Long";
       r.bProp_Friend = true;
     },
     "Friend Function Total(NewTitle as String)AS Long"},
    {"function_without_return_type", generator::pkFunction, Total, "Function Total( )AS "},
    // A Get takes no parameter and returns the variable's type, so that it agrees with its Let.
    {"property_get", generator::pkPropertyGet, Title, "Property Get Title( )AS String"},
    {"property_let", generator::pkPropertyLet, Title, "Property Let Title(NewTitle as String)"},
    {"property_set", generator::pkPropertySet, Title, "Property Set Title(NewTitle as String)"},
    {"private_hidden_let", generator::pkPropertyLet,
     [](Request& r) {
       Title(r);
       r.bProp_Prive = true;
       r.bCacher = true;
     },
     "Private Property Let Title_Hide (NewTitle as String)"},
    {"hidden_get", generator::pkPropertyGet,
     [](Request& r) {
       Title(r);
       r.bCacher = true;
     },
     "Property Get Title_Hide ( )AS String"},
    {"hidden_get_without_type", generator::pkPropertyGet,
     [](Request& r) {
       r.sNom_Propriete = "Title";
       r.bCacher = true;
     },
     "Property Get Title_Hide ( )AS "},
    {"let_without_type", generator::pkPropertyLet,
     [](Request& r) {
       Title(r);
       r.sTypeVariable = "";
     },
     "Property Let Title(NewTitle as )"},
    {"private_friend_both_written", generator::pkSub,
     [](Request& r) {
       Refresh(r);
       r.bProp_Prive = true;
       r.bProp_Friend = true;
     },
     "Private Friend Sub Refresh( )"},
    {"every_modifier_on_get", generator::pkPropertyGet,
     [](Request& r) {
       Title(r);
       r.bProp_Prive = true;
       r.bProp_Friend = true;
       r.bVariableLoc_Static = true;
       r.bCacher = true;
       r.sFuncReturn = "Long";
     },
     "Private Friend Static Property Get Title_Hide ( )AS String"},
    {"empty_name", generator::pkSub, [](Request&) {}, "Sub ( )"},
    {"kind_zero_has_no_word", static_cast<ProcedureKind>(0), Refresh, "Refresh( )"},
    {"kind_six_has_no_word", static_cast<ProcedureKind>(6), Refresh, "Refresh( )"},
    {"blank_variable_is_a_name", generator::pkSub,
     [](Request& r) {
       Refresh(r);
       r.sNomVariable = " ";
       r.sTypeVariable = "String";
     },
     "Sub Refresh(  as String)"},
    {"type_ignored_without_variable", generator::pkPropertyLet,
     [](Request& r) {
       r.sNom_Propriete = "Title";
       r.sTypeVariable = "String";
     },
     "Property Let Title( )"},
    {"return_type_ignored_for_sub", generator::pkSub,
     [](Request& r) {
       Refresh(r);
       r.sFuncReturn = "Long";
     },
     "Sub Refresh( )"},
    {"return_type_ignored_for_set", generator::pkPropertySet,
     [](Request& r) {
       Title(r);
       r.sFuncReturn = "Long";
     },
     "Property Set Title(NewTitle as String)"},
    {"return_type_ignored_for_let", generator::pkPropertyLet,
     [](Request& r) {
       Title(r);
       r.sFuncReturn = "Long";
     },
     "Property Let Title(NewTitle as String)"},
    {"texts_verbatim", generator::pkFunction,
     [](Request& r) {
       r.sNom_Propriete = " total ";
       r.sNomVariable = "x(1)";
       r.sTypeVariable = "string ";
       r.sFuncReturn = "Collection\"";
     },
     "Function  total (x(1) as string )AS Collection\""},
};

class CreerEntete : public ::testing::TestWithParam<DeclarationCase> {};

TEST_P(CreerEntete, WritesTheDeclarationLine) {
  test::TestPlatform platform;
  generator::Request request;
  GetParam().options(request);
  const std::string line = generator::CreerEntete(request, GetParam().kind, platform.ui);
  EXPECT_EQ(line, GetParam().expected);
  EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos);
  EXPECT_TRUE(platform.ui.messages().empty());
}

INSTANTIATE_TEST_SUITE_P(Generator, CreerEntete, ::testing::ValuesIn(kDeclarations),
                         [](const auto& info) { return std::string{info.param.name}; });

TEST(RequestOptions, LastAssignmentWins) {
  test::TestPlatform platform;
  generator::Request request;
  request.sNom_Propriete = "First";
  request.sNom_Propriete = "Refresh";
  request.bProp_Prive = true;
  request.bProp_Prive = false;
  EXPECT_EQ(generator::CreerEntete(request, generator::pkSub, platform.ui), "Sub Refresh( )");
}

}  // namespace
