// host/win32/dispatch_code_module.cpp: each facade operation as one late-bound call on the host object.
#include "host/win32/dispatch_code_module.h"

#include <array>

#include "host/win32/dispatch_call.h"
#include "host/win32/wide.h"

namespace host::win32 {
namespace {

constexpr WORD kGet = DISPATCH_PROPERTYGET | DISPATCH_METHOD;

}  // namespace

std::shared_ptr<host::CodePane> DispatchCodeModule::CodePane() {
  UniqueVariant result;
  CallByName(module_.get(), L"CodePane", kGet, {}, result);
  return std::make_shared<DispatchCodePane>(ResultAsRequiredObject(result));
}

long DispatchCodeModule::CountOfLines() const {
  UniqueVariant result;
  CallByName(module_.get(), L"CountOfLines", kGet, {}, result);
  return ResultAsLong(result);
}

std::string DispatchCodeModule::Lines(long start, long count) const {
  std::array<VARIANT, 2> arguments = {LongArgument(start), LongArgument(count)};
  UniqueVariant result;
  CallByName(module_.get(), L"Lines", kGet, arguments, result);
  return Narrow(ResultAsText(result));
}

long DispatchCodeModule::ProcLine(const wchar_t* member, std::string_view name, ProcKind kind) const {
  const UniqueBstr text = BstrFromUtf8(name);
  std::array<VARIANT, 2> arguments = {TextArgument(text.get()), LongArgument(static_cast<long>(kind))};
  UniqueVariant result;
  CallByName(module_.get(), member, kGet, arguments, result);
  return ResultAsLong(result);
}

long DispatchCodeModule::ProcStartLine(std::string_view name, ProcKind kind) const {
  return ProcLine(L"ProcStartLine", name, kind);
}

long DispatchCodeModule::ProcBodyLine(std::string_view name, ProcKind kind) const {
  return ProcLine(L"ProcBodyLine", name, kind);
}

ProcAtLine DispatchCodeModule::ProcOfLine(long line) const {
  long kind = 0;
  std::array<VARIANT, 2> arguments = {LongArgument(line), LongReference(&kind)};
  UniqueVariant result;
  CallByName(module_.get(), L"ProcOfLine", kGet, arguments, result);
  return {Narrow(ResultAsText(result)), static_cast<ProcKind>(kind)};
}

void DispatchCodeModule::InsertLines(long line, std::string_view text) {
  const UniqueBstr code = BstrFromUtf8(text);
  std::array<VARIANT, 2> arguments = {LongArgument(line), TextArgument(code.get())};
  UniqueVariant result;
  CallByName(module_.get(), L"InsertLines", DISPATCH_METHOD, arguments, result);
}

void DispatchCodeModule::AddFromString(std::string_view text) {
  const UniqueBstr code = BstrFromUtf8(text);
  std::array<VARIANT, 1> arguments = {TextArgument(code.get())};
  UniqueVariant result;
  CallByName(module_.get(), L"AddFromString", DISPATCH_METHOD, arguments, result);
}

Selection DispatchCodePane::GetSelection() const {
  Selection selection;
  std::array<VARIANT, 4> arguments = {LongReference(&selection.startLine),
                                      LongReference(&selection.startColumn),
                                      LongReference(&selection.endLine), LongReference(&selection.endColumn)};
  UniqueVariant result;
  CallByName(pane_.get(), L"GetSelection", DISPATCH_METHOD, arguments, result);
  return selection;
}

std::shared_ptr<host::CodeModule> DispatchCodePane::CodeModule() {
  UniqueVariant result;
  CallByName(pane_.get(), L"CodeModule", kGet, {}, result);
  return std::make_shared<DispatchCodeModule>(ResultAsRequiredObject(result));
}

}  // namespace host::win32
