// tests/generator/generator_fixture.h: a fixed platform, literal texts and access to the builders.
#pragma once

#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "generator/builders.h"
#include "generator/ecrire_code.h"
#include "generator/request.h"
#include "platform/posix/code_page_codec.h"
#include "platform/posix/locale_date_formatter.h"
#include "testing/ide/fixed_clock.h"
#include "testing/ide/memory_settings_store.h"
#include "testing/ide/recording_ui.h"
#include "tests/support/visible.h"

namespace test {

// Sunday 6 December 2026, English names, modules in code page 1252, and a message box that records.
struct TestPlatform {
  TestPlatform() { ::setenv("LC_ALL", "C", 1); }

  host::Platform platform() { return {ui, clock, dates, settings, &codePage}; }

  host::RecordingUi ui;
  host::FixedClock clock{{2026, 12, 6}};
  platform::posix::LocaleDateFormatter dates;
  host::MemorySettingsStore settings;
  platform::posix::CodePageCodec codePage{1252};
};

// The property of the examples: name Title, variable NewTitle, type String.
void TitleProperty(generator::Request& request);

inline constexpr std::string_view kStars =
    "'**********************************************************************";
inline constexpr std::string_view kDashes = "'-----------------------------------";

// A text written with LF line ends, as generated text with CR alone.
std::string Cr(std::string_view text);

// A CR-separated text as the module saves it: every CR becomes CR LF.
std::string Saved(std::string_view text);

// The header for usage "Reloads the list" and programmer "My name", with its final CR.
std::string Header(std::string_view usage = "Reloads the list", std::string_view programmer = "My name");

// A body with the labelled trap for routine `name` whose End line reads "End " + `word`;
// `statements` (LF for CR) stand between the trap and the exit section. Without `withEnd` the body
// stops at "'End", as in comments-only mode.
std::string LabelledBody(std::string_view name, std::string_view word, std::string_view statements,
                         bool withEnd = true);

}  // namespace test
