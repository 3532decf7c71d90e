// tests/generator/vb_rules.cpp: the rows, and the request a command line makes of them.
#include "tests/generator/vb_rules.h"

namespace test {
namespace {

RuleCase Refused(const char* label, std::vector<std::string> arguments, const char* option, std::string why) {
  return {label, std::move(arguments), option, std::move(why)};
}
std::string Longer(const std::string& made, const std::string& of) {
  return "With this " + of + ", " + made + " would be 256 characters long; VB allows 255: choose a shorter " +
         of + ".";
}
// A conflict with `what`, declared at code line `line`.
RuleCase Used(const char* label, std::vector<std::string> arguments, const std::string& what, long line,
              const std::string& instead = "name") {
  return {label, std::move(arguments), nullptr,
          "The module already has " + what + ", at line {line}; choose another " + instead + ".", line};
}

const std::string kN251(251, 'N');
const std::string kV254(254, 'V');

}  // namespace

const std::vector<RuleCase>& NameCases() {
  static const std::vector<RuleCase> cases = {
      {"letter_of_the_code_page", {"sub", "Caf\u00E9"}},
      Refused("letter_outside_the_code_page", {"sub", "\u03A3a"}, "NAME",
              "\"\u03A3a\" is not a name VB accepts: \"\u03A3\" is not a letter of the module's code page."),
      Refused("starts_with_a_digit", {"sub", "1a"}, "NAME",
              "\"1a\" is not a name VB accepts: it does not start with a letter."),
      Refused("reserved_in_any_case", {"sub", "pROPERTY"}, "NAME",
              "pROPERTY is a reserved word in Visual Basic; choose another name."),
      Refused("error_label_past_255", {"sub", kN251}, "NAME",
              Longer("the error label (Error and the name)", "name")),
      {"no_label_with_resume_next", {"sub", kN251, "--resume-next"}},
      Refused("hide_suffix_past_255", {"sub", kN251, "--resume-next", "--hide"}, "NAME",
              Longer("the declared name (the name and _Hide)", "name")),
      Refused("variable_reserved", {"property", "T", "--variable", "Each"}, "--variable",
              "Each is a reserved word in Visual Basic; choose another variable."),
      Refused("m_variable_past_255", {"property", "T", "--variable", kV254}, "--variable",
              Longer("the module variable (m_ and the variable)", "variable")),
      {"parameter_without_m_variable", {"function", "T", "--variable", kV254}},
      {"type_of_a_library", {"property", "T", "--variable", "V", "--type", "ADODB.Recordset"}},
      Refused("type_empty", {"property", "T", "--variable", "V", "--type", ""}, "--type",
              "The type is empty; give the name of a type, such as Long or Collection."),
      Refused("type_ending_with_a_dot", {"property", "T", "--variable", "V", "--type", "ADODB."}, "--type",
              "\"ADODB.\" is not a type VB accepts: a type is a name, or two names joined by a dot "
              "(Library.Class)."),
      Refused(
          "no_break_space", {"sub", "a\u00A0b"}, "NAME",
          "\"a\u00A0b\" is not a name VB accepts: \"\u00A0\" cannot stand in a name, which holds letters, "
          "digits and underscores only."),
      {"return_type_built_in", {"function", "T", "--returns", "Currency"}},
      Refused("return_type_reserved", {"function", "T", "--returns", "Next"}, "--returns",
              "Next is a reserved word in Visual Basic, not a type."),
  };
  return cases;
}

const std::vector<RuleCase>& ConflictCases() {
  static const std::vector<RuleCase> cases = {
      Used("sub_in_any_case", {"sub", "mAIN"}, "a Sub Main", 9),
      Used("function", {"function", "Total"}, "a Function Total", 11),
      Used("sub_named_as_a_property", {"sub", "Value"}, "a Property Get Value", 5),
      Used("property_named_as_a_sub", {"property", "Main", "--variable", "V"}, "a Sub Main", 9),
      Used("same_accessor", {"property", "Size", "--variable", "V"}, "a Property Let Size", 7),
      {"get_beside_a_let", {"property", "Size", "--variable", "V", "--read-only"}},
      {"hidden_name_is_another", {"sub", "Main", "--hide"}},
      Used("constant", {"sub", "limit"}, "a constant LIMIT", 2),
      {"name_in_a_string_or_a_comment", {"sub", "Spare"}},
      Used("variable_after_withevents", {"sub", "Count"}, "a variable Count", 3),
      Used("event", {"sub", "Changed"}, "an Event Changed", 4),
      Used("m_variable", {"property", "Caption", "--variable", "Title"}, "a variable m_Title", 3, "variable"),
      {"friend_in_a_class", {"sub", "Refresh", "--friend"}},
      {"friend_in_a_standard_module",
       {"sub", "Refresh", "--friend"},
       nullptr,
       "Friend is allowed only in class modules, forms, user controls and the like, not in a standard "
       "module.",
       0,
       host::ComponentType::kStdModule},
  };
  return cases;
}

generator::Request RuleRequest(const RuleCase& c) {
  generator::Request request;
  request.bCreerProcedure = c.arguments[0] == "sub";
  request.bCreerFonction = c.arguments[0] == "function";
  request.sNom_Propriete = c.arguments[1];
  request.sTypeVariable = request.sFuncReturn = "String";
  for (std::size_t i = 2; i < c.arguments.size(); ++i) {
    const std::string& option = c.arguments[i];
    request.bResumeNext |= option == "--resume-next";
    request.bCacher |= option == "--hide";
    request.bProp_Friend |= option == "--friend";
    request.bLectureSeule |= option == "--read-only";
    for (auto [name, field] : {std::pair{"--variable", &generator::Request::sNomVariable},
                               {"--type", &generator::Request::sTypeVariable},
                               {"--returns", &generator::Request::sFuncReturn}}) {
      if (option == name) request.*field = c.arguments[++i];
    }
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
