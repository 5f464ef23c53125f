// The simulated FM radio shared by both handset simulators: a band of
// stations, tuning, seeking, signal levels, registers and RDS groups built
// from the station data. Protocol-neutral: the first-generation responder
// and the second-generation AT server translate their messages into it.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace fmrsim {

// A RadioText+ tag: a part of the radio text and what it is.
struct TextTag {
  uint8_t content_type = 0;  // 1 title, 4 artist, 33 programme now ... (0: none)
  uint8_t start = 0;
  uint8_t length = 0;  // 1..32 (the second tag of a group: 1..32 as well)
};

struct Station {
  uint32_t frequency_hz;
  int level_dbuv;  // signal level at the antenna
  bool stereo;
  uint16_t pi;             // programme identification
  std::string ps;          // programme service name, 8 characters
  std::string radio_text;  // up to 64 characters
  uint8_t pty;             // programme type, 0..31
  bool tp;                 // traffic programme
  // The same programme elsewhere, own frequency first (at most 7; only
  // 87.6 to 107.9 MHz can be sent).
  std::vector<uint32_t> alternative_frequencies_hz = {};
  uint8_t extended_country_code = 0;  // 0: no 1A groups
  // Local time offset in half hours; nullopt: no clock-time groups.
  std::optional<int> clock_offset_half_hours = std::nullopt;
  std::array<TextTag, 2> text_tags = {};  // RadioText+ when the first has a type
  // Blocks lost in every hundred, whatever the level (0: the level decides).
  unsigned block_loss_percent = 0;
};

struct Band {
  uint32_t low_hz;
  uint32_t high_hz;
  uint32_t spacing_hz;
};

inline constexpr Band kEuropeUsBand{87500000, 108000000, 100000};
inline constexpr Band kJapanBand{76000000, 90000000, 100000};

struct RdsGroup {
  std::array<uint16_t, 4> blocks;  // A, B, C, D
};

class RadioModel {
 public:
  // A band of stations in both bands (see DefaultStations).
  RadioModel();
  explicit RadioModel(std::vector<Station> stations);

  static std::vector<Station> DefaultStations();
  const std::vector<Station>& stations() const { return stations_; }

  // Level reported where no station transmits.
  int noise_floor_dbuv() const { return noise_floor_dbuv_; }
  void set_noise_floor_dbuv(int level) { noise_floor_dbuv_ = level; }

  void PowerOn(bool transmit);
  void PowerOff();
  bool powered() const { return powered_; }
  bool transmitting() const { return transmit_; }

  const Band& band() const { return band_; }
  // Sets the band; the frequency moves into it when outside.
  void SetBand(const Band& band);

  uint32_t frequency_hz() const { return frequency_hz_; }
  // Tunes to any frequency (a real chip tunes outside the band limits too,
  // within its synthesiser range); false outside 64 to 108 MHz.
  bool Tune(uint32_t frequency_hz);

  // Seeks from the current frequency in steps of the band spacing for the
  // next station at or above `min_level`; at a band edge it wraps to the
  // other edge when `wrap` is set, and stops at the edge otherwise. Tunes to
  // what it found (or to the edge where it stopped); nullopt when no station.
  std::optional<uint32_t> Seek(bool up, int min_level, bool wrap);
  // Every station of the band at or above `min_level`, lowest first.
  std::vector<uint32_t> ScanBand(int min_level) const;

  // The station on the current frequency, or null.
  const Station* CurrentStation() const;
  // Signal level at the current frequency (dBuV).
  int Rssi() const;
  int RssiAt(uint32_t frequency_hz) const;
  bool Stereo() const;

  // The next RDS group the current station sends, in a repeating cycle:
  // four 0A groups (programme service name and alternative frequencies),
  // sixteen 2A groups (radio text), then as the station has them 1A
  // (extended country code), 4A (clock time, from kClockStartUtcMinutes on
  // by the groups sent), 3A and 11A (RadioText+ announced and its tags).
  // Nullopt without a station or while switched off.
  std::optional<RdsGroup> NextRdsGroup();
  // Groups generated since power-on.
  uint32_t rds_group_count() const { return rds_group_count_; }
  // The clock the stations send: 2026-12-07 09:30 UTC at power-on, then
  // advancing 1/11.4 s per group.
  static constexpr uint32_t kClockStartMjd = 61381;
  static constexpr uint32_t kClockStartUtcMinutes = 9 * 60 + 30;

  // What the handset's own transmitter put on air at `frequency_hz`: a
  // receiver tuned there later hears a station (kAirLevelDbuv, stereo) that
  // sends the last kAirGroups groups transmitted, over and over. A group on
  // another frequency starts the loop anew; a table station's frequency
  // keeps the table station.
  static constexpr size_t kAirGroups = 64;
  static constexpr int kAirLevelDbuv = 60;
  void PutOnAir(uint32_t frequency_hz, const RdsGroup& group);

  // Chip registers; unwritten registers read their reset values.
  uint16_t ReadRegister(uint32_t address) const;
  void WriteRegister(uint32_t address, uint16_t value);

 private:
  const Station* StationAt(uint32_t frequency_hz) const;
  RdsGroup BasicTuningGroup(const Station& s, uint16_t segment) const;
  RdsGroup ExtraGroup(const Station& s, uint32_t index) const;

  std::vector<Station> stations_;
  int noise_floor_dbuv_ = 8;
  bool powered_ = false;
  bool transmit_ = false;
  Band band_ = kEuropeUsBand;
  uint32_t frequency_hz_ = 87500000;
  uint32_t rds_step_ = 0;
  uint32_t rds_group_count_ = 0;
  std::map<uint32_t, uint16_t> registers_;
  Station air_station_{0, kAirLevelDbuv, true, 0, "", "", 0, false};
  std::vector<RdsGroup> air_groups_;  // oldest first
};

}  // namespace fmrsim
