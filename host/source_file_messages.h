// host/source_file_messages.h: the words in which every platform tells why a source file could not be
// read or saved, so that the same failure reads the same on each.
#pragma once

#include <string>
#include <string_view>

namespace host {

// Follows a refusal that comes before the file is touched: the user need not look at it.
inline constexpr std::string_view kNothingWritten = "; nothing was written";

// A reason that follows a file's path in a SourceFileError, one row of the table each. The comments
// say which platform's steps use a row that the other's do not reach.
enum class FileMessage {
  kNoSuchFile,
  kFolder,
  kNotRegular,
  kUnreadable,
  kReadOnly,  // as source control leaves a file that is not checked out
  kReplacedAlready,
  kChanged,
  kCreateTemporary,
  kSamePermissions,
  kSameAttributes,          // Windows: the file's attributes
  kReadExtendedAttributes,  // POSIX: the old file's extended attributes could not be listed
  kSameExtendedAttribute,   // POSIX: one of them could not be given to the new file
  kWriteNewFile,
  kFlushNewFile,
  kCloseNewFile,
  kReadAgain,
  kBackup,                 // POSIX, editing in place
  kWriteInPlace,           // POSIX, editing in place: the old text was put back
  kWriteInPlaceRefused,    // POSIX, editing in place: the system refused the write
  kWriteInPlaceKeptAside,  // POSIX, editing in place: the old text could not be put back
  kSwappedKeptAside,       // POSIX: a change seen after the swap could not be undone
  kReplaceHalfDone,        // Windows: ReplaceFileW left the file under another name
  kReplace,
};

// What fills a message's blanks; a message uses only those it has.
struct FileMessageDetails {
  std::string_view reason{};   // the system's words for its error
  std::string_view place{};    // a folder, or the name of an extended attribute
  std::string_view kept{};     // where the file as it was now is
  std::string_view newFile{};  // where the new text now is
};

// The reason, without the path it follows.
std::string FileMessageText(FileMessage message, const FileMessageDetails& details = {});

}  // namespace host
