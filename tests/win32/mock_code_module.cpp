// tests/win32/mock_code_module.cpp: each member converts its arguments and asks the built-in IDE module.
#include "tests/win32/mock_code_module.h"

#include <utility>

#include "host/host_error.h"
#include "platform/win32/wide.h"
#include "tests/win32/raise_as_host.h"

namespace test {
namespace {

using platform::win32::Narrow;
using platform::win32::Wide;

}  // namespace

MockCodeModule::MockCodeModule(std::string_view text) : inner_(text) {
  DefineMembers();
}

MockCodeModule::MockCodeModule(std::deque<std::string> lines) : inner_(std::move(lines)) {
  DefineMembers();
}

void MockCodeModule::DefineMembers() {
  FakeDispatch& m = *moduleSelf_;
  // Members hold plain pointers: the mock owns both objects, so they cannot keep each other alive.
  m.Define(L"CodePane", [this](WORD, const Arguments&, VARIANT* result) {
    Enter(L"CodePane");
    ReturnObject(result, pane_.get());
  });
  m.Define(L"CountOfLines", [this](WORD, const Arguments&, VARIANT* result) {
    Enter(L"CountOfLines");
    ReturnLong(result, inner_.CountOfLines());
  });
  m.Define(L"CountOfDeclarationLines", [this](WORD, const Arguments&, VARIANT* result) {
    Enter(L"CountOfDeclarationLines");
    ReturnLong(result, inner_.CountOfDeclarationLines());
  });
  m.Define(L"Lines", [this](WORD, const Arguments& a, VARIANT* result) {
    Enter(L"Lines");
    AsHost([&] { ReturnText(result, Wide(inner_.Lines(a.Long(0), a.Long(1)))); });
  });
  m.Define(L"ProcStartLine", [this](WORD, const Arguments& a, VARIANT* result) {
    Enter(L"ProcStartLine");
    AsHost([&] {
      ReturnLong(result, inner_.ProcStartLine(Narrow(a.Text(0)), static_cast<host::ProcKind>(a.Long(1))));
    });
  });
  m.Define(L"ProcBodyLine", [this](WORD, const Arguments& a, VARIANT* result) {
    Enter(L"ProcBodyLine");
    AsHost([&] {
      ReturnLong(result, inner_.ProcBodyLine(Narrow(a.Text(0)), static_cast<host::ProcKind>(a.Long(1))));
    });
  });
  m.Define(L"ProcOfLine", [this](WORD, const Arguments& a, VARIANT* result) {
    Enter(L"ProcOfLine");
    AsHost([&] {
      const host::ProcAtLine at = inner_.ProcOfLine(a.Long(0));
      a.SetLong(1, static_cast<long>(at.kind));
      ReturnText(result, Wide(at.name));
    });
  });
  m.Define(L"DeleteLines", [this](WORD, const Arguments& a, VARIANT*) {
    Enter(L"DeleteLines");
    AsHost([&] { inner_.DeleteLines(a.Long(0), a.Long(1)); });
  });
  m.Define(L"InsertLines", [this](WORD, const Arguments& a, VARIANT*) {
    Enter(L"InsertLines");
    const long line = a.Long(0);
    const std::wstring code = a.Text(1);
    handed_.push_back({L"InsertLines " + std::to_wstring(line), code});
    AsHost([&] { inner_.InsertLines(line, Narrow(code)); });
  });
  m.Define(L"AddFromString", [this](WORD, const Arguments& a, VARIANT*) {
    Enter(L"AddFromString");
    const std::wstring code = a.Text(0);
    handed_.push_back({L"AddFromString", code});
    AsHost([&] { inner_.AddFromString(Narrow(code)); });
  });

  // The component answers as the inner module's does: a module without one is a host's that lacks
  // the member.
  m.Define(L"Parent", [this](WORD, const Arguments&, VARIANT* result) {
    Enter(L"Parent");
    AsHost([&] { (void)inner_.Parent(); });
    ReturnObject(result, component_.get());
  });
  FakeDispatch& c = *componentSelf_;
  c.Define(L"Type", [this](WORD, const Arguments&, VARIANT* result) {
    AsHost([&] { ReturnLong(result, static_cast<long>(inner_.Parent()->Type())); });
  });
  c.Define(L"CodeModule",
           [this](WORD, const Arguments&, VARIANT* result) { ReturnObject(result, module_.get()); });
  c.Define(L"Name", [this](WORD, const Arguments&, VARIANT* result) {
    AsHost([&] { ReturnText(result, platform::win32::Wide(inner_.Parent()->Name())); });
  });
  c.Define(L"Properties", [this](WORD, const Arguments& a, VARIANT* result) {
    AsHost([&] { propertyValue_ = inner_.Parent()->PropertyValue(Narrow(a.Text(0))); });
    ReturnObject(result, property_.get());
  });
  propertySelf_->Define(
      L"Value", [this](WORD, const Arguments&, VARIANT* result) { ReturnLong(result, propertyValue_); });

  FakeDispatch& p = *paneSelf_;
  p.Define(L"GetSelection", [this](WORD, const Arguments& a, VARIANT*) {
    Enter(L"GetSelection");
    const host::Selection s = inner_.pane().GetSelection();
    a.SetLong(0, s.startLine);
    a.SetLong(1, s.startColumn);
    a.SetLong(2, s.endLine);
    a.SetLong(3, s.endColumn);
  });
  p.Define(L"CodeModule", [this](WORD, const Arguments&, VARIANT* result) {
    Enter(L"CodeModule");
    ReturnObject(result, module_.get());
  });
}

void MockCodeModule::Enter(const std::wstring& member) {
  const auto it = failures_.find(member);
  if (it == failures_.end()) return;
  const Raised failure = it->second;
  failures_.erase(it);
  throw failure;
}

}  // namespace test
