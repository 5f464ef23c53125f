#include "gen1/fmr_replies.h"

#include "common/le_bytes.h"

namespace gen1 {

namespace {

// An array of single bytes (or characters) from `offset` on.
template <typename T, size_t N>
void GetBytes(ReplySpan r, size_t offset, std::array<T, N>& bytes) {
  static_assert(sizeof(T) == 1);
  for (size_t i = 0; i < N; ++i) bytes[i] = static_cast<T>(common::le::GetU8(r, offset + i));
}

// An array of 16-bit words from `offset` on.
template <size_t N>
void GetWords(ReplySpan r, size_t offset, std::array<uint16_t, N>& words) {
  for (size_t i = 0; i < N; ++i) words[i] = common::le::GetU16(r, offset + 2 * i);
}

// The receive audio block (18 bytes from `at`), which the receive status
// reply carries at byte 18 and the audio reply at byte 2.
void GetRxAudio(ReplySpan r, size_t at, FmrParameters& p) {
  p.volume = common::le::GetU16(r, at + 0);
  p.mute = common::le::GetU8(r, at + 2);
  p.outputPath = common::le::GetU8(r, at + 3);
  p.deEmphasis = common::le::GetU8(r, at + 4);
  p.sncOn = common::le::GetU8(r, at + 5);
  p.sncStep = common::le::GetU16(r, at + 6);
  p.sncLowThreshold = common::le::GetS16(r, at + 8);
  p.sncHighThreshold = common::le::GetS16(r, at + 10);
  p.softMuteOn = common::le::GetU8(r, at + 12);
  p.softMuteStep = common::le::GetU16(r, at + 14);
  p.softMuteThreshold = common::le::GetS16(r, at + 16);
}

}  // namespace

void CopyRxStatus(ReplySpan r, FmrParameters& p) {
  p.frequencyHz = common::le::GetU32(r, 4);
  p.stereo = common::le::GetU8(r, 8);
  p.pilotFrequencyHz = common::le::GetU32(r, 12);
  p.rssi = common::le::GetS16(r, 16);
  GetRxAudio(r, 18, p);
  GetBytes(r, 36, p.rxStatusReserved);
  p.rxStatusWord = common::le::GetU16(r, 44);
  p.rdsRxErrors = common::le::GetU16(r, 46);
}

void CopyRxTune(ReplySpan r, FmrParameters& p) {
  p.frequencyHz = common::le::GetU32(r, 4);
  p.rssi = common::le::GetS16(r, 8);
  p.stereo = common::le::GetU8(r, 10);
}

void CopyRxAudioWrite(ReplySpan r, FmrParameters& p) {
  p.stereo = common::le::GetU8(r, 2);
}

void CopyRxAudio(ReplySpan r, FmrParameters& p) {
  GetRxAudio(r, 2, p);
  p.stereo = common::le::GetU8(r, 20);
}

void CopyRds(ReplySpan r, FmrParameters& p) {
  p.rdsGroupCount = common::le::GetU8(r, 2);
  GetWords(r, 4, p.rdsBlocks);  // 16 groups of blocks A..D
  GetWords(r, 132, p.rdsGroupStatus);
  p.rdsReplyWord = common::le::GetU16(r, 164);
}

void CopyRssi(ReplySpan r, FmrParameters& p) {
  p.frequencyHz = common::le::GetU32(r, 4);
  p.pilotFrequencyHz = common::le::GetU32(r, 8);
  p.rssi = common::le::GetS16(r, 12);
  p.stereo = common::le::GetU8(r, 14);
}

void CopyRegister(ReplySpan r, FmrParameters& p) {
  p.regData = common::le::GetU32(r, 4);
}

void CopyGain(ReplySpan r, FmrParameters& p) {
  p.agcOn = common::le::GetU32(r, 4);
  p.lnaGain = common::le::GetU8(r, 8);
  p.ppfGain = common::le::GetU8(r, 9);
  p.externalLnaOn = common::le::GetU32(r, 12);
  p.externalLnaOffset = common::le::GetS8(r, 16);
  p.supplyVoltage = common::le::GetU8(r, 17);
  p.txOutputPower = common::le::GetS16(r, 18);
  p.intLnaReduction = common::le::GetU8(r, 20);
}

void CopyTxScan(ReplySpan r, FmrParameters& p) {
  p.txScanResultHz = common::le::GetU32(r, 4);
  p.txScanResultRssi = common::le::GetS16(r, 8);
}

void CopyTxStatus(ReplySpan r, FmrParameters& p) {
  p.frequencyHz = common::le::GetU32(r, 4);
  p.txOutputPower = common::le::GetS16(r, 8);
  p.bandMaxHz = common::le::GetU32(r, 12);
  p.bandMinHz = common::le::GetU32(r, 16);
  p.channelSpacing = common::le::GetU32(r, 20);
  p.preEmphasis = common::le::GetS8(r, 24);  // low byte of a 32-bit field
  p.txAudioMode = common::le::GetU8(r, 28);
  p.freqDeviationHz = common::le::GetU32(r, 32);
  p.pilotDeviationHz = common::le::GetU16(r, 36);
  p.rdsDeviationHz = common::le::GetU16(r, 38);
  p.rfMute = common::le::GetU32(r, 40);
  p.pilotOn = common::le::GetU32(r, 44);
  p.rdsState = static_cast<FmrSwitch>(common::le::GetU8(r, 48));
  p.volume = common::le::GetU16(r, 52);
  p.mute = common::le::GetU8(r, 56);
  p.modulationOn = common::le::GetU32(r, 60);
}

void CopyRdsBlocks(ReplySpan r, FmrParameters& p) {
  p.rdsBufferWord = common::le::GetU32(r, 4);
  p.rdsGroupCount = common::le::GetU8(r, 8);
  GetWords(r, 10, p.rdsBlocks);
}

void CopyTxRds(ReplySpan r, FmrParameters& p) {
  p.rdsState = static_cast<FmrSwitch>(common::le::GetU8(r, 2));
  p.rdsStackOn = common::le::GetU8(r, 3);
  p.rdsFeatures = common::le::GetU32(r, 4);
  p.rdsDeviationHz = common::le::GetU16(r, 8);
  p.rdsDecoderMode = static_cast<RdsDecoderMode>(common::le::GetU8(r, 10));
  p.rdsPi = common::le::GetU16(r, 12);
  GetBytes(r, 14, p.rdsRadioText);
  GetBytes(r, 78, p.rdsPsName);
  p.rdsPsMode = common::le::GetU8(r, 142);
  p.rdsPsRate = common::le::GetU8(r, 143);
  GetBytes(r, 144, p.rdsRtPlus);
  p.rdsPty = common::le::GetU8(r, 152);
  GetWords(r, 154, p.rdsAfList);
}

void CopyPowerState(ReplySpan r, FmrParameters& p) {
  p.powerState = static_cast<PowerState>(common::le::GetU32(r, 32));
}

void CopyRadioInfo(ReplySpan r, FmrParameters& p) {
  p.radioInfoWord = common::le::GetU32(r, 4);
}

}  // namespace gen1
