// tests/cli/scrivlet_fixture.cpp: one in-process run, and the files the cases start from.
#include "tests/cli/scrivlet_fixture.h"

#include <filesystem>
#include <sstream>

#include "tests/support/golden.h"
#include "tests/support/visible.h"

namespace test {

std::string Tools() {
  return CrLf(std::string{kToolsHead} + std::string{kToolsTail});
}

std::string Meter() {
  return Golden("cli/Meter.ctl");
}

Result ScrivletTest::Run(const std::vector<std::string>& arguments) {
  std::ostringstream out;
  std::ostringstream err;
  cli::CommandServices services{out,       err, *settings_, *clock_, *dates_, *files_, platform_.codePages(),
                                "SETTINGS"};
  services.templates = &platform_.templates();
  Result result;
  result.code = cli::RunScrivlet(arguments, services);
  result.out = out.str();
  result.err = err.str();
  return result;
}

std::string ScrivletTest::Put(const std::string& name, const std::string& bytes) {
  const std::filesystem::path path = folder_.path() / name;
  WriteFile(path, bytes);
  return path.string();
}

void ScrivletTest::ExpectAlone(const std::string& name) {
  EXPECT_EQ(Entries(folder_.path()), std::vector<std::string>{name});
}

}  // namespace test
