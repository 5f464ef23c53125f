// A file under the test's temporary folder, removed again at the end.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

namespace rdstest {

class TempFile {
 public:
  TempFile(const std::string& name, const std::string& content)
      : path_(::testing::TempDir() + name) {
    std::ofstream(path_, std::ios::binary) << content;
  }
  ~TempFile() { std::remove(path_.c_str()); }
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;

  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

}  // namespace rdstest
