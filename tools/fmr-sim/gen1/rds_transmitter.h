// The first-generation radio's RDS transmitter. Groups handed over by the
// host wait in a FIFO of 32 groups; every polling interval (one send or
// read-back message, about 1.4 s) the transmitter puts up to 16 groups on
// air, from the FIFO first, otherwise, with the radio's own RDS stack on,
// groups the stack encodes from the transmit RDS settings (PI, PS name,
// radio text, programme type). A full FIFO accepts only part of a send, so
// the host learns how many groups it took. What goes on air reaches the
// radio model, where a receiver tuned to the frequency hears it back.
#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <span>
#include <vector>

#include "fmr-sim/gen1/settings.h"
#include "fmr-sim/radio_model.h"

namespace fmrsim {

class RdsTransmitter {
 public:
  static constexpr size_t kFifoCapacity = 32;
  static constexpr size_t kGroupsPerInterval = 16;

  // Queues as many groups as fit; returns how many.
  size_t Queue(std::span<const RdsGroup> groups);
  size_t queued() const { return fifo_.size(); }

  // One interval of transmission on the radio's frequency. Nothing goes on
  // air unless `on_air` (powered, transmitting, RDS on).
  void Transmit(bool on_air, const TxRdsSettings& settings, RadioModel& radio);

  // The groups put on air since the last call (at most 16, the newest).
  std::vector<RdsGroup> TakeSent();

  void Reset();

 private:
  std::optional<RdsGroup> Encode(const TxRdsSettings& settings, uint32_t frequency_hz);

  std::deque<RdsGroup> fifo_;
  std::vector<RdsGroup> sent_;
  // The stack's encoder: a one-station radio model tuned to that station,
  // rebuilt whenever the settings it was built from change.
  std::optional<RadioModel> encoder_;
  std::optional<Station> encoded_station_;
};

}  // namespace fmrsim
