// tests/generator/vb_rules.cpp: the rows, and the request a command line makes of them.
#include "tests/generator/vb_rules.h"

namespace test {
namespace {

const std::string kN251(251, 'N');
constexpr const char* kChoose = "; VB allows 255: choose a shorter ";

}  // namespace

const std::vector<RuleCase>& NameCases() {
  static const std::vector<RuleCase> cases = {
      {"letters_digits_underscores", {"sub", "Re_fresh2"}},
      {"letter_of_the_code_page", {"sub", "Caf\u00E9"}},
      {"letter_outside_the_code_page",
       {"sub", "\u03A3igma"},
       "NAME",
       "\"\u03A3igma\" is not a name VB accepts: \"\u03A3\" is not a letter of the module's code page."},
      {"starts_with_a_digit",
       {"sub", "1bad name"},
       "NAME",
       "\"1bad name\" is not a name VB accepts: it does not start with a letter."},
      {"blank", {"sub", " "}, "NAME", "\" \" is not a name VB accepts: it does not start with a letter."},
      {"apostrophe",
       {"sub", "a'b"},
       "NAME",
       "\"a'b\" is not a name VB accepts: \"'\" cannot stand in a name, which holds letters, digits and "
       "underscores only."},
      {"reserved_in_any_case",
       {"sub", "pROPERTY"},
       "NAME",
       "pROPERTY is a reserved word in Visual Basic; choose another name."},
      {"error_label_past_255",
       {"sub", kN251},
       "NAME",
       "With this name, the error label (Error and the name) would be 256 characters long" +
           std::string{kChoose} + "name."},
      {"no_label_with_resume_next", {"sub", kN251, "--resume-next"}},
      {"hide_suffix_past_255",
       {"sub", kN251, "--resume-next", "--hide"},
       "NAME",
       "With this name, the declared name (the name and _Hide) would be 256 characters long" +
           std::string{kChoose} + "name."},
      {"variable_reserved",
       {"property", "Title", "--variable", "Each"},
       "--variable",
       "Each is a reserved word in Visual Basic; choose another variable."},
      {"m_variable_past_255",
       {"property", "Title", "--variable", std::string(254, 'V')},
       "--variable",
       "With this variable, the module variable (m_ and the variable) would be 256 characters long" +
           std::string{kChoose} + "variable."},
      {"parameter_without_m_variable", {"function", "Total", "--variable", std::string(254, 'V')}},
      {"type_of_a_library", {"property", "Title", "--variable", "V", "--type", "ADODB.Recordset"}},
      {"type_empty",
       {"property", "Title", "--variable", "V", "--type", ""},
       "--type",
       "The type is empty; give the name of a type, such as Long or Collection."},
      {"type_of_three_names",
       {"property", "Title", "--variable", "V", "--type", "a.b.c"},
       "--type",
       "\"a.b.c\" is not a type VB accepts: a type is a name, or two names joined by a dot (Library.Class)."},
      {"return_type_built_in", {"function", "Total", "--returns", "Currency"}},
      {"return_type_reserved",
       {"function", "Total", "--returns", "Next"},
       "--returns",
       "Next is a reserved word in Visual Basic, not a type."},
  };
  return cases;
}

const std::vector<RuleCase>& ConflictCases() {
  using host::ComponentType;
  const std::string again = "; choose another name.";
  static const std::vector<RuleCase> cases = {
      {"new_names", {"property", "Title", "--variable", "NewTitle"}},
      {"sub", {"sub", "mAIN"}, nullptr, "The module already has a Sub Main, at line {line}" + again, 9},
      {"function",
       {"function", "Total"},
       nullptr,
       "The module already has a Function Total, at line {line}" + again,
       11},
      {"sub_named_as_a_property",
       {"sub", "Value"},
       nullptr,
       "The module already has a Property Get Value, at line {line}" + again,
       5},
      {"property_named_as_a_sub",
       {"property", "Main", "--variable", "V"},
       nullptr,
       "The module already has a Sub Main, at line {line}" + again,
       9},
      {"same_accessor",
       {"property", "Size", "--variable", "V"},
       nullptr,
       "The module already has a Property Let Size, at line {line}" + again,
       7},
      {"get_beside_a_let", {"property", "Size", "--variable", "V", "--read-only"}},
      {"hidden_name_is_another", {"sub", "Main", "--hide"}},
      {"constant",
       {"sub", "limit"},
       nullptr,
       "The module already has a constant LIMIT, at line {line}" + again,
       2},
      {"variable_after_withevents",
       {"sub", "Count"},
       nullptr,
       "The module already has a variable Count, at line {line}" + again,
       3},
      {"array",
       {"function", "Items"},
       nullptr,
       "The module already has a variable Items, at line {line}" + again,
       3},
      {"event",
       {"sub", "Changed"},
       nullptr,
       "The module already has an Event Changed, at line {line}" + again,
       4},
      {"m_variable",
       {"property", "Caption", "--variable", "Title"},
       nullptr,
       "The module already has a variable m_Title, at line {line}; choose another variable.",
       3},
      {"friend_in_a_class", {"sub", "Refresh", "--friend"}},
      {"friend_in_a_standard_module",
       {"sub", "Refresh", "--friend"},
       nullptr,
       "Friend is allowed only in class modules, forms, user controls and the like, not in a standard "
       "module.",
       0,
       ComponentType::kStdModule},
  };
  return cases;
}

generator::Request RuleRequest(const RuleCase& c) {
  generator::Request request;
  request.bCreerProcedure = c.arguments[0] == "sub";
  request.bCreerFonction = c.arguments[0] == "function";
  request.sNom_Propriete = c.arguments[1];
  request.sTypeVariable = "String";
  request.sFuncReturn = "String";
  for (std::size_t i = 2; i < c.arguments.size(); ++i) {
    const std::string& option = c.arguments[i];
    if (option == "--resume-next") request.bResumeNext = true;
    if (option == "--hide") request.bCacher = true;
    if (option == "--friend") request.bProp_Friend = true;
    if (option == "--read-only") request.bLectureSeule = true;
    if (option == "--variable") request.sNomVariable = c.arguments[++i];
    if (option == "--type") request.sTypeVariable = c.arguments[++i];
    if (option == "--returns") request.sFuncReturn = c.arguments[++i];
  }
  return request;
}

std::string RuleMessage(const RuleCase& c, long line) {
  std::string message = c.message;
  if (const std::size_t at = message.find("{line}"); at != std::string::npos) {
    message.replace(at, 6, std::to_string(line));
  }
  return message;
}

}  // namespace test
