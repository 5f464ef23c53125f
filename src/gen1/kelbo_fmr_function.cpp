#include "gen1/kelbo_fmr_function.h"

#include "common/le_bytes.h"

bool CKelboFMRFunction::Exchange(uint16_t message_id, std::span<const uint8_t> request,
                                 uint16_t reply_length, ReplyCopy copy) {
  if (!request.empty()) BuildRequests(params_, requests_);
  ReplyBytes& reply = ReplyBuffer();
  const SendOutcome result =
      SendTestFunction(message_id, static_cast<uint16_t>(request.size()),
                       request.empty() ? nullptr : request.data(), reply_length, reply);
  if (result != SendOutcome::kCarried) return MapResult(result);
  if (ReplyStatus(reply) != 1) return MapResult(SendOutcome::kStatusError);
  if (copy != nullptr) copy(ReplySpan(reply.data(), reply_length), params_);
  return MapResult(SendOutcome::kCarried);
}

bool CKelboFMRFunction::RxPowerOn() {
  return Exchange(0x01, requests_.rxPowerOn, 2, nullptr);
}
bool CKelboFMRFunction::RxPowerOff() {
  return Exchange(0x02, {}, 2, nullptr);
}
bool CKelboFMRFunction::ReadRxStatus() {
  return Exchange(0x03, {}, 48, CopyRxStatus);
}
bool CKelboFMRFunction::RxTune() {
  return Exchange(0x04, requests_.rxTune, 12, CopyRxTune);
}
bool CKelboFMRFunction::WriteRxAudio() {
  return Exchange(0x05, requests_.rxAudio, 4, CopyRxAudioWrite);
}
bool CKelboFMRFunction::ReadRxAudio() {
  return Exchange(0x06, {}, 22, CopyRxAudio);
}
bool CKelboFMRFunction::AccessRds() {
  return Exchange(0x07, requests_.rds, 168, CopyRds);
}
bool CKelboFMRFunction::AccessRssi() {
  return Exchange(0x08, requests_.rssi, 16, CopyRssi);
}
bool CKelboFMRFunction::AccessRegister() {
  return Exchange(0x0C, requests_.reg, 8, CopyRegister);
}
bool CKelboFMRFunction::WriteGain() {
  return Exchange(0x0D, requests_.gain, 2, nullptr);
}
bool CKelboFMRFunction::ReadGain() {
  return Exchange(0x0E, {}, 24, CopyGain);
}
bool CKelboFMRFunction::SetAntenna() {
  return Exchange(0x0F, requests_.antenna, 2, nullptr);
}
bool CKelboFMRFunction::SetTestTone() {
  return Exchange(0x10, requests_.testTone, 2, nullptr);
}
bool CKelboFMRFunction::TxPowerOn() {
  return Exchange(0x11, requests_.txPowerOn, 2, nullptr);
}
bool CKelboFMRFunction::TxPowerOff() {
  return Exchange(0x12, {}, 2, nullptr);
}
bool CKelboFMRFunction::TxTune() {
  return Exchange(0x13, requests_.txTune, 2, nullptr);
}
bool CKelboFMRFunction::TxScan() {
  return Exchange(0x14, requests_.txScan, 12, CopyTxScan);
}
bool CKelboFMRFunction::WriteTxAudio() {
  return Exchange(0x15, requests_.txAudio, 2, nullptr);
}
bool CKelboFMRFunction::WriteTxRds() {
  return Exchange(0x16, requests_.txRds, 2, nullptr);
}
bool CKelboFMRFunction::SetChirp() {
  return Exchange(0x17, requests_.chirp, 2, nullptr);
}
bool CKelboFMRFunction::ReadTxStatus() {
  return Exchange(0x18, {}, 64, CopyTxStatus);
}
bool CKelboFMRFunction::ReadRdsBlocks() {
  return Exchange(0x1A, {}, 252, CopyRdsBlocks);
}
bool CKelboFMRFunction::ReadTxRds() {
  return Exchange(0x1B, {}, 204, CopyTxRds);
}
bool CKelboFMRFunction::ReadPowerState() {
  return Exchange(0x23, {}, 56, CopyPowerState);
}
bool CKelboFMRFunction::ReadRadioInfo() {
  return Exchange(0x3A, {}, 16, CopyRadioInfo);
}

bool CKelboFMRFunction::SendRdsGroups(uint8_t& accepted) {
  const bool ok = Exchange(0x19, requests_.rdsGroups, 4, nullptr);
  if (ok) accepted = le::GetU8(ReplyBuffer(), 2);
  return ok;
}

bool CKelboFMRFunction::MapResult(SendOutcome outcome) {
  switch (outcome) {
    case SendOutcome::kCarried:
      LogOk();
      return true;
    case SendOutcome::kHostFailed:
      Log("ERROR: MERSH_DLL_ERROR", LogFlag::kFailure);
      ReportHostError();
      return false;
    case SendOutcome::kLengthMismatch:
      Log("ERROR: OUTPUT_SIZE_NOT_MATCH", LogFlag::kFailure);
      return false;
    case SendOutcome::kStatusError:
      Log("ERROR: FMR_STATUS_ERROR", LogFlag::kFailure);
      return false;
  }
  Log("ERROR: ERROR_NOT_DEFINED", LogFlag::kFailure);
  return false;
}
