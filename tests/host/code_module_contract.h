// tests/host/code_module_contract.h: what every code module answers, one table of cases that each
// implementation's tests run against a module of their own making, some of them through the fault
// decorator of testing/ide.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "host/code_module.h"

namespace test {

// Makes a module of the implementation under test whose code lines are `lines`, in order (none for
// an empty module). The pointer keeps alive whatever the module needs.
using CodeModuleMaker =
    std::function<std::shared_ptr<host::CodeModule>(const std::vector<std::string>& lines)>;

struct ContractCase;

// One case of the table, with the maker of the implementation it runs on.
struct ContractRun {
  const ContractCase* contractCase;
  CodeModuleMaker make;
};

void PrintTo(const ContractRun& run, std::ostream* os);

// Every case of the table with `make`, for INSTANTIATE_TEST_SUITE_P(Name, CodeModuleContract,
// testing::ValuesIn(test::ContractRuns(make)), test::ContractCaseName).
std::vector<ContractRun> ContractRuns(const CodeModuleMaker& make);
std::string ContractCaseName(const testing::TestParamInfo<ContractRun>& info);

class CodeModuleContract : public testing::TestWithParam<ContractRun> {};

}  // namespace test
