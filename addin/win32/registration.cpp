// addin/win32/registration.cpp: the classes, the type library and the host entries, machine-wide or per
// user, written all or nothing.
#include "addin/win32/registration.h"

#include <olectl.h>

#include <array>
#include <new>
#include <string>

#include "addin/win32/penwright.h"
#include "addin/win32/registry_edit.h"
#include "addin/win32/registry_keys.h"
#include "addin/win32/server_lifetime.h"
#include "addin/win32/type_library.h"
#include "addin/win32/type_library_registration.h"
#include "platform/win32/com_handles.h"

namespace addin::com {
namespace {

using platform::win32::ComPtr;

struct ClassEntry {
  const CLSID& clsid;
  std::wstring_view progId;
};

const std::array<ClassEntry, 2> kClasses = {
    {{CLSID_Connect, L"Penwright.Connect"}, {CLSID_CEcrireCode, L"Penwright.CEcrireCode"}}};

#ifdef _WIN64
constexpr std::array<HostList, 1> kHostLists = {
    {{L"Software\\Microsoft\\VBA\\VBE\\6.0\\Addins64", 3, false}}};
#else
constexpr std::array<HostList, 2> kHostLists = {{{L"Software\\Microsoft\\Visual Basic\\6.0\\Addins", 5, true},
                                                 {L"Software\\Microsoft\\VBA\\VBE\\6.0\\Addins", 3, false}}};
#endif
// The host lists' common parent, which unregistration never removes.
constexpr std::wstring_view kHostsParent = L"Software\\Microsoft";

// Where the classes go: HKEY_LOCAL_MACHINE's machine-wide, HKEY_CURRENT_USER's per user. Both are
// written in the process's own view, which on 64-bit Windows keeps each bitness's CLSID (and Interface)
// keys apart and shares the ProgID and TypeLib keys between them.
struct Scope {
  HKEY root;
  bool perUser;
};
const Scope kMachine{HKEY_LOCAL_MACHINE, false};
const Scope kUser{HKEY_CURRENT_USER, true};
constexpr std::wstring_view kClassesKey = L"Software\\Classes\\";

std::wstring ClassKey(const ClassEntry& entry) {
  return std::wstring{kClassesKey} + L"CLSID\\" + GuidText(entry.clsid);
}

std::wstring ProgIdKey(const ClassEntry& entry) {
  return std::wstring{kClassesKey} + std::wstring{entry.progId};
}

std::wstring AddinKey(const HostList& list) {
  return std::wstring{list.addinsKey} + L'\\' + std::wstring{kAddinProgId};
}

void RegisterClassEntry(RegistryEdit& edit, HKEY root, const ClassEntry& entry,
                        const std::wstring& serverPath) {
  const std::wstring classKey = ClassKey(entry);
  const std::wstring progIdKey = ProgIdKey(entry);
  edit.SetText(root, classKey, {}, entry.progId);
  edit.SetText(root, classKey + L"\\InprocServer32", {}, serverPath);
  edit.SetText(root, classKey + L"\\InprocServer32", L"ThreadingModel", L"Apartment");
  edit.SetText(root, classKey + L"\\ProgID", {}, entry.progId);
  edit.SetText(root, progIdKey, {}, entry.progId);
  edit.SetText(root, progIdKey + L"\\CLSID", {}, GuidText(entry.clsid));
}

void RegisterHostEntries(RegistryEdit& edit) {
  for (const HostList& list : kHostLists) {
    const std::wstring key = AddinKey(list);
    edit.SetText(HKEY_CURRENT_USER, key, L"FriendlyName", kFriendlyName);
    edit.SetText(HKEY_CURRENT_USER, key, L"Description", kDescription);
    edit.SetNumber(HKEY_CURRENT_USER, key, L"LoadBehavior", list.loadBehavior);
    if (list.commandLineSafe) edit.SetNumber(HKEY_CURRENT_USER, key, L"CommandLineSafe", 1);
  }
}

void Register(RegistryEdit& edit, Scope scope) {
  std::wstring serverPath = ServerPath();
  const ComPtr<ITypeLib> library = LoadOwnTypeLib();
  if (scope.perUser) {
    RegisterUserTypeLibrary(edit, library.get(), serverPath);
  } else {
    RegisterMachineTypeLibrary(edit, library.get(), serverPath);
  }
  for (const ClassEntry& entry : kClasses) RegisterClassEntry(edit, scope.root, entry, serverPath);
  RegisterHostEntries(edit);
}

HRESULT RegisterIn(Scope scope) noexcept {
  RegistryEdit edit;
  try {
    Register(edit, scope);
    edit.Commit();
    return S_OK;
  } catch (const RegistrationFailure& failure) {
    edit.Undo();
    return failure.hr;
  } catch (const std::bad_alloc&) {
    edit.Undo();
    return E_OUTOFMEMORY;
  } catch (...) {
    edit.Undo();
    return SELFREG_E_CLASS;
  }
}

// Runs every step even when one fails, and reports the first failure.
HRESULT UnregisterIn(Scope scope) noexcept {
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
  step([scope] { UnregisterTypeLibrary(scope.root); });
  for (const ClassEntry& entry : kClasses) {
    step([&] { DeleteTree(scope.root, ClassKey(entry)); });
    // The ProgID key serves both bitnesses on Windows: it stays while the other bitness's class is
    // registered in this scope. Once neither is, it goes from both views, for a registry (as Wine's)
    // that keeps one ProgID key per bitness.
    step([&] {
      if (KeyExists(scope.root, ClassKey(entry), kOtherView)) return;
      DeleteTree(scope.root, ProgIdKey(entry));
      DeleteTree(scope.root, ProgIdKey(entry), kOtherView);
    });
  }
  // The host entries are the same in both scopes: they stay while this bitness's class is still
  // registered in the other one.
  const Scope other = scope.perUser ? kMachine : kUser;
  if (KeyExists(other.root, ClassKey(kClasses[0]))) return first;
  for (const HostList& list : kHostLists) {
    step([&list] {
      DeleteTree(HKEY_CURRENT_USER, AddinKey(list));
      // Up to Software\Microsoft, each key our entry leaves empty: the list, and the host's keys above it.
      PruneEmptyUpTo(HKEY_CURRENT_USER, std::wstring{list.addinsKey}, std::wstring{kHostsParent});
    });
  }
  return first;
}

}  // namespace

std::span<const HostList> HostLists() noexcept {
  return kHostLists;
}

HRESULT RegisterServer() noexcept {
  return RegisterIn(kMachine);
}

HRESULT UnregisterServer() noexcept {
  return UnregisterIn(kMachine);
}

HRESULT Install(bool install, const wchar_t* commandLine) noexcept {
  if (commandLine == nullptr || ::CompareStringOrdinal(commandLine, -1, L"user", -1, TRUE) != CSTR_EQUAL) {
    return E_INVALIDARG;
  }
  return install ? RegisterIn(kUser) : UnregisterIn(kUser);
}

}  // namespace addin::com
