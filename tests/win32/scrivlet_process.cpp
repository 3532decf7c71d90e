// tests/win32/scrivlet_process.cpp: CreateProcessW, and files for the standard streams.
#include "tests/win32/scrivlet_process.h"

#include <stdexcept>

#include "tests/support/temp_folder.h"

namespace test {
namespace {

// The quoting that CommandLineToArgvW and the C runtime undo: backslashes double only before a quote.
std::wstring Quoted(const std::wstring& argument) {
  std::wstring quoted = L"\"";
  std::size_t backslashes = 0;
  for (const wchar_t c : argument) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    quoted.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
    backslashes = 0;
    quoted += c;
  }
  quoted.append(backslashes * 2, L'\\');
  return quoted + L"\"";
}

platform::win32::UniqueFile Inheritable(const std::filesystem::path& path) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  platform::win32::UniqueFile file{::CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                                                 CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr)};
  if (!file) throw std::runtime_error("cannot create " + path.string());
  return file;
}

}  // namespace

ScrivletProcess::ScrivletProcess(const std::vector<std::wstring>& arguments, HANDLE out, HANDLE err,
                                 const wchar_t* program) {
  if (program == nullptr) program = SCRIVLET_PROGRAM;
  std::wstring commandLine = Quoted(program);
  for (const std::wstring& argument : arguments) commandLine += L' ' + Quoted(argument);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = nullptr;
  startup.hStdOutput = out;
  startup.hStdError = err;
  PROCESS_INFORMATION started{};
  if (!::CreateProcessW(program, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                        &started)) {
    throw std::runtime_error("cannot start " + std::filesystem::path{program}.string() + ": error " +
                             std::to_string(::GetLastError()));
  }
  ::CloseHandle(started.hThread);
  process_ = platform::win32::UniqueFile{started.hProcess};
}

DWORD ScrivletProcess::Wait() {
  ::WaitForSingleObject(process_.get(), INFINITE);
  DWORD status = 0;
  ::GetExitCodeProcess(process_.get(), &status);
  return status;
}

Outcome RunScrivletExe(const std::vector<std::wstring>& arguments) {
  const TempFolder streams;
  Outcome outcome;
  {
    const platform::win32::UniqueFile out = Inheritable(streams.path() / "out");
    const platform::win32::UniqueFile err = Inheritable(streams.path() / "err");
    outcome.status = ScrivletProcess{arguments, out.get(), err.get()}.Wait();
  }
  outcome.out = ReadFile(streams.path() / "out");
  outcome.err = ReadFile(streams.path() / "err");
  return outcome;
}

}  // namespace test
