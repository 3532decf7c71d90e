// host/source_file_messages.cpp: the table of reasons, each written once with its blanks.
#include "host/source_file_messages.h"

#include <array>
#include <cstddef>
#include <utility>

namespace host {
namespace {

// Each blank is a name in braces; a message says what became of the file at its end.
constexpr std::array<std::pair<FileMessage, std::string_view>, 23> kMessages{{
    {FileMessage::kNoSuchFile, "no such file"},
    {FileMessage::kFolder, "is a folder, not a source file"},
    {FileMessage::kNotRegular, "is not a regular file"},
    {FileMessage::kUnreadable, "cannot be read: {reason}"},
    {FileMessage::kReadOnly, "is read-only"},
    {FileMessage::kReplacedAlready, "was replaced once already; nothing was written"},
    {FileMessage::kChanged, "changed on disk since it was read; nothing was written"},
    {FileMessage::kCreateTemporary, "cannot create a temporary file in {place}: {reason}"},
    {FileMessage::kSamePermissions,
     "cannot give the new file the same permissions: {reason}; nothing was written"},
    {FileMessage::kSameAttributes,
     "cannot give the new file the same attributes: {reason}; nothing was written"},
    {FileMessage::kReadExtendedAttributes,
     "cannot read the extended attributes: {reason}; nothing was written"},
    {FileMessage::kSameExtendedAttribute,
     "cannot give the new file the extended attribute {place}: {reason}; nothing was written"},
    {FileMessage::kWriteNewFile, "cannot write the new file: {reason}; nothing was written"},
    {FileMessage::kFlushNewFile, "cannot flush the new file: {reason}; nothing was written"},
    {FileMessage::kCloseNewFile, "cannot close the new file: {reason}; nothing was written"},
    {FileMessage::kReadAgain, "cannot be read again: {reason}; nothing was written"},
    {FileMessage::kBackup,
     "cannot make a backup copy in {place} before editing the file in place: {reason}; nothing was written"},
    {FileMessage::kWriteInPlace, "cannot be written: {reason}; it is as it was"},
    {FileMessage::kWriteInPlaceRefused, "may not be written: {reason}; nothing was written"},
    {FileMessage::kWriteInPlaceKeptAside,
     "cannot be written: {reason}, nor put back as it was: the file as it was is kept in {kept}"},
    {FileMessage::kSwappedKeptAside,
     "changed on disk since it was read, and cannot be put back: {reason}: the file holds the new text, and "
     "what was there is kept in {kept}"},
    {FileMessage::kReplaceHalfDone,
     "cannot be replaced: {reason}; the file is now {kept}, and the new text is in {new}"},
    {FileMessage::kReplace, "cannot replace the file: {reason}; nothing was written"},
}};

std::string_view Blank(std::string_view name, const FileMessageDetails& details) {
  if (name == "reason") return details.reason;
  if (name == "place") return details.place;
  if (name == "kept") return details.kept;
  return details.newFile;
}

}  // namespace

std::string FileMessageText(FileMessage message, const FileMessageDetails& details) {
  std::string_view pattern;
  for (const auto& [row, text] : kMessages) {
    if (row == message) pattern = text;
  }
  std::string text;
  for (std::size_t at = 0; at < pattern.size();) {
    const std::size_t open = pattern.find('{', at);
    if (open == std::string_view::npos) {
      text.append(pattern.substr(at));
      break;
    }
    const std::size_t close = pattern.find('}', open);
    text.append(pattern.substr(at, open - at));
    text.append(Blank(pattern.substr(open + 1, close - open - 1), details));
    at = close + 1;
  }
  return text;
}

}  // namespace host
