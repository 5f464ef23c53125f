// Decodes the RDS groups the plug-in receives, as `--rds` shows them and
// `verify rds.FIELD` reads them: on the first generation from the
// test-function replies the handset hands back (the receive polls, and the
// read-back of what the transmitter sends), on the second from the RDS
// reports the panel itself reads and shows, whatever the link.
//
// A decoded station belongs to one tuning: whatever makes the radio receive
// something else (a frequency written, a tune or seek step, a search, a band
// change, RDS switched off or on, power off or on, a new PI) starts a new
// one, and nothing received before it counts afterwards.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "fmr-rds/block_error_rate.h"
#include "fmr-rds/station_decoder.h"
#include "measure/panel_rds_report.h"

namespace benchora {

// What was received since the radio last started receiving something else.
struct RdsTuning {
  std::string event = "start";  // what began it: "tune", "power off", "PI change", ...
  uint64_t since_ms = 0;        // the panel's clock then
  uint32_t groups = 0;          // groups the chip delivered since
  // Blocks lost among them; on the second generation a group missing from
  // the running numbers counts its four blocks.
  fmrrds::BlockErrorRate bler{fmrrds::BlockErrorRate::kDefaultWindow};
  std::optional<uint64_t> last_group_ms;
};

class RdsWatch {
 public:
  // Runs an automation command on the panel; false when none is shown.
  using Automate = std::function<bool(const std::string& command, std::string& reply)>;
  using Report = std::function<void(const std::string& line)>;

  RdsWatch(Report report, Automate automate)
      : report_(std::move(report)), automate_(std::move(automate)) {}

  // First generation: one test-function exchange, its request and, when the
  // host call succeeded, its reply (empty otherwise).
  void OnTestFunction(uint16_t message_id, std::span<const uint8_t> request,
                      std::span<const uint8_t> reply);

  // Second generation: one log line of the panel. An AT command that changes
  // what the radio receives starts a new tuning; after a read of the RDS
  // report that succeeded, the panel's read-outs are taken at the next log
  // line (the panel fills them after its "OK") or at Settle.
  void OnLogLine(std::string_view text, uint8_t flag);
  // The end of a command: a report read and not yet taken is taken now.
  void Settle();

  // Starts a new tuning now. `recounting`: the handset numbers its RDS
  // groups anew (it was switched off and on).
  void NewTuning(std::string event, bool recounting);

  // The station decoded in this tuning (what `verify rds.FIELD` reads).
  const fmrrds::StationSummary& Station() const { return decoder_.Summary(); }
  const RdsTuning& tuning() const { return tuning_; }
  // The panel's clock in milliseconds.
  uint64_t Now() const;

  // The station line: PI, programme type, PS name and radio text as far as
  // they are known.
  static std::string StationLine(const fmrrds::StationSummary& station);

 private:
  void Feed(const fmrrds::RawGroup& group, uint64_t now);
  void ReportStation();
  void TakePanelReport();

  Report report_;
  Automate automate_;
  fmrrds::StationDecoder decoder_;
  RdsTuning tuning_;
  std::string last_line_;

  // The second generation's read of the RDS report, followed through its
  // log lines: its action line, its AT command, then "OK".
  enum class ReportRead { kNone, kAction, kSent };
  ReportRead report_read_ = ReportRead::kNone;
  bool report_waiting_ = false;  // read, and not yet taken from the panel
  PanelRdsReport panel_report_;
};

}  // namespace benchora
