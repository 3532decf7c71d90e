// host/source_files/source_code_module.h: a VB6 source file's text as the code module the IDE would show.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/code_module.h"
#include "host/code_pane.h"
#include "host/source_files/code_line_store.h"
#include "host/source_files/file_pieces.h"
#include "host/source_files/memory_component.h"
#include "host/source_files/source_lines.h"
#include "host/vb_code/routine_list.h"
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

// A file's text that a module reads in place: whoever makes the module keeps the text alive and
// unchanged for as long as the module lives.
struct BorrowedText {
  std::string_view text;
};

// The code lines are the file's lines after its hidden header, without the Attribute lines; they
// follow exactly the IDE's rules (host/vb_code). Every hidden
// line keeps its place: the header stays first, and an Attribute line stays right after the code
// line it follows whatever is inserted. Lines nothing edits keep their text and their own line
// break, read in place from the file's text; new lines take the file's dominant break, and a file
// that ended without a final break still does. A module may live on the stack; the pointers it hands
// out then borrow it.
class SourceCodeModule final : public CodeModule, public std::enable_shared_from_this<SourceCodeModule> {
 public:
  // `text` is the whole file, decoded; the module keeps a copy. Throws SourceFormatError when its
  // header cannot be read, or when it is too large to describe (4 GiB, or a line of 256 MiB). Given
  // the kind of component the file holds, the module is part of one; a class's persistability is
  // read from its header.
  SourceCodeModule(std::string_view text, SourceKind kind, std::optional<ComponentType> component = {});
  // The same, reading `text` in place instead of copying it.
  SourceCodeModule(BorrowedText text, SourceKind kind, std::optional<ComponentType> component = {});
  SourceCodeModule(const SourceCodeModule&) = delete;
  SourceCodeModule& operator=(const SourceCodeModule&) = delete;

  // The whole file: hidden header, code lines and Attribute lines, each with its line break.
  std::string Text() const;
  // The same, as the stretches to write one after another: the unchanged runs of lines as single
  // views into the text the module was read from.
  std::vector<TextPiece> Pieces() const;
  // Whether the hidden header names the module ("Attribute VB_Name = ..."), as in every file VB6
  // saves: a file without it is not a module, or not yet a whole one.
  bool HasModuleName() const noexcept { return named_; }
  // Lines in the file, hidden ones included.
  long FileLineCount() const noexcept;
  // Lines of the hidden header: file line HiddenHeaderLines() + 1 is code line 1.
  long HiddenHeaderLines() const noexcept { return static_cast<long>(header_.lines); }
  // The code line that shows file line `fileLine` (an Attribute line shows as the code line it
  // follows), or 0 for a line of the hidden header or a line outside the file.
  long CodeLineOfFileLine(long fileLine) const noexcept;
  // The file line that shows code line `codeLine` (from 1), as an editor numbers it.
  long FileLineOfCodeLine(long codeLine) const noexcept;
  // Code line `index` (from 0).
  std::string_view CodeLine(std::size_t index) const { return lines_[index]; }
  // Calls visit(text) for each code line added since reading, in order.
  template <class Visit>
  void ForEachAddedLine(Visit&& visit) const {
    lines_.ForEach([&](const StoredLine& line) {
      if (line.added != 0) visit(lines_.Text(line));
    });
  }
  // Whether a line was inserted or deleted since reading.
  bool Edited() const noexcept { return edited_; }
  // A copy of every code line, to look at.
  std::deque<std::string> lines() const;
  SourceCodePane& pane() noexcept { return pane_; }

  std::shared_ptr<host::CodePane> CodePane() override;
  long CountOfLines() const override;
  long CountOfDeclarationLines() const override;
  std::string Lines(long start, long count) const override;
  long ProcStartLine(std::string_view name, ProcKind kind) const override;
  long ProcBodyLine(std::string_view name, ProcKind kind) const override;
  long FindProcBodyLine(std::string_view name, ProcKind kind) const override;
  ProcAtLine ProcOfLine(long line) const override;
  void InsertLines(long line, std::string_view text) override;
  // Refuses (error 5) to delete a line that the file's Attribute lines follow: they would be lost.
  void DeleteLines(long line, long count) override;
  void AddFromString(std::string_view text) override;
  std::shared_ptr<VBComponent> Parent() const override;

 private:
  // A run of lines of the text, kept as one view: the hidden header, or the Attribute lines after a
  // code line. Its last line ends without a break only when it was the file's last line.
  struct Span {
    std::uint32_t begin = 0;
    std::uint32_t end = 0;
    std::uint32_t lines = 0;
    bool lastBreak = true;
  };
  // The Attribute lines after the code line whose text starts at `owner`.
  struct Hidden {
    std::uint32_t owner = 0;
    Span span;
  };

  friend class EditedPieces;

  void Read(SourceKind kind, std::optional<ComponentType> component);
  std::string_view SpanText(const Span& span) const {
    return text_.substr(span.begin, span.end - span.begin);
  }
  const Span& HiddenAfter(const StoredLine& line) const;
  const RoutineList& Routines() const;
  std::size_t RequireRoutine(std::string_view name, ProcKind kind) const;
  long AddFromStringLine() const;
  // Inserts the lines of `text` before index `at`; all or nothing.
  void InsertAt(std::size_t at, std::string_view text);

  std::string copy_;       // the file's text, when the module was given it to keep
  std::string_view text_;  // the file's text: every line nothing edited is a view into it
  Span header_;
  CodeLineStore lines_;
  std::vector<Hidden> hidden_;                   // in the order of the file
  std::string newline_;                          // the break new lines take
  bool finalBreak_ = true;                       // whether the file's last line ends with a break
  bool named_ = false;                           // the header holds Attribute VB_Name
  bool edited_ = false;                          // a line was inserted or deleted since reading
  mutable std::optional<RoutineList> routines_;  // worked out on first use, then kept up to date
  std::shared_ptr<MemoryComponent> component_;
  std::string moduleName_;  // VB_Name's value
  SourceCodePane pane_{*this};
};

}  // namespace host
