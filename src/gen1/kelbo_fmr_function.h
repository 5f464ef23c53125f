// The first-generation radio's command set. The panel writes its controls
// into the parameter block, calls one operation and shows the block again;
// each operation packs its request from the block, sends it, checks the
// radio's status word, copies the reply fields back and logs the outcome
// ("Sending to mobile..." then "OK" or one error line).
#pragma once

#include <cstdint>
#include <string>

#include "gen1/fmr_parameters.h"
#include "gen1/fmr_replies.h"
#include "gen1/fmr_requests.h"
#include "gen1/sonvio_function.h"

class CKelboFMRFunction : public CSonvioFunction {
 public:
  explicit CKelboFMRFunction(const ModuleContext& context) : CSonvioFunction(context) {}

  FmrParameters& parameters() { return params_; }
  const FmrParameters& parameters() const { return params_; }
  // The request records as last rebuilt from the parameter block.
  const FmrRequests& requests() const { return requests_; }

  // Test-function messages; each returns true only for full success.
  bool RxPowerOn();       // 0x01
  bool RxPowerOff();      // 0x02
  bool ReadRxStatus();    // 0x03
  bool RxTune();          // 0x04
  bool WriteRxAudio();    // 0x05
  bool ReadRxAudio();     // 0x06
  bool AccessRds();       // 0x07
  bool AccessRssi();      // 0x08
  bool AccessRegister();  // 0x0C
  bool WriteGain();       // 0x0D
  bool ReadGain();        // 0x0E
  bool SetAntenna();      // 0x0F
  bool SetTestTone();     // 0x10
  bool TxPowerOn();       // 0x11
  bool TxPowerOff();      // 0x12
  bool TxTune();          // 0x13
  bool TxScan();          // 0x14
  bool WriteTxAudio();    // 0x15
  bool WriteTxRds();      // 0x16
  bool SetChirp();        // 0x17
  bool ReadTxStatus();    // 0x18
  // 0x19: `accepted` receives the number of groups the radio took.
  bool SendRdsGroups(uint8_t& accepted);
  bool ReadRdsBlocks();   // 0x1A
  bool ReadTxRds();       // 0x1B
  bool ReadPowerState();  // 0x23
  bool ReadRadioInfo();   // 0x3A

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
  // The common flow of a test-function message: rebuild the records when
  // `request` is not empty, send, test the status word, copy the reply.
  bool Exchange(uint16_t message_id, std::span<const uint8_t> request, uint16_t reply_length,
                ReplyCopy copy);

  FmrRequests requests_;
  FmrParameters params_;
};
