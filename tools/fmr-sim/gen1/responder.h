// The first-generation handset as the host reaches it: the binary test
// functions of slot 77, the audio request of slot 15, the info request of
// slot 56 and the text commands of slot 54, answered from a RadioModel.
// Each entry point has the host send signature (without the communication
// handle) and returns the host's result; the reply is written with exactly
// the length the message calls for, after any injected fault.
//
// Host send contract: the caller's reply buffer holds at least 200 bytes,
// and for the longer binary replies (204 and 252 bytes) at least that many;
// text replies never exceed 200 bytes with their terminating zero.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "fmr-sim/gen1/faults.h"
#include "fmr-sim/gen1/messages.h"
#include "fmr-sim/gen1/rds_receiver.h"
#include "fmr-sim/gen1/rds_transmitter.h"
#include "fmr-sim/gen1/registers.h"
#include "fmr-sim/gen1/settings.h"
#include "fmr-sim/radio_model.h"

namespace fmrsim {

class Gen1Responder {
 public:
  explicit Gen1Responder(RadioModel& radio);

  bool SendTestFunction(uint16_t id, const uint8_t* request, uint16_t length,
                        uint16_t* reply_length, uint8_t* reply);
  bool SendAudioRequest(uint16_t id, const uint8_t* request, uint16_t length,
                        uint16_t* reply_length, uint8_t* reply);
  bool SendInfoRequest(uint16_t id, const uint8_t* request, uint16_t length, uint16_t* reply_length,
                       uint8_t* reply);
  // A text command of `length` characters (a terminating zero, if counted,
  // is ignored).
  bool SendAtCommand(uint16_t id, const uint8_t* request, uint16_t length, uint16_t* reply_length,
                     uint8_t* reply);

  // What the host's last-error function reports after the latest exchange:
  // "No errors" after a carried one.
  const std::string& last_error() const { return last_error_; }

  // Gen1Fault injection.
  Gen1FaultTable& faults() { return faults_; }
  const Gen1FaultTable& faults() const { return faults_; }
  void InjectFault(uint16_t message_id, Gen1Fault fault);
  void InjectSlotFault(int slot, Gen1Fault fault);
  // A fault in the command-line syntax of ParseGen1Fault.
  bool AddFault(std::string_view rule, std::string& error);

  // Configuration.
  void set_version_text(std::string text) { version_text_ = std::move(text); }
  const std::string& version_text() const { return version_text_; }
  void set_pmu_register(uint32_t index, uint32_t value) { pmu_registers_[index] = value; }

  // State, for tests and diagnostics.
  RadioModel& radio() { return radio_; }
  const RxAudioSettings& rx_audio() const { return rx_audio_; }
  const RxTuning& rx_tuning() const { return rx_tuning_; }
  const RssiSettings& rssi_settings() const { return rssi_; }
  const GainSettings& gain() const { return gain_; }
  const ToneSettings& tone() const { return tone_; }
  const TxSettings& tx() const { return tx_; }
  const TxRdsSettings& tx_rds() const { return tx_rds_; }
  RdsReceiver& rds_receiver() { return rds_rx_; }
  RdsTransmitter& rds_transmitter() { return rds_tx_; }
  uint32_t antenna() const { return antenna_; }
  uint32_t chirp_on() const { return chirp_on_; }
  uint16_t audio_destination() const { return audio_destination_; }
  bool test_mode() const { return test_mode_; }

 private:
  using Request = std::span<const uint8_t>;
  using Out = std::span<uint8_t>;

  // A reply built before faults are applied and it is handed over.
  struct Reply {
    std::array<uint8_t, gen1::kMaxReplyBytes> bytes{};
    uint16_t length = 0;   // the reply length the host reports
    uint16_t written = 0;  // bytes to copy (a text's terminating zero included)
  };

  bool Fail(std::string text);
  bool Deliver(const Reply& reply, const std::optional<Gen1Fault>& fault, uint16_t* reply_length,
               uint8_t* out);
  // A binary exchange of a known shape: request size check, status word,
  // handler.
  template <typename Handler>
  bool Exchange(int slot, const gen1::MessageShape& shape, const uint8_t* request, uint16_t length,
                uint16_t* reply_length, uint8_t* out, Handler handler);
  uint16_t Dispatch(uint16_t id, Request req, Out out);

  // Measurements as the radio reports them (RSSI with the offset applied;
  // zero while switched off).
  int16_t ReportedRssi() const;
  uint8_t ReportedStereo() const;
  uint32_t PilotFrequency() const;
  uint16_t RxStatusWord() const;
  bool ValidBand(uint32_t low_hz, uint32_t high_hz, uint32_t spacing_hz) const;
  // The start both power-on requests share: the frequency at byte 0 and the
  // band (upper edge, lower edge, spacing) at bytes 8 to 19. Powers the radio
  // up for receiving or transmitting on that band, tuned to the frequency or,
  // when it lies outside, to the lower band edge. Empty, with nothing
  // changed, for a band the tuner cannot take.
  std::optional<Band> PowerOnFromRequest(Request req, bool transmit);

  // Receive side (receive.cpp).
  uint16_t OnProbe(Out out);
  uint16_t OnRxPowerOn(Request req);
  uint16_t OnRxPowerOff();
  uint16_t OnReadRxStatus(Out out);
  uint16_t OnRxTune(Request req, Out out);
  uint16_t OnWriteRxAudio(Request req, Out out);
  uint16_t OnReadRxAudio(Out out);
  uint16_t OnAccessRds(Request req, Out out);
  uint16_t OnAccessRssi(Request req, Out out);
  uint16_t OnAccessRegister(Request req, Out out);
  uint16_t OnWriteGain(Request req);
  uint16_t OnReadGain(Out out);
  uint16_t OnSetAntenna(Request req);
  uint16_t OnReadPowerState(Out out);
  uint16_t OnReadRadioInfo(Out out);

  // Transmit side and test signals (transmit.cpp).
  uint16_t OnSetTestTone(Request req);
  uint16_t OnTxPowerOn(Request req);
  uint16_t OnTxPowerOff();
  uint16_t OnTxTune(Request req);
  uint16_t OnTxScan(Request req, Out out);
  uint16_t OnWriteTxAudio(Request req);
  uint16_t OnWriteTxRds(Request req);
  uint16_t OnSetChirp(Request req);
  uint16_t OnReadTxStatus(Out out);
  uint16_t OnSendRdsGroups(Request req, Out out);
  uint16_t OnReadRdsBlocks(Out out);
  uint16_t OnReadTxRds(Out out);
  bool RdsOnAir() const;

  // Other slots (text_commands.cpp).
  uint16_t OnSetAudioOutput(Request req, Out out);
  std::string AnswerAtCommand(std::string_view command);
  std::string SelfTestStatus(std::string_view frequency_text);

  RadioModel& radio_;
  std::string last_error_ = "No errors";
  Gen1FaultTable faults_;

  RxAudioSettings rx_audio_;
  RxTuning rx_tuning_;
  RssiSettings rssi_;
  GainSettings gain_;
  ToneSettings tone_;
  TxSettings tx_;
  TxRdsSettings tx_rds_;
  Gen1Registers registers_;
  RdsReceiver rds_rx_;
  RdsTransmitter rds_tx_;
  uint32_t antenna_ = 0;
  uint32_t chirp_on_ = 0;
  uint16_t audio_destination_ = 0;
  bool test_mode_ = false;
  bool powered_by_test_mode_ = false;
  std::string version_text_ = "KF1021 rev 3 firmware 2.14.0 (build 0613)";
  std::map<uint32_t, uint32_t> pmu_registers_;
};

}  // namespace fmrsim
