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

struct Station {
  uint32_t frequency_hz;
  int level_dbuv;  // signal level at the antenna
  bool stereo;
  uint16_t pi;             // programme identification
  std::string ps;          // programme service name, 8 characters
  std::string radio_text;  // up to 64 characters
  uint8_t pty;             // programme type, 0..31
  bool tp;                 // traffic programme
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

  // The next RDS group the current station sends: 0A groups carrying the
  // programme service name, then 2A groups carrying the radio text, in a
  // repeating cycle. Nullopt without a station or while switched off.
  std::optional<RdsGroup> NextRdsGroup();
  // Groups generated since power-on.
  uint32_t rds_group_count() const { return rds_group_count_; }

  // Chip registers; unwritten registers read their reset values.
  uint16_t ReadRegister(uint32_t address) const;
  void WriteRegister(uint32_t address, uint16_t value);

 private:
  const Station* StationAt(uint32_t frequency_hz) const;

  std::vector<Station> stations_;
  int noise_floor_dbuv_ = 8;
  bool powered_ = false;
  bool transmit_ = false;
  Band band_ = kEuropeUsBand;
  uint32_t frequency_hz_ = 87500000;
  uint32_t rds_step_ = 0;
  uint32_t rds_group_count_ = 0;
  std::map<uint32_t, uint16_t> registers_;
};

}  // namespace fmrsim
