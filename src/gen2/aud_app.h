// The command set of the handset's audio application, FM receiver part: one
// method per AT command. Each builds its command text, exchanges it over the
// object's own transport session and, for read commands, decodes the reply
// into the caller's record. Methods return 0 on success and 3 for an error
// reply or a reply that does not decode; a read command's record is only
// meaningful after 0.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>

#include "gen2/aud_app_commands.h"
#include "gen2/aud_app_records.h"
#include "gen2/transport_wrapper.h"

namespace MANAGED_IF {

// The commands of the command set, one per method (defined with their
// signatures in aud_app.cpp).
enum class AudAppCommand : uint8_t;

class aud_app {
 public:
  // Copies the ids of `wrapper` (a new, unopened one) into the session this
  // object holds, then opens that session.
  explicit aud_app(TransportWrapper& wrapper);
  virtual ~aud_app() = default;
  aud_app(const aud_app&) = delete;
  aud_app& operator=(const aud_app&) = delete;

  int32_t fmr_get_version(T_Version& version);
  int32_t fmr_configure_audio_dst(uint32_t destination);
  int32_t fmrx_enable();
  int32_t fmr_disable();
  int32_t fmrx_set_band(const T_Band& band);
  int32_t fmrx_set_station(const T_Station& station);
  int32_t fmrx_set_sideband(uint32_t sideband);
  int32_t fmrx_set_output_mode(uint32_t mode);
  int32_t fmrx_get_auto_seek_report(T_AutoSeekReport& report);
  int32_t fmrx_forcemono(uint32_t force_mono);
  int32_t fmrx_set_antenna(uint32_t antenna);
  int32_t fmrx_set_snc(const T_Snc& snc);
  int32_t fmrx_set_sm(const T_SoftMute& soft_mute);
  int32_t fmrx_set_volume(const T_Volume& volume);
  int32_t fmrx_set_rds(const T_Rds& rds);
  int32_t fmrx_get_rds_data(T_RdsReport& report);
  int32_t fmrx_set_rssi(const T_RssiAlert& alert);
  int32_t fmrx_set_gain_control(const T_GainControl& gain);
  int32_t fmrx_get_static_config(T_StaticConfig& config);
  int32_t fmrx_get_dynamic_data(T_DynamicData& data);

  // The signatures of every command the methods send.
  static std::span<const AtCommandSignature> Commands();

  const TransportWrapper& session() const { return session_; }
  TransportWrapper& session() { return session_; }

 private:
  // Every command is built in one text kept for the next: the longest
  // command text fits without growing it.
  static constexpr size_t kCommandTextCapacity = 96;
  // Builds `command`'s text from its table entry, one value per argument,
  // each written as its argument's type, and exchanges it.
  T_Result Exchange(const AtCommandSignature& command, std::initializer_list<int64_t> values);
  // A write command: the exchange's code unchanged.
  template <AudAppCommand C, typename... Values>
  int32_t Write(Values... values);
  // A read command: its reply decoded into `record`.
  template <AudAppCommand C, typename Record>
  int32_t Read(Record& record);

  TransportWrapper session_;
  std::string command_text_;
};

}  // namespace MANAGED_IF
