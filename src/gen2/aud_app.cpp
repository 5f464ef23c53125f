#include "gen2/aud_app.h"

#include "gen2/at_command.h"
#include "gen2/at_reply.h"

namespace MANAGED_IF {
namespace {

// Field readers: every field in reply order.

void ReadVersion(mi_istringstream& in, T_Version& r) {
  in.Extract(r.manufacturer_id);
  in.Extract(r.hardware_id);
  in.Extract(r.hardware_id_ext);
  in.Extract(r.version_text);
}

void ReadAutoSeekReport(mi_istringstream& in, T_AutoSeekReport& r) {
  in.Extract(r.station_count);
  in.Extract(r.frequencies);
  in.Extract(r.rssi);
}

void ReadRdsReport(mi_istringstream& in, T_RdsReport& r) {
  in.Extract(r.block_a);
  in.Extract(r.block_b);
  in.Extract(r.block_c);
  in.Extract(r.block_d);
  in.Extract(r.column5);
  in.Extract(r.column6);
  in.Extract(r.column7);
}

void ReadStaticConfig(mi_istringstream& in, T_StaticConfig& r) {
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

void ReadDynamicData(mi_istringstream& in, T_DynamicData& r) {
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

}  // namespace

aud_app::aud_app(TransportWrapper& wrapper) : session_(wrapper.context()) {
  command_text_.reserve(kCommandTextCapacity);
  session_.CopyIds(wrapper);
  session_.Open();
}

AtCommand aud_app::Command(std::string_view name) {
  return AtCommand(command_text_, name);
}

int32_t aud_app::Write(const AtCommand& command) {
  return Read(command).code;
}

T_Result aud_app::Read(const AtCommand& command) {
  return session_.Exchange(command.Text());
}

int32_t aud_app::fmr_get_version(T_Version& version) {
  return DecodeReply(Read(Command("at@audapp:fmr_get_version")), version, ReadVersion);
}

int32_t aud_app::fmr_configure_audio_dst(uint32_t destination) {
  return Write(Command("at@audapp:fmr_configure_audio_dst").u32(destination));
}

int32_t aud_app::fmrx_enable() {
  return Write(Command("at@audapp:fmrx_enable"));
}

int32_t aud_app::fmr_disable() {
  return Write(Command("at@audapp:fmr_disable"));
}

int32_t aud_app::fmrx_set_band(const T_Band& band) {
  return Write(Command("at@audapp:fmrx_set_band")
                   .u32(band.upper_limit)
                   .u32(band.lower_limit)
                   .u32(band.spacing)
                   .u32(band.deemphasis));
}

int32_t aud_app::fmrx_set_station(const T_Station& station) {
  return Write(Command("at@audapp:fmrx_set_station")
                   .u32(station.mode)
                   .u32(station.frequency)
                   .s16(station.min_rssi)
                   .u32(station.force_mono));
}

int32_t aud_app::fmrx_set_sideband(uint32_t sideband) {
  return Write(Command("at@audapp:fmrx_set_sideband").u32(sideband));
}

int32_t aud_app::fmrx_set_output_mode(uint32_t mode) {
  return Write(Command("at@audapp:fmrx_set_output_mode").u32(mode));
}

int32_t aud_app::fmrx_get_auto_seek_report(T_AutoSeekReport& report) {
  return DecodeReply(Read(Command("at@audapp:fmrx_get_auto_seek_report")), report,
                     ReadAutoSeekReport);
}

int32_t aud_app::fmrx_forcemono(uint32_t force_mono) {
  return Write(Command("at@audapp:fmrx_forcemono").u32(force_mono));
}

int32_t aud_app::fmrx_set_antenna(uint32_t antenna) {
  return Write(Command("at@audapp:fmrx_set_antenna").u32(antenna));
}

int32_t aud_app::fmrx_set_snc(const T_Snc& snc) {
  return Write(Command("at@audapp:fmrx_set_snc")
                   .s16(snc.low_threshold)
                   .s16(snc.high_threshold)
                   .s32(snc.enable));
}

int32_t aud_app::fmrx_set_sm(const T_SoftMute& soft_mute) {
  return Write(Command("at@audapp:fmrx_set_sm")
                   .s16(soft_mute.threshold)
                   .u16(soft_mute.step_size)
                   .s32(soft_mute.enable));
}

int32_t aud_app::fmrx_set_volume(const T_Volume& volume) {
  return Write(Command("at@audapp:fmrx_set_volume").u32(volume.channel).u8(volume.level));
}

int32_t aud_app::fmrx_set_rds(const T_Rds& rds) {
  return Write(
      Command("at@audapp:fmrx_set_rds").s32(rds.enable).u32(rds.mode).u32(rds.interval_ms));
}

int32_t aud_app::fmrx_get_rds_data(T_RdsReport& report) {
  return DecodeReply(Read(Command("at@audapp:fmrx_get_rds_data")), report, ReadRdsReport);
}

int32_t aud_app::fmrx_set_rssi(const T_RssiAlert& alert) {
  return Write(Command("at@audapp:fmrx_set_rssi")
                   .s32(alert.enable)
                   .s16(alert.low_alert)
                   .s16(alert.high_alert));
}

int32_t aud_app::fmrx_set_gain_control(const T_GainControl& gain) {
  return Write(Command("at@audapp:fmrx_set_gain_control").s32(gain.agc).u32(gain.gain_index));
}

int32_t aud_app::fmrx_get_static_config(T_StaticConfig& config) {
  return DecodeReply(Read(Command("at@audapp:fmrx_get_static_config")), config, ReadStaticConfig);
}

int32_t aud_app::fmrx_get_dynamic_data(T_DynamicData& data) {
  return DecodeReply(Read(Command("at@audapp:fmrx_get_dynamic_data")), data, ReadDynamicData);
}

}  // namespace MANAGED_IF
