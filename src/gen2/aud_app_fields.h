// The fields of each reply record in reply order, read by any reader with
// the reply reader's extractions (the command set's own, or a reference
// reader in the tests).
#pragma once

#include "gen2/aud_app_records.h"

namespace MANAGED_IF {

template <typename Reader>
void ReadFields(Reader& in, T_Version& r) {
  in.Extract(r.manufacturer_id);
  in.Extract(r.hardware_id);
  in.Extract(r.hardware_id_ext);
  in.Extract(r.version_text);
}

template <typename Reader>
void ReadFields(Reader& in, T_AutoSeekReport& r) {
  in.Extract(r.station_count);
  in.Extract(r.frequencies);
  in.Extract(r.rssi);
}

template <typename Reader>
void ReadFields(Reader& in, T_RdsReport& r) {
  in.Extract(r.block_a);
  in.Extract(r.block_b);
  in.Extract(r.block_c);
  in.Extract(r.block_d);
  in.Extract(r.column5);
  in.Extract(r.column6);
  in.Extract(r.column7);
}

template <typename Reader>
void ReadFields(Reader& in, T_StaticConfig& r) {
  in.Extract(r.upper_limit);
  in.Extract(r.lower_limit);
  in.Extract(r.spacing);
  in.Extract(r.deemphasis);
  in.Extract(r.force_mono);
  in.Extract(r.antenna);
  in.Extract(r.output_mode);
  in.Extract(r.agc);
  in.Extract(r.gain_index);
  in.Extract(r.rssi_alert_enable);
  in.Extract(r.rssi_low_alert);
  in.Extract(r.rssi_high_alert);
  in.Extract(r.mute);
  in.Extract(r.snc_low_threshold);
  in.Extract(r.snc_high_threshold);
  in.Extract(r.snc_enable);
  in.Extract(r.softmute_threshold);
  in.Extract(r.softmute_step_size);
  in.Extract(r.softmute_enable);
  in.Extract(r.reserved);
  in.Extract(r.left_volume);
  in.Extract(r.right_volume);
}

template <typename Reader>
void ReadFields(Reader& in, T_DynamicData& r) {
  in.Extract(r.state);
  in.Extract(r.frequency);
  in.Extract(r.stereo);
  in.Extract(r.pilot);
  in.Extract(r.rssi);
  in.Extract(r.injection_side);
  in.Extract(r.phase_noise);
  in.Extract(r.frequency_offset);
  in.Extract(r.pilot_amplitude);
  in.Extract(r.seek_status);
  in.Extract(r.reserved1);
  in.Extract(r.reserved2);
  in.Extract(r.reserved3);
}

// ReadFields as a value, for DecodeReply.
inline constexpr auto kReadFields = [](auto& in, auto& record) { ReadFields(in, record); };

}  // namespace MANAGED_IF
