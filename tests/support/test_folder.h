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
#include <optional>
#include <sstream>
#include <string>

namespace testing_files {

// The bytes of `file`; empty when it cannot be read.
inline std::string ReadFile(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

inline void WriteFile(const std::filesystem::path& file, const std::string& text) {
  std::ofstream(file, std::ios::binary | std::ios::trunc) << text;
}

class TestFolder {
 public:
  explicit TestFolder(const char* variable = nullptr) : variable_(variable) {
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(test->test_suite_name()) + "-" + test->name();
    std::replace(name.begin(), name.end(), '/', '_');
    path_ = std::filesystem::temp_directory_path() /
            ("sonvio-" + std::to_string(::getpid()) + "-" + name);
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
    if (variable_ != nullptr) {
      if (const char* earlier = std::getenv(variable_); earlier != nullptr) earlier_ = earlier;
      ::setenv(variable_, path_.c_str(), 1);
    }
  }
  ~TestFolder() {
    if (variable_ != nullptr) {
      if (earlier_.has_value()) {
        ::setenv(variable_, earlier_->c_str(), 1);
      } else {
        ::unsetenv(variable_);
      }
    }
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
  const char* variable_;
  std::optional<std::string> earlier_;
  std::filesystem::path path_;
};

}  // namespace testing_files
