// The RDS decode log "decode_data.log" in the host program's folder: open
// (and emptied) while receive RDS is on; every showing of the parameter
// block appends one record. Lines end as in a text file of the target
// platform ("\r\n"), on every platform alike.
#pragma once

#include <fstream>
#include <string>

#include "gen1/fmr_parameters.h"

namespace gen1_panel {

class DecodeLog {
 public:
  static constexpr char kFileName[] = "decode_data.log";

  // Creates the file anew; false (and nothing open) when it cannot be.
  bool Open(const std::string& path);
  void Close();
  bool is_open() const { return file_.is_open(); }

  // One record: "--- <time> ---", then per group its four block texts and
  // its status text, then two empty lines. `time` is the asctime text
  // without its line feed.
  void Append(const gen1::FmrParameters& p, const std::string& time);

 private:
  std::ofstream file_;
};

}  // namespace gen1_panel
