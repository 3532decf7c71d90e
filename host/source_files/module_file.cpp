// host/source_files/module_file.cpp: the checks on a file's path, bytes and text, and the choice between
// reading it in place and decoding it, which its encoding back follows.
#include "host/source_files/module_file.h"

#include <stdexcept>
#include <utility>

#include "host/source_file_messages.h"
#include "host/source_files/edited_pieces.h"

namespace host {
namespace {

SourceFileKind KindOf(const std::string& path) {
  const std::optional<SourceFileKind> kind = SourceFileKindOfPath(path);
  if (!kind) throw SourceFileError(path, "not a VB6 source file (.bas, .cls, .ctl, .dob, .frm, .pag, .dsr)");
  return *kind;
}

// The new file's bytes as the edits come. A module read from ASCII bytes writes the runs of the file
// it keeps as they are; one read from decoded text encodes them. New lines are encoded one at a time,
// each message naming its line in the new file. What Render would refuse is found on the way and
// refused at the end, in Render's order and words, before the new file takes the old one's place.
class EditedFileBytes final : public NewBytesSource {
 public:
  EditedFileBytes(const SourceCodeModule& module, const CodePage& codePage, bool readFromAscii,
                  const Vb6Limits& limits, const std::string& path, LineEditSource& edits)
      : codePage_(codePage),
        ascii_(readFromAscii),
        limits_(limits),
        path_(path),
        edits_(edits),
        pieces_(module, [this](std::string_view line, long fileLine, std::string& out) {
          NewLine(line, fileLine, out);
        }) {}

  std::span<const std::string_view> Next() override {
    views_.clear();
    made_.clear();
    while (views_.empty() && !done_) {
      const std::span<const LineEdit> edits = edits_.Next();
      done_ = edits.empty();
      for (const TextPiece& piece : pieces_.Next(edits)) {
        if (!piece.fromFile || ascii_) {
          views_.push_back(piece.text);
        } else {
          made_.push_back(codePage_.EncodeTaking(std::string{piece.text}));
          views_.emplace_back(made_.back());
        }
      }
      if (done_) RequireWritable();
    }
    return views_;
  }

 private:
  void NewLine(std::string_view line, long fileLine, std::string& out) {
    if (tooLong_.empty()) {
      try {
        Vb6Limits::RequireLineLength(line);
      } catch (const std::runtime_error& error) {
        tooLong_ = error.what();
      }
    }
    if (IsAscii(line)) {
      out += line;
      return;
    }
    try {
      out += codePage_.EncodeTaking(std::string{line});
    } catch (const CodePageError& error) {
      if (unwritable_.empty()) unwritable_ = OnLine(error, fileLine).what();
    }
  }

  void RequireWritable() const {
    try {
      limits_.RequireLineCount(pieces_.CountOfLines());
    } catch (const std::runtime_error& error) {
      throw SourceFileError(path_, error.what() + std::string{kNothingWritten});
    }
    if (!tooLong_.empty()) throw SourceFileError(path_, tooLong_ + std::string{kNothingWritten});
    if (!unwritable_.empty()) throw UnwritableTextError(path_, unwritable_ + std::string{kNothingWritten});
  }

  const CodePage& codePage_;
  bool ascii_;
  const Vb6Limits& limits_;
  const std::string& path_;
  LineEditSource& edits_;
  EditedPieces pieces_;
  std::vector<std::string_view> views_;
  std::deque<std::string> made_;  // this call's runs of the file, encoded
  bool done_ = false;
  std::string tooLong_;     // the first new line too long for VB6, told
  std::string unwritable_;  // the first new text the code page cannot hold, told
};

}  // namespace

// A module read from ASCII bytes is written as the unchanged runs of the file as they are, and the
// text made since encoded piece by piece; one read from decoded text is encoded whole. Text that the
// code page cannot hold is refused as the whole text would be, with the line it stands on.
NewFileBytes::NewFileBytes(const SourceCodeModule& module, const CodePage& codePage, bool readFromAscii) {
  if (!readFromAscii) {
    made_.push_back(codePage.EncodeTaking(module.Text()));
    pieces_.emplace_back(made_.back());
    return;
  }
  try {
    for (const TextPiece& piece : module.Pieces()) {
      if (piece.fromFile || IsAscii(piece.text)) {
        pieces_.push_back(piece.text);
      } else {
        made_.push_back(codePage.EncodeTaking(std::string{piece.text}));
        pieces_.emplace_back(made_.back());
      }
    }
  } catch (const CodePageError&) {
    codePage.EncodeTaking(module.Text());  // throws again, naming the line in the file
    throw;
  }
}

std::string NewFileBytes::Joined() const {
  std::string whole;
  for (const std::string_view piece : pieces_) whole.append(piece);
  return whole;
}

ModuleFile::ModuleFile(SourceFiles& files, const CodePages& codePages, std::string path, int codePage)
    : files_(files), path_(std::move(path)), kind_(KindOf(path_)), codePage_(codePages.Open(codePage)) {}

SourceCodeModule& ModuleFile::Read() {
  file_ = files_.Read(path_);
  try {
    RequireVb6Bytes(file_->bytes());
    ascii_ = IsAscii(file_->bytes());
    if (!ascii_) decoded_ = codePage_->Decode(file_->bytes());
    module_.emplace(BorrowedText{text()}, kind_.source, kind_.component);
  } catch (const std::runtime_error& error) {
    throw SourceFileError(path_, error.what());
  }
  if (!module_->HasModuleName()) {
    throw SourceFileError(
        path_,
        "is not a VB6 module: it has no Attribute VB_Name line, which VB6 writes into every "
        "module it saves");
  }
  limits_.emplace(*module_);
  return *module_;
}

void ModuleFile::RequireSavable() const {
  if (const std::string reason = file_->ReadOnlyReason(); !reason.empty())
    throw SourceFileError(path_, reason + std::string{kNothingWritten});
}

NewFileBytes ModuleFile::Render() const {
  try {
    limits_->RequireWithin(*module_);
  } catch (const std::runtime_error& error) {
    throw SourceFileError(path_, error.what() + std::string{kNothingWritten});
  }
  try {
    return NewFileBytes{*module_, *codePage_, ascii_};
  } catch (const CodePageError& error) {
    throw UnwritableTextError(path_, error.what() + std::string{kNothingWritten});
  }
}

std::string ModuleFile::SaveEdits(LineEditSource& edits) {
  if (module_->Edited())
    throw std::logic_error(path_ + ": the edits are written against the module as it was read");
  EditedFileBytes bytes{*module_, *codePage_, ascii_, *limits_, path_, edits};
  return file_->Replace(bytes);
}

std::string ModuleFile::Save() {
  const NewFileBytes bytes = Render();
  return file_->Replace(bytes.pieces());
}

}  // namespace host
