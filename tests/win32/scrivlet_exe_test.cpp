// tests/win32/scrivlet_exe_test.cpp: scrivlet.exe as a command prompt runs it: UTF-16 arguments,
// standard streams byte for byte when redirected and as text in a console, and the programmer's name
// shared with the add-in through the registry.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "generator/programmer_setting.h"
#include "platform/win32/registry_settings_store.h"
#include "platform/win32/standard_stream.h"
#include "tests/support/golden.h"
#include "tests/support/temp_folder.h"
#include "tests/win32/scrivlet_process.h"

namespace {

namespace fs = std::filesystem;
using test::Outcome;
using test::RunScrivletExe;

// A non-ASCII name typed at the prompt reaches the file in its code page, in a file whose own name is
// not ASCII either.
TEST(ScrivletExe, ArgumentsAreReadAsUnicode) {
  const test::TempFolder folder;
  const fs::path file = folder.path() / L"M\u00F3dulo1.bas";
  test::WriteFile(file, "Attribute VB_Name = \"M\"\r\nOption Explicit\r\n' Caf\xE9 cr\xE8me \x80 \x9C\r\n");
  // Wine keeps a file's name in the encoding of its Unix locale; one without UTF-8 loses the accent.
  const fs::directory_iterator written{folder.path()};
  if (written == fs::directory_iterator{} || written->path().filename() != file.filename()) {
    GTEST_SKIP() << "Wine runs in a Unix locale that is not UTF-8 (LC_ALL names one that is not installed?)";
  }
  const Outcome outcome = RunScrivletExe({L"sub", L"R\u00E9initialiser", L"--resume-next", file.wstring()});
  EXPECT_EQ(outcome.status, 0U);
  EXPECT_EQ(outcome.err, "");
  EXPECT_TRUE(test::MatchesGolden("cli/code_pages/Western.bas", test::ReadFile(file)));
}

// What cannot be UTF-8 is the usage error it is on Linux; a path starting with a slash is no option; a
// path not found is shown in UTF-8.
TEST(ScrivletExe, RefusesWhatLinuxRefuses) {
  const test::TempFolder folder;
  const fs::path file = folder.path() / "Tools.bas";
  test::WriteFile(file, "Attribute VB_Name = \"Tools\"\r\n");
  struct Case {
    std::vector<std::wstring> arguments;
    DWORD status;
    std::string err;
  };
  const Case cases[] = {
      {{L"sub", std::wstring{L"R\xD800x"}, file.wstring()}, 2, "scrivlet: NAME must be UTF-8 text\n"},
      {{L"sub", L"Refresh", L"--usage", std::wstring{L"\xDC00"}, file.wstring()},
       2,
       "scrivlet: --usage must be UTF-8 text\n"},
      {{L"sub", L"Refresh", L"/Missing.bas"}, 1, "scrivlet: /Missing.bas: no such file\n"},
      {{L"sub", L"Refresh", (folder.path() / L"Gr\u00F6\u00DFe.bas").wstring()},
       1,
       "scrivlet: " + folder.path().string() +
           "\\Gr\xC3\xB6\xC3\x9F"
           "e.bas: no such file\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.err);
    const Outcome outcome = RunScrivletExe(c.arguments);
    EXPECT_EQ(outcome.status, c.status);
    EXPECT_EQ(outcome.out, "");
    EXPECT_EQ(outcome.err, c.err);
  }
  EXPECT_EQ(test::ReadFile(file), "Attribute VB_Name = \"Tools\"\r\n");
}

// Redirected, standard output carries the file's bytes as they are (no CR added before LF, bytes that
// are not UTF-8 kept), as on Linux.
TEST(ScrivletExe, RedirectedStreamsAreBytes) {
  const test::TempFolder folder;
  const fs::path file = folder.path() / "Counter.bas";
  const std::string source = "Attribute VB_Name = \"M\"\r\n' \xD1\xF7\xB8\xF2\xF7\xE8\xEA\r\n";
  test::WriteFile(file, source);
  const Outcome printed =
      RunScrivletExe({L"sub", L"\u041E\u0431\u043D\u043E\u0432\u0438\u0442\u044C", L"--resume-next",
                      L"--print", L"--codepage", L"1251", file.wstring()});
  EXPECT_EQ(printed.status, 0U);
  EXPECT_TRUE(test::MatchesGolden("cli/code_pages/Printed.bas", printed.out));
  EXPECT_EQ(test::ReadFile(file), source);
}

// Standard output that cannot be written (a pipe nobody reads) fails the run, as on Linux.
TEST(ScrivletExe, OutputThatCannotBeWrittenFails) {
  HANDLE read = nullptr;
  HANDLE write = nullptr;
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  ASSERT_TRUE(::CreatePipe(&read, &write, &inherit, 0));
  ::CloseHandle(read);
  const test::TempFolder folder;
  const fs::path errPath = folder.path() / "err";
  HANDLE err = ::CreateFileW(errPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
  const DWORD status = test::ScrivletProcess{{L"--help"}, write, err}.Wait();
  ::CloseHandle(write);
  ::CloseHandle(err);
  EXPECT_EQ(status, 1U);
  EXPECT_EQ(test::ReadFile(errPath), "scrivlet: standard output: cannot be written\n");
}

// The name stored by the command line is the add-in's default, and the other way round.
TEST(ScrivletExe, TheProgrammersNameIsTheAddInsToo) {
  platform::win32::RegistrySettingsStore addIn;
  const std::string before = generator::StoredProgrammer(addIn);
  const Outcome stored = RunScrivletExe({L"config", L"programmer", L"Zo\u00EB \u00C6r\u00F8"});
  EXPECT_EQ(stored.status, 0U);
  EXPECT_EQ(stored.err, "");
  EXPECT_EQ(generator::StoredProgrammer(addIn), "Zo\xC3\xAB \xC3\x86r\xC3\xB8");

  generator::StoreProgrammer(addIn, "Grace Hopper");
  const Outcome shown = RunScrivletExe({L"config", L"programmer"});
  EXPECT_EQ(shown.status, 0U);
  EXPECT_EQ(shown.out, "Grace Hopper\n");
  generator::StoreProgrammer(addIn, before);
}

// In a console, UTF-8 is shown as the characters it stands for, a sequence split between two writes
// included; a byte that is not UTF-8 shows as U+FFFD.
TEST(StandardStreamBuffer, ShowsTextInAConsole) {
  // A console of the test's own: under Wine the program may be attached to one that is no real console,
  // where no screen buffer can be made. The standard handles, redirected to files, stay as they are.
  ::FreeConsole();
  ASSERT_TRUE(::AllocConsole()) << ::GetLastError();
  const HANDLE screen =
      ::CreateConsoleScreenBuffer(GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  CONSOLE_TEXTMODE_BUFFER, nullptr);
  ASSERT_NE(screen, INVALID_HANDLE_VALUE) << ::GetLastError();
  {
    platform::win32::StandardStreamBuffer buffer{screen};
    ASSERT_TRUE(buffer.isConsole());
    std::ostream out{&buffer};
    out << "Zo\xC3\xAB \xE2\x86\x92 \xE2" << std::flush;
    out << "\x9C\x93|\xE9|" << std::flush;
    EXPECT_TRUE(out.good());
  }
  const std::wstring_view expected = L"Zo\u00EB \u2192 \u2713|\uFFFD|";
  std::wstring shown(expected.size() + 1, L'\0');
  DWORD read = 0;
  ASSERT_TRUE(::ReadConsoleOutputCharacterW(screen, shown.data(), static_cast<DWORD>(shown.size()),
                                            COORD{0, 0}, &read));
  EXPECT_EQ(shown.substr(0, read), std::wstring{expected} + L" ");  // and nothing after it
  ::CloseHandle(screen);
  ::FreeConsole();
}

}  // namespace
