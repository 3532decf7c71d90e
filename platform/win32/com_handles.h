// platform/win32/com_handles.h: one owner for each kind of COM, registry and window-system handle the
// system holds.
#pragma once

#include <windows.h>

#include <oleauto.h>

#include <memory>
#include <string_view>
#include <type_traits>
#include <utility>

namespace platform::win32 {

// A counted reference to a COM object: Release on destruction, AddRef on copy.
template <class T>
class ComPtr {
 public:
  ComPtr() noexcept = default;
  // Takes a reference of its own (AddRef).
  explicit ComPtr(T* p) noexcept : p_(p) {
    if (p_ != nullptr) p_->AddRef();
  }
  ComPtr(const ComPtr& other) noexcept : ComPtr(other.p_) {}
  ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
  ComPtr& operator=(ComPtr other) noexcept {
    std::swap(p_, other.p_);
    return *this;
  }
  ~ComPtr() { Reset(); }

  // Adopts a reference that the caller already owns (no AddRef).
  static ComPtr Attach(T* p) noexcept {
    ComPtr result;
    result.p_ = p;
    return result;
  }

  T* get() const noexcept { return p_; }
  T* operator->() const noexcept { return p_; }
  explicit operator bool() const noexcept { return p_ != nullptr; }

  // Releases the reference held and gives the address to receive a new one: reuse never leaks.
  T** put() noexcept {
    Reset();
    return &p_;
  }
  void Reset() noexcept {
    if (T* p = std::exchange(p_, nullptr)) p->Release();
  }
  // Hands the reference to the caller (an [out] parameter).
  T* Detach() noexcept { return std::exchange(p_, nullptr); }

  // QueryInterface for another interface; an empty pointer when the object lacks it.
  template <class U>
  ComPtr<U> As(const IID& iid) const noexcept {
    ComPtr<U> result;
    if (p_ != nullptr) p_->QueryInterface(iid, reinterpret_cast<void**>(result.put()));
    return result;
  }

 private:
  T* p_ = nullptr;
};

struct BstrFree {
  void operator()(BSTR b) const noexcept { ::SysFreeString(b); }
};
using UniqueBstr = std::unique_ptr<OLECHAR, BstrFree>;

// A BSTR holding `text`, embedded NULs included; throws std::bad_alloc when it cannot be allocated.
inline UniqueBstr MakeBstr(std::wstring_view text) {
  BSTR b = ::SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
  if (b == nullptr) throw std::bad_alloc{};
  return UniqueBstr{b};
}

// The characters of a BSTR, its length taken from its prefix (a null BSTR is the empty text).
inline std::wstring_view BstrView(BSTR b) noexcept {
  return b == nullptr ? std::wstring_view{} : std::wstring_view{b, ::SysStringLen(b)};
}

// VariantInit on construction, VariantClear on destruction.
class UniqueVariant {
 public:
  UniqueVariant() noexcept { ::VariantInit(&v_); }
  ~UniqueVariant() { ::VariantClear(&v_); }
  UniqueVariant(const UniqueVariant&) = delete;
  UniqueVariant& operator=(const UniqueVariant&) = delete;

  VARIANT* get() noexcept { return &v_; }
  const VARIANT* get() const noexcept { return &v_; }
  // Cleared first: reuse never leaks.
  VARIANT* put() noexcept {
    ::VariantClear(&v_);
    return &v_;
  }

 private:
  VARIANT v_;
};

struct KeyClose {
  void operator()(HKEY k) const noexcept { ::RegCloseKey(k); }
};
using UniqueHkey = std::unique_ptr<std::remove_pointer_t<HKEY>, KeyClose>;

struct HookRemove {
  void operator()(HHOOK h) const noexcept { ::UnhookWindowsHookEx(h); }
};
using UniqueHook = std::unique_ptr<std::remove_pointer_t<HHOOK>, HookRemove>;

// A window's device context (the screen's for nullptr) goes back to that window: ReleaseDC needs both.
struct DcRelease {
  HWND window = nullptr;
  void operator()(HDC dc) const noexcept { ::ReleaseDC(window, dc); }
};
using UniqueWindowDc = std::unique_ptr<std::remove_pointer_t<HDC>, DcRelease>;

inline UniqueWindowDc WindowDc(HWND window) noexcept {
  return UniqueWindowDc{::GetDC(window), DcRelease{window}};
}

// Lets a function that gives a handle through an out-parameter write it straight into its owner, on
// the line that acquires it: OutPtr(key) is the HKEY* that RegOpenKeyExW fills, and the owner takes
// the handle at the end of the full expression (C++23's std::out_ptr, which this library lacks). The
// owner lets go of what it held first, so reuse never leaks.
template <class Owner>
class OutPtr {
 public:
  using Handle = typename Owner::pointer;
  explicit OutPtr(Owner& owner) noexcept : owner_(owner) { owner_.reset(); }
  ~OutPtr() { owner_.reset(handle_); }
  OutPtr(const OutPtr&) = delete;
  OutPtr& operator=(const OutPtr&) = delete;

  operator Handle*() noexcept { return &handle_; }

 private:
  Owner& owner_;
  Handle handle_ = nullptr;
};

// Frees the three texts an EXCEPINFO may carry.
class ExcepInfo {
 public:
  ExcepInfo() noexcept = default;
  ~ExcepInfo() {
    ::SysFreeString(info_.bstrSource);
    ::SysFreeString(info_.bstrDescription);
    ::SysFreeString(info_.bstrHelpFile);
  }
  ExcepInfo(const ExcepInfo&) = delete;
  ExcepInfo& operator=(const ExcepInfo&) = delete;

  EXCEPINFO* get() noexcept { return &info_; }

 private:
  EXCEPINFO info_{};
};

}  // namespace platform::win32
