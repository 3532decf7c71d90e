// generator/reserved_words.cpp: the one table of VB's reserved words.
#include "generator/reserved_words.h"

#include <algorithm>
#include <iterator>

#include "host/vb_code/code_lines.h"

namespace generator {
namespace {

// The reserved identifiers of Microsoft's VBA language definition, [MS-VBAL] section 3.3.5.2
// "Reserved Identifiers and IDENTIFIER", group by group and each word once; and Property, the
// keyword of property declarations, which VB6 refuses as a name too.
constexpr std::string_view kReserved[] = {
    // Statement keywords.
    "Call",
    "Case",
    "Close",
    "Const",
    "Declare",
    "DefBool",
    "DefByte",
    "DefCur",
    "DefDate",
    "DefDbl",
    "DefInt",
    "DefLng",
    "DefLngLng",
    "DefLngPtr",
    "DefObj",
    "DefSng",
    "DefStr",
    "DefVar",
    "Dim",
    "Do",
    "Else",
    "ElseIf",
    "End",
    "EndIf",
    "Enum",
    "Erase",
    "Event",
    "Exit",
    "For",
    "Friend",
    "Function",
    "Get",
    "Global",
    "GoSub",
    "GoTo",
    "If",
    "Implements",
    "Input",
    "Let",
    "Lock",
    "Loop",
    "LSet",
    "Next",
    "On",
    "Open",
    "Option",
    "Print",
    "Private",
    "Public",
    "Put",
    "RaiseEvent",
    "ReDim",
    "Resume",
    "Return",
    "RSet",
    "Seek",
    "Select",
    "Set",
    "Static",
    "Stop",
    "Sub",
    "Type",
    "Unlock",
    "Wend",
    "While",
    "With",
    "Write",
    // The comment keyword.
    "Rem",
    // Marker keywords.
    "Any",
    "As",
    "ByRef",
    "ByVal",
    "Each",
    "In",
    "New",
    "Shared",
    "Until",
    "WithEvents",
    "Optional",
    "ParamArray",
    "Preserve",
    "Spc",
    "Tab",
    "Then",
    "To",
    // Operators.
    "AddressOf",
    "And",
    "Eqv",
    "Imp",
    "Is",
    "Like",
    "Mod",
    "Not",
    "Or",
    "TypeOf",
    "Xor",
    // Reserved names.
    "Abs",
    "CBool",
    "CByte",
    "CCur",
    "CDate",
    "CDbl",
    "CDec",
    "CInt",
    "CLng",
    "CLngLng",
    "CLngPtr",
    "CSng",
    "CStr",
    "CVar",
    "CVErr",
    "Date",
    "Debug",
    "DoEvents",
    "Fix",
    "Int",
    "Len",
    "LenB",
    "Me",
    "PSet",
    "Scale",
    "Sgn",
    "String",
    // Special forms.
    "Array",
    "Circle",
    "InputB",
    "LBound",
    "UBound",
    // Built-in types (Date and String are above).
    "Boolean",
    "Byte",
    "Currency",
    "Double",
    "Integer",
    "Long",
    "LongLong",
    "LongPtr",
    "Single",
    "Variant",
    // Literals.
    "True",
    "False",
    "Nothing",
    "Empty",
    "Null",
    // Reserved for the implementation.
    "Attribute",
    "LINEINPUT",
    "VB_Base",
    "VB_Control",
    "VB_Creatable",
    "VB_Customizable",
    "VB_Description",
    "VB_Exposed",
    "VB_Ext_KEY",
    "VB_GlobalNameSpace",
    "VB_HelpID",
    "VB_Invoke_Func",
    "VB_Invoke_Property",
    "VB_Invoke_PropertyPut",
    "VB_Invoke_PropertyPutRef",
    "VB_MemberFlags",
    "VB_Name",
    "VB_PredeclaredId",
    "VB_ProcData",
    "VB_TemplateDerived",
    "VB_UserMemId",
    "VB_VarDescription",
    "VB_VarHelpID",
    "VB_VarMemberFlags",
    "VB_VarProcData",
    "VB_VarUserMemId",
    // Reserved for the future.
    "CDecl",
    "Decimal",
    "DefDec",
    // The property declarations' keyword.
    "Property",
};

constexpr std::string_view kBuiltInTypes[] = {"Boolean", "Byte",    "Currency", "Date",
                                              "Double",  "Integer", "Long",     "LongLong",
                                              "LongPtr", "Single",  "String",   "Variant"};

template <std::size_t N>
bool Holds(const std::string_view (&words)[N], std::string_view word) noexcept {
  return std::any_of(std::begin(words), std::end(words),
                     [word](std::string_view listed) { return host::SameName(listed, word); });
}

}  // namespace

bool IsReservedWord(std::string_view word) noexcept {
  return Holds(kReserved, word);
}

bool IsBuiltInTypeName(std::string_view word) noexcept {
  return Holds(kBuiltInTypes, word);
}

}  // namespace generator
