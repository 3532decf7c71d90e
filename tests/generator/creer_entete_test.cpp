// tests/generator/creer_entete_test.cpp: the declaration line of every kind and option.
#include <gtest/gtest.h>

#include <functional>

#include "tests/generator/generator_fixture.h"

namespace {

using generator::CEcrireCode;
using generator::ProcedureKind;

struct DeclarationCase {
  const char* name;
  ProcedureKind kind;
  std::function<void(CEcrireCode&)> options;
  std::string_view expected;
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const DeclarationCase& c, std::ostream* os) {
  *os << c.name;
}

void Refresh(CEcrireCode& r) {
  r.Nom_Propriete("Refresh");
}
void Total(CEcrireCode& r) {
  r.Nom_Propriete("Total");
}
constexpr auto* Title = &test::TitleProperty;

const DeclarationCase kDeclarations[] = {
    {"sub", generator::pkSub, Refresh, "Sub Refresh( )"},
    {"private_static_sub", generator::pkSub,
     [](CEcrireCode& r) {
       Refresh(r);
       r.Prop_Prive(true);
       r.VariableLoc_Static(true);
     },
     "Private Static Sub Refresh( )"},
    {"function_return_type", generator::pkFunction,
     [](CEcrireCode& r) {
       Total(r);
       r.FunctionReturn("Long");
     },
     "Function Total( )AS Long"},
    {"friend_function_with_parameter", generator::pkFunction,
     [](CEcrireCode& r) {
       Title(r);
       r.Nom_Propriete("Total");
       r.FunctionReturn("Long");
       r.Prop_Friend(true);
     },
     "Friend Function Total(NewTitle as String)AS Long"},
    {"function_without_return_type", generator::pkFunction, Total, "Function Total( )AS "},
    // A Get takes no parameter and returns the variable's type, so that it agrees with its Let.
    {"property_get", generator::pkPropertyGet, Title, "Property Get Title( )AS String"},
    {"property_let", generator::pkPropertyLet, Title, "Property Let Title(NewTitle as String)"},
    {"property_set", generator::pkPropertySet, Title, "Property Set Title(NewTitle as String)"},
    {"private_hidden_let", generator::pkPropertyLet,
     [](CEcrireCode& r) {
       Title(r);
       r.Prop_Prive(true);
       r.Cacher(true);
     },
     "Private Property Let Title_Hide (NewTitle as String)"},
    {"hidden_get", generator::pkPropertyGet,
     [](CEcrireCode& r) {
       Title(r);
       r.Cacher(true);
     },
     "Property Get Title_Hide ( )AS String"},
    {"hidden_get_without_type", generator::pkPropertyGet,
     [](CEcrireCode& r) {
       r.Nom_Propriete("Title");
       r.Cacher(true);
     },
     "Property Get Title_Hide ( )AS "},
    {"let_without_type", generator::pkPropertyLet,
     [](CEcrireCode& r) {
       Title(r);
       r.TypeVariable("");
     },
     "Property Let Title(NewTitle as )"},
    {"private_friend_both_written", generator::pkSub,
     [](CEcrireCode& r) {
       Refresh(r);
       r.Prop_Prive(true);
       r.Prop_Friend(true);
     },
     "Private Friend Sub Refresh( )"},
    {"every_modifier_on_get", generator::pkPropertyGet,
     [](CEcrireCode& r) {
       Title(r);
       r.Prop_Prive(true);
       r.Prop_Friend(true);
       r.VariableLoc_Static(true);
       r.Cacher(true);
       r.FunctionReturn("Long");
     },
     "Private Friend Static Property Get Title_Hide ( )AS String"},
    {"empty_name", generator::pkSub, [](CEcrireCode&) {}, "Sub ( )"},
    {"kind_zero_has_no_word", static_cast<ProcedureKind>(0), Refresh, "Refresh( )"},
    {"kind_six_has_no_word", static_cast<ProcedureKind>(6), Refresh, "Refresh( )"},
    {"blank_variable_is_a_name", generator::pkSub,
     [](CEcrireCode& r) {
       Refresh(r);
       r.NomVariable(" ");
       r.TypeVariable("String");
     },
     "Sub Refresh(  as String)"},
    {"type_ignored_without_variable", generator::pkPropertyLet,
     [](CEcrireCode& r) {
       r.Nom_Propriete("Title");
       r.TypeVariable("String");
     },
     "Property Let Title( )"},
    {"return_type_ignored_for_sub", generator::pkSub,
     [](CEcrireCode& r) {
       Refresh(r);
       r.FunctionReturn("Long");
     },
     "Sub Refresh( )"},
    {"return_type_ignored_for_set", generator::pkPropertySet,
     [](CEcrireCode& r) {
       Title(r);
       r.FunctionReturn("Long");
     },
     "Property Set Title(NewTitle as String)"},
    {"return_type_ignored_for_let", generator::pkPropertyLet,
     [](CEcrireCode& r) {
       Title(r);
       r.FunctionReturn("Long");
     },
     "Property Let Title(NewTitle as String)"},
    {"texts_verbatim", generator::pkFunction,
     [](CEcrireCode& r) {
       r.Nom_Propriete(" total ");
       r.NomVariable("x(1)");
       r.TypeVariable("string ");
       r.FunctionReturn("Collection\"");
     },
     "Function  total (x(1) as string )AS Collection\""},
};

class CreerEntete : public ::testing::TestWithParam<DeclarationCase> {};

TEST_P(CreerEntete, WritesTheDeclarationLine) {
  test::TestPlatform platform;
  CEcrireCode request{platform.platform()};
  GetParam().options(request);
  const std::string line = generator::CEcrireCodeProbe::CreerEntete(request, GetParam().kind);
  EXPECT_EQ(line, GetParam().expected);
  EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos);
  EXPECT_TRUE(platform.ui.messages().empty());
}

INSTANTIATE_TEST_SUITE_P(Generator, CreerEntete, ::testing::ValuesIn(kDeclarations),
                         [](const auto& info) { return std::string{info.param.name}; });

TEST(RequestOptions, LastAssignmentWins) {
  test::TestPlatform platform;
  CEcrireCode request{platform.platform()};
  request.Nom_Propriete("First");
  request.Nom_Propriete("Refresh");
  request.Prop_Prive(true);
  request.Prop_Prive(false);
  EXPECT_EQ(generator::CEcrireCodeProbe::CreerEntete(request, generator::pkSub), "Sub Refresh( )");
}

}  // namespace
