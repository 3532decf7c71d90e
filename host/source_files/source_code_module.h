// host/source_files/source_code_module.h: a VB6 source file's text as the code module the IDE would show.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/builtin_ide/fault_plan.h"
#include "host/builtin_ide/memory_code_module.h"
#include "host/code_module.h"
#include "host/code_pane.h"
#include "host/source_files/source_lines.h"
#include "host/vb_component.h"

namespace host {

class SourceCodeModule;

// The pane over a source module: it holds the caret that comments-only generation reads.
class SourceCodePane final : public CodePane {
 public:
  explicit SourceCodePane(SourceCodeModule& module) : module_(module) {}

  Selection GetSelection() const override { return selection_; }
  std::shared_ptr<host::CodeModule> CodeModule() override;

  // Puts the caret on code line `line`, column 1, with nothing selected.
  void SetCaret(long line) { selection_ = {line, 1, line, 1}; }

 private:
  SourceCodeModule& module_;
  Selection selection_;
};

// The code lines are the file's lines after its hidden header, without the Attribute lines; they
// follow exactly the built-in IDE's rules (a MemoryCodeModule holds them). Every hidden line keeps
// its place: the header stays first, and an Attribute line stays right after the code line it
// follows whatever is inserted. Lines nothing edits keep their text and their own line break; new
// lines take the file's dominant break, and a file that ended without a final break still does.
// A module may live on the stack; the pointers it hands out then borrow it.
class SourceCodeModule final : public CodeModule, public std::enable_shared_from_this<SourceCodeModule> {
 public:
  // `text` is the whole file, decoded. Throws SourceFormatError when its header cannot be read.
  // Given the kind of component the file holds, the module is part of one; a class's persistability
  // is read from its header.
  SourceCodeModule(std::string_view text, SourceKind kind, std::optional<ComponentType> component = {});
  SourceCodeModule(const SourceCodeModule&) = delete;
  SourceCodeModule& operator=(const SourceCodeModule&) = delete;

  // Every later call enters `plan` (which the caller keeps alive); nullptr detaches it.
  void AttachFaults(FaultPlan* plan) noexcept;

  // The whole file: hidden header, code lines and Attribute lines, each with its line break.
  std::string Text() const;
  // Lines in the file, hidden ones included.
  long FileLineCount() const noexcept;
  // Lines of the hidden header: file line HiddenHeaderLines() + 1 is code line 1.
  long HiddenHeaderLines() const noexcept { return static_cast<long>(header_.size()); }
  // The code line that shows file line `fileLine` (an Attribute line shows as the code line it
  // follows), or 0 for a line of the hidden header or a line outside the file.
  long CodeLineOfFileLine(long fileLine) const noexcept;
  const std::deque<std::string>& lines() const noexcept { return code_.lines(); }
  SourceCodePane& pane() noexcept { return pane_; }

  std::shared_ptr<host::CodePane> CodePane() override;
  long CountOfLines() const override { return code_.CountOfLines(); }
  std::string Lines(long start, long count) const override { return code_.Lines(start, count); }
  long ProcStartLine(std::string_view name, ProcKind kind) const override {
    return code_.ProcStartLine(name, kind);
  }
  long ProcBodyLine(std::string_view name, ProcKind kind) const override {
    return code_.ProcBodyLine(name, kind);
  }
  ProcAtLine ProcOfLine(long line) const override { return code_.ProcOfLine(line); }
  void InsertLines(long line, std::string_view text) override;
  void AddFromString(std::string_view text) override;
  std::shared_ptr<VBComponent> Parent() const override { return code_.Parent(); }

 private:
  // What follows a code line in the file: its own break (empty for a line added since reading,
  // which takes the dominant break) and the Attribute lines hidden after it.
  // Kept to a few bytes, since tails move whenever lines are inserted before them.
  struct Tail {
    std::uint32_t hidden = 0;  // the group of Attribute lines after the line, from 1; 0 for none
    std::uint8_t ending = 0;   // index into kEndings: 0 for a line added since reading
  };
  std::size_t HiddenCount(const Tail& tail) const noexcept;

  struct Parsed {
    std::vector<PhysicalLine> header;
    std::deque<std::string> code;
    std::deque<Tail> tails;
    std::vector<std::vector<PhysicalLine>> hidden;
    std::string newline;
    bool finalBreak = true;
  };
  static Parsed Parse(std::string_view text, SourceKind kind);
  explicit SourceCodeModule(Parsed&& parsed);

  // Inserts the (empty) tails of `text`'s lines at `line`, then the lines themselves through
  // `edit`; when the edit fails, the tails go again, so that the module stays as it was.
  template <class Edit>
  void InsertWithTails(long line, std::string_view text, Edit&& edit);

  std::vector<PhysicalLine> header_;
  MemoryCodeModule code_;
  std::deque<Tail> tails_;                         // one per code line
  std::vector<std::vector<PhysicalLine>> hidden_;  // the groups of Attribute lines that tails name
  std::string newline_;                            // the break new lines take
  bool finalBreak_ = true;                         // whether the file's last line ends with a break
  SourceCodePane pane_{*this};
  FaultPlan* faults_ = nullptr;
};

}  // namespace host
