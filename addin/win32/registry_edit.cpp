// addin/win32/registry_edit.cpp: each write records its undoing before it is made.
#include "addin/win32/registry_edit.h"

#include <utility>

#include "platform/win32/com_handles.h"

namespace addin::com {
namespace {

using platform::win32::OutPtr;
using platform::win32::UniqueHkey;

// A value as it was before a write: absent, or its type and bytes.
struct OldValue {
  bool present = false;
  DWORD type = REG_NONE;
  std::vector<BYTE> data;
};

OldValue ReadOld(HKEY key, const std::wstring& name) {
  OldValue old;
  const wchar_t* valueName = name.empty() ? nullptr : name.c_str();
  DWORD size = 0;
  LSTATUS status = ::RegQueryValueExW(key, valueName, nullptr, &old.type, nullptr, &size);
  if (status == ERROR_FILE_NOT_FOUND) return old;
  CheckStatus(status);
  old.data.resize(size);
  status = ::RegQueryValueExW(key, valueName, nullptr, &old.type, old.data.data(), &size);
  CheckStatus(status);
  old.data.resize(size);
  old.present = true;
  return old;
}

}  // namespace

void CheckStatus(LSTATUS status) {
  if (status != ERROR_SUCCESS)
    throw RegistrationFailure{HRESULT_FROM_WIN32(static_cast<unsigned long>(status))};
}

UniqueHkey RegistryEdit::Create(HKEY root, const std::wstring& path) {
  UniqueHkey key;
  std::size_t end = 0;
  do {
    end = path.find(L'\\', end + 1);
    const std::wstring level = path.substr(0, end);
    DWORD disposition = 0;
    undo_.reserve(undo_.size() + 1);
    CheckStatus(::RegCreateKeyExW(root, level.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                  KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, OutPtr{key}, &disposition));
    // A key made here goes again; one that was there stays. Deleting a key that another writer has
    // filled meanwhile fails, and that failure is the undo's to skip.
    if (disposition == REG_CREATED_NEW_KEY)
      undo_.emplace_back([root, level] { ::RegDeleteKeyW(root, level.c_str()); });
  } while (end != std::wstring::npos);
  return key;
}

void RegistryEdit::SetValue(HKEY root, const std::wstring& path, std::wstring_view name, DWORD type,
                            const BYTE* data, DWORD size) {
  const UniqueHkey key = Create(root, path);
  const std::wstring valueName{name};
  OldValue old = ReadOld(key.get(), valueName);
  undo_.reserve(undo_.size() + 1);
  undo_.emplace_back([root, path, valueName, old = std::move(old)] {
    UniqueHkey reopened;
    if (::RegOpenKeyExW(root, path.c_str(), 0, KEY_SET_VALUE, OutPtr{reopened}) != ERROR_SUCCESS) return;
    const wchar_t* target = valueName.empty() ? nullptr : valueName.c_str();
    if (old.present) {
      ::RegSetValueExW(reopened.get(), target, 0, old.type, old.data.data(),
                       static_cast<DWORD>(old.data.size()));
    } else {
      ::RegDeleteValueW(reopened.get(), target);
    }
  });
  CheckStatus(
      ::RegSetValueExW(key.get(), valueName.empty() ? nullptr : valueName.c_str(), 0, type, data, size));
}

void RegistryEdit::SetText(HKEY root, const std::wstring& path, std::wstring_view name,
                           std::wstring_view text) {
  const std::wstring value{text};
  SetValue(root, path, name, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
           static_cast<DWORD>(value.size() + 1) * DWORD{sizeof(wchar_t)});
}

void RegistryEdit::SetNumber(HKEY root, const std::wstring& path, std::wstring_view name, DWORD number) {
  SetValue(root, path, name, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number);
}

void RegistryEdit::Recorded(std::function<void()> undo) {
  undo_.push_back(std::move(undo));
}

void RegistryEdit::Undo() noexcept {
  while (!undo_.empty()) {
    try {
      undo_.back()();
    } catch (...) {
      // Skipped: the earlier writes are still taken back.
    }
    undo_.pop_back();
  }
}

}  // namespace addin::com
