// generator/creer_variable_module.cpp: CreerVariable_Module, a property's m_ variable and its
// lines in the module's persistence procedures.
#include "generator/builders.h"
#include "generator/declaration_lines.h"
#include "host/error_trap.h"

namespace generator {
namespace {

// Puts `line` first in the body of `procedure`, creating the procedure from `skeleton` when the
// module lacks it. The line goes right after the declaration, so that it is inside the procedure
// even when comment lines stand above it.
void AddPersistenceLine(host::CodeModule& module, std::string_view procedure, std::string_view skeleton,
                        std::string_view line) {
  long bodyLine = module.FindProcBodyLine(procedure, host::ProcKind::kProc);
  if (bodyLine == 0) {
    module.AddFromString(skeleton);
    // Not finding the procedure just added is a failure like any other: the line has no place.
    bodyLine = module.ProcBodyLine(procedure, host::ProcKind::kProc);
  }
  module.InsertLines(ReadDeclaration(module, bodyLine).last + 1, line);
}

}  // namespace

// Declares "Private m_" V " AS " T and, with a bag's object, writes the property to the bag and
// reads it back in that object's persistence procedures; their skeletons differ by a blank before the
// parenthesis, as they always have. A failure is shown titled "CreerVariable_Module"; what was added
// before it stays.
void CreerVariable_Module(const Request& request, host::CodeModule& module, std::string_view bagObject,
                          host::Ui& ui) {
  try {
    const std::string& name = request.sNom_Propriete;
    const std::string& variable = request.sNomVariable;
    module.AddFromString("Private m_" + variable + " AS " + request.sTypeVariable);
    if (bagObject.empty()) return;
    const std::string object{bagObject};
    AddPersistenceLine(module, object + "_WriteProperties",
                       "Private Sub " + object + "_WriteProperties(PropBag As PropertyBag)\rEnd Sub",
                       "Propbag.WriteProperty \"" + name + "\", m_" + variable);
    AddPersistenceLine(module, object + "_ReadProperties",
                       "Private Sub " + object + "_ReadProperties (PropBag As PropertyBag)\rEnd Sub",
                       std::string{request.bProp_Set ? "Set " : ""} + "m_" + variable +
                           " = PropBag.ReadProperty (\"" + name + "\")");
  } catch (...) {
    host::ShowCaughtFailure(ui, "CreerVariable_Module");
  }
}

}  // namespace generator
