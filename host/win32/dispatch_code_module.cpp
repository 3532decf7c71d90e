// host/win32/dispatch_code_module.cpp: each facade operation as one late-bound call on the host object.
#include "host/win32/dispatch_code_module.h"

#include <array>

#include "host/win32/dispatch_call.h"
#include "platform/win32/wide.h"

namespace host::win32 {
namespace {

constexpr WORD kGet = DISPATCH_PROPERTYGET | DISPATCH_METHOD;

}  // namespace

std::shared_ptr<host::CodePane> DispatchCodeModule::CodePane() {
  platform::win32::UniqueVariant result;
  CallByName(module_.get(), L"CodePane", kGet, {}, result);
  return std::make_shared<DispatchCodePane>(ResultAsRequiredObject(result));
}

long DispatchCodeModule::CountOfLines() const {
  platform::win32::UniqueVariant result;
  CallByName(module_.get(), L"CountOfLines", kGet, {}, result);
  return ResultAsLong(result);
}

long DispatchCodeModule::CountOfDeclarationLines() const {
  platform::win32::UniqueVariant result;
  CallByName(module_.get(), L"CountOfDeclarationLines", kGet, {}, result);
  return ResultAsLong(result);
}

std::string DispatchCodeModule::Lines(long start, long count) const {
  std::array<VARIANT, 2> arguments = {LongArgument(start), LongArgument(count)};
  platform::win32::UniqueVariant result;
  CallByName(module_.get(), L"Lines", kGet, arguments, result);
  return platform::win32::Narrow(ResultAsText(result));
}

long DispatchCodeModule::ProcLine(const wchar_t* member, std::string_view name, host::ProcKind kind) const {
  const platform::win32::UniqueBstr text = platform::win32::BstrFromUtf8(name);
  std::array<VARIANT, 2> arguments = {TextArgument(text.get()), LongArgument(static_cast<long>(kind))};
  platform::win32::UniqueVariant result;
  CallByName(module_.get(), member, kGet, arguments, result);
  return ResultAsLong(result);
}

long DispatchCodeModule::ProcStartLine(std::string_view name, host::ProcKind kind) const {
  return ProcLine(L"ProcStartLine", name, kind);
}

long DispatchCodeModule::ProcBodyLine(std::string_view name, host::ProcKind kind) const {
  return ProcLine(L"ProcBodyLine", name, kind);
}

host::ProcAtLine DispatchCodeModule::ProcOfLine(long line) const {
  long kind = 0;
  std::array<VARIANT, 2> arguments = {LongArgument(line), LongReference(&kind)};
  platform::win32::UniqueVariant result;
  CallByName(module_.get(), L"ProcOfLine", kGet, arguments, result);
  return {platform::win32::Narrow(ResultAsText(result)), static_cast<host::ProcKind>(kind)};
}

void DispatchCodeModule::InsertLines(long line, std::string_view text) {
  const platform::win32::UniqueBstr code = platform::win32::BstrFromUtf8(text);
  std::array<VARIANT, 2> arguments = {LongArgument(line), TextArgument(code.get())};
  platform::win32::UniqueVariant result;
  CallByName(module_.get(), L"InsertLines", DISPATCH_METHOD, arguments, result);
}

void DispatchCodeModule::DeleteLines(long line, long count) {
  std::array<VARIANT, 2> arguments = {LongArgument(line), LongArgument(count)};
  platform::win32::UniqueVariant result;
  CallByName(module_.get(), L"DeleteLines", DISPATCH_METHOD, arguments, result);
}

void DispatchCodeModule::AddFromString(std::string_view text) {
  const platform::win32::UniqueBstr code = platform::win32::BstrFromUtf8(text);
  std::array<VARIANT, 1> arguments = {TextArgument(code.get())};
  platform::win32::UniqueVariant result;
  CallByName(module_.get(), L"AddFromString", DISPATCH_METHOD, arguments, result);
}

std::shared_ptr<host::VBComponent> DispatchCodeModule::Parent() const {
  platform::win32::UniqueVariant result;
  CallByName(module_.get(), L"Parent", kGet, {}, result);
  return std::make_shared<DispatchVBComponent>(ResultAsRequiredObject(result));
}

host::ComponentType DispatchVBComponent::Type() const {
  platform::win32::UniqueVariant result;
  CallByName(component_.get(), L"Type", kGet, {}, result);
  return static_cast<host::ComponentType>(ResultAsLong(result));
}

std::string DispatchVBComponent::Name() const {
  platform::win32::UniqueVariant result;
  CallByName(component_.get(), L"Name", kGet, {}, result);
  return platform::win32::Narrow(ResultAsText(result));
}

// VBComponent.Collection.Parent is the VBProject; a host that cannot tell gives no name.
std::string DispatchVBComponent::ProjectName() const {
  try {
    platform::win32::UniqueVariant collection;
    CallByName(component_.get(), L"Collection", kGet, {}, collection);
    platform::win32::UniqueVariant project;
    CallByName(ResultAsRequiredObject(collection).get(), L"Parent", kGet, {}, project);
    platform::win32::UniqueVariant name;
    CallByName(ResultAsRequiredObject(project).get(), L"Name", kGet, {}, name);
    return platform::win32::Narrow(ResultAsText(name));
  } catch (const host::HostError&) {
    return {};
  }
}

long DispatchVBComponent::PropertyValue(std::string_view name) const {
  const platform::win32::UniqueBstr text = platform::win32::BstrFromUtf8(name);
  std::array<VARIANT, 1> arguments = {TextArgument(text.get())};
  platform::win32::UniqueVariant property;
  CallByName(component_.get(), L"Properties", kGet, arguments, property);
  const platform::win32::ComPtr<IDispatch> object = ResultAsRequiredObject(property);
  platform::win32::UniqueVariant value;
  CallByName(object.get(), L"Value", kGet, {}, value);
  return ResultAsLong(value);
}

host::Selection DispatchCodePane::GetSelection() const {
  host::Selection selection;
  std::array<VARIANT, 4> arguments = {LongReference(&selection.startLine),
                                      LongReference(&selection.startColumn),
                                      LongReference(&selection.endLine), LongReference(&selection.endColumn)};
  platform::win32::UniqueVariant result;
  CallByName(pane_.get(), L"GetSelection", DISPATCH_METHOD, arguments, result);
  return selection;
}

std::shared_ptr<host::CodeModule> DispatchCodePane::CodeModule() {
  platform::win32::UniqueVariant result;
  CallByName(pane_.get(), L"CodeModule", kGet, {}, result);
  return std::make_shared<DispatchCodeModule>(ResultAsRequiredObject(result));
}

}  // namespace host::win32
