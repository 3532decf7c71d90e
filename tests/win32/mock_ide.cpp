// tests/win32/mock_ide.cpp: each member converts its arguments and asks the built-in IDE; the event
// sources turn the built-in entry's clicks into calls of the connected sinks.
#include "tests/win32/mock_ide.h"

#include <olectl.h>

#include <algorithm>
#include <utility>

#include "host/host_error.h"
#include "platform/win32/com_object.h"
#include "platform/win32/wide.h"
#include "tests/win32/raise_as_host.h"

namespace test {
namespace {

using platform::win32::ComPtr;
using platform::win32::Narrow;
using platform::win32::Wide;

}  // namespace

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
// The CommandBarEvents object of one entry: a connection point for the click events. Each sink
// connected is called with Click(entry, handled, CancelDefault) whenever the entry is chosen.
class EventSource final
    : public platform::win32::ComObject<IDispatch, IConnectionPointContainer, IConnectionPoint>,
      public host::CommandBarClickHandler {
 public:
  EventSource(std::shared_ptr<host::CommandBarEvents> inner, IDispatch* entry)
      : inner_(std::move(inner)), entry_(entry) {}
  ~EventSource() override {
    if (subscribed_) inner_->Unsubscribe(*this);
  }

  // The references held now.
  ULONG references() noexcept {
    AddRef();
    return Release();
  }
  std::size_t connections() const noexcept { return sinks_.size(); }

  void* Find(REFIID riid) noexcept override {
    if (IsEqualIID(riid, IID_IDispatch)) return static_cast<IDispatch*>(this);
    if (IsEqualIID(riid, IID_IConnectionPointContainer)) return static_cast<IConnectionPointContainer*>(this);
    return nullptr;
  }

  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    if (count == nullptr) return E_POINTER;
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
    if (info != nullptr) *info = nullptr;
    return DISP_E_BADINDEX;
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
    return DISP_E_UNKNOWNNAME;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                   UINT*) override {
    return DISP_E_MEMBERNOTFOUND;
  }

  HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints** points) override {
    if (points != nullptr) *points = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID riid, IConnectionPoint** point) override {
    if (point == nullptr) return E_POINTER;
    *point = nullptr;
    if (!IsEqualIID(riid, kClickEventsIid)) return CONNECT_E_NOCONNECTION;
    *point = static_cast<IConnectionPoint*>(this);
    AddRef();
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* iid) override {
    if (iid == nullptr) return E_POINTER;
    *iid = kClickEventsIid;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetConnectionPointContainer(IConnectionPointContainer** container) override {
    if (container == nullptr) return E_POINTER;
    *container = static_cast<IConnectionPointContainer*>(this);
    AddRef();
    return S_OK;
  }
  // As the IDE does, the sink must answer for the events' dispinterface.
  HRESULT STDMETHODCALLTYPE Advise(IUnknown* sink, DWORD* cookie) override {
    if (sink == nullptr || cookie == nullptr) return E_POINTER;
    ComPtr<IDispatch> events;
    if (FAILED(sink->QueryInterface(kClickEventsIid, reinterpret_cast<void**>(events.put()))) || !events) {
      return CONNECT_E_CANNOTCONNECT;
    }
    if (!subscribed_) {
      inner_->Subscribe(*this);
      subscribed_ = true;
    }
    *cookie = ++lastCookie_;
    sinks_.emplace_back(*cookie, std::move(events));
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) override {
    const auto found =
        std::find_if(sinks_.begin(), sinks_.end(), [&](const auto& sink) { return sink.first == cookie; });
    if (found == sinks_.end()) return CONNECT_E_NOCONNECTION;
    sinks_.erase(found);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections** connections) override {
    if (connections != nullptr) *connections = nullptr;
    return E_NOTIMPL;
  }

  // The built-in entry was chosen: every connected sink hears Click, as the IDE raises it.
  void Click(const std::shared_ptr<host::CommandBarControl>&, bool&, bool&) noexcept override {
    const auto sinks = sinks_;  // a sink may disconnect while it is called
    for (const auto& [cookie, sink] : sinks) {
      VARIANT_BOOL handled = VARIANT_FALSE;
      VARIANT_BOOL cancelDefault = VARIANT_FALSE;
      VARIANT arguments[3];  // last to first
      ::VariantInit(&arguments[0]);
      V_VT(&arguments[0]) = VT_BOOL | VT_BYREF;
      V_BOOLREF(&arguments[0]) = &cancelDefault;
      ::VariantInit(&arguments[1]);
      V_VT(&arguments[1]) = VT_BOOL | VT_BYREF;
      V_BOOLREF(&arguments[1]) = &handled;
      ::VariantInit(&arguments[2]);
      V_VT(&arguments[2]) = VT_DISPATCH;
      V_DISPATCH(&arguments[2]) = entry_;
      DISPPARAMS parameters{arguments, nullptr, 3, 0};
      lastResult_ = sink->Invoke(1, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &parameters, nullptr,
                                 nullptr, nullptr);
    }
  }

  HRESULT lastResult() const noexcept { return lastResult_; }

 private:
  std::shared_ptr<host::CommandBarEvents> inner_;
  IDispatch* entry_;
  bool subscribed_ = false;
  DWORD lastCookie_ = 0;
  std::vector<std::pair<DWORD, ComPtr<IDispatch>>> sinks_;
  HRESULT lastResult_ = S_OK;
};
#pragma GCC diagnostic pop

MockIde::MockIde(host::IdeFlavour flavour, std::string_view moduleText)
    : inner_(flavour),
      module_(moduleText),
      vbe_(FakeDispatch::Create(&vbeSelf_)),
      bars_(FakeDispatch::Create(&barsSelf_)),
      events_(FakeDispatch::Create(&eventsSelf_)),
      project_(FakeDispatch::Create(&projectSelf_)),
      components_(FakeDispatch::Create(&componentsSelf_)) {
  vbeSelf_->Define(L"ActiveVBProject",
                   [this](WORD, const Arguments&, VARIANT* result) { ReturnObject(result, project_.get()); });
  projectSelf_->Define(L"VBComponents", [this](WORD, const Arguments&, VARIANT* result) {
    ReturnObject(result, components_.get());
  });
  componentsSelf_->Define(L"Count", [](WORD, const Arguments&, VARIANT* result) { ReturnLong(result, 1); });
  componentsSelf_->Define(L"Item", [this](WORD, const Arguments& a, VARIANT* result) {
    if (a.Long(0) != 1) throw HRESULT{DISP_E_BADINDEX};
    ReturnObject(result, module_.component());
  });
  projectSelf_->Define(L"FileName",
                       [this](WORD, const Arguments&, VARIANT* result) { ReturnText(result, projectFile_); });
  vbeSelf_->Define(L"CommandBars", [this](WORD, const Arguments&, VARIANT* result) {
    AsHost([&] { inner_.CommandBars(); });
    ReturnObject(result, bars_.get());
  });
  vbeSelf_->Define(L"Events", [this](WORD, const Arguments&, VARIANT* result) {
    AsHost([&] { inner_.Events(); });
    ReturnObject(result, events_.get());
  });
  vbeSelf_->Define(L"ActiveCodePane", [this](WORD, const Arguments&, VARIANT* result) {
    ReturnObject(result, codeWindowOpen_ ? module_.pane() : nullptr);
  });
  if (flavour == host::IdeFlavour::kVb6) {
    vbeSelf_->Define(L"FullName", [](WORD, const Arguments&, VARIANT* result) {
      ReturnText(result, L"C:\\Program Files\\Microsoft Visual Studio\\VB98\\VB6.EXE");
    });
  }
  barsSelf_->Define(L"Item", [this](WORD, const Arguments& a, VARIANT* result) {
    const std::string name = Narrow(a.Text(0));
    AsHost([&] {
      const std::shared_ptr<host::CommandBar> bar = inner_.commandBars().Item(name);
      ReturnObject(result, bar ? WrapBar(std::static_pointer_cast<host::MemoryCommandBar>(bar)) : nullptr);
    });
  });
  eventsSelf_->Define(L"CommandBarEvents", [this](WORD, const Arguments& a, VARIANT* result) {
    if (a.count() != 1) throw HRESULT{DISP_E_BADPARAMCOUNT};
    const VARIANT& argument = a.at(0);
    if (V_VT(&argument) != VT_DISPATCH) throw HRESULT{DISP_E_TYPEMISMATCH};
    IDispatch* entry = V_DISPATCH(&argument);
    std::shared_ptr<host::MemoryCommandBarControl> control;
    if (entry != nullptr) {
      const auto found = entries_.find(entry);
      if (found == entries_.end()) throw HRESULT{DISP_E_TYPEMISMATCH};
      control = found->second;
    }
    AsHost([&] {
      std::shared_ptr<host::CommandBarEvents> inner = inner_.Events()->CommandBarEvents(control);
      auto source = ComPtr<EventSource>::Attach(new EventSource(std::move(inner), entry));
      ReturnObject(result, static_cast<IDispatch*>(source.get()));
      sources_.push_back(std::move(source));
    });
  });
}

MockIde::~MockIde() = default;

IDispatch* MockIde::WrapBar(const std::shared_ptr<host::MemoryCommandBar>& bar) {
  if (const auto found = wrappedBars_.find(bar.get()); found != wrappedBars_.end())
    return found->second.object.get();
  FakeDispatch* self = nullptr;
  ComPtr<IDispatch> object = FakeDispatch::Create(&self);
  self->Define(L"Controls", [this, bar](WORD, const Arguments&, VARIANT* result) {
    AsHost([&] {
      ReturnObject(result, WrapControls(std::static_pointer_cast<host::MemoryCommandBar>(bar->Controls())));
    });
  });
  IDispatch* answer = object.get();
  wrappedBars_.emplace(bar.get(), Wrapped{"menu " + bar->name(), self, std::move(object)});
  return answer;
}

IDispatch* MockIde::WrapControls(const std::shared_ptr<host::MemoryCommandBar>& bar) {
  if (const auto found = wrappedControls_.find(bar.get()); found != wrappedControls_.end()) {
    return found->second.object.get();
  }
  FakeDispatch* self = nullptr;
  ComPtr<IDispatch> object = FakeDispatch::Create(&self);
  self->Define(L"Add", [this, bar](WORD, const Arguments& a, VARIANT* result) {
    if (a.count() != 1) throw HRESULT{DISP_E_BADPARAMCOUNT};
    const long type = a.Long(0);
    AsHost([&] {
      ReturnObject(result, Wrap(std::static_pointer_cast<host::MemoryCommandBarControl>(bar->Add(type))));
    });
  });
  self->Define(L"Item", [this, bar](WORD, const Arguments& a, VARIANT* result) {
    if (a.count() != 1) throw HRESULT{DISP_E_BADPARAMCOUNT};
    const std::string caption = Narrow(a.Text(0));
    AsHost([&] {
      ReturnObject(result, Wrap(std::static_pointer_cast<host::MemoryCommandBarControl>(bar->Item(caption))));
    });
  });
  IDispatch* answer = object.get();
  wrappedControls_.emplace(bar.get(), Wrapped{"controls of " + bar->name(), self, std::move(object)});
  return answer;
}

IDispatch* MockIde::Wrap(const std::shared_ptr<host::MemoryCommandBarControl>& control) {
  if (const auto found = wrappedEntries_.find(control.get()); found != wrappedEntries_.end()) {
    return found->second.object.get();
  }
  FakeDispatch* self = nullptr;
  ComPtr<IDispatch> object = FakeDispatch::Create(&self);
  self->Define(L"Caption", [control](WORD flags, const Arguments& a, VARIANT* result) {
    AsHost([&] {
      if ((flags & DISPATCH_PROPERTYPUT) != 0) {
        control->Caption(Narrow(a.Text(0)));
      } else {
        ReturnText(result, Wide(control->Caption()));
      }
    });
  });
  self->Define(L"Delete",
               [control](WORD, const Arguments&, VARIANT*) { AsHost([&] { control->Delete(); }); });
  self->Define(L"Controls", [this, control](WORD, const Arguments&, VARIANT* result) {
    AsHost([&] {
      ReturnObject(result,
                   WrapControls(std::static_pointer_cast<host::MemoryCommandBar>(control->Controls())));
    });
  });
  IDispatch* answer = object.get();
  entries_.emplace(answer, control);
  wrappedEntries_.emplace(control.get(), Wrapped{"entry " + control->caption(), self, std::move(object)});
  return answer;
}

std::vector<std::string> MockIde::AddInsCaptions() {
  std::vector<std::string> captions;
  const std::shared_ptr<host::MemoryCommandBar> menu = inner_.AddInsMenu();
  if (!menu) return captions;
  for (const auto& entry : menu->entries()) captions.push_back(entry->caption());
  return captions;
}

bool MockIde::Choose(std::string_view caption) {
  const std::shared_ptr<host::MemoryCommandBar> menu = inner_.AddInsMenu();
  if (!menu) return false;
  const std::shared_ptr<host::MemoryCommandBarControl> entry = menu->Entry(caption);
  return entry && entry->Execute();
}

std::size_t MockIde::Connections() const noexcept {
  std::size_t count = 0;
  for (const auto& source : sources_) count += source->connections();
  return count;
}

std::vector<std::string> MockIde::Unreleased() {
  std::vector<std::string> held;
  const auto check = [&](const std::string& what, ULONG references) {
    if (references != 1) held.push_back(what + " holds " + std::to_string(references) + " references");
  };
  check("VBE", vbeSelf_->references());
  check("CommandBars", barsSelf_->references());
  check("Events", eventsSelf_->references());
  check("CodeModule", module_.moduleObject().references());
  check("CodePane", module_.paneObject().references());
  for (const auto* wrapped : {&wrappedBars_, &wrappedControls_}) {
    for (const auto& [key, object] : *wrapped) check(object.what, object.self->references());
  }
  for (const auto& [key, object] : wrappedEntries_) check(object.what, object.self->references());
  for (std::size_t i = 0; i < sources_.size(); ++i) {
    check("CommandBarEvents #" + std::to_string(i + 1), sources_[i]->references());
  }
  return held;
}

}  // namespace test
