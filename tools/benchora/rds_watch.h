// Watches the RDS groups the simulated handset hands to the plug-in (first
// generation: the receive polls, and the read-back of what the
// transmitter's stack sends; second generation: each group as it joins the
// RDS report) and reports the decoded station whenever it changes: what
// `--rds` shows.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "fmr-rds/station_decoder.h"

namespace benchora {

class RdsWatch {
 public:
  explicit RdsWatch(std::function<void(const std::string&)> report) : report_(std::move(report)) {}

  // One reply of the handset's test-function slot; RDS replies carrying
  // groups feed the decoder.
  void OnReply(uint16_t message_id, const uint8_t* reply, uint16_t length);

  // A group of the second-generation RDS report; called on the AT server's
  // thread, so it is only queued. Drain decodes the queued groups and
  // reports on the calling thread.
  void OnReportedGroup(const std::array<uint16_t, 4>& blocks);
  void Drain();

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
  std::mutex queue_mutex_;
  std::vector<std::array<uint16_t, 4>> queue_;
};

}  // namespace benchora
