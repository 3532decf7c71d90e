// host/source_files/module_file.h: one VB6 source file as one edit sees it: read and held to what VB6
// saves, decoded into the module to edit, and encoded back into the bytes that replace it.
#pragma once

#include <deque>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "host/code_page.h"
#include "host/line_edit.h"
#include "host/source_file.h"
#include "host/source_files/source_code_module.h"
#include "host/source_files/source_lines.h"
#include "host/source_files/vb6_limits.h"

namespace host {

// New text of the module that the file's code page cannot hold. what() is "PATH: reason", the reason
// naming the character and its line.
class UnwritableTextError : public SourceFileError {
 public:
  using SourceFileError::SourceFileError;
};

// A module's new file as the bytes to write one after another: runs of the bytes read, unchanged,
// and what the edit made, encoded. The runs view the bytes of the ModuleFile that rendered them,
// which must outlive them.
class NewFileBytes {
 public:
  NewFileBytes(const NewFileBytes&) = delete;
  NewFileBytes& operator=(const NewFileBytes&) = delete;

  std::span<const std::string_view> pieces() const noexcept { return pieces_; }
  // The pieces as one text, for a caller that compares the new file with the old.
  std::string Joined() const;

 private:
  friend class ModuleFile;
  // Throws CodePageError for text the code page cannot hold.
  NewFileBytes(const SourceCodeModule& module, const CodePage& codePage, bool readFromAscii);

  std::deque<std::string> made_;  // a deque: adding one never moves those the pieces view
  std::vector<std::string_view> pieces_;
};

// Edits to a module as read, handed over a few at a time, in order of their lines: each call's edits
// hold until the next call, and a call that gives none says that all were given.
class LineEditSource {
 public:
  virtual ~LineEditSource() = default;
  virtual std::span<const LineEdit> Next() = 0;

 protected:
  LineEditSource() = default;
  LineEditSource(const LineEditSource&) = default;
  LineEditSource& operator=(const LineEditSource&) = default;
};

// A source file from its path to its new bytes, in this order: made (the path's kind, the code page),
// Read once (the module), then Render as often as the caller needs, and Save once. The module lives
// in it and its lines borrow its text, so it is neither copied nor moved.
class ModuleFile {
 public:
  // Tells the file's kind from its path and opens its code page, reading nothing: what a request
  // must keep of the code page is then known before the file is opened. Throws SourceFileError for a
  // path that does not name VB6 source, CodePageError for a code page the platform cannot convert.
  ModuleFile(SourceFiles& files, const CodePages& codePages, std::string path, int codePage);
  ModuleFile(const ModuleFile&) = delete;
  ModuleFile& operator=(const ModuleFile&) = delete;

  const std::string& path() const noexcept { return path_; }
  const CodePage& codePage() const noexcept { return *codePage_; }

  // Reads the file and makes its module. Throws SourceFileError when the file cannot be read, holds
  // bytes VB6 never saves or one that the code page does not define, or names no module: what
  // another program is in the middle of writing, an empty file among them, reads as no module.
  SourceCodeModule& Read();

  // Once read: the file's bytes, its text in UTF-8, and the module made of it.
  std::string_view bytes() const noexcept { return file_->bytes(); }
  std::string_view text() const noexcept { return ascii_ ? file_->bytes() : std::string_view{decoded_}; }
  SourceCodeModule& module() noexcept { return *module_; }

  // Throws SourceFileError when this user may not replace the file, so that a run refuses before it
  // does any work rather than at the end.
  void RequireSavable() const;

  // The module's file as it now stands, in the file's code page, without writing anything. Throws
  // SourceFileError when the edit took the module past what VB6 loads, UnwritableTextError when the
  // code page cannot hold its new text.
  NewFileBytes Render() const;
  // Renders the module and replaces the file with it (SourceFile::Replace, once): throws as both do,
  // and gives back the replacement's warning, "PATH: ..." or empty.
  std::string Save();
  // Replaces the file with the module as it would be with the edits `edits` hands over made, written
  // as they come and never made in the module, which must be as it was read: a large edit is then
  // never held whole. Refuses what Render refuses, in the same words, and throws error 5 for an edit
  // InsertLines or DeleteLines would refuse, and what `edits` throws; the file is then as it was.
  // Gives back the replacement's warning.
  std::string SaveEdits(LineEditSource& edits);

 private:
  SourceFiles& files_;
  std::string path_;
  SourceFileKind kind_;
  std::unique_ptr<CodePage> codePage_;
  std::unique_ptr<SourceFile> file_;
  std::string decoded_;  // the text, when the bytes are not all ASCII
  bool ascii_ = false;   // the bytes are all ASCII: the same in every code page, read in place
  std::optional<SourceCodeModule> module_;
  std::optional<Vb6Limits> limits_;  // the module as read
};

}  // namespace host
