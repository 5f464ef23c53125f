// The script and the record of the TESSIC.dll test double. The double
// exports its one instance (Double_State); the tests change and read it
// directly, built with the same compiler and library as the double.
#pragma once

#include <algorithm>
#include <cstdint>
#include <deque>
#include <map>
#include <string>
#include <vector>

namespace gen2_test {

struct DoubleAnswer {
  int32_t status = 0;
  std::string text;
  bool fill_capacity = false;  // write the whole capacity in 'A', no terminator
};

struct DoubleState {
  int32_t session_result = 7, channel_result = 9;  // of the open and close calls
  uint8_t close_result = 1;
  // Receives answer from `queued` first, then with the reply of the longest
  // prefix of the command last sent; with neither 0 and "".
  std::deque<DoubleAnswer> queued;
  std::map<std::string, DoubleAnswer> replies;
  std::vector<std::string> calls;  // function names in call order
  std::vector<std::string> sent;
  std::vector<int32_t> sent_channels, sent_lengths;

  int CallCount(const std::string& function) const {
    return static_cast<int>(std::count(calls.begin(), calls.end(), function));
  }
};

}  // namespace gen2_test
