// platform/win32/com_handles.h: one owner for each kind of COM and registry handle the system holds.
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
