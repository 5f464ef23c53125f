// Runs a command-line tool's entry point on a text given as its standard
// input and keeps what it printed on each stream.
#pragma once

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

}  // namespace rdstest
