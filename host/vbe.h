// host/vbe.h: the host environment's root object, as the add-in receives it at connection.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "host/host_error.h"
#include "host/vb_errors.h"

namespace host {

class CodeModule;
class CodePane;
class CommandBars;
class Events;

class Vbe {
 public:
  virtual ~Vbe() = default;

  // The code pane with the focus; an empty pointer when no code window is open.
  virtual std::shared_ptr<CodePane> ActiveCodePane() = 0;

  // The host's menus and toolbars, and its event sources. A host without menus (one that only
  // edits source files) keeps these answers, which fail as the IDE fails for a member it lacks.
  virtual std::shared_ptr<host::CommandBars> CommandBars() { throw VbError(kErrNoSuchMember); }
  virtual std::shared_ptr<host::Events> Events() { throw VbError(kErrNoSuchMember); }

  // Whether the host's projects can hold user controls, the only modules in which PropertyChanged and
  // the property bag exist: the VB6 IDE's can, a VBA editor's cannot.
  virtual bool HoldsUserControls() { return true; }
  // The file of the active project (VBProject.FileName: the .vbp in VB6, the document in Office);
  // empty when there is none or it was never saved.
  virtual std::string ActiveProjectFileName() { return {}; }
  // The code modules of the active project's components (those that have one). A host that cannot
  // tell fails as for a member it lacks.
  virtual std::vector<std::shared_ptr<CodeModule>> ActiveProjectCodeModules() { throw VbError(kErrNoSuchMember); }

 protected:
  Vbe() = default;
  Vbe(const Vbe&) = default;
  Vbe& operator=(const Vbe&) = default;
};

}  // namespace host
