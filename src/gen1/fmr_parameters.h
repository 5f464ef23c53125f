// The first-generation parameter block: the panel writes its controls into
// it before every operation and shows it again afterwards; replies copy
// their fields into it. Fields in the radio's order, each with its width and
// sign (u = unsigned, s = signed); flags are 0/1. The flags a handler sets
// for its request are typed with their wire values. The block starts out
// zeroed.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <type_traits>

namespace gen1 {

// Wire flags, each with the values its request byte (or word) carries.
// Switches with a "no change" value: RDS reception, RSSI reporting.
enum class FmrSwitch : uint8_t { kOff = 0, kOn = 1, kNoChange = 0xFF };
enum class RdsDecoderMode : uint8_t { kRds = 0, kRbds = 1, kNoChange = 0xFF };
enum class RssiAccess : uint8_t { kWrite = 0, kRead = 1 };
enum class RegAccess : uint32_t { kRead = 0, kWrite = 1 };
enum class TuneAction : uint8_t { kTune = 0, kSeekUp = 1, kSeekDown = 2 };
// The test tone and the chirp.
enum class TestSignal : uint32_t { kOff = 0, kOn = 1 };
enum class PowerState : uint32_t { kOff = 0, kReceiving = 1, kTransmitting = 2 };

// The value a flag puts on the wire (and a reply's value is cast back).
template <typename E>
constexpr std::underlying_type_t<E> WireValue(E flag) {
  return static_cast<std::underlying_type_t<E>>(flag);
}

inline constexpr size_t kRdsRxGroups = 16;    // groups one RDS reply holds
inline constexpr size_t kRdsTxGroups = 20;    // groups one transmit request holds
inline constexpr size_t kRdsTextBytes = 64;   // radio text, PS name
inline constexpr size_t kRdsRtPlusBytes = 8;  // radio text plus
inline constexpr size_t kRdsAfEntries = 25;   // alternative frequencies

struct FmrParameters {
  uint32_t frequencyHz = 0;              // tuned frequency, Hz
  int16_t scanMinRssi = 0;               // minimum RSSI a seek accepts, dBuV
  uint8_t forceMono = 0;                 // force mono reception
  uint32_t bandMaxHz = 0;                // upper band edge, Hz
  uint32_t bandMinHz = 0;                // lower band edge, Hz
  uint32_t channelSpacing = 0;           // 50000, 100000 or 200000 Hz
  uint8_t sideband = 0;                  // 0 low, 1 high, 2 auto
  uint16_t volume = 0;                   // volume level
  uint8_t mute = 0;                      // audio mute
  uint8_t outputPath = 0;                // 0 DAC, 1 SRC
  uint8_t deEmphasis = 0;                // 0 = 50 us, 1 = 75 us
  uint8_t sncOn = 0;                     // stereo noise cancellation
  uint16_t sncStep = 0;                  // SNC step size
  int16_t sncLowThreshold = 0;           // dBuV
  int16_t sncHighThreshold = 0;          // dBuV
  uint8_t softMuteOn = 0;                // soft mute
  uint16_t softMuteStep = 0;             // soft-mute step size
  int16_t softMuteThreshold = 0;         // dBuV
  FmrSwitch rdsState = FmrSwitch::kOff;  // RDS reception
  RdsDecoderMode rdsDecoderMode = RdsDecoderMode::kRds;
  FmrSwitch rssiState = FmrSwitch::kOff;                // RSSI reporting
  int16_t rssiOffset = 0;                               // dBuV
  int16_t rssiLowAlert = 0;                             // dBuV
  int16_t rssiHighAlert = 0;                            // dBuV
  uint8_t stereo = 0;                                   // stereo indicator (replies only)
  uint32_t pilotFrequencyHz = 0;                        // measured pilot frequency (replies only)
  int16_t rssi = 0;                                     // RSSI at the antenna, dBuV (replies only)
  std::array<uint8_t, 8> rxStatusReserved{};            // status bytes without a consumer
  uint16_t rxStatusWord = 0;                            // status word without a consumer
  uint16_t rdsRxErrors = 0;                             // RDS receive errors (replies only)
  TuneAction tuneAction = TuneAction::kTune;            // kTune: to frequencyHz
  uint8_t rdsGroupCount = 0;                            // groups held in rdsBlocks (replies only)
  std::array<uint16_t, 4 * kRdsRxGroups> rdsBlocks{};   // blocks A..D of each group
  std::array<uint16_t, kRdsRxGroups> rdsGroupStatus{};  // status word per group
  uint16_t rdsReplyWord = 0;                            // last word of the RDS reply, no consumer
  RssiAccess rssiAccess = RssiAccess::kWrite;           // the RSSI settings
  RegAccess regAccess = RegAccess::kRead;               // a register
  uint16_t regAddress = 0;                              // register address
  uint32_t regData = 0;                                 // register value
  uint32_t agcOn = 0;                                   // AGC on
  uint8_t lnaGain = 0;                                  // LNA gain index
  uint8_t ppfGain = 0;                                  // PPF gain index
  uint32_t externalLnaOn = 0;                           // external LNA on
  int8_t externalLnaOffset = 0;                         // external LNA offset, dB
  uint8_t supplyVoltage = 0;                            // supply voltage index
  int16_t txOutputPower = 0;                            // transmit output power
  uint8_t intLnaReduction = 0;                          // internal LNA reduction index
  uint32_t antenna = 0;                                 // 0 internal, 1 external
  uint32_t mode = 0;                                    // 0 receive, 1 transmit
  TestSignal toneOn = TestSignal::kOff;                 // test tone
  uint16_t toneLeftFreqHz = 0;                          // left tone frequency
  uint32_t toneLeftAmplitude = 0;                       // left tone amplitude
  uint32_t toneLeftPhase = 0;                           // left tone phase
  uint16_t toneRightFreqHz = 0;                         // right tone frequency
  uint32_t toneRightAmplitude = 0;                      // right tone amplitude
  uint32_t toneRightPhase = 0;                          // right tone phase
  int8_t preEmphasis = 0;                               // 0 = 50 us, 1 = 75 us
  uint8_t txAudioMode = 0;                              // 0 mono, 1 stereo
  uint32_t freqDeviationHz = 0;                         // frequency deviation
  uint16_t pilotDeviationHz = 0;                        // pilot deviation
  uint16_t rdsDeviationHz = 0;                          // RDS deviation
  uint32_t rfMute = 0;                                  // RF mute
  uint32_t pilotOn = 0;                                 // pilot tone on
  uint32_t modulationOn = 0;                            // modulation on
  uint16_t rdsPi = 0;                                   // programme identification
  std::array<char, kRdsTextBytes> rdsRadioText{};       // radio text
  std::array<char, kRdsTextBytes> rdsPsName{};          // programme service name
  uint8_t rdsPsMode = 0;                                // 0 static, 1 scroll, 2 page
  uint8_t rdsPsRate = 0;                                // PS display update rate
  std::array<char, kRdsRtPlusBytes> rdsRtPlus{};        // radio text plus
  uint8_t rdsPty = 0;                                   // programme type code
  std::array<uint16_t, kRdsAfEntries> rdsAfList{};      // alternative frequencies
  TestSignal chirpOn = TestSignal::kOff;                // chirp
  uint32_t rdsBufferWord = 0;                           // word of the RDS block reply, no consumer
  uint32_t txScanResultHz = 0;                          // transmit scan result (replies only)
  int16_t txScanResultRssi = 0;                         // transmit scan result RSSI (replies only)
  uint32_t txScanStartHz = 0;                           // transmit scan start
  uint32_t txScanStopHz = 0;                            // transmit scan stop
  int16_t txScanMinRssi = 0;                            // transmit scan minimum RSSI
  PowerState powerState = PowerState::kOff;             // replies only
  uint32_t radioInfoWord = 0;                           // word of the radio-info reply, no consumer
  uint8_t rdsStackOn = 0;                               // RDS stack on
  uint32_t rdsFeatures = 0;                             // RDS feature bit mask
  uint8_t rdsTxGroupCount = 0;                          // groups in rdsTxGroups, 0 to 20
  std::array<std::array<uint16_t, 4>, kRdsTxGroups> rdsTxGroups{};  // blocks A..D

  bool operator==(const FmrParameters&) const = default;
};

}  // namespace gen1
