// addin/com/registration.cpp: the registry entries of the type library, the two classes and the add-in.
#include "addin/com/registration.h"

#include <oleauto.h>
#include <olectl.h>

#include <array>
#include <new>
#include <string>

#include "addin/com/penwright.h"
#include "addin/com/server_lifetime.h"
#include "addin/com/type_library.h"
#include "platform/win32/com_handles.h"

namespace addin::com {
namespace {

using platform::win32::ComPtr;
using platform::win32::UniqueHkey;

// Carries a failing HRESULT to the boundary of the exported function.
struct RegistrationFailure {
  HRESULT hr;
};

struct ClassEntry {
  const CLSID& clsid;
  std::wstring_view progId;
};

const std::array<ClassEntry, 2> kClasses = {
    {{CLSID_Connect, L"Penwright.Connect"}, {CLSID_CEcrireCode, L"Penwright.CEcrireCode"}}};

void Check(LSTATUS status) {
  if (status != ERROR_SUCCESS)
    throw RegistrationFailure{HRESULT_FROM_WIN32(static_cast<unsigned long>(status))};
}

std::wstring GuidText(const GUID& guid) {
  std::array<wchar_t, 40> text{};
  if (::StringFromGUID2(guid, text.data(), static_cast<int>(text.size())) == 0)
    throw RegistrationFailure{E_FAIL};
  return text.data();
}

UniqueHkey CreateKey(HKEY root, const std::wstring& path) {
  HKEY key = nullptr;
  Check(::RegCreateKeyExW(root, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr,
                          &key, nullptr));
  return UniqueHkey{key};
}

// `name` empty sets the key's default value.
void SetText(HKEY root, const std::wstring& path, std::wstring_view name, std::wstring_view text) {
  const UniqueHkey key = CreateKey(root, path);
  const std::wstring value{text};
  const std::wstring valueName{name};
  Check(::RegSetValueExW(key.get(), valueName.empty() ? nullptr : valueName.c_str(), 0, REG_SZ,
                         reinterpret_cast<const BYTE*>(value.c_str()),
                         static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))));
}

void SetNumber(HKEY root, const std::wstring& path, std::wstring_view name, DWORD number) {
  const UniqueHkey key = CreateKey(root, path);
  const std::wstring valueName{name};
  Check(::RegSetValueExW(key.get(), valueName.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number),
                         sizeof number));
}

// Deletes `path` with everything under it; a key that is not there is no failure.
void DeleteTree(HKEY root, const std::wstring& path) {
  const LSTATUS status = ::RegDeleteTreeW(root, path.c_str());
  if (status != ERROR_FILE_NOT_FOUND) Check(status);
}

bool KeyExists(HKEY root, const std::wstring& path) {
  HKEY key = nullptr;
  if (::RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  ::RegCloseKey(key);
  return true;
}

// Deletes `path` when it holds neither a subkey nor a value.
void DeleteIfEmpty(HKEY root, const std::wstring& path) {
  HKEY opened = nullptr;
  if (::RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) return;
  const UniqueHkey key{opened};
  DWORD subkeys = 0;
  DWORD values = 0;
  Check(::RegQueryInfoKeyW(key.get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr,
                           nullptr, nullptr, nullptr));
  if (subkeys == 0 && values == 0) Check(::RegDeleteKeyW(root, path.c_str()));
}

void RegisterClassEntry(const ClassEntry& entry, const std::wstring& serverPath) {
  const std::wstring clsid = GuidText(entry.clsid);
  const std::wstring progId{entry.progId};
  const std::wstring classKey = L"CLSID\\" + clsid;
  SetText(HKEY_CLASSES_ROOT, classKey, {}, progId);
  SetText(HKEY_CLASSES_ROOT, classKey + L"\\InprocServer32", {}, serverPath);
  SetText(HKEY_CLASSES_ROOT, classKey + L"\\InprocServer32", L"ThreadingModel", L"Apartment");
  SetText(HKEY_CLASSES_ROOT, classKey + L"\\ProgID", {}, progId);
  SetText(HKEY_CLASSES_ROOT, progId, {}, progId);
  SetText(HKEY_CLASSES_ROOT, progId + L"\\CLSID", {}, clsid);
}

void RegisterAddin() {
  const std::wstring key = std::wstring{kAddinsKey} + L'\\' + std::wstring{kAddinProgId};
  SetText(HKEY_CURRENT_USER, key, L"FriendlyName", kFriendlyName);
  SetText(HKEY_CURRENT_USER, key, L"Description", kDescription);
  SetNumber(HKEY_CURRENT_USER, key, L"LoadBehavior", kLoadBehavior);
  SetNumber(HKEY_CURRENT_USER, key, L"CommandLineSafe", kCommandLineSafe);
}

void Register() {
  std::wstring serverPath = ServerPath();
  const ComPtr<ITypeLib> library = LoadOwnTypeLib();
  const HRESULT hr = ::RegisterTypeLib(library.get(), serverPath.data(), nullptr);
  if (FAILED(hr)) throw RegistrationFailure{hr};
  for (const ClassEntry& entry : kClasses) RegisterClassEntry(entry, serverPath);
  RegisterAddin();
}

// Runs every step even when one fails, and reports the first failure.
HRESULT Unregister() noexcept {
  HRESULT first = S_OK;
  const auto step = [&first](auto&& body) {
    try {
      body();
    } catch (const RegistrationFailure& failure) {
      if (SUCCEEDED(first)) first = failure.hr;
    } catch (const std::bad_alloc&) {
      if (SUCCEEDED(first)) first = E_OUTOFMEMORY;
    } catch (...) {
      if (SUCCEEDED(first)) first = E_UNEXPECTED;
    }
  };
  step([] {
    if (!KeyExists(HKEY_CLASSES_ROOT, L"TypeLib\\" + GuidText(LIBID_Penwright) + L"\\1.0")) return;
    const HRESULT hr = ::UnRegisterTypeLib(LIBID_Penwright, 1, 0, LOCALE_NEUTRAL, SYS_WIN32);
    if (FAILED(hr)) throw RegistrationFailure{hr};
  });
  for (const ClassEntry& entry : kClasses) {
    step([&entry] { DeleteTree(HKEY_CLASSES_ROOT, L"CLSID\\" + GuidText(entry.clsid)); });
    step([&entry] { DeleteTree(HKEY_CLASSES_ROOT, std::wstring{entry.progId}); });
  }
  step([] {
    const std::wstring addins{kAddinsKey};
    DeleteTree(HKEY_CURRENT_USER, addins + L'\\' + std::wstring{kAddinProgId});
    // Up to the host's own key, each key our entry leaves empty: Addins, 6.0, Visual Basic.
    std::wstring path = addins;
    for (int level = 0; level < 3; ++level) {
      DeleteIfEmpty(HKEY_CURRENT_USER, path);
      path.resize(path.rfind(L'\\'));
    }
  });
  return first;
}

}  // namespace

HRESULT RegisterServer() noexcept {
  try {
    Register();
    return S_OK;
  } catch (const RegistrationFailure& failure) {
    Unregister();
    return failure.hr;
  } catch (const std::bad_alloc&) {
    Unregister();
    return E_OUTOFMEMORY;
  } catch (...) {
    Unregister();
    return SELFREG_E_CLASS;
  }
}

HRESULT UnregisterServer() noexcept {
  return Unregister();
}

}  // namespace addin::com
