// Decodes RDS groups one by one into what each carries and into the
// station assembled so far: PI, programme type, TP/TA/MS, decoder
// information, PS name (0A/0B), radio text (2A/2B), alternative frequencies
// (0A, method A), extended country code (1A), clock time (4A) and
// RadioText+ (announced by 3A), and the block error rate. A PS name or radio
// text counts as confirmed once every part of it arrived twice alike; until
// then only the progressive text is known. A new PI starts a new station:
// everything learnt about the old one is dropped (the reception counts
// stay).
//
// Texts are assembled from the RDS characters as they arrive (positions,
// comparisons and RadioText+ tags count those bytes) and handed out in
// UTF-8 (rds_characters.h): every text of GroupReport and StationSummary is
// UTF-8, but for bytes the character table leaves undefined, which stay.
//
// Blocks are used only when their status nibble says they were received
// clean or corrected (0 to 5); any other value, 0xF above all, marks a block
// whose data is garbage. A group without a usable block B is skipped whole
// (its type is unknown); otherwise the parts that need a lost block are
// left out and the group counts as partial.
#pragma once

#include <array>
#include <bitset>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

#include "fmr-rds/alternative_frequencies.h"
#include "fmr-rds/block_error_rate.h"
#include "fmr-rds/clock_time.h"
#include "fmr-rds/group_reader.h"
#include "fmr-rds/radiotext_plus.h"
#include "fmr-rds/segmented_text.h"

namespace fmrrds {

struct GroupType {
  uint8_t number = 0;  // 0..15
  bool version_b = false;

  std::string Name() const;  // "0A", "15B"
  auto operator<=>(const GroupType&) const = default;
};

// A decoder-information bit: 0A/0B segment s carries bit d(3 - s).
struct DiBit {
  uint8_t index = 0;  // 0 stereo, 1 artificial head, 2 compressed, 3 dynamic PTY
  bool value = false;
};

enum class Programme { kSpeech, kMusic };

// What one group carried. Optional fields are absent when the group does not
// carry them or the block holding them was lost.
struct GroupReport {
  size_t line = 0;
  uint16_t status = 0;
  std::string skipped;     // non-empty: why the group was not decoded at all
  std::string lost;        // letters of the unusable blocks, "" when all usable
  double bler_recent = 0;  // block error rate over the last groups, this one included

  std::optional<GroupType> type;
  std::optional<uint16_t> pi;
  bool pi_changed = false;  // another station than the groups before
  bool tp = false;
  uint8_t pty = 0;

  // 0A/0B
  std::optional<bool> ta;
  std::optional<Programme> ms;
  std::optional<DiBit> di;
  std::optional<uint8_t> ps_segment;
  std::string ps_chars;
  bool ps_changed = false;
  std::optional<std::string> ps;              // the name, once confirmed
  std::optional<std::string> ps_progressive;  // the name so far, '?' for gaps, until then
  std::optional<AfPair> af;

  // 2A/2B
  std::optional<char> rt_flag;  // 'A' or 'B'
  std::optional<uint8_t> rt_segment;
  std::string rt_chars;
  bool rt_cleared = false;                    // A/B flag flipped (or 2A/2B switched): text cleared
  bool rt_changed = false;                    // a segment changed without the flag: text restarted
  std::optional<std::string> rt;              // the text, once confirmed up to its end
  std::optional<std::string> rt_progressive;  // the text so far, until then

  // 1A
  std::optional<uint8_t> ecc;
  // 3A: the application and the group type carrying its data
  std::optional<uint16_t> oda_application;
  std::optional<GroupType> oda_group;

  // 4A
  std::optional<ClockTime> ct;

  // The RadioText+ group type
  std::optional<RtPlusGroup> rt_plus;
  std::string rt_plus_text[2];  // the tagged parts of the radio text received so far
};

// The station as assembled from the groups so far.
struct StationSummary {
  std::optional<uint16_t> pi;
  std::vector<uint16_t> pi_history;  // every PI in the order first seen
  std::optional<bool> tp;
  std::optional<uint8_t> pty;
  std::optional<bool> ta;
  std::optional<Programme> ms;
  std::array<std::optional<bool>, 4> di{};  // d0..d3

  std::optional<std::string> ps;      // the last confirmed name
  std::vector<std::string> ps_names;  // every confirmed name, first seen first
  std::string ps_progressive;         // a name not yet confirmed, '?' for gaps
  std::optional<std::string> rt;      // the last confirmed text
  std::string rt_progressive;         // a text not yet confirmed

  std::optional<uint8_t> ecc;
  std::optional<GroupType> rt_plus_group;  // announced by 3A
  std::optional<RtPlusGroup> rt_plus;      // the last tags
  std::string rt_plus_text[2];             // their parts of the radio text now

  AfList af;
  std::optional<ClockTime> ct;  // the last valid clock time

  std::map<GroupType, uint32_t> group_counts;
  uint32_t received = 0;  // every group fed in
  uint32_t skipped = 0;   // block B lost
  uint32_t partial = 0;   // decoded without some block it carries data in
  BlockErrorRate bler;
};

class StationDecoder {
 public:
  explicit StationDecoder(size_t bler_window = BlockErrorRate::kDefaultWindow);

  GroupReport Decode(const RawGroup& group);
  // The station so far, kept up to date group by group (texts not yet
  // confirmed included), so reading it after every group costs nothing.
  [[nodiscard]] const StationSummary& Summary() const { return station_; }

 private:
  void NewStation(uint16_t pi);
  // The summary's RadioText+ parts from the radio text as received now.
  void RefreshRtPlusText();
  void DecodeBasicTuning(const RawGroup& group, const std::array<bool, 4>& usable,
                         GroupReport& report);
  void DecodeRadioText(const RawGroup& group, const std::array<bool, 4>& usable,
                       GroupReport& report);
  void DecodeClockTime(const RawGroup& group, const std::array<bool, 4>& usable,
                       GroupReport& report);
  void DecodeOtherGroup(const RawGroup& group, const std::array<bool, 4>& usable,
                        GroupReport& report, bool needed[4]);

  StationSummary station_;
  // What station_.ps_names and pi_history hold, looked up in constant time
  // (a station may change its name thousands of times in a capture).
  std::unordered_set<std::string> ps_seen_;
  std::bitset<0x10000> pi_seen_;
  SegmentedText ps_;
  SegmentedText rt_;
  std::optional<char> rt_flag_;
  bool rt_version_b_ = false;
};

}  // namespace fmrrds
