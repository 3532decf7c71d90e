// generator/request.h: one generation request, its options each in a field of its own.
#pragma once

#include <string>

namespace generator {

// What CEcrireCode's options describe: one routine to write. A new request has every Boolean False and
// every string empty. Texts are kept exactly as assigned: never trimmed, re-cased or checked.
struct Request {
  bool bCacher = false;              // the name is followed by "_Hide "
  bool bCreerFonction = false;       // write a Function
  bool bCreerProcedure = false;      // write a Sub
  bool bLectureSeule = false;        // read-only property: the Property Get alone
  bool bProp_Changed = false;        // PropertyChanged and the property-bag lines
  bool bProp_Friend = false;         // "Friend "
  bool bProp_Prive = false;          // "Private "
  bool bProp_Set = false;            // Property Set instead of Property Let
  bool bResumeNext = false;          // "On Error Resume Next" instead of the labelled trap
  bool bVariableLoc_Static = false;  // "Static "
  bool bComment = false;             // comments-only mode: header and body at the caret
  std::string sAideId;               // help context identifier; no generated text uses it
  std::string sFuncReturn;           // a Function's return type
  std::string sNom_Propriete;        // the routine's name
  std::string sNomutilisateur;       // the programmer's name in the header
  std::string sNomVariable;          // the parameter, and the suffix of the m_ variable
  std::string sTypeVariable;         // the parameter's and the m_ variable's type
  std::string sUsage;                // the header's utility text
};

}  // namespace generator
