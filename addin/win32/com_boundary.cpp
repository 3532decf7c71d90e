// addin/win32/com_boundary.cpp: error information through CreateErrorInfo and SetErrorInfo.
#include "addin/win32/com_boundary.h"

#include <oleauto.h>

#include <string>

#include "platform/win32/com_handles.h"
#include "platform/win32/wide.h"

namespace addin::com {

using platform::win32::ComPtr;

HRESULT ReportFailure(const IID& iid, std::wstring_view source, HRESULT hr,
                      std::string_view description) noexcept {
  ::SetErrorInfo(0, nullptr);
  if (description.empty()) return hr;
  try {
    ComPtr<ICreateErrorInfo> info;
    if (FAILED(::CreateErrorInfo(info.put()))) return hr;
    const std::wstring text = platform::win32::Wide(description);
    const std::wstring sourceText{source};
    info->SetGUID(iid);
    info->SetSource(const_cast<LPOLESTR>(sourceText.c_str()));
    info->SetDescription(const_cast<LPOLESTR>(text.c_str()));
    const ComPtr<IErrorInfo> error = info.As<IErrorInfo>(IID_IErrorInfo);
    if (error) ::SetErrorInfo(0, error.get());
  } catch (...) {
    // No memory for the texts: the HRESULT alone still tells the caller what failed.
  }
  return hr;
}

HRESULT ReportHostError(const IID& iid, std::wstring_view source, long number,
                        std::string_view description) noexcept {
  const HRESULT hr = number < 0 ? static_cast<HRESULT>(number)
                                : MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL,
                                               static_cast<unsigned long>(number) & 0xFFFF);
  return ReportFailure(iid, source, hr, description);
}

}  // namespace addin::com
