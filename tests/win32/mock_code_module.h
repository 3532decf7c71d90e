// tests/win32/mock_code_module.h: a host code module and its pane as automation objects, answering from
// a built-in IDE module and recording the texts handed to it.
#pragma once

#include <deque>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "testing/ide/memory_code_module.h"
#include "tests/win32/fake_dispatch.h"

namespace test {

struct Handed {
  std::wstring call;  // L"AddFromString" or L"InsertLines 12"
  std::wstring text;  // exactly the characters received

  friend bool operator==(const Handed&, const Handed&) = default;
};

// CodeModule members: CodePane, CountOfLines, CountOfDeclarationLines, Lines, ProcStartLine,
// ProcBodyLine, ProcOfLine, InsertLines, AddFromString, Parent. CodePane members: GetSelection,
// CodeModule. The component
// (Parent): Type, Properties(name).Value, from the inner module's. A HostError of the inner
// module is raised as VB raises its errors: DISP_E_EXCEPTION, scode 0x800A0000 | number.
class MockCodeModule {
 public:
  explicit MockCodeModule(std::string_view text = {});
  // A module whose code lines are `lines`, as they are.
  explicit MockCodeModule(std::deque<std::string> lines);

  IDispatch* module() const noexcept { return module_.get(); }
  IDispatch* component() const noexcept { return component_.get(); }
  IDispatch* pane() const noexcept { return pane_.get(); }
  FakeDispatch& moduleObject() noexcept { return *moduleSelf_; }
  FakeDispatch& paneObject() noexcept { return *paneSelf_; }
  host::MemoryCodeModule& inner() noexcept { return inner_; }
  const std::vector<Handed>& handed() const noexcept { return handed_; }

  // The next call of `member` on either object raises `failure` instead of answering.
  void FailNext(std::wstring member, Raised failure) { failures_[std::move(member)] = std::move(failure); }

 private:
  void Enter(const std::wstring& member);
  void DefineMembers();

  host::MemoryCodeModule inner_;
  FakeDispatch* moduleSelf_ = nullptr;
  FakeDispatch* paneSelf_ = nullptr;
  FakeDispatch* componentSelf_ = nullptr;
  FakeDispatch* propertySelf_ = nullptr;
  platform::win32::ComPtr<IDispatch> module_ = FakeDispatch::Create(&moduleSelf_);
  platform::win32::ComPtr<IDispatch> pane_ = FakeDispatch::Create(&paneSelf_);
  platform::win32::ComPtr<IDispatch> component_ = FakeDispatch::Create(&componentSelf_);
  platform::win32::ComPtr<IDispatch> property_ = FakeDispatch::Create(&propertySelf_);
  long propertyValue_ = 0;
  std::vector<Handed> handed_;
  std::map<std::wstring, Raised> failures_;
};

}  // namespace test
