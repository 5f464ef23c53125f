// The second-generation handset's AT command interpreter: the audio
// application's FM receiver commands ("at@audapp:...") and the chip version
// query ("at@ver:get_chip_ver(0)"), answered from the shared radio model.
// Transport-neutral: one command line in, reply lines and a final verdict out.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "fmr-sim/gen2/at_syntax.h"
#include "fmr-sim/radio_model.h"

namespace fmrsim {

struct AtReply {
  std::vector<std::string> lines;  // reply lines without line ends
  bool ok = true;                  // final line "OK", else "ERROR"
};

// The reply as it travels on the link: every line followed by "\r\n", then
// "OK\r\n" or "ERROR\r\n".
std::string FramedReply(const AtReply& reply);

// Seek status values of the dynamic data.
enum class SeekStatus : uint32_t {
  kSuccess = 0,
  kFailed = 1,
  kOngoing = 2,
  kStopped = 4,
  kInvalid = 5,  // no seek since power-up
};

class AtCommands {
 public:
  explicit AtCommands(RadioModel& radio);

  // Runs one command line (without its line end).
  AtReply Execute(std::string_view line);

  // Called with each group as it joins the RDS report (on the thread that
  // executes the commands). May be empty.
  using RdsListener = std::function<void(const RdsGroup&)>;
  void set_rds_listener(RdsListener listener) { rds_listener_ = std::move(listener); }

  // How many dynamic-data reads report a started automatic search as
  // "ongoing"; the next read reports its outcome.
  void set_auto_search_polls(int polls) { auto_search_polls_ = polls; }
  SeekStatus seek_status() const { return seek_status_; }

  RadioModel& radio() { return radio_; }

  // Entries of one RDS report; stations one auto-seek report can list;
  // points of one band sweep; band splits of the LNA configuration.
  static constexpr size_t kRdsEntries = 28;
  static constexpr size_t kMaxStations = 50;
  static constexpr size_t kMaxSweepPoints = 200;
  static constexpr size_t kMaxLnaSplits = 8;

 private:
  using Args = std::vector<int64_t>;
  using Handler = AtReply (AtCommands::*)(const Args&);

 public:
  // A named run of numbers in a reply: one number, or an array of `count`
  // elements ("rssi[0..49]"), each of `type`.
  struct ReplyField {
    std::string_view name;
    AtType type = AtType::kU32;
    uint16_t count = 1;
    // The array's length depends on the request or on the state; `count`
    // is then the longest it can be.
    bool sized = false;
  };
  // A command the interpreter accepts: a line "at@" + module + ":" + name +
  // "(...)" whose arguments read as `types`.
  struct Signature {
    std::string_view module;
    std::string_view name;
    std::vector<AtType> types;  // one per argument; for a variadic command the
                                // minimum count, every argument of types[0]
    Handler handler;
    // The numbers of its "OK" reply in the order they come, counted as
    // runs of digits across the reply lines whatever their layout (the
    // numbering of a value fault); empty when the reply is "OK" alone.
    std::vector<ReplyField> reply{};
    bool variadic = false;
    // For a reply with sized arrays: what their length n is ("n: the points
    // asked for"; the listing adds the longest).
    std::string_view reply_sizes{};
  };
  // Every command the interpreter accepts.
  static std::span<const Signature> Signatures();

 private:
  static const Signature* FindSignature(std::string_view module, std::string_view name);

  // Audio application commands.
  AtReply GetVersion(const Args&);
  AtReply ConfigureAudioDst(const Args& a);
  AtReply Enable(const Args&);
  AtReply Disable(const Args&);
  AtReply SetBand(const Args& a);
  AtReply SetStation(const Args& a);
  AtReply SetSideband(const Args& a);
  AtReply SetOutputMode(const Args& a);
  AtReply GetAutoSeekReport(const Args&);
  AtReply ForceMono(const Args& a);
  AtReply SetAntenna(const Args& a);
  AtReply SetSnc(const Args& a);
  AtReply SetSoftMute(const Args& a);
  AtReply SetVolume(const Args& a);
  AtReply SetRds(const Args& a);
  AtReply GetRdsData(const Args&);
  AtReply SetRssi(const Args& a);
  AtReply SetGainControl(const Args& a);
  AtReply GetStaticConfig(const Args&);
  AtReply GetDynamicData(const Args&);
  // Commands the test panel never sends, answered for completeness.
  AtReply GetCapabilities(const Args&);
  AtReply GetRegisterData(const Args&);
  AtReply SetRegisterData(const Args& a);
  AtReply Acknowledge(const Args&);
  AtReply GetBandSweepCap(const Args&);
  AtReply StartBandSweep(const Args& a);
  AtReply StopBandSweep(const Args&);
  AtReply GetBandSweepStatus(const Args&);
  AtReply GetBandSweepReport(const Args& a);
  AtReply MeasureRssi(const Args& a);
  AtReply SetLnaConfig(const Args& a);
  AtReply GetLnaConfig(const Args&);
  // "at@ver:get_chip_ver(0)".
  AtReply GetChipVersion(const Args&);

  void StopAutoSearch(SeekStatus status);
  void AdvanceAutoSearch();
  void CollectRdsGroups();
  [[nodiscard]] bool GroupLost();
  bool InjectionLowSide() const;
  int64_t RssiAlertState() const;

  struct RdsEntry {
    std::array<uint16_t, 4> blocks{};
    uint32_t group_type = 0;  // group type code << 1 | version B flag
    uint32_t sequence = 0;    // running number since power-on
    int32_t rssi = 0;         // level when the group arrived
  };

  RadioModel& radio_;
  int auto_search_polls_ = 3;

  // Settings the audio application keeps beside the radio model.
  int64_t deemphasis_ = 0;
  bool force_mono_ = false;
  int64_t antenna_ = 0;
  int64_t output_mode_ = 0;
  int64_t agc_ = 1;
  int64_t gain_index_ = 0;
  int64_t rssi_alert_ = 0;
  int64_t rssi_low_ = 10;
  int64_t rssi_high_ = 60;
  int64_t snc_low_ = 20;
  int64_t snc_high_ = 40;
  int64_t snc_enable_ = 1;
  int64_t sm_threshold_ = 12;
  int64_t sm_step_ = 3;
  int64_t sm_enable_ = 1;
  int64_t audio_dst_ = 3;
  int64_t volume_left_ = 80;
  int64_t volume_right_ = 80;
  int64_t sideband_ = 2;  // 0 high, 1 low, 2 automatic
  int64_t rds_enable_ = 0;
  int64_t rds_mode_ = 0;
  int64_t rds_interval_ms_ = 1000;

  // Seeking and the automatic search.
  SeekStatus seek_status_ = SeekStatus::kInvalid;
  bool searching_ = false;
  int search_polls_done_ = 0;
  uint32_t search_resume_hz_ = 0;
  std::vector<uint32_t> search_found_;
  std::vector<uint32_t> report_frequencies_;  // last completed search
  std::vector<int64_t> report_rssi_;

  uint32_t dynamic_reads_ = 0;        // chooses the layout of the next dynamic-data reply
  std::deque<RdsEntry> rds_entries_;  // oldest first, at most kRdsEntries
  uint32_t loss_random_ = 0x2545F491;
  RdsListener rds_listener_;

  // Band sweep and LNA configuration (never used by the panel).
  std::vector<int64_t> sweep_rssi_;
  std::vector<int64_t> lna_split_{88000000, 98000000};
  std::vector<int64_t> lna_offsets_{-2, 1};
};

}  // namespace fmrsim
