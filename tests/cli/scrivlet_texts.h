// tests/cli/scrivlet_texts.h: source files the command-line tests start from, and the texts they expect.
#pragma once

#include <string>
#include <string_view>
#include "tests/support/visible.h"

namespace test {

// A user control with a hidden header, an Event with its Attribute line, a Property Get with its
// Attribute line, a Function and a Sub; no persistence procedures yet. LF-separated lines.
extern const std::string_view kMeter;

// kMeter after "property Title --variable NewTitle --changed" on Sunday 6 December 2026 by "My name",
// written out line by line. LF-separated lines.
extern const std::string_view kMeterWithTitle;

// The comment block above a generated body, ending with its blank line; LF-separated.
std::string Block(std::string_view programmer = "My name",
                  std::string_view usage = "Description of its utility");

// A body with the labelled error trap for routine `name`, whose exit reads "Exit " + `word`;
// `statements` (each ending with LF) stand between the trap and the exit section. Without `withEnd`
// it stops at "'End", as comments written into an existing routine do. LF-separated.
std::string LabelledBody(std::string_view name, std::string_view word, std::string_view statements = {},
                         bool withEnd = true);

// A body that traps errors with On Error Resume Next; without `withEnd` it stops at "'End". LF-separated.
std::string ResumeNextBody(std::string_view word, std::string_view statements = {}, bool withEnd = true);

}  // namespace test
