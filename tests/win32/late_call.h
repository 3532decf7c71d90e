// tests/win32/late_call.h: calls a member by its name, as a VB client or the IDE does with late binding.
#pragma once

#include <windows.h>

#include <oaidl.h>

#include <vector>

namespace test {

// The member's dispatch id from GetIDsOfNames; DISPID_UNKNOWN when the object does not know it.
DISPID IdOf(IDispatch* object, const wchar_t* name);

// Invoke with `arguments` in the order a VB caller writes them (a property assignment names its
// value DISPID_PROPERTYPUT); the result, when asked for, is the caller's to clear.
HRESULT Call(IDispatch* object, const wchar_t* name, WORD flags, std::vector<VARIANT> arguments,
             VARIANT* result = nullptr);

// An object argument by value (nullptr passes Nothing); it borrows `value`.
VARIANT Object(IDispatch* value);

}  // namespace test
