// The first-generation radio's command set. The panel writes its controls
// into the parameter block, calls one operation and shows the block again;
// each operation packs its request from the block, sends it, checks the
// radio's status word, copies the reply fields back and logs the outcome
// ("Sending to mobile..." then "OK" or one error line).
#pragma once

#include <cstdint>
#include <string>

#include "gen1/fmr_messages.h"
#include "gen1/fmr_parameters.h"
#include "gen1/sonvio_function.h"

namespace gen1 {

class CKelboFMRFunction : public CSonvioFunction {
 public:
  explicit CKelboFMRFunction(const common::ModuleContext& context) : CSonvioFunction(context) {}

  FmrParameters& parameters() { return params_; }
  const FmrParameters& parameters() const { return params_; }
  // The request records as last rebuilt from the parameter block.
  const FmrRequests& requests() const { return requests_; }

  // Test-function messages (ids and record sizes: kFmrMessages); each
  // returns true only for full success.
  bool RxPowerOn() { return Exchange(FmrMessage::kRxPowerOn); }
  bool RxPowerOff() { return Exchange(FmrMessage::kRxPowerOff); }
  bool ReadRxStatus() { return Exchange(FmrMessage::kReadRxStatus); }
  bool RxTune() { return Exchange(FmrMessage::kRxTune); }
  bool WriteRxAudio() { return Exchange(FmrMessage::kWriteRxAudio); }
  bool ReadRxAudio() { return Exchange(FmrMessage::kReadRxAudio); }
  bool AccessRds() { return Exchange(FmrMessage::kAccessRds); }
  bool AccessRssi() { return Exchange(FmrMessage::kAccessRssi); }
  bool AccessRegister() { return Exchange(FmrMessage::kAccessRegister); }
  bool WriteGain() { return Exchange(FmrMessage::kWriteGain); }
  bool ReadGain() { return Exchange(FmrMessage::kReadGain); }
  bool SetAntenna() { return Exchange(FmrMessage::kSetAntenna); }
  bool SetTestTone() { return Exchange(FmrMessage::kSetTestTone); }
  bool TxPowerOn() { return Exchange(FmrMessage::kTxPowerOn); }
  bool TxPowerOff() { return Exchange(FmrMessage::kTxPowerOff); }
  bool TxTune() { return Exchange(FmrMessage::kTxTune); }
  bool TxScan() { return Exchange(FmrMessage::kTxScan); }
  bool WriteTxAudio() { return Exchange(FmrMessage::kWriteTxAudio); }
  bool WriteTxRds() { return Exchange(FmrMessage::kWriteTxRds); }
  bool SetChirp() { return Exchange(FmrMessage::kSetChirp); }
  bool ReadTxStatus() { return Exchange(FmrMessage::kReadTxStatus); }
  // `accepted` receives the number of groups the radio took.
  bool SendRdsGroups(uint8_t& accepted);
  bool ReadRdsBlocks() { return Exchange(FmrMessage::kReadRdsBlocks); }
  bool ReadTxRds() { return Exchange(FmrMessage::kReadTxRds); }
  bool ReadPowerState() { return Exchange(FmrMessage::kReadPowerState); }
  bool ReadRadioInfo() { return Exchange(FmrMessage::kReadRadioInfo); }

  // Operations on the other host channels.

  // Reads the PMU register with "at@pmu:get_register(28)"; `value` is left
  // unchanged when the reply carries no "OK" and hexadecimal number.
  bool ReadPmuRegister(uint32_t& value);
  // Routes the audio to `destination` over the host's audio channel.
  bool SetAudioOutput(uint8_t destination);
  // A version text from the host's info channel; "?" when none came back.
  std::string ReadVersionText(uint8_t selector, uint8_t index);
  // Runs the radio's self test at `frequency` with AT commands, switching
  // the test functions on and off around it when the radio is not running.
  bool SelfTest(const std::string& frequency);

  // Logs the outcome line of `code` (and the host's error for a failed host
  // call); true only for 0.
  bool MapResult(SendOutcome outcome);

 private:
  // The common flow of a test-function message: rebuild the records when it
  // has a request, send, test the status word, copy the reply.
  bool Exchange(FmrMessage message);

  FmrRequests requests_;
  FmrParameters params_;
};

}  // namespace gen1
