// Transmit-side messages of the first-generation handset and its test
// signals: test tone, chirp, transmitter power and tuning, transmit scan,
// transmit audio, transmit RDS settings, group sending and read-back.
// Offsets are those of the request and reply records of each message.
#include <limits>

#include "fmr-sim/gen1/le_bytes.h"
#include "fmr-sim/gen1/responder.h"

namespace fmrsim {
namespace {

constexpr size_t kMaxTxGroups = 20;

// The transmit modulation block (24 bytes from `at`): the power-on request
// carries it at byte 20, the tune request at byte 16.
void StoreTxModulation(std::span<const uint8_t> req, size_t at, TxSettings& tx) {
  tx.pre_emphasis = le::S32(req, at + 0);
  tx.audio_mode = le::U8(req, at + 4);
  tx.freq_deviation_hz = le::U32(req, at + 8);
  tx.pilot_deviation_hz = le::U16(req, at + 12);
  tx.rds_deviation_hz = le::U16(req, at + 14);
  tx.rf_mute = le::U32(req, at + 16);
  tx.pilot_on = le::U32(req, at + 20);
}

}  // namespace

bool Gen1Responder::RdsOnAir() const {
  return radio_.powered() && radio_.transmitting() && tx_rds_.state == 1;
}

uint16_t Gen1Responder::OnSetTestTone(Request req) {
  tone_.mode = le::U32(req, 0);
  tone_.on = le::U32(req, 4);
  tone_.left_freq_hz = le::U16(req, 8);
  tone_.left_amplitude = le::U32(req, 12);
  tone_.left_phase = le::U32(req, 16);
  tone_.right_freq_hz = le::U16(req, 20);
  tone_.right_amplitude = le::U32(req, 24);
  tone_.right_phase = le::U32(req, 28);
  tone_.audio_mode = le::U8(req, 32);
  tone_.output_path = le::U8(req, 33);
  return gen1::kStatusOk;
}

uint16_t Gen1Responder::OnSetChirp(Request req) {
  chirp_on_ = le::U32(req, 0);
  return gen1::kStatusOk;
}

uint16_t Gen1Responder::OnTxPowerOn(Request req) {
  const std::optional<Band> band = PowerOnFromRequest(req, true);
  if (!band) return gen1::kStatusRejected;
  rds_rx_.SetEnabled(false);
  rds_tx_.Reset();

  tx_.frequency_hz = radio_.frequency_hz();
  tx_.output_power = le::S16(req, 4);
  tx_.band_max_hz = band->high_hz;
  tx_.band_min_hz = band->low_hz;
  tx_.channel_spacing = band->spacing_hz;
  StoreTxModulation(req, 20, tx_);
  if (const uint8_t rds = le::U8(req, 44); rds != kNoChange) tx_rds_.state = rds;
  return gen1::kStatusOk;
}

uint16_t Gen1Responder::OnTxPowerOff() {
  radio_.PowerOff();
  rds_tx_.Reset();
  powered_by_test_mode_ = false;
  return gen1::kStatusOk;
}

uint16_t Gen1Responder::OnTxTune(Request req) {
  const uint32_t frequency = le::U32(req, 0);
  const uint32_t band_max = le::U32(req, 4);
  const uint32_t band_min = le::U32(req, 8);
  // Bytes 12 to 15 carry nothing; the spacing stays as power-on set it.
  if (!ValidBand(band_min, band_max, tx_.channel_spacing)) return gen1::kStatusRejected;
  radio_.SetBand(Band{band_min, band_max, tx_.channel_spacing});
  if (!radio_.Tune(frequency)) return gen1::kStatusRejected;

  tx_.frequency_hz = frequency;
  tx_.band_max_hz = band_max;
  tx_.band_min_hz = band_min;
  StoreTxModulation(req, 16, tx_);
  return gen1::kStatusOk;
}

uint16_t Gen1Responder::OnTxScan(Request req, Out out) {
  const uint32_t start = le::U32(req, 0);
  const uint32_t stop = le::U32(req, 4);
  const uint32_t spacing = le::U32(req, 8);
  const int16_t max_level = le::S16(req, 12);
  if (start < gen1::kSynthLowHz || stop > gen1::kSynthHighHz || start > stop ||
      spacing < gen1::kMinSpacingHz) {
    return gen1::kStatusRejected;
  }
  // A free channel: its own level and both neighbours' at or below the
  // limit (levels as reported, offset included). Without one, the quietest
  // channel of the range.
  auto level = [&](uint32_t f) { return radio_.RssiAt(f) + rssi_.offset; };
  uint32_t found = 0;
  uint32_t quietest = start;
  int quietest_level = std::numeric_limits<int>::max();
  // The scan stops before a step would pass `stop`: a spacing near 2^32
  // would otherwise wrap round below it and walk millions of channels.
  for (uint32_t f = start;; f += spacing) {
    const int here = level(f);
    if (here < quietest_level) {
      quietest = f;
      quietest_level = here;
    }
    if (here <= max_level && level(f - spacing) <= max_level && level(f + spacing) <= max_level) {
      found = f;
      break;
    }
    if (stop - f < spacing) break;
  }
  if (found == 0) found = quietest;
  le::Put32(out, 4, found);
  le::PutS16(out, 8, static_cast<int16_t>(level(found)));
  return gen1::kStatusOk;
}

uint16_t Gen1Responder::OnWriteTxAudio(Request req) {
  tx_.volume = le::U32(req, 0);
  tx_.mute = le::U32(req, 4);
  tx_.modulation_on = le::U32(req, 8);
  tx_.pre_emphasis = le::S32(req, 12);
  tx_.audio_mode = le::U8(req, 16);
  return gen1::kStatusOk;
}

uint16_t Gen1Responder::OnWriteTxRds(Request req) {
  if (const uint8_t state = le::U8(req, 0); state != kNoChange) tx_rds_.state = state;
  tx_rds_.stack_on = le::U8(req, 1);
  tx_rds_.features = le::U32(req, 4);
  tx_.rds_deviation_hz = le::U16(req, 8);
  if (const uint8_t mode = le::U8(req, 10); mode != kNoChange) tx_rds_.decoder_mode = mode;
  tx_rds_.pi = le::U16(req, 12);
  le::CopyIn(req, 14, tx_rds_.radio_text);
  le::CopyIn(req, 78, tx_rds_.ps_name);
  tx_rds_.ps_mode = le::U8(req, 142);
  tx_rds_.ps_rate = le::U8(req, 143);
  le::CopyIn(req, 144, tx_rds_.rt_plus);
  tx_rds_.pty = le::U8(req, 152);
  for (size_t i = 0; i < tx_rds_.af_list.size(); ++i) {
    tx_rds_.af_list[i] = le::U16(req, 154 + 2 * i);
  }
  return gen1::kStatusOk;
}

uint16_t Gen1Responder::OnReadTxStatus(Out out) {
  le::Put32(out, 4, radio_.transmitting() ? radio_.frequency_hz() : tx_.frequency_hz);
  le::PutS16(out, 8, tx_.output_power);
  le::Put32(out, 12, tx_.band_max_hz);
  le::Put32(out, 16, tx_.band_min_hz);
  le::Put32(out, 20, tx_.channel_spacing);
  le::PutS32(out, 24, tx_.pre_emphasis);
  le::Put8(out, 28, tx_.audio_mode);
  le::Put32(out, 32, tx_.freq_deviation_hz);
  le::Put16(out, 36, tx_.pilot_deviation_hz);
  le::Put16(out, 38, tx_.rds_deviation_hz);
  le::Put32(out, 40, tx_.rf_mute);
  le::Put32(out, 44, tx_.pilot_on);
  le::Put8(out, 48, tx_rds_.state);
  le::Put16(out, 52, static_cast<uint16_t>(tx_.volume & 0xFFFF));
  le::Put8(out, 56, static_cast<uint8_t>(tx_.mute & 0xFF));
  le::Put32(out, 60, tx_.modulation_on);
  return gen1::kStatusOk;
}

uint16_t Gen1Responder::OnSendRdsGroups(Request req, Out out) {
  const size_t count = le::U8(req, 0);
  if (count > kMaxTxGroups) return gen1::kStatusRejected;
  // The interval since the previous send has gone on air first.
  rds_tx_.Transmit(RdsOnAir(), tx_rds_, radio_);
  std::vector<RdsGroup> groups(count);
  for (size_t i = 0; i < count; ++i) {
    for (size_t b = 0; b < 4; ++b) groups[i].blocks[b] = le::U16(req, 2 + 8 * i + 2 * b);
  }
  le::Put8(out, 2, static_cast<uint8_t>(rds_tx_.Queue(groups)));
  return gen1::kStatusOk;
}

uint16_t Gen1Responder::OnReadRdsBlocks(Out out) {
  rds_tx_.Transmit(RdsOnAir(), tx_rds_, radio_);
  const std::vector<RdsGroup> sent = rds_tx_.TakeSent();
  le::Put32(out, 4, static_cast<uint32_t>(rds_tx_.queued()));
  le::Put8(out, 8, static_cast<uint8_t>(sent.size()));
  for (size_t i = 0; i < sent.size(); ++i) {
    for (size_t b = 0; b < 4; ++b) le::Put16(out, 10 + 8 * i + 2 * b, sent[i].blocks[b]);
  }
  return gen1::kStatusOk;
}

uint16_t Gen1Responder::OnReadTxRds(Out out) {
  le::Put8(out, 2, tx_rds_.state);
  le::Put8(out, 3, tx_rds_.stack_on);
  le::Put32(out, 4, tx_rds_.features);
  le::Put16(out, 8, tx_.rds_deviation_hz);
  le::Put8(out, 10, tx_rds_.decoder_mode);
  le::Put16(out, 12, tx_rds_.pi);
  le::CopyOut(out, 14, tx_rds_.radio_text);
  le::CopyOut(out, 78, tx_rds_.ps_name);
  le::Put8(out, 142, tx_rds_.ps_mode);
  le::Put8(out, 143, tx_rds_.ps_rate);
  le::CopyOut(out, 144, tx_rds_.rt_plus);
  le::Put8(out, 152, tx_rds_.pty);
  for (size_t i = 0; i < tx_rds_.af_list.size(); ++i) {
    le::Put16(out, 154 + 2 * i, tx_rds_.af_list[i]);
  }
  return gen1::kStatusOk;
}

}  // namespace fmrsim
