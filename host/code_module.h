// host/code_module.h: what the system asks of a host code module, and nothing more.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "host/proc_kind.h"
#include "host/vb_errors.h"

namespace host {

class CodePane;
class VBComponent;

// The routine that holds a line: an empty name with kind kProc for a line outside every routine.
struct ProcAtLine {
  std::string name;
  ProcKind kind = ProcKind::kProc;
};

// A module's code lines, numbered from 1. Every operation throws HostError when it fails;
// a routine that the module lacks is error 35 (kErrSubNotDefined).
class CodeModule {
 public:
  virtual ~CodeModule() = default;

  // A pane that shows this module; never empty (a module without one throws HostError).
  virtual std::shared_ptr<host::CodePane> CodePane() = 0;

  virtual long CountOfLines() const = 0;
  // The lines of the declarations section: those before the first routine's start line, or every
  // line of a module without routines.
  virtual long CountOfDeclarationLines() const = 0;
  // `count` lines from `start`, joined by CR LF, without a final line break.
  virtual std::string Lines(long start, long count) const = 0;

  // First line of the routine: the blank and comment lines above its declaration belong to it.
  virtual long ProcStartLine(std::string_view name, ProcKind kind) const = 0;
  // The line of the routine's declaration (its first line when it is continued).
  virtual long ProcBodyLine(std::string_view name, ProcKind kind) const = 0;
  // ProcBodyLine, or 0 when the module lacks the routine. Asking whether a routine is there is part
  // of an ordinary run, so a module that can tell without raising error 35 overrides this.
  virtual long FindProcBodyLine(std::string_view name, ProcKind kind) const {
    try {
      return ProcBodyLine(name, kind);
    } catch (const HostError& error) {
      if (error.number() == kErrSubNotDefined) return 0;
      throw;
    }
  }
  // Any line outside every routine, also one outside the module, gives an empty name.
  virtual ProcAtLine ProcOfLine(long line) const = 0;

  // Inserts `text` so that it starts at `line`; CountOfLines() + 1 appends.
  virtual void InsertLines(long line, std::string_view text) = 0;
  // Adds `text` ahead of the module's first routine, or at its end when it has none.
  virtual void AddFromString(std::string_view text) = 0;
  // Deletes `count` lines from `line` on. An IDE without the member fails as this default does (438).
  virtual void DeleteLines(long line, long count) {
    static_cast<void>(line);
    static_cast<void>(count);
    throw VbError(kErrNoSuchMember);
  }

  // The component the module belongs to. An IDE that cannot tell throws HostError: one whose code
  // modules lack the member, as this default does (438), or that answers Nothing (91).
  virtual std::shared_ptr<VBComponent> Parent() const { throw VbError(kErrNoSuchMember); }

 protected:
  CodeModule() = default;
  CodeModule(const CodeModule&) = default;
  CodeModule& operator=(const CodeModule&) = default;
};

}  // namespace host
