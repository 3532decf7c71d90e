// generator/creer_variable_module.cpp: CreerVariable_Module, a property's backing variable and its
// lines in the module's persistence procedures.
#include "generator/builders.h"
#include "generator/declaration_lines.h"
#include "host/error_trap.h"
#include "host/vb_code/code_lines.h"

namespace generator {
namespace {

// A persistence procedure as the module has it: where its body starts (0 when the module lacks it)
// and the name it gives its PropertyBag when that is not PropBag.
struct Persistence {
  long bodyStart = 0;
  std::string ownBag;
};

Persistence FindPersistence(const host::CodeModule& module, std::string_view procedure) {
  const long bodyLine = module.FindProcBodyLine(procedure, host::ProcKind::kProc);
  if (bodyLine == 0) return {};
  const DeclarationLines declaration = ReadDeclaration(module, bodyLine);
  const std::string_view bag = host::FirstParameter(declaration.text);
  return {declaration.last + 1, bag.empty() || host::SameName(bag, "PropBag") ? "" : std::string{bag}};
}

// Puts `line` first in the body of `procedure`, creating the procedure from `skeleton` when the
// module lacks it. The line goes right after the declaration, so that it is inside the procedure
// even when comment lines stand above it.
void AddPersistenceLine(host::CodeModule& module, std::string_view procedure, std::string_view skeleton,
                        long bodyStart, std::string_view line) {
  if (bodyStart == 0) {
    module.AddFromString(skeleton);
    // Not finding the procedure just added is a failure like any other: the line has no place.
    bodyStart = ReadDeclaration(module, module.ProcBodyLine(procedure, host::ProcKind::kProc)).last + 1;
  }
  module.InsertLines(bodyStart, line);
}

}  // namespace

// Declares "Private " prefix V " AS " T and, with a bag's object, writes the property to the bag and
// reads it back in that object's persistence procedures; their skeletons differ by a blank before the
// parenthesis, as they always have. A failure is shown titled "CreerVariable_Module"; what was added
// before it stays.
void CreerVariable_Module(const Request& request, host::CodeModule& module, std::string_view bagObject,
                          host::Ui& ui, std::string_view prefix) {
  try {
    const std::string& name = request.sNom_Propriete;
    const std::string& variable = request.sNomVariable;
    const std::string backing = std::string{prefix} + variable;
    module.AddFromString("Private " + backing + " AS " + request.sTypeVariable);
    if (bagObject.empty()) return;
    const std::string object{bagObject};
    // Each line names the bag as its procedure does; PropBag is spelled as it always has been.
    const std::string write = object + "_WriteProperties";
    const Persistence writer = FindPersistence(module, write);
    const std::string writeBag = writer.ownBag.empty() ? "Propbag" : writer.ownBag;
    AddPersistenceLine(module, write, "Private Sub " + write + "(PropBag As PropertyBag)\rEnd Sub",
                       writer.bodyStart, writeBag + ".WriteProperty \"" + name + "\", " + backing);
    const std::string read = object + "_ReadProperties";
    const Persistence reader = FindPersistence(module, read);
    const std::string readBag = reader.ownBag.empty() ? "PropBag" : reader.ownBag;
    AddPersistenceLine(module, read, "Private Sub " + read + " (PropBag As PropertyBag)\rEnd Sub",
                       reader.bodyStart,
                       std::string{request.bProp_Set ? "Set " : ""} + backing + " = " + readBag +
                           ".ReadProperty (\"" + name + "\")");
  } catch (...) {
    host::ShowCaughtFailure(ui, "CreerVariable_Module");
  }
}

}  // namespace generator
