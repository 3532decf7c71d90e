// tests/support/visible.h: shows line breaks in texts compared by tests, so that a diff is readable.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace test {

// Every CR becomes "<CR>" and every LF "<LF>", each followed by a real line break.
std::string Visible(std::string_view text);

// Joins lines with a single CR, as generated text separates them.
std::string CrJoin(std::initializer_list<std::string_view> lines);

}  // namespace test
