// platform/win32/safe_replace.cpp: new file, permissions, attributes, flush, last check, ReplaceFileW.
#include "platform/win32/safe_replace.h"

#include <aclapi.h>

#include <cstdint>
#include <memory>

#include "platform/win32/system_error_text.h"

namespace platform::win32 {
namespace {

struct LocalFreeDeleter {
  void operator()(void* memory) const noexcept { ::LocalFree(memory); }
};

// A name in `folder` that nothing holds yet, short (".scrivlet-" and six letters or digits) so that
// a file whose path is near the system's limit can still be replaced.
std::wstring FreshName(const std::wstring& folder) {
  static std::uint64_t counter = 0;
  LARGE_INTEGER now{};
  ::QueryPerformanceCounter(&now);
  std::uint64_t seed = static_cast<std::uint64_t>(now.QuadPart) ^
                       (static_cast<std::uint64_t>(::GetCurrentProcessId()) << 32U) ^
                       (++counter * 0x9E3779B97F4A7C15ULL);
  // splitmix64: every bit of the seed moves every letter.
  seed = (seed ^ (seed >> 30U)) * 0xBF58476D1CE4E5B9ULL;
  seed = (seed ^ (seed >> 27U)) * 0x94D049BB133111EBULL;
  seed ^= seed >> 31U;
  constexpr std::wstring_view kLetters = L"0123456789abcdefghijklmnopqrstuvwxyz";
  std::wstring name = folder + L".scrivlet-";
  for (int i = 0; i < 6; ++i) {
    name += kLetters[static_cast<std::size_t>(seed % kLetters.size())];
    seed /= kLetters.size();
  }
  return name;
}

// Marks the file to go when its last handle closes, or takes the mark off.
bool MarkForDeletion(HANDLE file, bool marked) noexcept {
  FILE_DISPOSITION_INFO disposition{static_cast<BOOLEAN>(marked ? TRUE : FALSE)};
  return ::SetFileInformationByHandle(file, FileDispositionInfo, &disposition, sizeof disposition) != FALSE;
}

// The new file, deleted unless it took the old one's place. It shares deletion only, so that nothing
// else writes it meanwhile. Until it is closed to take that place it is marked for deletion, so that a
// run that is ended meanwhile (Ctrl-C, its console closed, TerminateProcess) leaves nothing behind:
// the system deletes it with the handle.
class TemporaryFile {
 public:
  explicit TemporaryFile(const std::wstring& folder) {
    for (int attempt = 0; attempt < 100; ++attempt) {
      path_ = FreshName(folder);
      file_ = UniqueFile{::CreateFileW(path_.c_str(), GENERIC_WRITE | WRITE_DAC | DELETE, FILE_SHARE_DELETE,
                                       nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr)};
      if (file_) {
        error_ = MarkForDeletion(file_.get(), true) ? ERROR_SUCCESS : ::GetLastError();
        if (error_ != ERROR_SUCCESS) {
          file_.Close();
          ::DeleteFileW(path_.c_str());
        }
        return;
      }
      error_ = ::GetLastError();
      if (error_ != ERROR_FILE_EXISTS && error_ != ERROR_ALREADY_EXISTS) return;
    }
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
  ~TemporaryFile() {
    if (kept_ || path_.empty()) return;
    file_.Close();  // which deletes it, while it is still marked
    if (created()) ::DeleteFileW(path_.c_str());
  }

  bool created() const noexcept { return error_ == ERROR_SUCCESS; }
  DWORD error() const noexcept { return error_; }
  HANDLE get() const noexcept { return file_.get(); }
  const std::wstring& path() const noexcept { return path_; }
  // Closes it to stay: the mark comes off first.
  DWORD Close() noexcept {
    if (!MarkForDeletion(file_.get(), false)) return ::GetLastError();
    return file_.Close();
  }
  // It is the file now, or it holds the only copy of the new text: it stays.
  void Keep() noexcept { kept_ = true; }

 private:
  std::wstring path_;
  UniqueFile file_;
  DWORD error_ = ERROR_SUCCESS;
  bool kept_ = false;
};

DWORD ErrorOf(BOOL succeeded) noexcept {
  return succeeded ? ERROR_SUCCESS : ::GetLastError();
}

// The old file's DACL on the new one, protected from inheritance as it was. A file system without
// access lists (FAT) has none to copy.
DWORD CopyPermissions(HANDLE from, HANDLE to) noexcept {
  PACL dacl = nullptr;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  const DWORD got = ::GetSecurityInfo(from, SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr,
                                      &dacl, nullptr, &descriptor);
  if (got == ERROR_NOT_SUPPORTED || got == ERROR_INVALID_FUNCTION) return ERROR_SUCCESS;
  if (got != ERROR_SUCCESS) return got;
  const std::unique_ptr<void, LocalFreeDeleter> owned{descriptor};
  if (dacl == nullptr) return ERROR_SUCCESS;
  SECURITY_DESCRIPTOR_CONTROL control = 0;
  DWORD revision = 0;
  if (!::GetSecurityDescriptorControl(descriptor, &control, &revision)) return ::GetLastError();
  const SECURITY_INFORMATION what = DACL_SECURITY_INFORMATION | ((control & SE_DACL_PROTECTED) != 0
                                                                     ? PROTECTED_DACL_SECURITY_INFORMATION
                                                                     : UNPROTECTED_DACL_SECURITY_INFORMATION);
  return ::SetSecurityInfo(to, SE_FILE_OBJECT, what, nullptr, nullptr, dacl, nullptr);
}

// Hidden, system and not-indexed as the old file was, and its creation time. The archive bit is set
// whatever the old file had: the file has changed since any backup.
DWORD CopyAttributes(HANDLE from, HANDLE to) noexcept {
  FILE_BASIC_INFO old{};
  if (!::GetFileInformationByHandleEx(from, FileBasicInfo, &old, sizeof old)) return ::GetLastError();
  FILE_BASIC_INFO now{};
  now.CreationTime = old.CreationTime;
  now.FileAttributes = (old.FileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                              FILE_ATTRIBUTE_NOT_CONTENT_INDEXED)) |
                       FILE_ATTRIBUTE_ARCHIVE;
  return ErrorOf(::SetFileInformationByHandle(to, FileBasicInfo, &now, sizeof now));
}

DWORD WriteAll(HANDLE file, std::string_view data) noexcept {
  while (!data.empty()) {
    const DWORD chunk = data.size() > (1U << 30U) ? (1U << 30U) : static_cast<DWORD>(data.size());
    DWORD written = 0;
    if (!::WriteFile(file, data.data(), chunk, &written, nullptr)) return ::GetLastError();
    if (written == 0) return ERROR_WRITE_FAULT;
    data.remove_prefix(written);
  }
  return ERROR_SUCCESS;
}

}  // namespace

ReplaceError::ReplaceError(SaveStep step, DWORD error, std::wstring oldCopy, std::wstring newFile)
    : std::runtime_error(SystemErrorText(error)),
      step_(step),
      error_(error),
      oldCopy_(std::move(oldCopy)),
      newFile_(std::move(newFile)) {}

Replaced ReplaceSafely(const Replacement& replacement, host::NewBytesSource& pieces) {
  // A step fails with its own error, or with the one a test planned for it.
  const auto planned = [&](SaveStep step, DWORD error) {
    if (error == ERROR_SUCCESS && replacement.faults) error = replacement.faults(step);
    return error;
  };
  const auto check = [&](SaveStep step, DWORD error) {
    if (const DWORD failure = planned(step, error); failure != ERROR_SUCCESS)
      throw ReplaceError(step, failure);
  };
  HANDLE original = replacement.original->get();

  check(SaveStep::kCreateTemporary, ERROR_SUCCESS);
  TemporaryFile temporary{replacement.folder};
  check(SaveStep::kCreateTemporary, temporary.error());
  check(SaveStep::kSecurity, CopyPermissions(original, temporary.get()));
  check(SaveStep::kAttributes, CopyAttributes(original, temporary.get()));
  DWORD written = ERROR_SUCCESS;
  while (written == ERROR_SUCCESS) {
    const std::span<const std::string_view> batch = pieces.Next();
    if (batch.empty()) break;
    for (const std::string_view piece : batch) {
      if ((written = WriteAll(temporary.get(), piece)) != ERROR_SUCCESS) break;
    }
  }
  check(SaveStep::kWrite, written);
  check(SaveStep::kFlush, ErrorOf(::FlushFileBuffers(temporary.get())));
  // ReplaceFileW opens the new file sharing nothing: no handle of ours may stay open on it.
  check(SaveStep::kClose, temporary.Close());
  check(SaveStep::kCheckUnchanged, ERROR_SUCCESS);
  if (replacement.beforeReplace) replacement.beforeReplace();

  // The old file keeps a name of its own until the new one has its place.
  std::wstring oldCopy = FreshName(replacement.folder);
  DWORD replaced = planned(SaveStep::kReplace, ERROR_SUCCESS);
  if (replaced == ERROR_SUCCESS) {
    replaced = ErrorOf(::ReplaceFileW(replacement.target.c_str(), temporary.path().c_str(), oldCopy.c_str(),
                                      0, nullptr, nullptr));
  }
  if (replaced == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2) {
    // The old file went to its other name, the new one did not follow: the old one goes back.
    if (!::MoveFileExW(oldCopy.c_str(), replacement.target.c_str(), MOVEFILE_WRITE_THROUGH)) {
      temporary.Keep();
      throw ReplaceError(SaveStep::kReplace, replaced, oldCopy, temporary.path());
    }
  }
  if (replaced != ERROR_SUCCESS) throw ReplaceError(SaveStep::kReplace, replaced);
  temporary.Keep();

  // The edit is made. The old file, still open here, goes once it is closed.
  replacement.original->Close();
  Replaced result;
  result.removeError = planned(SaveStep::kRemoveOldCopy, ErrorOf(::DeleteFileW(oldCopy.c_str())));
  result.oldCopy = std::move(oldCopy);
  return result;
}

}  // namespace platform::win32
