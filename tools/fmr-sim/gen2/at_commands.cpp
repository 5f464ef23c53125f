#include "fmr-sim/gen2/at_commands.h"

#include <algorithm>
#include <span>

namespace fmrsim {
namespace {

// Short names for the argument tables.
constexpr AtType u8 = AtType::kU8;
constexpr AtType u16 = AtType::kU16;
constexpr AtType s16 = AtType::kS16;
constexpr AtType u32 = AtType::kU32;
constexpr AtType s32 = AtType::kS32;

constexpr uint32_t kSynthLowHz = 64000000;
constexpr uint32_t kSynthHighHz = 108000000;
// The finest raster the tuner steps on (reported by fmr_get_cap). A finer
// one would make a seek step through tens of millions of channels.
constexpr uint32_t kFinestSpacingHz = 50000;

// Identity texts of the simulated chip. The version text carries the
// software package part ("SW ...") before the firmware part ("FW ..."); the
// panel drops the text's last character, hence the trailing blank.
constexpr std::string_view kManufacturer = "DRUSK";
constexpr std::string_view kHardwareId = "DR947";
constexpr std::string_view kHardwareIdExtension = "-B2 FMRX";
constexpr std::string_view kVersionText = "SW 2.4.17 FW 5.12.3 ";
constexpr std::string_view kChipVersionLine = "+CHIPVER: DR947 rev 2";

// RDS arrives at about 11.4 groups per second.
constexpr int64_t kRdsGroupsPer10s = 114;

AtReply Ok(std::vector<std::string> lines = {}) {
  return AtReply{std::move(lines), true};
}
AtReply Error() {
  return AtReply{{}, false};
}

std::vector<int64_t> Widened(const std::vector<uint32_t>& values, size_t size) {
  std::vector<int64_t> out(size, 0);
  for (size_t i = 0; i < values.size() && i < size; ++i) out[i] = values[i];
  return out;
}

void Append(std::vector<std::string>& lines, std::vector<std::string> more) {
  for (std::string& line : more) lines.push_back(std::move(line));
}

}  // namespace

std::string FramedReply(const AtReply& reply) {
  std::string out;
  for (const std::string& line : reply.lines) out += line + "\r\n";
  out += reply.ok ? "OK\r\n" : "ERROR\r\n";
  return out;
}

AtCommands::AtCommands(RadioModel& radio) : radio_(radio) {}

std::span<const AtCommands::Signature> AtCommands::Signatures() {
  constexpr uint16_t kVersionChars[] = {16, 16, 24, 100};
  constexpr auto kStations = static_cast<uint16_t>(kMaxStations);
  constexpr auto kEntries = static_cast<uint16_t>(kRdsEntries);
  constexpr auto kPoints = static_cast<uint16_t>(kMaxSweepPoints);
  constexpr auto kSplits = static_cast<uint16_t>(kMaxLnaSplits);
  // clang-format off
  static const std::vector<Signature> signatures = {
      {"audapp", "fmr_get_version", {}, &AtCommands::GetVersion,
       {{"manufacturer", u8, kVersionChars[0]}, {"hardware_id", u8, kVersionChars[1]},
        {"hardware_id_extension", u8, kVersionChars[2]}, {"version_text", u8, kVersionChars[3]}}},
      {"audapp", "fmr_configure_audio_dst", {u32}, &AtCommands::ConfigureAudioDst},
      {"audapp", "fmrx_enable", {}, &AtCommands::Enable},
      {"audapp", "fmr_disable", {}, &AtCommands::Disable},
      {"audapp", "fmrx_set_band", {u32, u32, u32, u32}, &AtCommands::SetBand},
      {"audapp", "fmrx_set_station", {u32, u32, s16, u32}, &AtCommands::SetStation},
      {"audapp", "fmrx_set_sideband", {u32}, &AtCommands::SetSideband},
      {"audapp", "fmrx_set_output_mode", {u32}, &AtCommands::SetOutputMode},
      {"audapp", "fmrx_get_auto_seek_report", {}, &AtCommands::GetAutoSeekReport,
       {{"station_count", u8}, {"frequency", u32, kStations}, {"rssi", s16, kStations}}},
      {"audapp", "fmrx_forcemono", {u32}, &AtCommands::ForceMono},
      {"audapp", "fmrx_set_antenna", {u32}, &AtCommands::SetAntenna},
      {"audapp", "fmrx_set_snc", {s16, s16, s32}, &AtCommands::SetSnc},
      {"audapp", "fmrx_set_sm", {s16, u16, s32}, &AtCommands::SetSoftMute},
      {"audapp", "fmrx_set_volume", {u32, u8}, &AtCommands::SetVolume},
      {"audapp", "fmrx_set_rds", {s32, u32, u32}, &AtCommands::SetRds},
      {"audapp", "fmrx_get_rds_data", {}, &AtCommands::GetRdsData,
       {{"block_a", u16, kEntries}, {"block_b", u16, kEntries}, {"block_c", u16, kEntries},
        {"block_d", u16, kEntries}, {"group_type", u32, kEntries}, {"sequence", u32, kEntries},
        {"rssi", s32, kEntries}}},
      {"audapp", "fmrx_set_rssi", {s32, s16, s16}, &AtCommands::SetRssi},
      {"audapp", "fmrx_set_gain_control", {s32, u32}, &AtCommands::SetGainControl},
      {"audapp", "fmrx_get_static_config", {}, &AtCommands::GetStaticConfig,
       {{"band_upper"}, {"band_lower"}, {"spacing"}, {"deemphasis"}, {"force_mono"}, {"antenna"},
        {"output_mode"}, {"agc", s32}, {"gain_index"}, {"rssi_alert", s32}, {"rssi_low", s16},
        {"rssi_high", s16}, {"mute", s32}, {"snc_low", s16}, {"snc_high", s16},
        {"snc_enable", s32}, {"sm_threshold", s16}, {"sm_step", u16}, {"sm_enable", s32},
        {"audio_dst"}, {"volume_left", u8}, {"volume_right", u8}}},
      {"audapp", "fmrx_get_dynamic_data", {}, &AtCommands::GetDynamicData,
       {{"state"}, {"frequency"}, {"stereo"}, {"pilot"}, {"rssi", s16}, {"injection_side"},
        {"phase_noise", u16}, {"offset", s32}, {"pilot_amplitude", u16}, {"seek_status"},
        {"snr", s32}, {"rds_groups"}, {"rssi_alert", s32}}},
      {"audapp", "fmr_get_cap", {}, &AtCommands::GetCapabilities,
       {{"receive"}, {"transmit"}, {"synth_low"}, {"synth_high"}, {"finest_spacing"}}},
      {"audapp", "fmr_get_register_data", {}, &AtCommands::GetRegisterData,
       {{"register", u16, 16}}},
      {"audapp", "fmr_set_register_data", {u32, u16}, &AtCommands::SetRegisterData},
      {"audapp", "fmr_nvm_commit", {}, &AtCommands::Acknowledge},
      {"audapp", "fmrx_get_band_sweep_cap", {}, &AtCommands::GetBandSweepCap,
       {{"sweep"}, {"most_points"}}},
      {"audapp", "fmrx_start_band_sweep", {u32, u32, u32, u32, s16}, &AtCommands::StartBandSweep},
      {"audapp", "fmrx_stop_band_sweep", {}, &AtCommands::StopBandSweep},
      {"audapp", "fmrx_get_band_sweep_status", {}, &AtCommands::GetBandSweepStatus,
       {{"state"}, {"points"}}},
      {"audapp", "fmrx_get_band_sweep_report", {u32, u32}, &AtCommands::GetBandSweepReport,
       {{"rssi", s16, kPoints, true}}, false, "n: the points asked for"},
      {"audapp", "fmrx_measure_rssi", {u32, u32}, &AtCommands::MeasureRssi, {{"rssi", s16}}},
      {"audapp", "fmrx_set_hw_params", {s32, s32, s32, s32, s32, s32, s32},
       &AtCommands::Acknowledge},
      {"audapp", "fmrx_set_lna_cfg", {s32, s32}, &AtCommands::SetLnaConfig, {}, true},
      {"audapp", "fmrx_get_lna_cfg", {}, &AtCommands::GetLnaConfig,
       {{"split", s32, kSplits, true}, {"offset", s32, kSplits, true}}, false,
       "n: the band splits set, 2 at start"},
      // "+CHIPVER: DR947 rev 2": the digits of the chip's name, then its revision.
      {"ver", "get_chip_ver", {u32}, &AtCommands::GetChipVersion, {{"chip"}, {"revision"}}},
  };
  // clang-format on
  return signatures;
}

const AtCommands::Signature* AtCommands::FindSignature(std::string_view module,
                                                       std::string_view name) {
  for (const Signature& signature : Signatures()) {
    if (signature.module == module && signature.name == name) return &signature;
  }
  return nullptr;
}

AtReply AtCommands::Execute(std::string_view line) {
  const std::optional<AtCommandLine> command = ParseAtCommand(line);
  if (!command) return Error();
  const Signature* signature = FindSignature(command->module, command->name);
  if (signature == nullptr) return Error();
  const size_t count = command->arguments.size();
  if (signature->variadic ? count < signature->types.size() : count != signature->types.size())
    return Error();
  Args values;
  for (size_t i = 0; i < count; ++i) {
    const AtType type = signature->variadic ? signature->types.front() : signature->types[i];
    const std::optional<int64_t> value = ParseAtValue(command->arguments[i], type);
    if (!value) return Error();
    values.push_back(*value);
  }
  return (this->*signature->handler)(values);
}

// --- power and audio path ---------------------------------------------------

AtReply AtCommands::Enable(const Args&) {
  if (!radio_.powered()) {
    radio_.PowerOn(false);
    rds_entries_.clear();
  }
  return Ok();
}

AtReply AtCommands::Disable(const Args&) {
  if (searching_) StopAutoSearch(SeekStatus::kStopped);
  radio_.PowerOff();
  rds_entries_.clear();
  return Ok();
}

AtReply AtCommands::ConfigureAudioDst(const Args& a) {
  if (a[0] > 3) return Error();  // headset, earpiece, loudspeaker, none
  audio_dst_ = a[0];
  return Ok();
}

AtReply AtCommands::SetOutputMode(const Args& a) {
  if (a[0] > 1) return Error();  // 0 DAC, 1 DSP
  output_mode_ = a[0];
  return Ok();
}

AtReply AtCommands::SetVolume(const Args& a) {
  switch (a[0]) {
    case 0:
      volume_left_ = volume_right_ = a[1];
      return Ok();
    case 1:
      volume_left_ = a[1];
      return Ok();
    case 2:
      volume_right_ = a[1];
      return Ok();
    default:
      return Error();
  }
}

// --- receiver settings ------------------------------------------------------

AtReply AtCommands::SetBand(const Args& a) {
  const int64_t upper = a[0];
  const int64_t lower = a[1];
  const int64_t spacing = a[2];
  if (lower < kSynthLowHz || upper > kSynthHighHz || lower >= upper || spacing < kFinestSpacingHz ||
      spacing > upper - lower)
    return Error();
  radio_.SetBand(Band{static_cast<uint32_t>(lower), static_cast<uint32_t>(upper),
                      static_cast<uint32_t>(spacing)});
  deemphasis_ = a[3];  // stored as given; the chip falls back to 50 us
  return Ok();
}

AtReply AtCommands::SetSideband(const Args& a) {
  if (a[0] > 2) return Error();
  sideband_ = a[0];
  return Ok();
}

AtReply AtCommands::ForceMono(const Args& a) {
  force_mono_ = a[0] != 0;
  return Ok();
}

AtReply AtCommands::SetAntenna(const Args& a) {
  if (a[0] > 1) return Error();  // 0 internal, 1 external
  antenna_ = a[0];
  return Ok();
}

AtReply AtCommands::SetSnc(const Args& a) {
  snc_low_ = a[0];
  snc_high_ = a[1];
  snc_enable_ = a[2];
  return Ok();
}

AtReply AtCommands::SetSoftMute(const Args& a) {
  sm_threshold_ = a[0];
  sm_step_ = a[1];
  sm_enable_ = a[2];
  return Ok();
}

AtReply AtCommands::SetRssi(const Args& a) {
  rssi_alert_ = a[0];
  rssi_low_ = a[1];
  rssi_high_ = a[2];
  return Ok();
}

AtReply AtCommands::SetGainControl(const Args& a) {
  if (a[1] > 15) return Error();  // sixteen gain steps
  agc_ = a[0];
  gain_index_ = a[1];
  return Ok();
}

// --- tuning, seeking and the automatic search -------------------------------

AtReply AtCommands::SetStation(const Args& a) {
  const int64_t mode = a[0];
  const auto frequency = static_cast<uint32_t>(a[1]);
  const auto min_rssi = static_cast<int>(a[2]);
  if (!radio_.powered() || mode > 5) return Error();
  if (mode == 0 && (frequency < kSynthLowHz || frequency > kSynthHighHz)) return Error();
  force_mono_ = a[3] != 0;
  if (searching_) StopAutoSearch(SeekStatus::kStopped);
  rds_entries_.clear();

  if (mode == 0) {
    radio_.Tune(frequency);
  } else if (mode <= 4) {
    const bool up = mode == 1 || mode == 3;
    const bool wrap = mode == 1 || mode == 2;
    seek_status_ = radio_.Seek(up, min_rssi, wrap) ? SeekStatus::kSuccess : SeekStatus::kFailed;
  } else {
    std::vector<uint32_t> found = radio_.ScanBand(min_rssi);
    if (found.size() > kMaxStations) found.resize(kMaxStations);
    search_found_ = std::move(found);
    search_resume_hz_ = radio_.frequency_hz();
    search_polls_done_ = 0;
    searching_ = true;
    seek_status_ = SeekStatus::kOngoing;
  }
  return Ok();
}

void AtCommands::StopAutoSearch(SeekStatus status) {
  searching_ = false;
  seek_status_ = status;
  radio_.Tune(search_resume_hz_);
}

// One dynamic-data read during a search: the receiver sweeps the band and
// shows where it is; after the configured number of reads it has finished,
// keeps the list and stays on the first station found.
void AtCommands::AdvanceAutoSearch() {
  if (!searching_) return;
  if (search_polls_done_ >= auto_search_polls_) {
    report_frequencies_ = search_found_;
    report_rssi_.clear();
    for (uint32_t f : search_found_) report_rssi_.push_back(radio_.RssiAt(f));
    search_resume_hz_ = search_found_.empty() ? search_resume_hz_ : search_found_.front();
    StopAutoSearch(SeekStatus::kSuccess);
    return;
  }
  ++search_polls_done_;
  const Band& band = radio_.band();
  const uint32_t step = band.spacing_hz != 0 ? band.spacing_hz : 100000;
  const uint64_t channels = (band.high_hz - band.low_hz) / step;
  const uint64_t channel = channels * static_cast<uint64_t>(search_polls_done_) /
                           static_cast<uint64_t>(auto_search_polls_ + 1);
  radio_.Tune(band.low_hz + static_cast<uint32_t>(channel) * step);
}

AtReply AtCommands::GetAutoSeekReport(const Args&) {
  if (searching_) return Error();  // the list is not ready yet
  std::vector<std::string> lines{std::to_string(report_frequencies_.size())};
  Append(lines, BracedOverLines(Widened(report_frequencies_, kMaxStations), 10));
  std::vector<int64_t> rssi(kMaxStations, 0);
  std::copy(report_rssi_.begin(), report_rssi_.end(), rssi.begin());
  lines.push_back(Braced(rssi));
  return Ok(std::move(lines));
}

// --- RDS ----------------------------------------------------------------------

AtReply AtCommands::SetRds(const Args& a) {
  if (a[1] > 2) return Error();  // RDS, RBDS, MMBS
  rds_enable_ = a[0];
  rds_mode_ = a[1];
  rds_interval_ms_ = a[2];
  rds_entries_.clear();
  return Ok();
}

// Groups received since the last report: as many as arrive in one reporting
// interval, at least one, at most one report's worth.
void AtCommands::CollectRdsGroups() {
  if (rds_enable_ == 0) return;
  const int64_t groups =
      std::clamp<int64_t>(rds_interval_ms_ * kRdsGroupsPer10s / 10000, 1, kRdsEntries);
  for (int64_t i = 0; i < groups; ++i) {
    const std::optional<RdsGroup> group = radio_.NextRdsGroup();
    if (!group) break;
    if (GroupLost()) continue;
    RdsEntry entry;
    entry.blocks = group->blocks;
    entry.group_type = static_cast<uint32_t>(group->blocks[1] >> 11);
    entry.sequence = radio_.rds_group_count();
    entry.rssi = radio_.Rssi();
    rds_entries_.push_back(entry);
    if (rds_entries_.size() > kRdsEntries) rds_entries_.pop_front();
    if (rds_listener_) rds_listener_(*group);
  }
}

// The chip reports only groups it decoded whole: on a station with a set
// block loss rate, a group with any block lost does not appear.
bool AtCommands::GroupLost() {
  const Station* station = radio_.CurrentStation();
  if (station == nullptr || station->block_loss_percent == 0) return false;
  bool lost = false;
  for (int block = 0; block < 4; ++block) {
    // xorshift32, the same on every platform.
    loss_random_ ^= loss_random_ << 13;
    loss_random_ ^= loss_random_ >> 17;
    loss_random_ ^= loss_random_ << 5;
    if (loss_random_ % 100u < station->block_loss_percent) lost = true;
  }
  return lost;
}

AtReply AtCommands::GetRdsData(const Args&) {
  if (!radio_.powered()) return Error();
  CollectRdsGroups();
  // Seven arrays of 28; the newest entry is the last, older slots stay zero.
  std::array<std::vector<int64_t>, 7> columns;
  for (auto& column : columns) column.assign(kRdsEntries, 0);
  const size_t first = kRdsEntries - rds_entries_.size();
  for (size_t i = 0; i < rds_entries_.size(); ++i) {
    const RdsEntry& e = rds_entries_[i];
    for (size_t b = 0; b < 4; ++b) columns[b][first + i] = e.blocks[b];
    columns[4][first + i] = e.group_type;
    columns[5][first + i] = e.sequence;
    columns[6][first + i] = e.rssi;
  }
  std::vector<std::string> lines;
  for (size_t b = 0; b < 4; ++b) lines.push_back(Braced(columns[b]));
  lines.push_back(Joined(columns[4], " "));
  Append(lines, BracedOverLines(columns[5], 14));
  lines.push_back("{" + Joined(columns[6], ", ") + "}");
  return Ok(std::move(lines));
}

// --- read-outs ----------------------------------------------------------------

AtReply AtCommands::GetVersion(const Args&) {
  std::vector<std::string> lines{
      Braced(CharCodes(kManufacturer, 16)),
      Braced(CharCodes(kHardwareId, 16)) + "," + Braced(CharCodes(kHardwareIdExtension, 24))};
  Append(lines, BracedOverLines(CharCodes(kVersionText, 100), 25));
  return Ok(std::move(lines));
}

AtReply AtCommands::GetStaticConfig(const Args&) {
  const Band& band = radio_.band();
  const int64_t mute = (volume_left_ == 0 && volume_right_ == 0) ? 1 : 0;
  const int64_t b[] = {band.high_hz, band.low_hz, band.spacing_hz, deemphasis_};
  const int64_t path[] = {force_mono_ ? 1 : 0, antenna_, output_mode_};
  const int64_t gain[] = {agc_, gain_index_};
  const int64_t alert[] = {rssi_alert_, rssi_low_, rssi_high_};
  const int64_t snc[] = {snc_low_, snc_high_, snc_enable_};
  const int64_t sm[] = {sm_threshold_, sm_step_, sm_enable_};
  const int64_t volume[] = {volume_left_, volume_right_};
  return Ok({Braced(b), Joined(path, ","), Braced(gain), Braced(alert) + "," + std::to_string(mute),
             Braced(snc), Braced(sm), std::to_string(audio_dst_),
             "{" + Joined(volume, ", ") + "}"});
}

bool AtCommands::InjectionLowSide() const {
  if (sideband_ != 2) return sideband_ == 1;
  // Automatic: the side whose image channel (two intermediate frequencies
  // away) is quieter; the simulated band puts it below on even channels.
  return (radio_.frequency_hz() / 100000) % 2 == 0;
}

int64_t AtCommands::RssiAlertState() const {
  if (rssi_alert_ == 0 || !radio_.powered()) return 0;
  const int level = radio_.Rssi();
  if (level < rssi_low_) return -1;
  if (level > rssi_high_) return 1;
  return 0;
}

AtReply AtCommands::GetDynamicData(const Args&) {
  AdvanceAutoSearch();
  const bool on = radio_.powered();
  const Station* station = on ? radio_.CurrentStation() : nullptr;
  const uint32_t frequency = radio_.frequency_hz();
  const int64_t state = on ? (radio_.transmitting() ? 2 : 1) : 0;
  const bool pilot = station != nullptr && station->stereo;
  const int64_t stereo = pilot && !force_mono_ ? 1 : 0;
  const int64_t rssi = on ? radio_.Rssi() : 0;
  const int64_t channel = frequency / 100000;
  const int64_t phase_noise = on ? (station != nullptr ? 90 : 140) + channel % 23 : 0;
  const int64_t offset = station != nullptr ? (station->pi % 17 - 8) * 125 : 0;
  const int64_t pilot_amplitude = pilot ? 6400 + station->level_dbuv * 10 : 0;
  const int64_t snr = on ? rssi - radio_.noise_floor_dbuv() : 0;

  const int64_t head[] = {state, frequency, stereo, pilot ? 1 : 0};
  const int64_t rest[] = {rssi,
                          InjectionLowSide() ? 1 : 0,
                          phase_noise,
                          offset,
                          pilot_amplitude,
                          static_cast<int64_t>(seek_status_),
                          snr,
                          radio_.rds_group_count(),
                          RssiAlertState()};
  // The firmware prints this record in two ways, depending on which of its
  // tasks answers; alternate between them.
  if (dynamic_reads_++ % 2 == 1) return Ok({Braced(head), Braced(rest)});
  const std::span<const int64_t> r(rest);
  return Ok({Braced(head), Joined(r.first(5), ", "), std::to_string(r[5]), Braced(r.subspan(6))});
}

AtReply AtCommands::GetChipVersion(const Args&) {
  return Ok({std::string(kChipVersionLine)});
}

// --- commands the panel never sends -------------------------------------------

AtReply AtCommands::GetCapabilities(const Args&) {
  // Receive, no transmit, synthesiser range, finest spacing.
  const int64_t caps[] = {1, 0, kSynthLowHz, kSynthHighHz, kFinestSpacingHz};
  return Ok({Braced(caps)});
}

AtReply AtCommands::GetRegisterData(const Args&) {
  std::vector<int64_t> values;
  for (uint32_t address = 0; address < 16; ++address)
    values.push_back(radio_.ReadRegister(address));
  return Ok(BracedOverLines(values, 8));
}

AtReply AtCommands::SetRegisterData(const Args& a) {
  radio_.WriteRegister(static_cast<uint32_t>(a[0]), static_cast<uint16_t>(a[1]));
  return Ok();
}

AtReply AtCommands::Acknowledge(const Args&) {
  return Ok();
}

AtReply AtCommands::GetBandSweepCap(const Args&) {
  const int64_t caps[] = {
      1, static_cast<int64_t>(kMaxSweepPoints)};  // supported, most points per sweep
  return Ok({Braced(caps)});
}

// Arguments: start, stop, step (Hz), dwell time (ms), minimum level. The
// simulated sweep completes at once.
AtReply AtCommands::StartBandSweep(const Args& a) {
  const int64_t start = a[0];
  const int64_t stop = a[1];
  const int64_t step = a[2];
  if (step == 0 || start >= stop || start < kSynthLowHz || stop > kSynthHighHz) return Error();
  if ((stop - start) / step + 1 > static_cast<int64_t>(kMaxSweepPoints)) return Error();
  sweep_rssi_.clear();
  for (int64_t f = start; f <= stop; f += step)
    sweep_rssi_.push_back(std::max<int64_t>(radio_.RssiAt(static_cast<uint32_t>(f)), a[4]));
  return Ok();
}

AtReply AtCommands::StopBandSweep(const Args&) {
  return Ok();
}

AtReply AtCommands::GetBandSweepStatus(const Args&) {
  const int64_t status[] = {sweep_rssi_.empty() ? 0 : 2, static_cast<int64_t>(sweep_rssi_.size())};
  return Ok({Joined(status, " ")});  // 0 idle, 2 complete; number of points
}

AtReply AtCommands::GetBandSweepReport(const Args& a) {
  const auto offset = static_cast<size_t>(a[0]);
  const auto count = static_cast<size_t>(a[1]);
  if (offset > sweep_rssi_.size() || count > sweep_rssi_.size() - offset) return Error();
  const std::vector<int64_t> part(sweep_rssi_.begin() + static_cast<ptrdiff_t>(offset),
                                  sweep_rssi_.begin() + static_cast<ptrdiff_t>(offset + count));
  return Ok(BracedOverLines(part, 16));
}

AtReply AtCommands::MeasureRssi(const Args& a) {
  const auto frequency = static_cast<uint32_t>(a[0]);
  if (frequency < kSynthLowHz || frequency > kSynthHighHz || a[1] == 0) return Error();
  return Ok({std::to_string(radio_.RssiAt(frequency))});
}

// Two arrays of equal length: band split frequencies, then gain offsets.
AtReply AtCommands::SetLnaConfig(const Args& a) {
  if (a.size() % 2 != 0 || a.size() > 2 * kMaxLnaSplits) return Error();
  const auto half = static_cast<ptrdiff_t>(a.size() / 2);
  lna_split_.assign(a.begin(), a.begin() + half);
  lna_offsets_.assign(a.begin() + half, a.end());
  return Ok();
}

AtReply AtCommands::GetLnaConfig(const Args&) {
  return Ok({Braced(lna_split_) + "," + Braced(lna_offsets_)});
}

}  // namespace fmrsim
