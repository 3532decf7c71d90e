// host/error_trap.cpp: maps the caught exception to the description a VB error would carry.
#include "host/error_trap.h"

#include <algorithm>
#include <array>
#include <exception>
#include <new>

#include "host/host_error.h"
#include "host/vb_errors.h"

namespace host {

namespace {

std::string_view CaughtDescription() noexcept {
  try {
    throw;
  } catch (const host::HostError& error) {
    return error.description();
  } catch (const std::bad_alloc&) {
    return host::VbErrorText(host::kErrOutOfMemory);
  } catch (const std::exception& error) {
    return error.what();
  } catch (...) {
    return "Unexpected error";
  }
}

}  // namespace

void ShowCaughtFailure(host::Ui& ui, std::string_view title) noexcept {
  ui.MsgBox(CaughtDescription(), title);
}

void ShowCaughtFailure(host::Ui& ui, std::string_view title, std::string_view afterword) noexcept {
  constexpr std::string_view kBreak = "\r\n\r\n";
  std::array<char, 2048> text{};
  afterword = afterword.substr(0, text.size() - kBreak.size());
  const std::string_view description =
      CaughtDescription().substr(0, text.size() - kBreak.size() - afterword.size());
  char* end = std::copy(description.begin(), description.end(), text.begin());
  end = std::copy(kBreak.begin(), kBreak.end(), end);
  end = std::copy(afterword.begin(), afterword.end(), end);
  ui.MsgBox(std::string_view{text.data(), static_cast<std::size_t>(end - text.data())}, title);
}

}  // namespace host
