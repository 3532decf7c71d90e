// tests/cli/cli_platform.h: the platform's own files, code pages and dates for the command line's tests,
// so that one table of commands runs on every platform.
#pragma once

#include <filesystem>
#include <memory>

#include "host/code_page.h"
#include "host/date_formatter.h"
#include "host/source_file.h"
#include "host/template_store.h"

namespace test {

// The real services of the platform the tests are built for, in the tests' locale: C on POSIX (for
// the length of the object's life), en-US under Wine (which scripts/wine-tests gives the programs).
class CliPlatform {
 public:
  CliPlatform();
  ~CliPlatform();
  CliPlatform(const CliPlatform&) = delete;
  CliPlatform& operator=(const CliPlatform&) = delete;

  host::SourceFiles& files() { return *files_; }
  const host::CodePages& codePages() const { return *codePages_; }
  const host::DateFormatter& dates() const { return *dates_; }
  // Sets in project folders alone: the user's folder of whoever runs the tests is not asked.
  const host::TemplateStore& templates() const { return *templates_; }

 private:
  struct Services;  // each platform's own, which the constructor points at
  std::unique_ptr<Services> services_;
  host::SourceFiles* files_;
  const host::CodePages* codePages_;
  const host::DateFormatter* dates_;
  const host::TemplateStore* templates_;
};

// Makes a file read-only as source control leaves one that is not checked out (no write bit on POSIX,
// the read-only attribute on Windows), or writable again.
void SetReadOnly(const std::filesystem::path& file, bool readOnly);

}  // namespace test
