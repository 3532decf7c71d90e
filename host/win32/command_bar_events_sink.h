// host/win32/command_bar_events_sink.h: the object that the IDE calls when a menu entry is chosen.
#pragma once

#include <windows.h>

#include <oaidl.h>

#include <cstddef>

#include "host/command_bars.h"
#include "platform/win32/com_object.h"

namespace host::win32 {

// The IDE's dispinterface of command-bar control events (_dispCommandBarControlEvents): one member,
// Click(CommandBarControl As Object, handled As Boolean, CancelDefault As Boolean), dispatch id 1.
inline constexpr IID kCommandBarControlEventsIid = {
    0x0002E131, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
inline constexpr DISPID kClickDispatchId = 1;

// How many sinks are alive in this process: the DLL may not unload while the IDE holds one.
std::size_t LiveEventSinks() noexcept;

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
// Turns each Click the IDE sends into a call of the handler, with the chosen entry wrapped for the
// facade and the two flags passed back by reference. Detach() cuts it from its handler before the
// handler goes, so a click that arrives late reaches nobody.
class CommandBarEventsSink final : public platform::win32::ComObject<IDispatch> {
 public:
  // With one reference, the caller's; throws std::bad_alloc.
  static CommandBarEventsSink* Create(host::CommandBarClickHandler& handler);

  void Detach() noexcept { handler_ = nullptr; }

  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID, ITypeInfo** info) override;
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID,
                                          DISPID* ids) override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS* parameters,
                                   VARIANT* result, EXCEPINFO* exception, UINT* argumentError) override;

 private:
  explicit CommandBarEventsSink(host::CommandBarClickHandler& handler) noexcept;
  ~CommandBarEventsSink() override;
  void* Find(REFIID riid) noexcept override;

  host::CommandBarClickHandler* handler_;
};
#pragma GCC diagnostic pop

}  // namespace host::win32
