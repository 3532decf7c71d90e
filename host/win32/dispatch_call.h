// host/win32/dispatch_call.h: calls a member of any automation object by its name, as VB's late binding does.
#pragma once

#include <windows.h>

#include <oaidl.h>

#include <span>
#include <string>

#include "host/host_error.h"
#include "host/vb_errors.h"
#include "platform/win32/com_handles.h"

namespace host::win32 {

// The HostError a failed call becomes. A failure raised by the object (DISP_E_EXCEPTION) keeps its
// number and description: a VB error number as such (its wCode, or the code of an HRESULT of the
// control facility 0x800Annnn), any other HRESULT as its value. Without a description, a VB error
// number gets VB's own words for it (host::VbErrorText: "Application-defined or object-defined error"
// for a number VB leaves undefined), the failures VB knows (the dispatch failures, E_OUTOFMEMORY,
// E_INVALIDARG, E_ACCESSDENIED, E_NOTIMPL, E_NOINTERFACE) get VB's number and text, and any other
// failure is "Automation error" with the HRESULT as number.
host::HostError HostErrorFromCall(HRESULT hr, EXCEPINFO* info);

// Whether the object has a member of that name (GetIDsOfNames), without calling it. Throws HostError:
// 91 for an empty object, the converted failure when the object cannot tell.
bool HasMember(IDispatch* object, const wchar_t* name);

// Looks `name` up with GetIDsOfNames, then calls Invoke with `flags` (DISPATCH_METHOD,
// DISPATCH_PROPERTYGET, DISPATCH_PROPERTYPUT ...). `arguments` are in the order a VB caller writes
// them; they are passed as they are, so a VT_BYREF argument lets the member write back. The result
// is cleared first. Throws HostError: 91 for an empty object, the converted failure otherwise.
void CallByName(IDispatch* object, const wchar_t* name, WORD flags, std::span<VARIANT> arguments,
                platform::win32::UniqueVariant& result);

// The result taken as a Long or as a String; a value that cannot be converted is error 13.
long ResultAsLong(const platform::win32::UniqueVariant& result);
std::wstring ResultAsText(const platform::win32::UniqueVariant& result);
// The result as an object reference (an empty pointer for Nothing, Empty or Null); anything else is error 13.
platform::win32::ComPtr<IDispatch> ResultAsObject(const platform::win32::UniqueVariant& result);
// The same where an object is required: Nothing is error 91, as VB raises it on use.
platform::win32::ComPtr<IDispatch> ResultAsRequiredObject(const platform::win32::UniqueVariant& result);

// Arguments by value, as a late-bound call passes literal values.
VARIANT LongArgument(long value) noexcept;
// The VARIANT borrows `text`: it must outlive the call.
VARIANT TextArgument(BSTR text) noexcept;
// An object argument (VT_DISPATCH); nullptr passes Nothing. The VARIANT borrows `object`.
VARIANT ObjectArgument(IDispatch* object) noexcept;
// A by-reference Long through which the member answers.
VARIANT LongReference(long* target) noexcept;

}  // namespace host::win32
