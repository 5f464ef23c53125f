// Argument and reply records of the audio-application command set. Fields
// are in the order of the command's arguments or of the reply's values.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace MANAGED_IF {

// Tuning modes of a station record.
enum TuningMode : uint32_t {
  kTuneToFrequency = 0,
  kSeekUpWrap = 1,
  kSeekDownWrap = 2,
  kSeekUpNoWrap = 3,
  kSeekDownNoWrap = 4,
  kAutoSeek = 5,
};

// Argument records.

struct T_Band {
  uint32_t upper_limit = 0;  // Hz
  uint32_t lower_limit = 0;  // Hz
  uint32_t spacing = 0;      // Hz
  uint32_t deemphasis = 0;   // selection index

  bool operator==(const T_Band&) const = default;
};

struct T_Station {
  uint32_t mode = kTuneToFrequency;
  uint32_t frequency = 0;  // Hz
  int16_t min_rssi = 0;
  uint32_t force_mono = 0;

  bool operator==(const T_Station&) const = default;
};

struct T_Snc {
  int16_t low_threshold = 0;
  int16_t high_threshold = 0;
  int32_t enable = 0;

  bool operator==(const T_Snc&) const = default;
};

struct T_SoftMute {
  int16_t threshold = 0;
  uint16_t step_size = 0;
  int32_t enable = 0;

  bool operator==(const T_SoftMute&) const = default;
};

// Channel selectors of a volume record.
enum VolumeChannel : uint32_t { kVolumeBoth = 0, kVolumeLeft = 1, kVolumeRight = 2 };

struct T_Volume {
  uint32_t channel = kVolumeBoth;
  uint8_t level = 0;

  bool operator==(const T_Volume&) const = default;
};

struct T_Rds {
  int32_t enable = 0;
  uint32_t mode = 0;         // decoder mode
  uint32_t interval_ms = 0;  // reporting interval

  bool operator==(const T_Rds&) const = default;
};

struct T_RssiAlert {
  int32_t enable = 0;
  int16_t low_alert = 0;
  int16_t high_alert = 0;

  bool operator==(const T_RssiAlert&) const = default;
};

struct T_GainControl {
  int32_t agc = 0;
  uint32_t gain_index = 0;

  bool operator==(const T_GainControl&) const = default;
};

// Reply records.

struct T_Version {
  std::array<uint8_t, 16> manufacturer_id{};
  std::array<uint8_t, 16> hardware_id{};
  std::array<uint8_t, 24> hardware_id_ext{};
  std::array<uint8_t, 100> version_text{};  // "SW..." then "FW..."

  bool operator==(const T_Version&) const = default;
};

constexpr size_t kAutoSeekStations = 50;

struct T_AutoSeekReport {
  uint8_t station_count = 0;
  std::array<uint32_t, kAutoSeekStations> frequencies{};
  std::array<int16_t, kAutoSeekStations> rssi{};

  bool operator==(const T_AutoSeekReport&) const = default;
};

constexpr size_t kRdsReportEntries = 28;

struct T_RdsReport {
  std::array<uint16_t, kRdsReportEntries> block_a{};
  std::array<uint16_t, kRdsReportEntries> block_b{};
  std::array<uint16_t, kRdsReportEntries> block_c{};
  std::array<uint16_t, kRdsReportEntries> block_d{};
  std::array<uint32_t, kRdsReportEntries> column5{};
  std::array<uint32_t, kRdsReportEntries> column6{};
  std::array<int32_t, kRdsReportEntries> column7{};

  bool operator==(const T_RdsReport&) const = default;
};

struct T_StaticConfig {
  uint32_t upper_limit = 0;
  uint32_t lower_limit = 0;
  uint32_t spacing = 0;
  uint32_t deemphasis = 0;
  uint32_t force_mono = 0;
  uint32_t antenna = 0;
  uint32_t output_mode = 0;  // non-zero: DSP
  int32_t agc = 0;
  uint32_t gain_index = 0;
  int32_t rssi_alert_enable = 0;
  int16_t rssi_low_alert = 0;
  int16_t rssi_high_alert = 0;
  int32_t mute = 0;
  int16_t snc_low_threshold = 0;
  int16_t snc_high_threshold = 0;
  int32_t snc_enable = 0;
  int16_t softmute_threshold = 0;
  uint16_t softmute_step_size = 0;
  int32_t softmute_enable = 0;
  uint32_t reserved = 0;  // reported, not shown
  uint8_t left_volume = 0;
  uint8_t right_volume = 0;

  bool operator==(const T_StaticConfig&) const = default;
};

struct T_DynamicData {
  uint32_t state = 0;  // 0 off, 1 receiving, 2 transmitting, 3 test mode
  uint32_t frequency = 0;
  uint32_t stereo = 0;
  uint32_t pilot = 0;
  int16_t rssi = 0;
  uint32_t injection_side = 0;  // non-zero: low side
  uint16_t phase_noise = 0;
  int32_t frequency_offset = 0;
  uint16_t pilot_amplitude = 0;
  uint32_t seek_status = 0;  // 0 success, 1 failed, 2 ongoing, 4 stopped, 5 invalid
  int32_t reserved1 = 0;     // reported, not shown
  uint32_t reserved2 = 0;
  int32_t reserved3 = 0;

  bool operator==(const T_DynamicData&) const = default;
};

// The text in a character array: up to its first zero (or its end).
template <size_t N>
std::string ArrayText(const std::array<uint8_t, N>& chars) {
  std::string text;
  for (uint8_t c : chars) {
    if (c == 0) break;
    text += static_cast<char>(c);
  }
  return text;
}

}  // namespace MANAGED_IF
