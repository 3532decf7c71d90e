// tests/support/scoped_env.h: sets or removes an environment variable for one test and restores it after.
#pragma once

#include <cstdlib>
#include <optional>
#include <string>
#include <utility>

namespace test {

class ScopedEnv {
 public:
  // Sets `name` to `value`, or removes it when `value` is nullopt.
  ScopedEnv(std::string name, const std::optional<std::string>& value) : name_(std::move(name)) {
    if (const char* old = std::getenv(name_.c_str())) old_ = old;
    Apply(value);
  }
  ~ScopedEnv() { Apply(old_); }
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  void Apply(const std::optional<std::string>& value) const {
    if (value) {
      ::setenv(name_.c_str(), value->c_str(), 1);
    } else {
      ::unsetenv(name_.c_str());
    }
  }

  std::string name_;
  std::optional<std::string> old_;
};

}  // namespace test
