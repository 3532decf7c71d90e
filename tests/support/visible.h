// tests/support/visible.h: shows line breaks in texts compared by tests, so that a diff is readable.
#pragma once

#include <string>
#include <string_view>

namespace test {

// Every CR becomes "<CR>" and every LF "<LF>", each followed by a real line break.
std::string Visible(std::string_view text);

// A text written with LF line ends, as a file saved with CR LF.
std::string CrLf(std::string_view text);

}  // namespace test
