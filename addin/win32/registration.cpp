// addin/win32/registration.cpp: the classes, the type library and the host entries, machine-wide or per
// user, written all or nothing.
#include "addin/win32/registration.h"

#include <olectl.h>

#include <new>
#include <string>
#include <string_view>

#include "addin/registry_table.h"
#include "addin/win32/registry_edit.h"
#include "addin/win32/registry_keys.h"
#include "addin/win32/server_lifetime.h"
#include "addin/win32/type_library.h"
#include "addin/win32/type_library_registration.h"
#include "platform/win32/com_handles.h"
#include "platform/win32/wide.h"

namespace addin::com {
namespace {

namespace table = addin::registry;
using platform::win32::ComPtr;
using platform::win32::Wide;

constexpr table::Bits kOwnBits = sizeof(void*) == 8 ? table::Bits::k64 : table::Bits::k32;

// Where the classes go: HKEY_LOCAL_MACHINE's machine-wide, HKEY_CURRENT_USER's per user. Both are
// written in the process's own view, which on 64-bit Windows keeps each bitness's CLSID (and Interface)
// keys apart and shares the ProgID and TypeLib keys between them.
// The host entries alone (`hostsOnly`) are what a machine-wide install writes for each user who signs
// in after it: the classes are the machine's already.
struct Scope {
  HKEY root;
  bool perUser;
  bool hostsOnly;
};
const Scope kMachine{HKEY_LOCAL_MACHINE, false, false};
const Scope kUser{HKEY_CURRENT_USER, true, false};
const Scope kUserHosts{HKEY_CURRENT_USER, true, true};
constexpr std::wstring_view kClassesKey = L"Software\\Classes\\";

std::wstring ClassesKey(std::string_view key) {
  return std::wstring{kClassesKey} + Wide(key);
}

// This DLL's rows of the registry table, in its scope. Machine-wide, RegisterTypeLib has written the
// type library's.
void WriteRows(RegistryEdit& edit, Scope scope, const std::wstring& serverPath) {
  for (const table::Row& row : table::Rows()) {
    const bool underClasses = row.root == table::Root::kClasses;
    if (!table::Writes(kOwnBits, row.bits) || (row.typeLibrary && !scope.perUser) ||
        (underClasses && scope.hostsOnly)) {
      continue;
    }
    const HKEY root = underClasses ? scope.root : HKEY_CURRENT_USER;
    const std::wstring key = underClasses ? ClassesKey(row.key) : Wide(row.key);
    const std::wstring name = Wide(row.name);
    switch (row.data) {
      case table::Data::kText:
        edit.SetText(root, key, name, Wide(row.text));
        break;
      case table::Data::kNumber:
        edit.SetNumber(root, key, name, row.number);
        break;
      case table::Data::kServerPath:
        edit.SetText(root, key, name, serverPath);
        break;
      case table::Data::kServerFolder:
        edit.SetText(root, key, name, serverPath.substr(0, serverPath.rfind(L'\\')));
        break;
    }
  }
}

void Register(RegistryEdit& edit, Scope scope) {
  std::wstring serverPath = ServerPath();
  if (!scope.perUser) {
    const ComPtr<ITypeLib> library = LoadOwnTypeLib();
    RegisterMachineTypeLibrary(edit, library.get(), serverPath);
  }
  WriteRows(edit, scope, serverPath);
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

// The type library and both classes of this scope, each deletion a step of `step`.
template <class Step>
void UnregisterClasses(Scope scope, const Step& step) {
  step([scope] { UnregisterTypeLibrary(scope.root); });
  for (const table::ClassEntry& entry : table::kClasses) {
    step([&] { DeleteTree(scope.root, ClassesKey(table::ClassKey(entry))); });
    // The ProgID key serves both bitnesses on Windows: it stays while the other bitness's class is
    // registered in this scope. Once neither is, it goes from both views, for a registry (as Wine's)
    // that keeps one ProgID key per bitness.
    step([&] {
      if (KeyExists(scope.root, ClassesKey(table::ClassKey(entry)), kOtherView)) return;
      DeleteTree(scope.root, ClassesKey(entry.progId));
      DeleteTree(scope.root, ClassesKey(entry.progId), kOtherView);
    });
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
  if (!scope.hostsOnly) UnregisterClasses(scope, step);
  // The host entries are the same in both scopes: they stay while this bitness's class is still
  // registered in the other one (for the host entries alone, in the user's own classes).
  const Scope other = scope.perUser && !scope.hostsOnly ? kMachine : kUser;
  if (KeyExists(other.root, ClassesKey(table::ClassKey(table::kClasses[0])))) return first;
  for (const table::HostList& list : table::kHostLists) {
    if (!table::Writes(kOwnBits, list.bits)) continue;
    step([&list] {
      DeleteTree(HKEY_CURRENT_USER, Wide(table::AddinKey(list)));
      // Up to Software\Microsoft, each key our entry leaves empty: the list, and the host's keys above it.
      PruneEmptyUpTo(HKEY_CURRENT_USER, Wide(list.addinsKey), Wide(table::kHostsParent));
    });
  }
  return first;
}

}  // namespace

HRESULT RegisterServer() noexcept {
  return RegisterIn(kMachine);
}

HRESULT UnregisterServer() noexcept {
  return UnregisterIn(kMachine);
}

HRESULT Install(bool install, const wchar_t* commandLine) noexcept {
  const auto is = [commandLine](const wchar_t* word) {
    return commandLine != nullptr && ::CompareStringOrdinal(commandLine, -1, word, -1, TRUE) == CSTR_EQUAL;
  };
  if (!is(L"user") && !is(L"hosts")) return E_INVALIDARG;
  const Scope scope = is(L"user") ? kUser : kUserHosts;
  return install ? RegisterIn(scope) : UnregisterIn(scope);
}

}  // namespace addin::com
