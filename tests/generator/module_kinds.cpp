// tests/generator/module_kinds.cpp: the kinds of module, with the headers VB6 saves them under.
#include "tests/generator/module_kinds.h"

#include "tests/support/golden.h"

namespace test {

const std::vector<ModuleKindCase>& ModuleKinds() {
  using host::ComponentType;
  static const std::vector<ModuleKindCase> kinds = {
      {"user_control", ComponentType::kUserControl, false, ".ctl",
       "VERSION 5.00\r\nBegin VB.UserControl Tools\r\n   ClientHeight    =   3600\r\nEnd\r\n"
       "Attribute VB_Name = \"Tools\"\r\n",
       "UserControl"},
      {"user_document", ComponentType::kDocObject, false, ".dob",
       "VERSION 5.00\r\nBegin VB.UserDocument Tools\r\n   HScrollSmallChange=   225\r\nEnd\r\n"
       "Attribute VB_Name = \"Tools\"\r\nAttribute VB_GlobalNameSpace = False\r\n",
       "UserDocument"},
      {"persistable_class", ComponentType::kClassModule, true, ".cls",
       "VERSION 1.0 CLASS\r\nBEGIN\r\n  MultiUse = -1  'True\r\n  Persistable = 1  'Persistable\r\nEND\r\n"
       "Attribute VB_Name = \"Tools\"\r\n",
       "Class"},
      {"plain_class", ComponentType::kClassModule, false, ".cls",
       "VERSION 1.0 CLASS\r\nBEGIN\r\n  MultiUse = -1  'True\r\n  Persistable = 0  'NotPersistable\r\nEND\r\n"
       "Attribute VB_Name = \"Tools\"\r\n",
       nullptr},
      {"standard_module", ComponentType::kStdModule, false, ".bas", "Attribute VB_Name = \"Tools\"\r\n",
       nullptr},
      {"form", ComponentType::kVBForm, false, ".frm",
       "VERSION 5.00\r\nBegin VB.Form Tools\r\n   Caption         =   \"Tools\"\r\nEnd\r\n"
       "Attribute VB_Name = \"Tools\"\r\n",
       nullptr},
      {"property_page", ComponentType::kPropPage, false, ".pag",
       "VERSION 5.00\r\nBegin VB.PropertyPage Tools\r\n   Caption         =   \"Tools\"\r\nEnd\r\n"
       "Attribute VB_Name = \"Tools\"\r\n",
       nullptr},
  };
  return kinds;
}

std::string ModuleKindExpected(const ModuleKindCase& c) {
  std::string text = Golden("module_kinds/user_control.bas");
  const std::string control = "UserControl_";
  for (std::size_t at = text.find(control); at != std::string::npos; at = text.find(control, at)) {
    text.replace(at, control.size(), std::string{c.bagObject} + '_');
    at += std::string_view{c.bagObject}.size() + 1;
  }
  return text;
}

generator::Request ModuleKindsRequest() {
  generator::Request request;
  request.sNom_Propriete = "Font";
  request.sNomVariable = "NewFont";
  request.sTypeVariable = "StdFont";
  request.sFuncReturn = "String";
  request.bProp_Set = true;
  request.bProp_Changed = true;
  request.sNomutilisateur = "My name";
  request.sUsage = "Description of its utility";
  return request;
}

}  // namespace test
