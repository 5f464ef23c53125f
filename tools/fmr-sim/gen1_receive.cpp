// Receive-side messages of the first-generation handset: power, status,
// tuning and seeking, audio, RDS reception, RSSI, registers, gain, antenna,
// and the power-state and radio-info reads. Offsets are those of the
// request and reply records of each message.
#include "gen1_responder.h"
#include "le_bytes.h"

namespace fmrsim {
namespace {

constexpr uint32_t kRadioInfoWord = 0x10210003;  // chip 1021, revision 3
constexpr uint32_t kPowerOff = 0, kPowerReceive = 1, kPowerTransmit = 2;

}  // namespace

uint16_t Gen1Responder::OnProbe(Out out) {
  le::Put8(out, 4, radio_.powered() ? 1 : 0);
  le::Put8(out, 5, radio_.transmitting() ? 1 : 0);
  return gen1::kStatusOk;
}

uint16_t Gen1Responder::OnRxPowerOn(Request req) {
  const uint32_t frequency = le::U32(req, 0);
  const uint32_t band_max = le::U32(req, 8);
  const uint32_t band_min = le::U32(req, 12);
  const uint32_t spacing = le::U32(req, 16);
  if (!ValidBand(band_min, band_max, spacing)) return gen1::kStatusRejected;

  radio_.PowerOn(false);
  radio_.SetBand(Band{band_min, band_max, spacing});
  if (!radio_.Tune(frequency)) radio_.Tune(band_min);
  rds_tx_.Reset();

  rx_tuning_.scan_min_rssi = le::S16(req, 4);
  rx_tuning_.force_mono = le::U8(req, 6);
  rx_tuning_.sideband = le::U8(req, 20);
  rx_audio_.volume = le::U16(req, 22);
  rx_audio_.mute = le::U8(req, 24);
  rx_audio_.output_path = le::U8(req, 25);
  rx_audio_.de_emphasis = le::U8(req, 26);
  rx_audio_.snc_on = le::U8(req, 27);
  rx_audio_.snc_step = le::U16(req, 28);
  rx_audio_.snc_low_threshold = le::S16(req, 30);
  rx_audio_.snc_high_threshold = le::S16(req, 32);
  rx_audio_.soft_mute_on = le::U8(req, 34);
  rx_audio_.soft_mute_step = le::U16(req, 36);
  rx_audio_.soft_mute_threshold = le::S16(req, 38);
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
  le::Put16(out, 18, rx_audio_.volume);
  le::Put8(out, 20, rx_audio_.mute);
  le::Put8(out, 21, rx_audio_.output_path);
  le::Put8(out, 22, rx_audio_.de_emphasis);
  le::Put8(out, 23, rx_audio_.snc_on);
  le::Put16(out, 24, rx_audio_.snc_step);
  le::PutS16(out, 26, rx_audio_.snc_low_threshold);
  le::PutS16(out, 28, rx_audio_.snc_high_threshold);
  le::Put8(out, 30, rx_audio_.soft_mute_on);
  le::Put16(out, 32, rx_audio_.soft_mute_step);
  le::PutS16(out, 34, rx_audio_.soft_mute_threshold);
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
  rx_audio_.volume = le::U16(req, 0);
  rx_audio_.mute = le::U8(req, 2);
  rx_audio_.output_path = le::U8(req, 3);
  rx_audio_.de_emphasis = le::U8(req, 4);
  rx_audio_.snc_on = le::U8(req, 5);
  rx_audio_.snc_step = le::U16(req, 6);
  rx_audio_.snc_low_threshold = le::S16(req, 8);
  rx_audio_.snc_high_threshold = le::S16(req, 10);
  rx_audio_.soft_mute_on = le::U8(req, 12);
  rx_audio_.soft_mute_step = le::U16(req, 14);
  rx_audio_.soft_mute_threshold = le::S16(req, 16);
  rx_tuning_.force_mono = le::U8(req, 18);
  le::Put8(out, 2, ReportedStereo());
  return gen1::kStatusOk;
}

uint16_t Gen1Responder::OnReadRxAudio(Out out) {
  le::Put16(out, 2, rx_audio_.volume);
  le::Put8(out, 4, rx_audio_.mute);
  le::Put8(out, 5, rx_audio_.output_path);
  le::Put8(out, 6, rx_audio_.de_emphasis);
  le::Put8(out, 7, rx_audio_.snc_on);
  le::Put16(out, 8, rx_audio_.snc_step);
  le::PutS16(out, 10, rx_audio_.snc_low_threshold);
  le::PutS16(out, 12, rx_audio_.snc_high_threshold);
  le::Put8(out, 14, rx_audio_.soft_mute_on);
  le::Put16(out, 16, rx_audio_.soft_mute_step);
  le::PutS16(out, 18, rx_audio_.soft_mute_threshold);
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
