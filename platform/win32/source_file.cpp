// platform/win32/source_file.cpp: opening with the share mode that keeps writers out, reading, the last
// comparison, and the messages of a replacement.
#include "platform/win32/source_file.h"

#include <array>
#include <vector>

#include "host/source_file_messages.h"
#include "platform/win32/system_error_text.h"
#include "platform/win32/wide.h"

namespace platform::win32 {
namespace {

// Reading for the edit, writing (which is what keeps a second run out: it asks the same) and
// deletion (which ReplaceFileW needs of every handle on the file: one that does not share it keeps
// the file from being replaced, so such a program is waited for now rather than met at the end).
constexpr DWORD kEditAccess = GENERIC_READ | GENERIC_WRITE | DELETE;
constexpr DWORD kShareWithOthers = FILE_SHARE_READ | FILE_SHARE_DELETE;

// A failure that the shared table words, and one that gives the system's reason for `error`.
host::SourceFileError Failure(const std::string& path, host::FileMessage message) {
  return {path, host::FileMessageText(message)};
}
host::SourceFileError Failure(const std::string& path, host::FileMessage message, DWORD error) {
  return {path, host::FileMessageText(message, {.reason = SystemErrorText(error)})};
}

bool IsMissing(DWORD error) {
  return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

bool IsHeldElsewhere(DWORD error) {
  return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION;
}

FileVersion VersionOf(const BY_HANDLE_FILE_INFORMATION& info) {
  const auto join = [](DWORD high, DWORD low) { return (static_cast<ULONGLONG>(high) << 32U) | low; };
  return {info.dwVolumeSerialNumber, join(info.nFileIndexHigh, info.nFileIndexLow),
          join(info.nFileSizeHigh, info.nFileSizeLow),
          join(info.ftLastWriteTime.dwHighDateTime, info.ftLastWriteTime.dwLowDateTime),
          info.dwFileAttributes};
}

// Opens the file to edit it. A file that may not be written (the read-only attribute, its access
// list) is opened to read it only, still keeping writers out, so that --print works and a
// replacement is refused with its own reason. A file another program holds is tried again until
// `patience` runs out.
UniqueFile OpenHeld(const std::string& path, const std::wstring& wide, std::chrono::milliseconds patience) {
  const auto deadline = std::chrono::steady_clock::now() + patience;
  DWORD access = kEditAccess;
  int missing = 0;
  for (;;) {
    UniqueFile file{::CreateFileW(wide.c_str(), access, kShareWithOthers, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr)};
    if (file) return file;
    const DWORD error = ::GetLastError();
    if (error == ERROR_ACCESS_DENIED && access == kEditAccess) {
      const DWORD attributes = ::GetFileAttributesW(wide.c_str());
      if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        throw Failure(path, host::FileMessage::kFolder);
      }
      access = GENERIC_READ;
    } else if (IsMissing(error)) {
      // A run of ours replacing the file leaves its name free for an instant, between the two renames
      // that ReplaceFileW makes.
      if (++missing > 3) throw Failure(path, host::FileMessage::kNoSuchFile);
      ::Sleep(5);
    } else if (IsHeldElsewhere(error)) {
      if (std::chrono::steady_clock::now() >= deadline) {
        throw host::SourceFileError(path,
                                    "is open in another program that does not let it be changed; nothing "
                                    "was written");
      }
      ::Sleep(20);
    } else {
      throw Failure(path, host::FileMessage::kUnreadable, error);
    }
  }
}

// Reads from the start to the end of the file; ERROR_SUCCESS, or the error.
DWORD ReadAll(HANDLE file, std::string& contents, ULONGLONG expected) {
  contents.clear();
  if (expected < (1ULL << 31U)) contents.reserve(static_cast<std::size_t>(expected));
  LARGE_INTEGER start{};
  if (!::SetFilePointerEx(file, start, nullptr, FILE_BEGIN)) return ::GetLastError();
  std::array<char, 65536> buffer{};
  for (;;) {
    DWORD read = 0;
    if (!::ReadFile(file, buffer.data(), static_cast<DWORD>(buffer.size()), &read, nullptr)) {
      return ::GetLastError();
    }
    if (read == 0) return ERROR_SUCCESS;
    contents.append(buffer.data(), read);
  }
}

// The path of the file itself, links followed, or the path as given when the system cannot tell.
std::wstring FinalPath(HANDLE file, const std::wstring& given) {
  std::vector<wchar_t> buffer(MAX_PATH + 1, L'\0');
  for (int attempt = 0; attempt < 2; ++attempt) {
    const DWORD length = ::GetFinalPathNameByHandleW(file, buffer.data(), static_cast<DWORD>(buffer.size()),
                                                     FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (length == 0) return given;
    if (length < buffer.size()) return std::wstring{buffer.data(), length};
    buffer.assign(length + 1, L'\0');
  }
  return given;
}

// The folder part of `path` with its final separator, empty for a bare name.
std::wstring FolderOf(const std::wstring& path) {
  const std::size_t last = path.find_last_of(L"\\/");
  return last == std::wstring::npos ? std::wstring{} : path.substr(0, last + 1);
}

// A path as a person writes it: without the "\\?\" that the system's own names carry.
std::string Shown(std::wstring path) {
  if (path.starts_with(LR"(\\?\UNC\)")) {
    path.replace(0, 8, LR"(\\)");
  } else if (path.starts_with(LR"(\\?\)")) {
    path.erase(0, 4);
  }
  if (path.size() > 1 && (path.back() == L'\\' || path.back() == L'/') && path[path.size() - 2] != L':') {
    path.pop_back();
  }
  return path.empty() ? "." : Narrow(path);
}

// The row of the shared table that tells of a step that failed.
host::FileMessage MessageOf(const ReplaceError& failure) {
  using host::FileMessage;
  switch (failure.step()) {
    case SaveStep::kCreateTemporary:
      return FileMessage::kCreateTemporary;
    case SaveStep::kSecurity:
      return FileMessage::kSamePermissions;
    case SaveStep::kAttributes:
      return FileMessage::kSameAttributes;
    case SaveStep::kWrite:
      return FileMessage::kWriteNewFile;
    case SaveStep::kFlush:
      return FileMessage::kFlushNewFile;
    case SaveStep::kClose:
      return FileMessage::kCloseNewFile;
    case SaveStep::kCheckUnchanged:
      return FileMessage::kReadAgain;
    case SaveStep::kReplace:
    case SaveStep::kRemoveOldCopy:
      break;
  }
  return failure.oldCopy().empty() ? FileMessage::kReplace : FileMessage::kReplaceHalfDone;
}

// The message for a step that failed: the file is as it was, but when the old copy names where it is.
std::string ReasonOf(const ReplaceError& failure, const std::wstring& folder) {
  const bool halfDone = !failure.oldCopy().empty();
  return host::FileMessageText(MessageOf(failure), {.reason = SystemErrorText(failure.error()),
                                                    .place = Shown(folder),
                                                    .kept = halfDone ? Shown(failure.oldCopy()) : "",
                                                    .newFile = halfDone ? Shown(failure.newFile()) : ""});
}

}  // namespace

WindowsSourceFile::WindowsSourceFile(std::string path, std::wstring target, UniqueFile file,
                                     std::string bytes, const FileVersion& version, SaveFaults faults)
    : path_(std::move(path)),
      target_(std::move(target)),
      file_(std::move(file)),
      bytes_(std::move(bytes)),
      version_(version),
      faults_(std::move(faults)) {}

std::string WindowsSourceFile::ReadOnlyReason() const {
  return IsReadOnly() ? host::FileMessageText(host::FileMessage::kReadOnly) : std::string{};
}

bool WindowsSourceFile::IsUnchanged() const {
  const UniqueFile now{::CreateFileW(target_.c_str(), GENERIC_READ,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                     OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)};
  if (!now) {
    const DWORD error = ::GetLastError();
    if (IsMissing(error)) throw Failure(path_, host::FileMessage::kNoSuchFile);
    throw Failure(path_, host::FileMessage::kReadAgain, error);
  }
  BY_HANDLE_FILE_INFORMATION info{};
  if (!::GetFileInformationByHandle(now.get(), &info) || !(VersionOf(info) == version_)) return false;
  std::string again;
  if (const DWORD error = ReadAll(now.get(), again, version_.size); error != ERROR_SUCCESS) {
    throw Failure(path_, host::FileMessage::kReadAgain, error);
  }
  return again == bytes_;
}

std::string WindowsSourceFile::Replace(host::NewBytesSource& pieces) {
  if (!file_) throw Failure(path_, host::FileMessage::kReplacedAlready);
  // However it ends, the file is let go: a run waiting for it may go on.
  struct Release {
    UniqueFile& file;
    ~Release() { file.Close(); }
  } release{file_};
  if (IsReadOnly()) throw host::SourceFileError(path_, ReadOnlyReason() + std::string{host::kNothingWritten});
  Replacement replacement;
  replacement.target = target_;
  replacement.folder = FolderOf(target_);
  replacement.original = &file_;
  // The last look before the replacement: another program may have saved its own copy over the name.
  replacement.beforeReplace = [&] {
    if (!IsUnchanged()) {
      throw Failure(path_, host::FileMessage::kChanged);
    }
  };
  replacement.faults = faults_;
  // Made before the replacement, so that nothing after the edit can fail for want of memory and
  // report an edit that was made as one that was not.
  std::string fallback = path_ + ": was replaced, but its old copy cannot be deleted";
  Replaced replaced;
  try {
    replaced = ReplaceSafely(replacement, pieces);
  } catch (const ReplaceError& failure) {
    throw host::SourceFileError(path_, ReasonOf(failure, replacement.folder));
  }
  if (replaced.removeError == ERROR_SUCCESS) return {};
  try {
    return path_ + ": was replaced, but its old copy " + Shown(replaced.oldCopy) +
           " cannot be deleted: " + SystemErrorText(replaced.removeError);
  } catch (...) {
    return fallback;
  }
}

std::unique_ptr<host::SourceFile> WindowsSourceFiles::Read(const std::string& path) {
  const std::wstring wide = Wide(path);
  UniqueFile file = OpenHeld(path, wide, patience_);
  if (::GetFileType(file.get()) != FILE_TYPE_DISK) throw Failure(path, host::FileMessage::kNotRegular);
  BY_HANDLE_FILE_INFORMATION info{};
  if (!::GetFileInformationByHandle(file.get(), &info)) {
    throw Failure(path, host::FileMessage::kUnreadable, ::GetLastError());
  }
  if ((info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    throw Failure(path, host::FileMessage::kFolder);
  }
  const FileVersion version = VersionOf(info);
  std::string bytes;
  if (const DWORD error = ReadAll(file.get(), bytes, version.size); error != ERROR_SUCCESS) {
    throw Failure(path, host::FileMessage::kUnreadable, error);
  }
  std::wstring target = FinalPath(file.get(), wide);
  return std::unique_ptr<host::SourceFile>(
      new WindowsSourceFile(path, std::move(target), std::move(file), std::move(bytes), version, faults_));
}

}  // namespace platform::win32
