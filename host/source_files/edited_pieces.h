// host/source_files/edited_pieces.h: a module's file as it would be with edits made, put together a
// few edits at a time without changing the module.
#pragma once

#include <cstddef>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "host/line_edit.h"
#include "host/source_files/file_pieces.h"
#include "host/source_files/source_code_module.h"

namespace host {

// The pieces of the file that a module as read would write with the edits made, for a run that
// writes a large edit as it plans it and never holds the new text whole. The pieces are what
// SourceCodeModule::Pieces() gives once the same edits are made in the module with DeleteLines and
// InsertLines: new lines take the file's dominant break, and the file's hidden lines keep their
// places.
class EditedPieces {
 public:
  // The bytes to write for one new line, appended to `out`: its text, or its text encoded. `fileLine`
  // is its line in the new file (from 1), for a message. It may throw to stop the edit.
  using NewLine = std::function<void(std::string_view line, long fileLine, std::string& out)>;

  // The module must be as it was read, and stay so while this lives.
  EditedPieces(const SourceCodeModule& module, NewLine newLine);
  EditedPieces(const EditedPieces&) = delete;
  EditedPieces& operator=(const EditedPieces&) = delete;

  // The file from where the last call ended to the end of the last of `edits`, or, given none, to
  // the end of the file. Each edit's lines are those of the module as read (from 1); the edits come
  // in order, each after the end of the one before, this call's and the last's. The pieces view the
  // module's text and text of this object's, and hold until the next call. Throws error 5 (as
  // DeleteLines and InsertLines do) for an edit out of order or past the module's end, or one that
  // deletes a line that Attribute lines follow; and what NewLine throws.
  std::span<const TextPiece> Next(std::span<const LineEdit> edits);

  // The code lines of the new file so far.
  long CountOfLines() const noexcept { return codeLines_; }

 private:
  // Checks `edit` against the lines put so far and the module's; the first of its lines, from 0.
  std::size_t RequireEditable(const LineEdit& edit, std::size_t from) const;
  // Puts the module's lines [from, to) (from 0) as they are.
  void PutUnchanged(std::size_t from, std::size_t to);
  // The lines of the file the module's lines [from, to) take, hidden ones included.
  long FileLinesOf(std::size_t from, std::size_t to) const;

  const SourceCodeModule& module_;
  NewLine newLine_;
  std::vector<TextPiece> pieces_;
  FilePieces file_;
  std::size_t next_ = 0;  // the first line of the module not yet put, from 0
  long codeLines_ = 0;    // code lines put
  long fileLines_ = 0;    // file lines put
  bool started_ = false;  // the hidden header is put
  // This call's new lines: their bytes, each followed by the file's break, and where each line's
  // bytes end.
  std::string made_;
  std::vector<std::size_t> madeEnds_;
  std::vector<std::size_t> madeEdits_;  // for each edit, where its lines end in madeEnds_
};

}  // namespace host
