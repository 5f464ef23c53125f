// Watches the RDS groups the simulated handset hands to the plug-in (the
// receive polls, and the read-back of what the transmitter's stack sends)
// and reports the decoded station whenever it changes: what `--rds` shows.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "fmr-rds/station_decoder.h"

namespace benchora {

class RdsWatch {
 public:
  explicit RdsWatch(std::function<void(const std::string&)> report) : report_(std::move(report)) {}

  // One reply of the handset's test-function slot; RDS replies carrying
  // groups feed the decoder.
  void OnReply(uint16_t message_id, const uint8_t* reply, uint16_t length);

  // The station line: PI, programme type, PS name and radio text as far as
  // they are known.
  static std::string StationLine(const fmrrds::StationSummary& station);

  // The station as decoded so far (what `verify rds.FIELD` reads).
  fmrrds::StationSummary Station() const { return decoder_.Summary(); }

 private:
  void Feed(const fmrrds::RawGroup& group);

  std::function<void(const std::string&)> report_;
  fmrrds::StationDecoder decoder_;
  std::string last_line_;
};

}  // namespace benchora
