// What the first-generation radio remembers between messages besides the
// tuner state of RadioModel: receive audio, RSSI reporting, gain, test tone
// and the transmitter's settings. Plain values with the chip's reset
// defaults; the responder writes them from requests and reads them back.
#pragma once

#include <array>
#include <cstdint>

namespace fmrsim {

// A byte of the "no change" kind in a request leaves the setting alone.
inline constexpr uint8_t kNoChange = 0xFF;

struct RxAudioSettings {
  uint16_t volume = 0x7FFF;
  uint8_t mute = 0;
  uint8_t output_path = 0;  // 0 DAC, 1 SRC
  uint8_t de_emphasis = 0;  // 0 = 50 us, 1 = 75 us
  uint8_t snc_on = 1;
  uint16_t snc_step = 2;
  int16_t snc_low_threshold = 20;
  int16_t snc_high_threshold = 40;
  uint8_t soft_mute_on = 1;
  uint16_t soft_mute_step = 2;
  int16_t soft_mute_threshold = 12;
};

struct RxTuning {
  int16_t scan_min_rssi = 20;
  uint8_t force_mono = 0;
  uint8_t sideband = 2;          // 0 low, 1 high, 2 auto
  uint8_t rds_decoder_mode = 0;  // 0 RDS, 1 RBDS
};

struct RssiSettings {
  uint8_t state = 0;   // reporting on or off
  int16_t offset = 0;  // added to every level the radio reports
  int16_t low_alert = 10;
  int16_t high_alert = 60;
};

struct GainSettings {
  uint32_t agc_on = 1;
  uint8_t lna_gain = 3;
  uint8_t ppf_gain = 2;
  uint32_t external_lna_on = 0;
  int8_t external_lna_offset = 0;
  uint8_t supply_voltage = 1;
  uint8_t int_lna_reduction = 0;
};

struct ToneSettings {
  uint32_t mode = 0;  // 0 receive path, 1 transmit path
  uint32_t on = 0;
  uint16_t left_freq_hz = 1000;
  uint32_t left_amplitude = 0x2000;
  uint32_t left_phase = 0;
  uint16_t right_freq_hz = 1000;
  uint32_t right_amplitude = 0x2000;
  uint32_t right_phase = 0;
  uint8_t audio_mode = 1;
  uint8_t output_path = 0;
};

struct TxSettings {
  uint32_t frequency_hz = 87500000;
  int16_t output_power = 100;
  uint32_t band_max_hz = 108000000;
  uint32_t band_min_hz = 87500000;
  uint32_t channel_spacing = 100000;
  int32_t pre_emphasis = 0;  // 0 = 50 us, 1 = 75 us
  uint8_t audio_mode = 1;    // 0 mono, 1 stereo
  uint32_t freq_deviation_hz = 75000;
  uint16_t pilot_deviation_hz = 6750;
  uint16_t rds_deviation_hz = 2000;
  uint32_t rf_mute = 0;
  uint32_t pilot_on = 1;
  uint32_t volume = 0x7FFF;
  uint32_t mute = 0;
  uint32_t modulation_on = 1;
};

struct TxRdsSettings {
  uint8_t state = 0;
  uint8_t stack_on = 1;
  uint32_t features = 0x1E;
  uint8_t decoder_mode = 0;
  uint16_t pi = 0xC0DE;
  std::array<uint8_t, 64> radio_text{};
  std::array<uint8_t, 64> ps_name{};
  uint8_t ps_mode = 0;
  uint8_t ps_rate = 1;
  std::array<uint8_t, 8> rt_plus{};
  uint8_t pty = 0;
  std::array<uint16_t, 25> af_list{};
};

}  // namespace fmrsim
