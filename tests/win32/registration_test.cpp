// tests/win32/registration_test.cpp: what regsvr32 leaves in the registry, machine-wide and per user,
// for the DLL of this program's bitness; the registered type library and the DLL's resources; what
// DllInstall refuses and how a failed registration is taken back.
//   registered machine|user DLL-PATH   every key of that registration
//   unregistered [beside-neighbour]     nothing of ours anywhere, of either bitness, in either scope
//   install DLL-PATH                    DllInstall called here, from an unregistered start
#include <windows.h>

#include <objbase.h>
#include <oleauto.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "addin/registry_table.h"
#include "addin/win32/penwright.h"
#include "platform/win32/com_handles.h"
#include "platform/win32/wide.h"
#include "scrivlet_version.h"

namespace {

namespace table = addin::registry;
using platform::win32::ComPtr;
using platform::win32::Narrow;
using platform::win32::Wide;

// From the command line.
std::wstring g_dllPath;
bool g_perUser = false;
bool g_neighbour = false;

constexpr bool k64 = sizeof(void*) == 8;
constexpr REGSAM kOtherView = k64 ? KEY_WOW64_32KEY : KEY_WOW64_64KEY;
constexpr wchar_t kClasses[] = L"Software\\Classes\\";
constexpr wchar_t kNeighbour[] = L"\\Other.Connect";
constexpr table::Bits kOwnBits = k64 ? table::Bits::k64 : table::Bits::k32;
constexpr table::Bits kOtherBits = k64 ? table::Bits::k32 : table::Bits::k64;

HKEY ScopeRoot() {
  return g_perUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
}

std::string KeyName(HKEY root, const std::wstring& path, REGSAM view = 0) {
  const char* name = root == HKEY_CLASSES_ROOT ? "HKCR\\" : root == HKEY_CURRENT_USER ? "HKCU\\" : "HKLM\\";
  return name + Narrow(path) + (view == 0 ? "" : " (other view)");
}

bool KeyExists(HKEY root, const std::wstring& path, REGSAM view = 0) {
  HKEY key = nullptr;
  if (::RegOpenKeyExW(root, path.c_str(), 0, KEY_READ | view, &key) != ERROR_SUCCESS) return false;
  ::RegCloseKey(key);
  return true;
}

struct RawValue {
  bool present = false;
  DWORD type = REG_NONE;
  std::vector<BYTE> bytes;
};

RawValue ReadValue(HKEY root, const std::wstring& path, const wchar_t* name) {
  RawValue value;
  DWORD size = 0;
  if (::RegGetValueW(root, path.c_str(), name, RRF_RT_ANY | RRF_NOEXPAND, &value.type, nullptr, &size) !=
      ERROR_SUCCESS) {
    return value;
  }
  value.bytes.resize(size);
  if (::RegGetValueW(root, path.c_str(), name, RRF_RT_ANY | RRF_NOEXPAND, &value.type, value.bytes.data(),
                     &size) == ERROR_SUCCESS) {
    value.present = true;
    value.bytes.resize(size);
  }
  return value;
}

// A value of `type` holding exactly the `size` bytes at `data`.
void ExpectValue(HKEY root, const std::wstring& path, const wchar_t* name, DWORD type, const void* data,
                 std::size_t size) {
  SCOPED_TRACE(KeyName(root, path) + " " + (name == nullptr ? "(default)" : Narrow(name)));
  const RawValue value = ReadValue(root, path, name);
  EXPECT_TRUE(value.present);
  EXPECT_EQ(value.type, type);
  const auto* bytes = static_cast<const BYTE*>(data);
  EXPECT_EQ(value.bytes, std::vector<BYTE>(bytes, bytes + size));
}

// A REG_SZ holding exactly `text` and its terminator, byte for byte.
void ExpectText(HKEY root, const std::wstring& path, const wchar_t* name, const std::wstring& text) {
  ExpectValue(root, path, name, REG_SZ, text.c_str(), (text.size() + 1) * sizeof(wchar_t));
}

void ExpectNumber(HKEY root, const std::wstring& path, const wchar_t* name, DWORD number) {
  ExpectValue(root, path, name, REG_DWORD, &number, sizeof number);
}

// The names of the subkeys or of the values of a key, so that nothing more than listed is there.
std::set<std::wstring> Names(HKEY root, const std::wstring& path, bool values) {
  std::set<std::wstring> names;
  HKEY key = nullptr;
  if (::RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return names;
  for (DWORD i = 0;; ++i) {
    wchar_t name[256];
    DWORD length = 256;
    const LSTATUS status = values
                               ? ::RegEnumValueW(key, i, name, &length, nullptr, nullptr, nullptr, nullptr)
                               : ::RegEnumKeyExW(key, i, name, &length, nullptr, nullptr, nullptr, nullptr);
    if (status != ERROR_SUCCESS) break;
    names.insert(std::wstring{name, length});
  }
  ::RegCloseKey(key);
  return names;
}

// A table key's path below its root: the classes' keys below Software\Classes.
std::wstring PathOf(table::Root root, const std::string& key) {
  return (root == table::Root::kClasses ? std::wstring{kClasses} : std::wstring{}) + Wide(key);
}

// Every key either registration writes under a classes root, in either bitness.
std::vector<std::wstring> OurClassKeys() {
  std::vector<std::wstring> keys;
  for (const table::OwnedKey& owned : table::OwnedKeys()) {
    if (owned.root == table::Root::kClasses) keys.push_back(PathOf(owned.root, owned.key));
  }
  return keys;
}

// The add-in entries in every host's list, of either bitness.
std::vector<std::wstring> OurHostEntries() {
  std::vector<std::wstring> keys;
  keys.reserve(table::kHostLists.size());
  for (const table::HostList& list : table::kHostLists) keys.push_back(Wide(table::AddinKey(list)));
  return keys;
}

// No key of ours under the classes of `root` (a scope), in both views.
void ExpectNoClassKeys(HKEY root) {
  for (const std::wstring& key : OurClassKeys()) {
    for (const REGSAM view : {REGSAM{0}, kOtherView}) {
      EXPECT_FALSE(KeyExists(root, key, view)) << KeyName(root, key, view);
    }
  }
}

// Nothing of ours anywhere: either scope, either view, HKEY_CLASSES_ROOT, every host's list.
void ExpectNothingOfOurs() {
  ExpectNoClassKeys(HKEY_LOCAL_MACHINE);
  ExpectNoClassKeys(HKEY_CURRENT_USER);
  for (const std::wstring& key : OurClassKeys()) {
    const std::wstring underRoot = key.substr(std::wstring_view{kClasses}.size());
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, underRoot)) << KeyName(HKEY_CLASSES_ROOT, underRoot);
  }
  for (const std::wstring& entry : OurHostEntries()) {
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, entry)) << Narrow(entry);
  }
  ComPtr<ITypeLib> library;
  EXPECT_TRUE(FAILED(::LoadRegTypeLib(LIBID_Penwright, 1, 0, 0, library.put())))
      << "the type library is unregistered";
}

// Every key below `path` ("\\sub\\key") and every value ("\\sub\\key|name", "|" for the default value
// of `path` itself), in the process's own view.
void CollectTree(HKEY root, const std::wstring& path, const std::wstring& below,
                 std::set<std::wstring>& out) {
  const std::wstring key = path + below;
  for (const std::wstring& value : Names(root, key, true))
    out.insert(std::wstring{below}.append(L"|").append(value));
  for (const std::wstring& sub : Names(root, key, false)) {
    const std::wstring subkey = std::wstring{below}.append(L"\\").append(sub);
    out.insert(subkey);
    CollectTree(root, path, subkey, out);
  }
}

// What the table's `rows` put below the owned key `owned`, as CollectTree names it.
void AddRowsBelow(const table::OwnedKey& owned, const std::vector<const table::Row*>& rows,
                  std::set<std::wstring>& out) {
  for (const table::Row* row : rows) {
    if (row->root != owned.root || !(row->key == owned.key || row->key.starts_with(owned.key + '\\')))
      continue;
    const std::wstring below = Wide(std::string_view{row->key}.substr(owned.key.size()));
    out.insert(below + L'|' + Wide(row->name));
    for (std::size_t slash = below.find(L'\\', 1); slash != std::wstring::npos;
         slash = below.find(L'\\', slash + 1)) {
      out.insert(below.substr(0, slash));
    }
    if (!below.empty()) out.insert(below);
  }
}

// Every key and value of the registration of this bitness in its scope, as the registry table gives
// them, and nothing more under the keys it owns but what the other bitness's registration may share.
void ExpectRegistered() {
  std::vector<const table::Row*> own;
  std::vector<const table::Row*> shared;
  for (const table::Row& row : table::Rows()) {
    if (table::Writes(kOwnBits, row.bits) && (g_perUser || !row.perUserOnly)) {
      own.push_back(&row);
    } else if (table::Writes(kOtherBits, row.bits) || row.perUserOnly) {
      // The other DLL's rows in a key both share (Windows shares the ProgID and TypeLib keys), and,
      // machine-wide, the HELPDIR that RegisterTypeLib writes with the key.
      shared.push_back(&row);
    }
  }
  for (const table::Row* row : own) {
    const HKEY root = row->root == table::Root::kClasses ? ScopeRoot() : HKEY_CURRENT_USER;
    const std::wstring key = PathOf(row->root, row->key);
    const std::wstring name = Wide(row->name);
    const wchar_t* const valueName = name.empty() ? nullptr : name.c_str();
    switch (row->data) {
      case table::Data::kText:
        ExpectText(root, key, valueName, Wide(row->text));
        break;
      case table::Data::kNumber:
        ExpectNumber(root, key, valueName, row->number);
        break;
      case table::Data::kServerPath:
        ExpectText(root, key, valueName, g_dllPath);
        break;
      case table::Data::kServerFolder:
        // The DLL's folder without a final backslash, as RegisterTypeLib writes it and the package must.
        ExpectText(root, key, valueName, g_dllPath.substr(0, g_dllPath.rfind(L'\\')));
        break;
    }
  }
  for (const table::OwnedKey& owned : table::OwnedKeys()) {
    if (!table::Writes(kOwnBits, owned.bits)) continue;
    const HKEY root = owned.root == table::Root::kClasses ? ScopeRoot() : HKEY_CURRENT_USER;
    std::set<std::wstring> expected;
    AddRowsBelow(owned, own, expected);
    std::set<std::wstring> allowed = expected;
    AddRowsBelow(owned, shared, allowed);
    std::set<std::wstring> actual;
    CollectTree(root, PathOf(owned.root, owned.key), {}, actual);
    for (const std::wstring& entry : expected) {
      EXPECT_TRUE(actual.contains(entry))
          << KeyName(root, PathOf(owned.root, owned.key)) << " lacks " << Narrow(entry);
    }
    for (const std::wstring& entry : actual) {
      EXPECT_TRUE(allowed.contains(entry))
          << KeyName(root, PathOf(owned.root, owned.key)) << " holds " << Narrow(entry);
    }
  }
  if (g_perUser) ExpectNoClassKeys(HKEY_LOCAL_MACHINE);
}

// The registry table spells the identifiers out; they are penwright.idl's.
TEST(Table, NamesTheLibrarysIdentifiers) {
  const auto text = [](const GUID& guid) {
    std::array<wchar_t, 40> buffer{};
    ::StringFromGUID2(guid, buffer.data(), static_cast<int>(buffer.size()));
    return Narrow(buffer.data());
  };
  EXPECT_EQ(table::kClasses[0].clsid, text(CLSID_Connect));
  EXPECT_EQ(table::kClasses[1].clsid, text(CLSID_CEcrireCode));
  EXPECT_EQ(table::kInterfaces[0].iid, text(IID__Connect));
  EXPECT_EQ(table::kInterfaces[1].iid, text(IID__CEcrireCode));
  EXPECT_EQ(table::kLibid, text(LIBID_Penwright));
}

TEST(Registered, EveryKey) {
  ExpectRegistered();
}

// The name, help text and help file that GetDocumentation gives for `id` of a type library or type.
template <class Owner>
std::array<std::wstring, 3> Documentation(Owner* owner, int id) {
  std::array<BSTR, 3> texts{};
  if (owner != nullptr) owner->GetDocumentation(id, &texts[0], &texts[1], nullptr, &texts[2]);
  std::array<std::wstring, 3> shown;
  for (std::size_t i = 0; i < texts.size(); ++i) {
    shown[i] = platform::win32::BstrView(texts[i]);
    ::SysFreeString(texts[i]);
  }
  return shown;
}

struct Member {
  const wchar_t* name;
  MEMBERID id;
  INVOKEKIND kind;
  std::vector<VARTYPE> parameters;  // VT_PTR | x stands for a pointer to x
  std::vector<USHORT> parameterFlags;
};

// The members of an interface half, in slot order, with their parameters' types and directions.
void ExpectMembers(ITypeInfo* info, const std::vector<Member>& expected, const std::string& what) {
  SCOPED_TRACE(what);
  TYPEATTR* attributes = nullptr;
  ASSERT_TRUE(SUCCEEDED(info->GetTypeAttr(&attributes))) << "type attributes";
  const UINT count = attributes->cFuncs;
  EXPECT_EQ(attributes->typekind, TKIND_INTERFACE);
  EXPECT_EQ(attributes->wTypeFlags,
            static_cast<WORD>(TYPEFLAG_FHIDDEN | TYPEFLAG_FDUAL | TYPEFLAG_FNONEXTENSIBLE |
                              TYPEFLAG_FOLEAUTOMATION | TYPEFLAG_FDISPATCHABLE));
  info->ReleaseTypeAttr(attributes);
  EXPECT_EQ(count, static_cast<UINT>(expected.size())) << "member count";
  for (UINT i = 0; i < count && i < expected.size(); ++i) {
    const Member& m = expected[i];
    FUNCDESC* function = nullptr;
    if (FAILED(info->GetFuncDesc(i, &function))) continue;
    SCOPED_TRACE("slot " + std::to_string(i + 1) + " " + Narrow(m.name));
    EXPECT_EQ(Documentation(info, function->memid)[0], m.name);
    EXPECT_EQ(function->memid, m.id);
    EXPECT_EQ(function->invkind, m.kind);
    EXPECT_EQ(static_cast<std::size_t>(function->cParams), m.parameters.size());
    EXPECT_EQ(function->elemdescFunc.tdesc.vt, VARTYPE{VT_HRESULT});
    for (std::size_t p = 0; p < m.parameters.size() && p < static_cast<std::size_t>(function->cParams); ++p) {
      const ELEMDESC& parameter = function->lprgelemdescParam[p];
      VARTYPE type = parameter.tdesc.vt;
      if (type == VT_PTR) type = static_cast<VARTYPE>(VT_PTR | parameter.tdesc.lptdesc->vt);
      EXPECT_EQ(type, m.parameters[p]) << "parameter " << p;
      EXPECT_EQ(static_cast<USHORT>(parameter.paramdesc.wParamFlags &
                                    (PARAMFLAG_FIN | PARAMFLAG_FOUT | PARAMFLAG_FRETVAL)),
                m.parameterFlags[p])
          << "direction of parameter " << p;
    }
    info->ReleaseFuncDesc(function);
  }
}

// The library as the registry hands it out (machine-wide: Wine's oleaut32 reads HKEY_CLASSES_ROOT
// only), for this bitness.
TEST(RegisteredMachineWide, TypeLibrary) {
  ComPtr<ITypeLib> library;
  ASSERT_EQ(::LoadRegTypeLib(LIBID_Penwright, 1, 0, 0, library.put()), S_OK);
  ASSERT_TRUE(library);
  TLIBATTR* attributes = nullptr;
  library->GetLibAttr(&attributes);
  EXPECT_TRUE(IsEqualGUID(attributes->guid, LIBID_Penwright)) << "library identifier";
  EXPECT_EQ(attributes->wMajorVerNum, WORD{1});
  EXPECT_EQ(attributes->wMinorVerNum, WORD{0});
  EXPECT_EQ(attributes->syskind, k64 ? SYS_WIN64 : SYS_WIN32);
  EXPECT_EQ(attributes->lcid, LCID{0});
  library->ReleaseTLibAttr(attributes);
  const std::array<std::wstring, 3> documentation = Documentation(library.get(), -1);
  EXPECT_EQ(documentation[0], L"Penwright");
  const auto description = std::find_if(
      table::Rows().begin(), table::Rows().end(),
      [](const table::Row& row) { return row.key == table::LibraryVersionKey() && row.name.empty(); });
  ASSERT_NE(description, table::Rows().end());
  EXPECT_EQ(documentation[1], Wide(description->text)) << "the help string is the table's";
  EXPECT_EQ(documentation[2], L"") << "no help file";

  struct Entry {
    const wchar_t* name;
    TYPEKIND kind;
    WORD flags;
    const GUID* guid;
  };
  // The dispatch half of a dual interface; the interface half adds TYPEFLAG_FOLEAUTOMATION.
  constexpr WORD kInterfaceFlags =
      TYPEFLAG_FHIDDEN | TYPEFLAG_FDUAL | TYPEFLAG_FNONEXTENSIBLE | TYPEFLAG_FDISPATCHABLE;
  const Entry entries[] = {{L"_Connect", TKIND_DISPATCH, kInterfaceFlags, &IID__Connect},
                           {L"Connect", TKIND_COCLASS, TYPEFLAG_FCANCREATE, &CLSID_Connect},
                           {L"_CEcrireCode", TKIND_DISPATCH, kInterfaceFlags, &IID__CEcrireCode},
                           {L"CEcrireCode", TKIND_COCLASS, TYPEFLAG_FCANCREATE, &CLSID_CEcrireCode}};
  EXPECT_EQ(library->GetTypeInfoCount(), UINT{4}) << "four types in the library";
  for (UINT i = 0; i < 4 && i < library->GetTypeInfoCount(); ++i) {
    const Entry& e = entries[i];
    SCOPED_TRACE("type " + std::to_string(i) + " " + Narrow(e.name));
    ComPtr<ITypeInfo> info;
    library->GetTypeInfo(i, info.put());
    EXPECT_EQ(Documentation(library.get(), static_cast<int>(i))[0], e.name);
    TYPEATTR* type = nullptr;
    info->GetTypeAttr(&type);
    EXPECT_EQ(type->typekind, e.kind);
    EXPECT_EQ(type->wTypeFlags, e.flags);
    EXPECT_TRUE(IsEqualGUID(type->guid, *e.guid)) << "identifier";
    if (e.kind == TKIND_COCLASS) {
      EXPECT_EQ(type->cImplTypes, WORD{1}) << "one interface";
      INT implFlags = 0;
      info->GetImplTypeFlags(0, &implFlags);
      EXPECT_EQ(implFlags, static_cast<INT>(IMPLTYPEFLAG_FDEFAULT)) << "its default interface";
      HREFTYPE ref = 0;
      ComPtr<ITypeInfo> implemented;
      info->GetRefTypeOfImplType(0, &ref);
      info->GetRefTypeInfo(ref, implemented.put());
      EXPECT_EQ(Documentation(implemented.get(), MEMBERID_NIL)[0], std::wstring{L"_"} + e.name)
          << "its interface";
    }
    info->ReleaseTypeAttr(type);
  }

  constexpr VARTYPE kBoolRef = VT_PTR | VT_BOOL;
  constexpr VARTYPE kTextRef = VT_PTR | VT_BSTR;
  constexpr USHORT kIn = PARAMFLAG_FIN;
  constexpr USHORT kInOut = PARAMFLAG_FIN | PARAMFLAG_FOUT;
  constexpr USHORT kRetval = PARAMFLAG_FOUT | PARAMFLAG_FRETVAL;
  const std::vector<Member> connect = {
      {L"FormDisplayed", 0x40030000, INVOKE_PROPERTYGET, {kBoolRef}, {kRetval}},
      {L"FormDisplayed", 0x40030000, INVOKE_PROPERTYPUT, {VT_BOOL}, {kIn}},
      {L"VBInstance", 0x40030001, INVOKE_PROPERTYGET, {VT_PTR | VT_DISPATCH}, {kRetval}},
      {L"VBInstance", 0x40030001, INVOKE_PROPERTYPUTREF, {VT_DISPATCH}, {kIn}},
      {L"MenuHandler", 0x40030004, INVOKE_PROPERTYGET, {VT_PTR | VT_DISPATCH}, {kRetval}},
      {L"MenuHandler", 0x40030004, INVOKE_PROPERTYPUTREF, {VT_DISPATCH}, {kIn}},
      {L"Hide", 0x60030000, INVOKE_FUNC, {}, {}},
      {L"Show", 0x60030001, INVOKE_FUNC, {}, {}},
      {L"AddToAddInCommandBar", 0x60030006, INVOKE_FUNC, {kTextRef, VT_PTR | VT_DISPATCH}, {kInOut, kRetval}},
  };
  const std::vector<Member> request = {
      {L"Cacher", 0x68030010, INVOKE_PROPERTYPUT, {kBoolRef}, {kInOut}},
      {L"Comment", 0x6803000F, INVOKE_PROPERTYPUT, {kBoolRef}, {kInOut}},
      {L"CreerFonction", 0x6803000E, INVOKE_PROPERTYPUT, {kBoolRef}, {kInOut}},
      {L"CreerProcedure", 0x6803000D, INVOKE_PROPERTYPUT, {kBoolRef}, {kInOut}},
      {L"LectureSeule", 0x6803000C, INVOKE_PROPERTYPUT, {kBoolRef}, {kInOut}},
      {L"FunctionReturn", 0x6803000B, INVOKE_PROPERTYPUT, {kTextRef}, {kInOut}},
      {L"Prop_Changed", 0x6803000A, INVOKE_PROPERTYPUT, {kBoolRef}, {kInOut}},
      {L"Prop_Friend", 0x68030009, INVOKE_PROPERTYPUT, {kBoolRef}, {kInOut}},
      {L"Prop_Prive", 0x68030008, INVOKE_PROPERTYPUT, {kBoolRef}, {kInOut}},
      {L"ResumeNext", 0x68030007, INVOKE_PROPERTYPUT, {kBoolRef}, {kInOut}},
      {L"VariableLoc_Static", 0x68030006, INVOKE_PROPERTYPUT, {kBoolRef}, {kInOut}},
      {L"AideId", 0x68030005, INVOKE_PROPERTYPUT, {kTextRef}, {kInOut}},
      {L"Nom_Propriete", 0x68030004, INVOKE_PROPERTYPUT, {kTextRef}, {kInOut}},
      {L"NomUtilisateur", 0x68030003, INVOKE_PROPERTYPUT, {kTextRef}, {kInOut}},
      {L"NomVariable", 0x68030002, INVOKE_PROPERTYPUT, {kTextRef}, {kInOut}},
      {L"TypeVariable", 0x68030001, INVOKE_PROPERTYPUT, {kTextRef}, {kInOut}},
      {L"Usage", 0x68030000, INVOKE_PROPERTYPUT, {kTextRef}, {kInOut}},
      {L"EcrireCode", 0x60030011, INVOKE_FUNC, {VT_PTR | VT_DISPATCH}, {kInOut}},
      {L"Prop_Set", 0x68030012, INVOKE_PROPERTYPUT, {kBoolRef}, {kInOut}},
  };
  const std::pair<const IID*, const std::vector<Member>*> interfaces[] = {{&IID__Connect, &connect},
                                                                          {&IID__CEcrireCode, &request}};
  for (const auto& [iid, members] : interfaces) {
    ComPtr<ITypeInfo> dispatchHalf;
    library->GetTypeInfoOfGuid(*iid, dispatchHalf.put());
    HREFTYPE ref = 0;
    ComPtr<ITypeInfo> interfaceHalf;
    if (dispatchHalf && SUCCEEDED(dispatchHalf->GetRefTypeOfImplType(static_cast<UINT>(-1), &ref))) {
      dispatchHalf->GetRefTypeInfo(ref, interfaceHalf.put());
    }
    EXPECT_TRUE(interfaceHalf) << "interface half found";
    if (interfaceHalf)
      ExpectMembers(interfaceHalf.get(), *members, iid == &IID__Connect ? "_Connect" : "_CEcrireCode");
  }
}

TEST(RegisteredMachineWide, Resources) {
  const std::wstring& dllPath = g_dllPath;
  HMODULE dll = ::LoadLibraryExW(dllPath.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(dll, nullptr) << "the DLL loads as data";
  const std::pair<const wchar_t*, const IID*> records[] = {{L"_IID_CONNECT", &IID__Connect},
                                                           {L"_IID_CECRIRECODE", &IID__CEcrireCode}};
  for (const auto& [name, iid] : records) {
    SCOPED_TRACE("resource " + Narrow(name));
    HRSRC found = ::FindResourceW(dll, name, MAKEINTRESOURCEW(10));  // RT_RCDATA
    EXPECT_NE(found, nullptr);
    if (found == nullptr) continue;
    const DWORD size = ::SizeofResource(dll, found);
    const auto* bytes = static_cast<const BYTE*>(::LockResource(::LoadResource(dll, found)));
    EXPECT_EQ(size, DWORD{20});
    if (size != 20 || bytes == nullptr) continue;
    DWORD length = 0;
    std::memcpy(&length, bytes, sizeof length);
    EXPECT_EQ(length, DWORD{16}) << "length field";
    EXPECT_EQ(std::memcmp(bytes + 4, iid, 16), 0) << "holds the interface identifier";
  }
  EXPECT_NE(::FindResourceW(dll, MAKEINTRESOURCEW(1), L"TYPELIB"), nullptr) << "resource 1 TYPELIB";
  ::FreeLibrary(dll);

  DWORD handle = 0;
  const DWORD size = ::GetFileVersionInfoSizeW(dllPath.c_str(), &handle);
  std::vector<BYTE> version(size);
  ASSERT_GT(size, 0U) << "version resource";
  EXPECT_TRUE(::GetFileVersionInfoW(dllPath.c_str(), 0, size, version.data()));
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT fixedSize = 0;
  if (::VerQueryValueW(version.data(), L"\\", reinterpret_cast<void**>(&fixed), &fixedSize) &&
      fixed != nullptr) {
    // The version's four numbers, as VERSION gives them, in both the file's and the product's version.
    const std::array<DWORD, 4> numbers{SCRIVLET_VERSION_NUMBERS};
    EXPECT_EQ(fixed->dwFileVersionMS, numbers[0] << 16 | numbers[1]) << "file version";
    EXPECT_EQ(fixed->dwFileVersionLS, numbers[2] << 16 | numbers[3]) << "file version";
    EXPECT_EQ(fixed->dwProductVersionMS, numbers[0] << 16 | numbers[1]) << "product version";
    EXPECT_EQ(fixed->dwProductVersionLS, numbers[2] << 16 | numbers[3]) << "product version";
    EXPECT_EQ(fixed->dwFileFlags, DWORD{0});
    EXPECT_EQ(fixed->dwFileOS, DWORD{VOS__WINDOWS32});
    EXPECT_EQ(fixed->dwFileType, DWORD{VFT_DLL});
  } else {
    ADD_FAILURE() << "no fixed version part";
  }
  const std::pair<const wchar_t*, const wchar_t*> strings[] = {
      {L"CompanyName", L"x"},
      {L"ProductName", L"Penwright"},
      {L"FileVersion", L"" SCRIVLET_VERSION},
      {L"ProductVersion", L"" SCRIVLET_VERSION},
      {L"InternalName", L"Scrivlet"},
      {L"OriginalFilename", L"Scrivlet.dll"},
      {L"OLESelfRegister", L""},
  };
  for (const auto& [key, expected] : strings) {
    const std::wstring path = std::wstring{L"\\StringFileInfo\\040904B0\\"} + key;
    wchar_t* text = nullptr;
    UINT length = 0;
    const bool found =
        ::VerQueryValueW(version.data(), path.c_str(), reinterpret_cast<void**>(&text), &length);
    EXPECT_TRUE(found) << "version string " << key;
    const std::wstring value = found && text != nullptr && length > 0 ? std::wstring{text} : std::wstring{};
    EXPECT_EQ(value, expected) << "version string " << key;
  }
  WORD* translation = nullptr;
  UINT translationSize = 0;
  const bool hasTranslation = ::VerQueryValueW(version.data(), L"\\VarFileInfo\\Translation",
                                               reinterpret_cast<void**>(&translation), &translationSize);
  EXPECT_TRUE(hasTranslation && translationSize == 4 && translation[0] == 0x0409 && translation[1] == 1200)
      << "U.S. English, Unicode";
}

TEST(Unregistered, NothingOfOursIsLeft) {
  ExpectNothingOfOurs();
  if (g_neighbour) {
    for (const table::HostList& list : table::kHostLists) {
      EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, Wide(list.addinsKey) + kNeighbour))
          << "another add-in's entry in " << list.addinsKey << " stays";
    }
  } else {
    // This prefix has no VB and no Office: the keys above our entries were ours, and none is left empty.
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, L"Software\\Microsoft\\Visual Basic"));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, L"Software\\Microsoft\\VBA"));
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, L"Software\\Microsoft")) << "Software\\Microsoft stays";
  }
}

// --- DllInstall, called here ----------------------------------------------------------------------------

using DllInstallEntry = HRESULT(STDAPICALLTYPE*)(BOOL, PCWSTR);

class Install : public ::testing::Test {
 protected:
  void SetUp() override {
    dll_ = ::LoadLibraryW(g_dllPath.c_str());
    ASSERT_NE(dll_, nullptr);
    install_ =
        reinterpret_cast<DllInstallEntry>(reinterpret_cast<void*>(::GetProcAddress(dll_, "DllInstall")));
    ASSERT_NE(install_, nullptr) << "DllInstall is exported";
    g_perUser = true;
  }
  void TearDown() override {
    if (install_ != nullptr) install_(FALSE, L"user");
    ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Microsoft\\VBA");
    if (dll_ != nullptr) ::FreeLibrary(dll_);
  }

  // Makes HKEY_CURRENT_USER\Software\Microsoft\VBA volatile: the stable keys of the VBA editor's list
  // cannot be created under it, so a registration fails at its last step.
  static void TrapTheVbaList() {
    ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Microsoft\\VBA");
    HKEY key = nullptr;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Microsoft\\VBA", 0, nullptr,
                                REG_OPTION_VOLATILE, KEY_WRITE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    ::RegCloseKey(key);
  }

  HMODULE dll_ = nullptr;
  DllInstallEntry install_ = nullptr;
};

TEST_F(Install, RefusesAnyOtherCommandLineAndWritesNothing) {
  const wchar_t* const refused[] = {nullptr,  L"",      L"machine", L"users",
                                    L" user", L"user ", L"/user",   L"host"};
  for (const wchar_t* commandLine : refused) {
    SCOPED_TRACE(commandLine == nullptr ? std::string{"(null)"} : Narrow(commandLine));
    EXPECT_EQ(install_(TRUE, commandLine), E_INVALIDARG) << "install";
    EXPECT_EQ(install_(FALSE, commandLine), E_INVALIDARG) << "uninstall";
  }
  ExpectNothingOfOurs();
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, L"Software\\Microsoft\\VBA"));
}

TEST_F(Install, UserInAnyCaseRegistersAndUnregisters) {
  ASSERT_EQ(install_(TRUE, L"User"), S_OK);
  ExpectRegistered();
  ASSERT_EQ(install_(TRUE, L"user"), S_OK) << "registering again";
  ExpectRegistered();
  ASSERT_EQ(install_(FALSE, L"USER"), S_OK);
  ExpectNothingOfOurs();
  EXPECT_EQ(install_(FALSE, L"user"), S_OK) << "nothing registered is no failure";
}

// The host entries alone, as a machine-wide install has them written for each user: no class, and
// taking them out keeps them while the user's own classes still need them.
TEST_F(Install, HostsWritesTheHostEntriesAlone) {
  ASSERT_EQ(install_(TRUE, L"Hosts"), S_OK);
  for (const table::HostList& list : table::kHostLists) {
    EXPECT_EQ(KeyExists(HKEY_CURRENT_USER, Wide(table::AddinKey(list))), table::Writes(kOwnBits, list.bits))
        << table::AddinKey(list);
  }
  for (const std::wstring& key : OurClassKeys())
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, key)) << Narrow(key);
  ASSERT_EQ(install_(FALSE, L"hosts"), S_OK);
  ExpectNothingOfOurs();

  ASSERT_EQ(install_(TRUE, L"user"), S_OK);
  ASSERT_EQ(install_(FALSE, L"hosts"), S_OK);
  ExpectRegistered();
}

// A registration that fails takes back what it wrote and nothing else: from nothing, nothing is left;
// over an earlier registration, that one is whole again.
TEST_F(Install, AFailureTakesBackWhatItWrote) {
  const HRESULT refusal = HRESULT_FROM_WIN32(ERROR_CHILD_MUST_BE_VOLATILE);
  TrapTheVbaList();
  EXPECT_EQ(install_(TRUE, L"user"), refusal);
  ExpectNothingOfOurs();
  EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, L"Software\\Microsoft\\VBA")) << "the trap is not ours to remove";

  ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Microsoft\\VBA");
  ASSERT_EQ(install_(TRUE, L"user"), S_OK);
  // The earlier registration loses its VBA editor entry to the trap; all the rest must survive.
  TrapTheVbaList();
  const std::wstring server =
      PathOf(table::Root::kClasses, table::ClassKey(table::kClasses[0])) + L"\\InprocServer32";
  ASSERT_EQ(::RegSetKeyValueW(HKEY_CURRENT_USER, server.c_str(), nullptr, REG_SZ, L"elsewhere.dll",
                              sizeof L"elsewhere.dll"),
            ERROR_SUCCESS);
  EXPECT_EQ(install_(TRUE, L"user"), refusal);
  ExpectText(HKEY_CURRENT_USER, server, nullptr, L"elsewhere.dll");  // the value it replaced, back
  ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Microsoft\\VBA");
  ASSERT_EQ(install_(TRUE, L"user"), S_OK);
  ExpectRegistered();
}

}  // namespace

// See the opening comment for the modes.
int wmain(int argc, wchar_t** argv) {
  testing::InitGoogleTest(&argc, argv);
  const std::wstring mode = argc > 1 ? argv[1] : L"";
  const std::wstring scope = argc > 2 ? argv[2] : L"";
  if (mode == L"registered" && (scope == L"machine" || scope == L"user") && argc > 3) {
    g_perUser = scope == L"user";
    g_dllPath = argv[3];
    GTEST_FLAG_SET(filter,
                   g_perUser ? "Table.*:Registered.*" : "Table.*:Registered.*:RegisteredMachineWide.*");
  } else if (mode == L"unregistered" && (argc == 2 || scope == L"beside-neighbour")) {
    g_neighbour = argc > 2;
    GTEST_FLAG_SET(filter, "Table.*:Unregistered.*");
  } else if (mode == L"install" && argc > 2) {
    g_dllPath = argv[2];
    GTEST_FLAG_SET(filter, "Table.*:Install.*");
  } else {
    std::printf(
        "usage: registration_tests registered machine|user DLL-PATH | unregistered [beside-neighbour] |"
        " install DLL-PATH\n");
    return 2;
  }
  if (FAILED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {
    std::printf("COM cannot be initialised\n");
    return 1;
  }
  const int status = RUN_ALL_TESTS();
  ::CoUninitialize();
  return status;
}
