// Sets (or, with nullptr, removes) one environment variable for the life of
// the object and restores the old state afterwards (test helper).
#pragma once
#include <cstdlib>
#include <optional>
#include <string>

class EnvOverride {
 public:
  EnvOverride(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    Apply(value);
  }
  ~EnvOverride() { Apply(old_ ? old_->c_str() : nullptr); }
  EnvOverride(const EnvOverride&) = delete;
  EnvOverride& operator=(const EnvOverride&) = delete;

 private:
  void Apply(const char* value) {
    if (value != nullptr) ::setenv(name_.c_str(), value, 1);
    else ::unsetenv(name_.c_str());
  }
  std::string name_;
  std::optional<std::string> old_;
};
