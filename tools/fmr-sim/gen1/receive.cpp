// Receive-side messages of the first-generation handset: power, status,
// tuning and seeking, audio, RDS reception, RSSI, registers, gain, antenna,
// and the power-state and radio-info reads. Offsets are those of the
// request and reply records of each message.
#include "fmr-sim/gen1/le_bytes.h"
#include "fmr-sim/gen1/responder.h"

namespace fmrsim {
namespace {

constexpr uint32_t kRadioInfoWord = 0x10210003;  // chip 1021, revision 3
constexpr uint32_t kPowerOff = 0, kPowerReceive = 1, kPowerTransmit = 2;

// The receive audio block (18 bytes from `at`): the power-on request carries
// it at byte 22 and the audio request at byte 0; the status reply at byte 18
// and the audio reply at byte 2.
void StoreRxAudio(std::span<const uint8_t> req, size_t at, RxAudioSettings& audio) {
  audio.volume = le::U16(req, at + 0);
  audio.mute = le::U8(req, at + 2);
  audio.output_path = le::U8(req, at + 3);
  audio.de_emphasis = le::U8(req, at + 4);
  audio.snc_on = le::U8(req, at + 5);
  audio.snc_step = le::U16(req, at + 6);
  audio.snc_low_threshold = le::S16(req, at + 8);
  audio.snc_high_threshold = le::S16(req, at + 10);
  audio.soft_mute_on = le::U8(req, at + 12);
  audio.soft_mute_step = le::U16(req, at + 14);
  audio.soft_mute_threshold = le::S16(req, at + 16);
}

void PutRxAudio(std::span<uint8_t> out, size_t at, const RxAudioSettings& audio) {
  le::Put16(out, at + 0, audio.volume);
  le::Put8(out, at + 2, audio.mute);
  le::Put8(out, at + 3, audio.output_path);
  le::Put8(out, at + 4, audio.de_emphasis);
  le::Put8(out, at + 5, audio.snc_on);
  le::Put16(out, at + 6, audio.snc_step);
  le::PutS16(out, at + 8, audio.snc_low_threshold);
  le::PutS16(out, at + 10, audio.snc_high_threshold);
  le::Put8(out, at + 12, audio.soft_mute_on);
  le::Put16(out, at + 14, audio.soft_mute_step);
  le::PutS16(out, at + 16, audio.soft_mute_threshold);
}

}  // namespace

uint16_t Gen1Responder::OnProbe(Out out) {
  le::Put8(out, 4, radio_.powered() ? 1 : 0);
  le::Put8(out, 5, radio_.transmitting() ? 1 : 0);
  return gen1::kStatusOk;
}

uint16_t Gen1Responder::OnRxPowerOn(Request req) {
  if (!PowerOnFromRequest(req, false)) return gen1::kStatusRejected;
  rds_tx_.Reset();

  rx_tuning_.scan_min_rssi = le::S16(req, 4);
  rx_tuning_.force_mono = le::U8(req, 6);
  rx_tuning_.sideband = le::U8(req, 20);
  StoreRxAudio(req, 22, rx_audio_);
  if (const uint8_t rds = le::U8(req, 40); rds != kNoChange) rds_rx_.SetEnabled(rds != 0);
  if (const uint8_t mode = le::U8(req, 41); mode != kNoChange) rx_tuning_.rds_decoder_mode = mode;
  if (const uint8_t state = le::U8(req, 42); state != kNoChange) rssi_.state = state;
  rssi_.offset = le::S16(req, 44);
  rssi_.low_alert = le::S16(req, 46);
  rssi_.high_alert = le::S16(req, 48);
  return gen1::kStatusOk;
}

uint16_t Gen1Responder::OnRxPowerOff() {
  radio_.PowerOff();
  rds_rx_.SetEnabled(false);
  powered_by_test_mode_ = false;
  return gen1::kStatusOk;
}

uint16_t Gen1Responder::OnReadRxStatus(Out out) {
  le::Put32(out, 4, radio_.frequency_hz());
  le::Put8(out, 8, ReportedStereo());
  le::Put32(out, 12, PilotFrequency());
  le::PutS16(out, 16, ReportedRssi());
  PutRxAudio(out, 18, rx_audio_);
  // Bytes 36 to 43 are reserved status bytes; the chip leaves them zero.
  le::Put16(out, 44, RxStatusWord());
  le::Put16(out, 46, rds_rx_.error_groups());
  return gen1::kStatusOk;
}

uint16_t Gen1Responder::OnRxTune(Request req, Out out) {
  const uint8_t action = le::U8(req, 0);
  const uint32_t frequency = le::U32(req, 4);
  const uint32_t band_max = le::U32(req, 12);
  const uint32_t band_min = le::U32(req, 16);
  const uint32_t spacing = le::U32(req, 20);
  if (action > 2 || !ValidBand(band_min, band_max, spacing)) return gen1::kStatusRejected;

  rx_tuning_.scan_min_rssi = le::S16(req, 8);
  rx_tuning_.force_mono = le::U8(req, 10);
  rx_tuning_.sideband = le::U8(req, 24);
  radio_.SetBand(Band{band_min, band_max, spacing});
  if (action == 0) {
    if (!radio_.Tune(frequency)) return gen1::kStatusRejected;
  } else {
    // A seek starts where the request says the radio is and runs round the
    // band once; it compares levels as reported, offset included.
    radio_.Tune(frequency);
    radio_.Seek(action == 1, rx_tuning_.scan_min_rssi - rssi_.offset, true);
  }
  le::Put32(out, 4, radio_.frequency_hz());
  le::PutS16(out, 8, ReportedRssi());
  le::Put8(out, 10, ReportedStereo());
  return gen1::kStatusOk;
}

uint16_t Gen1Responder::OnWriteRxAudio(Request req, Out out) {
  StoreRxAudio(req, 0, rx_audio_);
  rx_tuning_.force_mono = le::U8(req, 18);
  le::Put8(out, 2, ReportedStereo());
  return gen1::kStatusOk;
}

uint16_t Gen1Responder::OnReadRxAudio(Out out) {
  PutRxAudio(out, 2, rx_audio_);
  le::Put8(out, 20, ReportedStereo());
  return gen1::kStatusOk;
}

uint16_t Gen1Responder::OnAccessRds(Request req, Out out) {
  const uint8_t state = le::U8(req, 0);
  if (const uint8_t mode = le::U8(req, 1); mode != kNoChange) rx_tuning_.rds_decoder_mode = mode;
  std::vector<ReceivedGroup> groups;
  if (state == 0) {
    rds_rx_.SetEnabled(false);
  } else if (state != kNoChange && !rds_rx_.enabled()) {
    rds_rx_.SetEnabled(true);  // nothing received yet at the moment it starts
  } else {
    groups = rds_rx_.Poll(radio_);
  }
  le::Put8(out, 2, static_cast<uint8_t>(groups.size()));
  for (size_t i = 0; i < groups.size(); ++i) {
    for (size_t b = 0; b < 4; ++b) le::Put16(out, 4 + 8 * i + 2 * b, groups[i].group.blocks[b]);
    le::Put16(out, 132 + 2 * i, groups[i].status);
  }
  le::Put16(out, 164, static_cast<uint16_t>(rds_rx_.received_groups() & 0xFFFF));
  return gen1::kStatusOk;
}

uint16_t Gen1Responder::OnAccessRssi(Request req, Out out) {
  if (le::U8(req, 0) != 1) {  // 1 reads, anything else writes the settings
    if (const uint8_t state = le::U8(req, 1); state != kNoChange) rssi_.state = state;
    rssi_.offset = le::S16(req, 2);
    rssi_.low_alert = le::S16(req, 4);
    rssi_.high_alert = le::S16(req, 6);
  }
  le::Put32(out, 4, radio_.frequency_hz());
  le::Put32(out, 8, PilotFrequency());
  le::PutS16(out, 12, ReportedRssi());
  le::Put8(out, 14, ReportedStereo());
  return gen1::kStatusOk;
}

uint16_t Gen1Responder::OnAccessRegister(Request req, Out out) {
  const uint32_t access = le::U32(req, 0);
  const uint16_t address = le::U16(req, 4);
  // 16-bit registers sit at even addresses, 32-bit ones at multiples of 4.
  const bool aligned = address < 0x8000 ? address % 2 == 0 : address % 4 == 0;
  if (access > 1 || !aligned) return gen1::kStatusRejected;
  if (access == 1) registers_.Write(radio_, address, le::U32(req, 8));
  le::Put32(out, 4, registers_.Read(radio_, rx_tuning_.sideband, address));
  return gen1::kStatusOk;
}

uint16_t Gen1Responder::OnWriteGain(Request req) {
  gain_.agc_on = le::U32(req, 0);
  gain_.lna_gain = le::U8(req, 4);
  gain_.ppf_gain = le::U8(req, 5);
  gain_.external_lna_on = le::U32(req, 8);
  gain_.external_lna_offset = le::S8(req, 12);
  gain_.supply_voltage = le::U8(req, 13);
  tx_.output_power = le::S16(req, 14);
  gain_.int_lna_reduction = le::U8(req, 16);
  return gen1::kStatusOk;
}

uint16_t Gen1Responder::OnReadGain(Out out) {
  le::Put32(out, 4, gain_.agc_on);
  le::Put8(out, 8, gain_.lna_gain);
  le::Put8(out, 9, gain_.ppf_gain);
  le::Put32(out, 12, gain_.external_lna_on);
  le::Put8(out, 16, static_cast<uint8_t>(gain_.external_lna_offset));
  le::Put8(out, 17, gain_.supply_voltage);
  le::PutS16(out, 18, tx_.output_power);
  le::Put8(out, 20, gain_.int_lna_reduction);
  return gen1::kStatusOk;
}

uint16_t Gen1Responder::OnSetAntenna(Request req) {
  const uint32_t antenna = le::U32(req, 0);
  if (antenna > 1) return gen1::kStatusRejected;
  antenna_ = antenna;
  return gen1::kStatusOk;
}

uint16_t Gen1Responder::OnReadPowerState(Out out) {
  const uint32_t state =
      !radio_.powered() ? kPowerOff : (radio_.transmitting() ? kPowerTransmit : kPowerReceive);
  le::Put32(out, 32, state);
  return gen1::kStatusOk;
}

uint16_t Gen1Responder::OnReadRadioInfo(Out out) {
  le::Put32(out, 4, kRadioInfoWord);
  return gen1::kStatusOk;
}

}  // namespace fmrsim
