// fuzz/source_module_fuzz.cpp: any bytes read as a VB6 source file either give a module whose
// unedited save is the same bytes, or a clear error; never a crash.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "host/source_files/source_code_module.h"
#include "platform/posix/code_page_codec.h"

namespace {

// The first byte chooses how the rest is read: as which kind of file, in which code page.
constexpr int kCodePages[] = {1252, 1250, 1251, 932};

[[noreturn]] void Fail(const char* what) {
  __builtin_printf("%s\n", what);
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const auto kind =
      (data[0] & 1U) != 0 ? host::SourceKind::kStandardModule : host::SourceKind::kDescribedModule;
  const int codePage = kCodePages[(data[0] >> 1U) % std::size(kCodePages)];
  // NOLINTNEXTLINE(cppcoreguidelines-pro-type-reinterpret-cast): libFuzzer hands bytes
  const std::string_view bytes{reinterpret_cast<const char*>(data + 1), size - 1};

  static const platform::posix::CodePageCodec* codecs[std::size(kCodePages)] = {};
  const std::size_t index = (data[0] >> 1U) % std::size(kCodePages);
  if (codecs[index] == nullptr)
    codecs[index] = new platform::posix::CodePageCodec(codePage);  // lives for the run

  std::string text;
  try {
    text = codecs[index]->Decode(bytes);
  } catch (const host::CodePageError&) {
    return 0;  // a clear error: the file is not text in that code page
  }
  try {
    host::SourceCodeModule module{text, kind};
    if (module.Text() != text) Fail("the unedited module does not give the file's text back");
    if (codecs[index]->Encode(module.Text()) != bytes)
      Fail("the unedited module does not give the file's bytes back");
    // Every line maps to a code line or to the header, and every code line reads back.
    long codeLines = 0;
    for (long line = 1; line <= module.FileLineCount(); ++line) {
      const long code = module.CodeLineOfFileLine(line);
      if (code < 0 || code > module.CountOfLines()) Fail("a file line maps outside the code");
      if (code > 0) codeLines = code;
      if (code > 0) static_cast<void>(module.ProcOfLine(code));
    }
    if (codeLines != module.CountOfLines()) Fail("the last file line does not show the last code line");
  } catch (const host::SourceFormatError&) {
    return 0;  // a clear error: the hidden header never ends
  }
  return 0;
}
