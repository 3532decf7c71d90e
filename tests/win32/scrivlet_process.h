// tests/win32/scrivlet_process.h: scrivlet.exe started as a command prompt starts it, with its
// standard streams caught.
#pragma once

#include <windows.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/win32/file_handle.h"

namespace test {

// The program (or `program`, when given), started with `arguments` (quoted as the C runtime splits them
// again) and the given standard output and error, which it inherits.
class ScrivletProcess {
 public:
  ScrivletProcess(const std::vector<std::wstring>& arguments, HANDLE out, HANDLE err,
                  const wchar_t* program = nullptr);
  // Waits for the end; the exit status.
  DWORD Wait();

 private:
  platform::win32::UniqueFile process_;
};

struct Outcome {
  DWORD status = 0;
  std::string out;  // the bytes written to standard output
  std::string err;
};

// Runs the program to its end with standard output and error redirected to files.
Outcome RunScrivletExe(const std::vector<std::wstring>& arguments);

}  // namespace test
