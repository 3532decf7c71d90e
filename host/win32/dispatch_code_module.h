// host/win32/dispatch_code_module.h: the host's code module and code pane, reached by late binding.
#pragma once

#include <windows.h>

#include <oaidl.h>

#include <memory>

#include "host/code_module.h"
#include "host/code_pane.h"
#include "host/vb_component.h"
#include "platform/win32/com_handles.h"

namespace host::win32 {

// Each operation calls the member of the same name on the object it wraps, by name (GetIDsOfNames,
// then Invoke), so that the same code drives the IDE's CodeModule and any object that answers to
// those names. An empty object is no error until it is used: then every operation throws error 91,
// as VB does with Nothing. Holds one reference to the object.
class DispatchCodeModule final : public host::CodeModule {
 public:
  explicit DispatchCodeModule(platform::win32::ComPtr<IDispatch> module) noexcept
      : module_(std::move(module)) {}

  std::shared_ptr<host::CodePane> CodePane() override;
  long CountOfLines() const override;
  long CountOfDeclarationLines() const override;
  std::string Lines(long start, long count) const override;
  long ProcStartLine(std::string_view name, host::ProcKind kind) const override;
  long ProcBodyLine(std::string_view name, host::ProcKind kind) const override;
  host::ProcAtLine ProcOfLine(long line) const override;
  void InsertLines(long line, std::string_view text) override;
  void DeleteLines(long line, long count) override;
  void AddFromString(std::string_view text) override;
  // Parent: a host whose modules lack it (438) or answer Nothing (91) cannot tell what the module is.
  std::shared_ptr<host::VBComponent> Parent() const override;

 private:
  long ProcLine(const wchar_t* member, std::string_view name, host::ProcKind kind) const;

  platform::win32::ComPtr<IDispatch> module_;
};

// A module's component: Type, Properties(name).Value, its Name and its project's.
class DispatchVBComponent final : public host::VBComponent {
 public:
  explicit DispatchVBComponent(platform::win32::ComPtr<IDispatch> component) noexcept
      : component_(std::move(component)) {}

  host::ComponentType Type() const override;
  long PropertyValue(std::string_view name) const override;
  std::string Name() const override;
  std::string ProjectName() const override;

 private:
  platform::win32::ComPtr<IDispatch> component_;
};

class DispatchCodePane final : public host::CodePane {
 public:
  explicit DispatchCodePane(platform::win32::ComPtr<IDispatch> pane) noexcept : pane_(std::move(pane)) {}

  host::Selection GetSelection() const override;
  std::shared_ptr<host::CodeModule> CodeModule() override;

 private:
  platform::win32::ComPtr<IDispatch> pane_;
};

}  // namespace host::win32
