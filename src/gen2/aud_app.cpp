#include "gen2/aud_app.h"

#include <algorithm>
#include <array>

#include "gen2/at_command.h"
#include "gen2/at_reply.h"
#include "gen2/aud_app_fields.h"

namespace MANAGED_IF {

// The commands, named as their methods, in the order of their signatures in
// kAudAppCommands below.
enum class AudAppCommand : uint8_t {
  fmr_get_version,
  fmr_configure_audio_dst,
  fmrx_enable,
  fmr_disable,
  fmrx_set_band,
  fmrx_set_station,
  fmrx_set_sideband,
  fmrx_set_output_mode,
  fmrx_get_auto_seek_report,
  fmrx_forcemono,
  fmrx_set_antenna,
  fmrx_set_snc,
  fmrx_set_sm,
  fmrx_set_volume,
  fmrx_set_rds,
  fmrx_get_rds_data,
  fmrx_set_rssi,
  fmrx_set_gain_control,
  fmrx_get_static_config,
  fmrx_get_dynamic_data,
  kCount,
};

constexpr std::array<AtCommandSignature, static_cast<size_t>(AudAppCommand::kCount)>
    kAudAppCommands = [] {
      constexpr AtType u8 = AtType::kU8, u16 = AtType::kU16, s16 = AtType::kS16, u32 = AtType::kU32,
                       s32 = AtType::kS32;
      using S = AtCommandSignature;
      return std::array<AtCommandSignature, static_cast<size_t>(AudAppCommand::kCount)>{{
          S::Read<T_Version>("at@audapp:fmr_get_version"),
          S::Write("at@audapp:fmr_configure_audio_dst", u32),
          S::Write("at@audapp:fmrx_enable"),
          S::Write("at@audapp:fmr_disable"),
          S::Write("at@audapp:fmrx_set_band", u32, u32, u32, u32),
          S::Write("at@audapp:fmrx_set_station", u32, u32, s16, u32),
          S::Write("at@audapp:fmrx_set_sideband", u32),
          S::Write("at@audapp:fmrx_set_output_mode", u32),
          S::Read<T_AutoSeekReport>("at@audapp:fmrx_get_auto_seek_report"),
          S::Write("at@audapp:fmrx_forcemono", u32),
          S::Write("at@audapp:fmrx_set_antenna", u32),
          S::Write("at@audapp:fmrx_set_snc", s16, s16, s32),
          S::Write("at@audapp:fmrx_set_sm", s16, u16, s32),
          S::Write("at@audapp:fmrx_set_volume", u32, u8),
          S::Write("at@audapp:fmrx_set_rds", s32, u32, u32),
          S::Read<T_RdsReport>("at@audapp:fmrx_get_rds_data"),
          S::Write("at@audapp:fmrx_set_rssi", s32, s16, s16),
          S::Write("at@audapp:fmrx_set_gain_control", s32, u32),
          S::Read<T_StaticConfig>("at@audapp:fmrx_get_static_config"),
          S::Read<T_DynamicData>("at@audapp:fmrx_get_dynamic_data"),
      }};
    }();

static_assert(std::ranges::none_of(kAudAppCommands, [](const auto& c) { return c.name.empty(); }),
              "a signature for every command");

static constexpr const AtCommandSignature& SignatureOf(AudAppCommand command) {
  return kAudAppCommands[static_cast<size_t>(command)];
}

std::span<const AtCommandSignature> aud_app::Commands() {
  return kAudAppCommands;
}

aud_app::aud_app(TransportWrapper& wrapper) : session_(wrapper.context()) {
  command_text_.reserve(kCommandTextCapacity);
  session_.CopyIds(wrapper);
  session_.Open();
}

T_Result aud_app::Exchange(const AtCommandSignature& command,
                           std::initializer_list<int64_t> values) {
  AtCommand text(command_text_, command.name);
  const AtType* type = command.argument_types.data();
  for (const int64_t value : values) text.Value(*type++, value);
  return session_.Exchange(text.Text());
}

template <AudAppCommand C, typename... Values>
int32_t aud_app::Write(Values... values) {
  constexpr AtCommandSignature command = SignatureOf(C);
  static_assert(command.reply == AtReplyKind::kStatus, "a read command decodes its reply");
  static_assert(sizeof...(Values) == command.argument_count, "one value per argument");
  return Exchange(command, {static_cast<int64_t>(values)...}).code;
}

template <AudAppCommand C, typename Record>
int32_t aud_app::Read(Record& record) {
  constexpr AtCommandSignature command = SignatureOf(C);
  static_assert(command.reply == kReplyKindOf<Record>, "the command's own reply record");
  static_assert(command.argument_count == 0);
  return DecodeReply(Exchange(command, {}), record, kReadFields);
}

int32_t aud_app::fmr_get_version(T_Version& version) {
  return Read<AudAppCommand::fmr_get_version>(version);
}

int32_t aud_app::fmr_configure_audio_dst(uint32_t destination) {
  return Write<AudAppCommand::fmr_configure_audio_dst>(destination);
}

int32_t aud_app::fmrx_enable() {
  return Write<AudAppCommand::fmrx_enable>();
}

int32_t aud_app::fmr_disable() {
  return Write<AudAppCommand::fmr_disable>();
}

int32_t aud_app::fmrx_set_band(const T_Band& band) {
  return Write<AudAppCommand::fmrx_set_band>(band.upper_limit, band.lower_limit, band.spacing,
                                             band.deemphasis);
}

int32_t aud_app::fmrx_set_station(const T_Station& station) {
  return Write<AudAppCommand::fmrx_set_station>(station.mode, station.frequency, station.min_rssi,
                                                station.force_mono);
}

int32_t aud_app::fmrx_set_sideband(uint32_t sideband) {
  return Write<AudAppCommand::fmrx_set_sideband>(sideband);
}

int32_t aud_app::fmrx_set_output_mode(uint32_t mode) {
  return Write<AudAppCommand::fmrx_set_output_mode>(mode);
}

int32_t aud_app::fmrx_get_auto_seek_report(T_AutoSeekReport& report) {
  return Read<AudAppCommand::fmrx_get_auto_seek_report>(report);
}

int32_t aud_app::fmrx_forcemono(uint32_t force_mono) {
  return Write<AudAppCommand::fmrx_forcemono>(force_mono);
}

int32_t aud_app::fmrx_set_antenna(uint32_t antenna) {
  return Write<AudAppCommand::fmrx_set_antenna>(antenna);
}

int32_t aud_app::fmrx_set_snc(const T_Snc& snc) {
  return Write<AudAppCommand::fmrx_set_snc>(snc.low_threshold, snc.high_threshold, snc.enable);
}

int32_t aud_app::fmrx_set_sm(const T_SoftMute& soft_mute) {
  return Write<AudAppCommand::fmrx_set_sm>(soft_mute.threshold, soft_mute.step_size,
                                           soft_mute.enable);
}

int32_t aud_app::fmrx_set_volume(const T_Volume& volume) {
  return Write<AudAppCommand::fmrx_set_volume>(volume.channel, volume.level);
}

int32_t aud_app::fmrx_set_rds(const T_Rds& rds) {
  return Write<AudAppCommand::fmrx_set_rds>(rds.enable, rds.mode, rds.interval_ms);
}

int32_t aud_app::fmrx_get_rds_data(T_RdsReport& report) {
  return Read<AudAppCommand::fmrx_get_rds_data>(report);
}

int32_t aud_app::fmrx_set_rssi(const T_RssiAlert& alert) {
  return Write<AudAppCommand::fmrx_set_rssi>(alert.enable, alert.low_alert, alert.high_alert);
}

int32_t aud_app::fmrx_set_gain_control(const T_GainControl& gain) {
  return Write<AudAppCommand::fmrx_set_gain_control>(gain.agc, gain.gain_index);
}

int32_t aud_app::fmrx_get_static_config(T_StaticConfig& config) {
  return Read<AudAppCommand::fmrx_get_static_config>(config);
}

int32_t aud_app::fmrx_get_dynamic_data(T_DynamicData& data) {
  return Read<AudAppCommand::fmrx_get_dynamic_data>(data);
}

}  // namespace MANAGED_IF
