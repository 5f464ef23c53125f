#include "fmr-sim/gen1/rds_receiver.h"

namespace fmrsim {

void RdsReceiver::SetEnabled(bool on) {
  if (on && !enabled_) {
    error_groups_ = 0;
    received_groups_ = 0;
  }
  enabled_ = on;
}

uint32_t RdsReceiver::NextRandom() {
  // xorshift32: small, fast and the same on every platform.
  rng_ ^= rng_ << 13;
  rng_ ^= rng_ >> 17;
  rng_ ^= rng_ << 5;
  return rng_;
}

uint8_t RdsReceiver::BlockErrors(const Station& station, int level_dbuv) {
  if (station.block_loss_percent != 0)
    return NextRandom() % 100u < station.block_loss_percent ? kUncorrectable : 0;
  if (level_dbuv >= kCleanLevelDbuv) return 0;
  // Between sync and clean level the chance of a damaged block falls from
  // about one in two to none; a third of the damaged ones are lost.
  const uint32_t span = kCleanLevelDbuv - kSyncLevelDbuv;
  const uint32_t weakness = static_cast<uint32_t>(kCleanLevelDbuv - level_dbuv);
  if (NextRandom() % (2 * span) >= weakness) return 0;
  const uint32_t r = NextRandom();
  return r % 3 == 0 ? kUncorrectable : static_cast<uint8_t>(1 + r % 5);
}

bool RdsReceiver::InSync(const RadioModel& radio) {
  const Station* station = radio.CurrentStation();
  return station != nullptr && (radio.Rssi() >= kSyncLevelDbuv || station->block_loss_percent != 0);
}

std::vector<ReceivedGroup> RdsReceiver::Poll(RadioModel& radio) {
  std::vector<ReceivedGroup> groups;
  if (!enabled_ || !InSync(radio)) return groups;
  const int level = radio.Rssi();
  const Station& station = *radio.CurrentStation();
  while (groups.size() < kMaxGroupsPerPoll) {
    const std::optional<RdsGroup> sent = radio.NextRdsGroup();
    if (!sent) break;
    ReceivedGroup g{*sent, 0};
    bool lost = false;
    for (size_t b = 0; b < 4; ++b) {
      const uint8_t errors = BlockErrors(station, level);
      g.status = static_cast<uint16_t>(g.status | (errors << (12 - 4 * b)));
      if (errors == kUncorrectable) {
        g.group.blocks[b] = static_cast<uint16_t>(g.group.blocks[b] ^ (NextRandom() & 0xFFFF));
        lost = true;
      }
    }
    if (lost) ++error_groups_;
    ++received_groups_;
    groups.push_back(g);
  }
  return groups;
}

}  // namespace fmrsim
