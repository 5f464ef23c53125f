// Runs a command-line tool's entry point on a text given as its standard
// input and keeps what it printed on each stream.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace rdstest {

struct RunResult {
  int status;
  std::string out, err;
};

template <typename Entry>
RunResult RunTool(Entry entry, const std::vector<std::string>& args, const std::string& input) {
  std::istringstream in(input);
  std::ostringstream out, err;
  const int status = entry(args, in, out, err);
  return {status, out.str(), err.str()};
}

// A file of tests/rds_tools/data: inputs and the whole outputs expected
// from them.
inline std::string Data(const std::string& name) {
  std::ifstream in(std::string(RDS_TOOLS_DATA_DIR) + "/" + name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Compares `text` with the data file `name`, or rewrites the file when
// SONVIO_UPDATE_EXPECTED is set (review its diff afterwards).
inline void ExpectData(const std::string& name, const std::string& text) {
  if (std::getenv("SONVIO_UPDATE_EXPECTED") != nullptr) {
    std::ofstream(std::string(RDS_TOOLS_DATA_DIR) + "/" + name, std::ios::binary) << text;
    return;
  }
  EXPECT_EQ(text, Data(name)) << name;
}

}  // namespace rdstest
