// The first-generation radio's RDS receiver: while on, each poll delivers
// the groups received since the previous one (at most 16, about 1.4 s of
// RDS at 11.4 groups per second) with a status word per group. Weak
// stations give block errors: the status word holds one nibble per block,
// A in the top nibble to D in the bottom one, 0 for a clean block, 1 to 5
// for the number of corrected bits, 0xF for a block that could not be
// corrected (its data is then garbage). A station with a set block loss
// rate loses that share of its blocks whatever its level, and is received
// even below the sync level.
#pragma once

#include <cstdint>
#include <vector>

#include "fmr-sim/radio_model.h"

namespace fmrsim {

struct ReceivedGroup {
  RdsGroup group;
  uint16_t status;
};

class RdsReceiver {
 public:
  static constexpr size_t kMaxGroupsPerPoll = 16;
  // Below this level the decoder finds no block sync at all.
  static constexpr int kSyncLevelDbuv = 15;
  // From this level on every block arrives clean.
  static constexpr int kCleanLevelDbuv = 35;
  static constexpr uint8_t kUncorrectable = 0xF;

  bool enabled() const { return enabled_; }
  // Switching on starts a new reception: counters cleared, no groups yet.
  void SetEnabled(bool on);

  // Groups received since the last poll; none while off, without a
  // station or below the sync level.
  std::vector<ReceivedGroup> Poll(RadioModel& radio);
  // The decoder finds block sync on the current station.
  static bool InSync(const RadioModel& radio);

  // Groups with at least one uncorrectable block since switching on.
  uint16_t error_groups() const { return error_groups_; }
  uint32_t received_groups() const { return received_groups_; }

  // The error pattern is pseudo-random but repeatable from this seed.
  void Seed(uint32_t seed) { rng_ = seed != 0 ? seed : 1; }

 private:
  uint32_t NextRandom();
  uint8_t BlockErrors(const Station& station, int level_dbuv);

  bool enabled_ = false;
  uint16_t error_groups_ = 0;
  uint32_t received_groups_ = 0;
  uint32_t rng_ = 0x2545F491;
};

}  // namespace fmrsim
