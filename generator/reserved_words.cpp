// generator/reserved_words.cpp: the one table of VB's reserved words.
#include "generator/reserved_words.h"

#include "host/vb_code/code_lines.h"

namespace generator {
namespace {

// The reserved identifiers of Microsoft's VBA language definition, [MS-VBAL] section 3.3.5.2
// "Reserved Identifiers and IDENTIFIER", group by group and each word once; and Property, the keyword
// of property declarations, which VB6 refuses as a name too. Words are separated by one blank.
constexpr std::string_view kReserved =
    // Statement keywords.
    "Call Case Close Const Declare DefBool DefByte DefCur DefDate DefDbl DefInt DefLng DefLngLng DefLngPtr "
    "DefObj DefSng DefStr DefVar Dim Do Else ElseIf End EndIf Enum Erase Event Exit For Friend Function Get "
    "Global GoSub GoTo If Implements Input Let Lock Loop LSet Next On Open Option Print Private Public Put "
    "RaiseEvent ReDim Resume Return RSet Seek Select Set Static Stop Sub Type Unlock Wend While With Write "
    // The comment keyword, marker keywords and operators.
    "Rem Any As ByRef ByVal Each In New Shared Until WithEvents Optional ParamArray Preserve Spc Tab Then To "
    "AddressOf And Eqv Imp Is Like Mod Not Or TypeOf Xor "
    // Reserved names and special forms.
    "Abs CBool CByte CCur CDate CDbl CDec CInt CLng CLngLng CLngPtr CSng CStr CVar CVErr Date Debug DoEvents "
    "Fix Int Len LenB Me PSet Scale Sgn String Array Circle InputB LBound UBound "
    // Built-in types (Date and String are above) and literals.
    "Boolean Byte Currency Double Integer Long LongLong LongPtr Single Variant True False Nothing Empty Null "
    // Reserved for the implementation, and for the future.
    "Attribute LINEINPUT VB_Base VB_Control VB_Creatable VB_Customizable VB_Description VB_Exposed "
    "VB_Ext_KEY VB_GlobalNameSpace VB_HelpID VB_Invoke_Func VB_Invoke_Property VB_Invoke_PropertyPut "
    "VB_Invoke_PropertyPutRef VB_MemberFlags VB_Name VB_PredeclaredId VB_ProcData VB_TemplateDerived "
    "VB_UserMemId VB_VarDescription VB_VarHelpID VB_VarMemberFlags VB_VarProcData VB_VarUserMemId "
    "CDecl Decimal DefDec "
    // The property declarations' keyword.
    "Property";

constexpr std::string_view kBuiltInTypes =
    "Boolean Byte Currency Date Double Integer Long LongLong LongPtr Single String Variant";

// Whether `word` is one of the blank-separated `words`, in any case.
bool Lists(std::string_view words, std::string_view word) noexcept {
  for (std::size_t at = 0; at < words.size();) {
    std::size_t end = words.find(' ', at);
    if (end == std::string_view::npos) end = words.size();
    if (host::SameName(words.substr(at, end - at), word)) return true;
    at = end + 1;
  }
  return false;
}

}  // namespace

bool IsReservedWord(std::string_view word) noexcept {
  return Lists(kReserved, word);
}

bool IsBuiltInTypeName(std::string_view word) noexcept {
  return Lists(kBuiltInTypes, word);
}

}  // namespace generator
