// A folder of the running test's own under the system's temporary folder:
// empty at the start, removed with all it holds at the end, and named by an
// environment variable (the program or settings folder) while it lives; the
// variable gets its earlier value (the process's own folder) back after.
#pragma once

#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>

namespace testing_files {

// The bytes of `file`; empty when it cannot be read.
inline std::string ReadFile(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

inline void WriteFile(const std::filesystem::path& file, const std::string& text) {
  std::ofstream(file, std::ios::binary | std::ios::trunc) << text;
}

// Sets (null: unsets) an environment variable until the end of the scope.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : name_(name) {
    if (const char* earlier = std::getenv(name)) earlier_ = earlier;
    Put(value);
  }
  ~ScopedEnv() { Put(earlier_ ? earlier_->c_str() : nullptr); }
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;
  void Put(const char* value) const { value ? ::setenv(name_, value, 1) : ::unsetenv(name_); }

 private:
  const char* name_;
  std::optional<std::string> earlier_;
};

class TestFolder {
 public:
  explicit TestFolder(const char* variable = nullptr) {
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(test->test_suite_name()) + "-" + test->name();
    std::replace(name.begin(), name.end(), '/', '_');
    path_ = std::filesystem::temp_directory_path() /
            ("sonvio-" + std::to_string(::getpid()) + "-" + name);
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
    if (variable != nullptr) variable_.emplace(variable, path_.c_str());
  }
  ~TestFolder() {
    std::error_code ignored;  // a test may have left the folder read-only
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(path_, ignored);
  }
  TestFolder(const TestFolder&) = delete;
  TestFolder& operator=(const TestFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::string Read(const std::string& name) const { return ReadFile(path_ / name); }
  void Write(const std::string& name, const std::string& text) const {
    WriteFile(path_ / name, text);
  }

 private:
  std::filesystem::path path_;
  std::optional<ScopedEnv> variable_;  // gives the variable its earlier value back
};

}  // namespace testing_files
