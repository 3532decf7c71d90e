// tests/win32/registration_test.cpp: what regsvr32 leaves in the registry, the registered type library,
// and the DLL's resources. "registered DLL-PATH" checks after registration, "unregistered" that
// nothing of ours is left, "unregistered-beside-neighbour" the same with another add-in kept.
#include <windows.h>

#include <objbase.h>
#include <oleauto.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "addin/com/penwright.h"
#include "platform/win32/com_handles.h"
#include "tests/win32/check.h"

namespace {

using platform::win32::ComPtr;

test::Checks checks;

constexpr wchar_t kConnectClsid[] = L"{FAEF55F2-E717-4EAD-A497-6FB86A685EF2}";
constexpr wchar_t kCEcrireCodeClsid[] = L"{328BE73A-2D3B-4539-95A4-310DCE185468}";
constexpr wchar_t kLibid[] = L"{ABD489EB-9188-4951-BE88-5A864556EE82}";
constexpr wchar_t kConnectIid[] = L"{965C7AA9-434E-40DD-8486-3F40EEE37FBB}";
constexpr wchar_t kCEcrireCodeIid[] = L"{DA96CC00-4985-4C65-ADBA-FA4F7F2074CD}";
constexpr wchar_t kAddinKey[] = L"Software\\Microsoft\\Visual Basic\\6.0\\Addins\\Penwright.Connect";
constexpr wchar_t kNeighbourKey[] = L"Software\\Microsoft\\Visual Basic\\6.0\\Addins\\Other.Connect";

std::string RootName(HKEY root) {
  return root == HKEY_CLASSES_ROOT ? "HKCR\\" : "HKCU\\";
}

bool KeyExists(HKEY root, const std::wstring& path) {
  HKEY key = nullptr;
  if (::RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
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

// A REG_SZ holding exactly `text` and its terminator, byte for byte.
void ExpectText(HKEY root, const std::wstring& path, const wchar_t* name, std::wstring_view text) {
  const std::string what =
      RootName(root) + test::Visible(path) + " " + (name == nullptr ? "(default)" : test::Visible(name));
  const RawValue value = ReadValue(root, path, name);
  checks.Expect(value.present, what + " exists");
  checks.Equal(value.type, static_cast<DWORD>(REG_SZ), what + " is REG_SZ");
  std::vector<BYTE> expected((text.size() + 1) * sizeof(wchar_t), 0);
  std::memcpy(expected.data(), text.data(), text.size() * sizeof(wchar_t));
  checks.Expect(value.bytes == expected, what + " is " + test::Show(text));
}

void ExpectNumber(HKEY root, const std::wstring& path, const wchar_t* name, DWORD number) {
  const std::string what = RootName(root) + test::Visible(path) + " " + test::Visible(name);
  const RawValue value = ReadValue(root, path, name);
  checks.Expect(value.present, what + " exists");
  checks.Equal(value.type, static_cast<DWORD>(REG_DWORD), what + " is REG_DWORD");
  DWORD stored = 0;
  if (value.bytes.size() == sizeof stored) std::memcpy(&stored, value.bytes.data(), sizeof stored);
  checks.Equal(value.bytes.size(), sizeof stored, what + " size");
  checks.Equal(stored, number, what);
}

// The names of the subkeys and of the values of a key, so that nothing more than listed is there.
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

void Classes(const std::wstring& dllPath) {
  struct Class {
    const wchar_t* clsid;
    const wchar_t* progId;
  };
  const Class classes[] = {{kConnectClsid, L"Penwright.Connect"},
                           {kCEcrireCodeClsid, L"Penwright.CEcrireCode"}};
  for (const Class& c : classes) {
    const std::wstring key = std::wstring{L"CLSID\\"} + c.clsid;
    ExpectText(HKEY_CLASSES_ROOT, key, nullptr, c.progId);
    ExpectText(HKEY_CLASSES_ROOT, key + L"\\InprocServer32", nullptr, dllPath);
    ExpectText(HKEY_CLASSES_ROOT, key + L"\\InprocServer32", L"ThreadingModel", L"Apartment");
    ExpectText(HKEY_CLASSES_ROOT, key + L"\\ProgID", nullptr, c.progId);
    ExpectText(HKEY_CLASSES_ROOT, c.progId, nullptr, c.progId);
    ExpectText(HKEY_CLASSES_ROOT, std::wstring{c.progId} + L"\\CLSID", nullptr, c.clsid);
    checks.Expect(
        Names(HKEY_CLASSES_ROOT, key, false) == std::set<std::wstring>{L"InprocServer32", L"ProgID"},
        "class key " + test::Visible(c.progId) + " holds InprocServer32 and ProgID only");
    checks.Expect(Names(HKEY_CLASSES_ROOT, c.progId, false) == std::set<std::wstring>{L"CLSID"},
                  "ProgID key " + test::Visible(c.progId) + " holds CLSID only");
  }
}

void AddinEntry() {
  ExpectText(HKEY_CURRENT_USER, kAddinKey, L"FriendlyName", L"Scrivlet");
  // Written out here independently of the DLL's own text, accented letters as code points.
  const std::wstring description =
      L"Scrivlet\r\n-----------------------\r\n"
      L"Petite application permettant de faire la mise en page n\u00E9cessaire des proc\u00E9dures, \r\n"
      L"fonctions et propri\u00E9t\u00E9.\r\n\r\n"
      L"AddIn permitting to automate the layout of procedure, functions and property.";
  ExpectText(HKEY_CURRENT_USER, kAddinKey, L"Description", description);
  ExpectNumber(HKEY_CURRENT_USER, kAddinKey, L"LoadBehavior", 5);
  ExpectNumber(HKEY_CURRENT_USER, kAddinKey, L"CommandLineSafe", 1);
  checks.Expect(
      Names(HKEY_CURRENT_USER, kAddinKey, true) ==
          std::set<std::wstring>{L"FriendlyName", L"Description", L"LoadBehavior", L"CommandLineSafe"},
      "the add-in entry holds its four values only");
  checks.Expect(Names(HKEY_CURRENT_USER, kAddinKey, false).empty(), "the add-in entry has no subkey");
}

std::wstring Text(BSTR b) {
  return std::wstring{platform::win32::BstrView(b)};
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
  TYPEATTR* attributes = nullptr;
  if (FAILED(info->GetTypeAttr(&attributes))) {
    checks.Expect(false, what + ": type attributes");
    return;
  }
  const UINT count = attributes->cFuncs;
  checks.Equal(attributes->typekind, TKIND_INTERFACE, what + ": interface half");
  checks.Equal(attributes->wTypeFlags,
               static_cast<WORD>(TYPEFLAG_FHIDDEN | TYPEFLAG_FDUAL | TYPEFLAG_FNONEXTENSIBLE |
                                 TYPEFLAG_FOLEAUTOMATION | TYPEFLAG_FDISPATCHABLE),
               what + ": interface half flags");
  info->ReleaseTypeAttr(attributes);
  checks.Equal(count, static_cast<UINT>(expected.size()), what + ": member count");
  for (UINT i = 0; i < count && i < expected.size(); ++i) {
    const Member& m = expected[i];
    FUNCDESC* function = nullptr;
    if (FAILED(info->GetFuncDesc(i, &function))) continue;
    BSTR name = nullptr;
    info->GetDocumentation(function->memid, &name, nullptr, nullptr, nullptr);
    const std::string slot = what + " slot " + std::to_string(i + 1) + " " + test::Visible(m.name);
    checks.Equal(Text(name), std::wstring{m.name}, slot + ": name");
    ::SysFreeString(name);
    checks.Equal(function->memid, m.id, slot + ": dispatch id");
    checks.Equal(function->invkind, m.kind, slot + ": kind");
    checks.Equal(static_cast<std::size_t>(function->cParams), m.parameters.size(),
                 slot + ": parameter count");
    checks.Equal(function->elemdescFunc.tdesc.vt, VARTYPE{VT_HRESULT}, slot + ": returns HRESULT");
    for (std::size_t p = 0; p < m.parameters.size() && p < static_cast<std::size_t>(function->cParams); ++p) {
      const ELEMDESC& parameter = function->lprgelemdescParam[p];
      VARTYPE type = parameter.tdesc.vt;
      if (type == VT_PTR) type = static_cast<VARTYPE>(VT_PTR | parameter.tdesc.lptdesc->vt);
      checks.Equal(type, m.parameters[p], slot + ": parameter type");
      checks.Equal(static_cast<USHORT>(parameter.paramdesc.wParamFlags &
                                       (PARAMFLAG_FIN | PARAMFLAG_FOUT | PARAMFLAG_FRETVAL)),
                   m.parameterFlags[p], slot + ": parameter direction");
    }
    info->ReleaseFuncDesc(function);
  }
}

void TypeLibrary() {
  ComPtr<ITypeLib> library;
  const HRESULT hr = ::LoadRegTypeLib(LIBID_Penwright, 1, 0, 0, library.put());
  checks.Equal(hr, S_OK, "LoadRegTypeLib");
  if (!library) return;
  TLIBATTR* attributes = nullptr;
  library->GetLibAttr(&attributes);
  checks.Expect(IsEqualGUID(attributes->guid, LIBID_Penwright), "library identifier");
  checks.Equal(attributes->wMajorVerNum, WORD{1}, "library major version");
  checks.Equal(attributes->wMinorVerNum, WORD{0}, "library minor version");
  checks.Equal(attributes->syskind, SYS_WIN32, "library system");
  checks.Equal(attributes->lcid, LCID{0}, "library locale");
  library->ReleaseTLibAttr(attributes);
  BSTR name = nullptr;
  BSTR help = nullptr;
  BSTR helpFile = nullptr;
  library->GetDocumentation(-1, &name, &help, nullptr, &helpFile);
  checks.Equal(Text(name), std::wstring{L"Penwright"}, "library name");
  checks.Equal(Text(help), std::wstring{L"Adds Properties and comments."}, "library help string");
  checks.Equal(Text(helpFile), std::wstring{}, "no help file");
  ::SysFreeString(name);
  ::SysFreeString(help);
  ::SysFreeString(helpFile);

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
  checks.Equal(library->GetTypeInfoCount(), UINT{4}, "four types in the library");
  for (UINT i = 0; i < 4 && i < library->GetTypeInfoCount(); ++i) {
    const Entry& e = entries[i];
    const std::string what = "type " + std::to_string(i) + " " + test::Visible(e.name);
    ComPtr<ITypeInfo> info;
    library->GetTypeInfo(i, info.put());
    BSTR typeName = nullptr;
    library->GetDocumentation(static_cast<INT>(i), &typeName, nullptr, nullptr, nullptr);
    checks.Equal(Text(typeName), std::wstring{e.name}, what + ": name");
    ::SysFreeString(typeName);
    TYPEATTR* type = nullptr;
    info->GetTypeAttr(&type);
    checks.Equal(type->typekind, e.kind, what + ": kind");
    checks.Equal(type->wTypeFlags, e.flags, what + ": flags");
    checks.Expect(IsEqualGUID(type->guid, *e.guid), what + ": identifier");
    if (e.kind == TKIND_COCLASS) {
      checks.Equal(type->cImplTypes, WORD{1}, what + ": one interface");
      INT implFlags = 0;
      info->GetImplTypeFlags(0, &implFlags);
      checks.Equal(implFlags, static_cast<INT>(IMPLTYPEFLAG_FDEFAULT), what + ": default interface");
      HREFTYPE ref = 0;
      ComPtr<ITypeInfo> implemented;
      info->GetRefTypeOfImplType(0, &ref);
      info->GetRefTypeInfo(ref, implemented.put());
      BSTR implementedName = nullptr;
      if (implemented)
        implemented->GetDocumentation(MEMBERID_NIL, &implementedName, nullptr, nullptr, nullptr);
      checks.Equal(Text(implementedName), std::wstring{L"_"} + e.name, what + ": its interface");
      ::SysFreeString(implementedName);
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
    checks.Expect(static_cast<bool>(interfaceHalf), "interface half found");
    if (interfaceHalf)
      ExpectMembers(interfaceHalf.get(), *members, iid == &IID__Connect ? "_Connect" : "_CEcrireCode");
  }
}

void TypeLibraryKeys(const std::wstring& dllPath) {
  ExpectText(HKEY_CLASSES_ROOT, std::wstring{L"TypeLib\\"} + kLibid + L"\\1.0", nullptr,
             L"Adds Properties and comments.");
  ExpectText(HKEY_CLASSES_ROOT, std::wstring{L"TypeLib\\"} + kLibid + L"\\1.0\\0\\win32", nullptr, dllPath);
  for (const wchar_t* iid : {kConnectIid, kCEcrireCodeIid}) {
    ExpectText(HKEY_CLASSES_ROOT, std::wstring{L"Interface\\"} + iid + L"\\TypeLib", nullptr, kLibid);
  }
}

void Resources(const std::wstring& dllPath) {
  HMODULE dll = ::LoadLibraryExW(dllPath.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  checks.Expect(dll != nullptr, "the DLL loads as data");
  if (dll == nullptr) return;
  const std::pair<const wchar_t*, const IID*> records[] = {{L"_IID_CONNECT", &IID__Connect},
                                                           {L"_IID_CECRIRECODE", &IID__CEcrireCode}};
  for (const auto& [name, iid] : records) {
    const std::string what = "resource " + test::Visible(name);
    HRSRC found = ::FindResourceW(dll, name, MAKEINTRESOURCEW(10));  // RT_RCDATA
    checks.Expect(found != nullptr, what + " exists");
    if (found == nullptr) continue;
    const DWORD size = ::SizeofResource(dll, found);
    const auto* bytes = static_cast<const BYTE*>(::LockResource(::LoadResource(dll, found)));
    checks.Equal(size, DWORD{20}, what + " size");
    if (size != 20 || bytes == nullptr) continue;
    DWORD length = 0;
    std::memcpy(&length, bytes, sizeof length);
    checks.Equal(length, DWORD{16}, what + " length field");
    checks.Expect(std::memcmp(bytes + 4, iid, 16) == 0, what + " holds the interface identifier");
  }
  HRSRC typelib = ::FindResourceW(dll, MAKEINTRESOURCEW(1), L"TYPELIB");
  checks.Expect(typelib != nullptr, "resource 1 TYPELIB exists");
  ::FreeLibrary(dll);

  DWORD handle = 0;
  const DWORD size = ::GetFileVersionInfoSizeW(dllPath.c_str(), &handle);
  std::vector<BYTE> version(size);
  checks.Expect(size > 0 && ::GetFileVersionInfoW(dllPath.c_str(), 0, size, version.data()),
                "version resource");
  if (size == 0) return;
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT fixedSize = 0;
  if (::VerQueryValueW(version.data(), L"\\", reinterpret_cast<void**>(&fixed), &fixedSize) &&
      fixed != nullptr) {
    checks.Equal(fixed->dwFileVersionMS, DWORD{0x00010000}, "file version 1.0");
    checks.Equal(fixed->dwFileVersionLS, DWORD{0}, "file version .0.0");
    checks.Equal(fixed->dwProductVersionMS, DWORD{0x00010000}, "product version 1.0");
    checks.Equal(fixed->dwProductVersionLS, DWORD{0}, "product version .0.0");
    checks.Equal(fixed->dwFileFlags, DWORD{0}, "no flags");
    checks.Equal(fixed->dwFileOS, DWORD{VOS__WINDOWS32}, "32-bit Windows");
    checks.Equal(fixed->dwFileType, DWORD{VFT_DLL}, "a DLL");
  } else {
    checks.Expect(false, "fixed version part");
  }
  const std::pair<const wchar_t*, const wchar_t*> strings[] = {
      {L"CompanyName", L"x"},       {L"ProductName", L"Penwright"}, {L"FileVersion", L"1.00"},
      {L"ProductVersion", L"1.00"}, {L"InternalName", L"Scrivlet"}, {L"OriginalFilename", L"Scrivlet.dll"},
      {L"OLESelfRegister", L""},
  };
  for (const auto& [key, expected] : strings) {
    const std::wstring path = std::wstring{L"\\StringFileInfo\\040904B0\\"} + key;
    wchar_t* text = nullptr;
    UINT length = 0;
    const bool found =
        ::VerQueryValueW(version.data(), path.c_str(), reinterpret_cast<void**>(&text), &length);
    checks.Expect(found, "version string " + test::Visible(key) + " exists");
    const std::wstring value = found && text != nullptr && length > 0 ? std::wstring{text} : std::wstring{};
    checks.Equal(value, std::wstring{expected}, "version string " + test::Visible(key));
  }
  WORD* translation = nullptr;
  UINT translationSize = 0;
  const bool hasTranslation = ::VerQueryValueW(version.data(), L"\\VarFileInfo\\Translation",
                                               reinterpret_cast<void**>(&translation), &translationSize);
  checks.Expect(hasTranslation && translationSize == 4 && translation[0] == 0x0409 && translation[1] == 1200,
                "U.S. English, Unicode");
}

void NothingLeft(bool neighbour) {
  const std::pair<HKEY, std::wstring> keys[] = {
      {HKEY_CLASSES_ROOT, std::wstring{L"CLSID\\"} + kConnectClsid},
      {HKEY_CLASSES_ROOT, std::wstring{L"CLSID\\"} + kCEcrireCodeClsid},
      {HKEY_CLASSES_ROOT, L"Penwright.Connect"},
      {HKEY_CLASSES_ROOT, L"Penwright.CEcrireCode"},
      {HKEY_CLASSES_ROOT, std::wstring{L"TypeLib\\"} + kLibid},
      {HKEY_CLASSES_ROOT, std::wstring{L"Interface\\"} + kConnectIid},
      {HKEY_CLASSES_ROOT, std::wstring{L"Interface\\"} + kCEcrireCodeIid},
      {HKEY_CURRENT_USER, kAddinKey},
  };
  for (const auto& [root, path] : keys) {
    checks.Expect(!KeyExists(root, path), RootName(root) + test::Visible(path) + " is gone");
  }
  ComPtr<ITypeLib> library;
  checks.Expect(FAILED(::LoadRegTypeLib(LIBID_Penwright, 1, 0, 0, library.put())),
                "the type library is unregistered");
  if (neighbour) {
    checks.Expect(KeyExists(HKEY_CURRENT_USER, kNeighbourKey), "another add-in's entry stays");
  } else {
    // This prefix has no VB: the keys above our entry were ours, and none is left empty.
    checks.Expect(!KeyExists(HKEY_CURRENT_USER, L"Software\\Microsoft\\Visual Basic"),
                  "no empty key of ours under Software\\Microsoft");
    checks.Expect(KeyExists(HKEY_CURRENT_USER, L"Software\\Microsoft"), "Software\\Microsoft stays");
  }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::wstring mode = argc > 1 ? argv[1] : L"";
  if (FAILED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {
    std::printf("COM cannot be initialised\n0 passed, 1 failed\n");
    return 1;
  }
  if (mode == L"registered" && argc > 2) {
    const std::wstring dllPath = argv[2];
    Classes(dllPath);
    AddinEntry();
    TypeLibraryKeys(dllPath);
    TypeLibrary();
    Resources(dllPath);
  } else if (mode == L"unregistered" || mode == L"unregistered-beside-neighbour") {
    NothingLeft(mode != L"unregistered");
  } else {
    std::printf(
        "usage: registration_tests registered DLL-PATH | unregistered | unregistered-beside-neighbour\n");
    checks.Expect(false, "known mode");
  }
  ::CoUninitialize();
  return checks.Finish();
}
