#include "gen2/aud_app.h"

#include "gen2/at_command.h"
#include "gen2/at_reply.h"
#include "gen2/aud_app_fields.h"

namespace MANAGED_IF {
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
  return DecodeReply(Read(Command("at@audapp:fmr_get_version")), version, kReadFields);
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
  return DecodeReply(Read(Command("at@audapp:fmrx_get_auto_seek_report")), report, kReadFields);
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
  return DecodeReply(Read(Command("at@audapp:fmrx_get_rds_data")), report, kReadFields);
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
  return DecodeReply(Read(Command("at@audapp:fmrx_get_static_config")), config, kReadFields);
}

int32_t aud_app::fmrx_get_dynamic_data(T_DynamicData& data) {
  return DecodeReply(Read(Command("at@audapp:fmrx_get_dynamic_data")), data, kReadFields);
}

}  // namespace MANAGED_IF
