#include "gen1/fmr_replies.h"

#include "common/le_bytes.h"

namespace {

// An array of single bytes (or characters) from `offset` on.
template <typename T, size_t N>
void GetBytes(ReplySpan r, size_t offset, std::array<T, N>& bytes) {
  static_assert(sizeof(T) == 1);
  for (size_t i = 0; i < N; ++i) bytes[i] = static_cast<T>(le::GetU8(r, offset + i));
}

// An array of 16-bit words from `offset` on.
template <size_t N>
void GetWords(ReplySpan r, size_t offset, std::array<uint16_t, N>& words) {
  for (size_t i = 0; i < N; ++i) words[i] = le::GetU16(r, offset + 2 * i);
}

// The receive audio block (18 bytes from `at`), which the receive status
// reply carries at byte 18 and the audio reply at byte 2.
void GetRxAudio(ReplySpan r, size_t at, FmrParameters& p) {
  p.volume = le::GetU16(r, at + 0);
  p.mute = le::GetU8(r, at + 2);
  p.outputPath = le::GetU8(r, at + 3);
  p.deEmphasis = le::GetU8(r, at + 4);
  p.sncOn = le::GetU8(r, at + 5);
  p.sncStep = le::GetU16(r, at + 6);
  p.sncLowThreshold = le::GetS16(r, at + 8);
  p.sncHighThreshold = le::GetS16(r, at + 10);
  p.softMuteOn = le::GetU8(r, at + 12);
  p.softMuteStep = le::GetU16(r, at + 14);
  p.softMuteThreshold = le::GetS16(r, at + 16);
}

}  // namespace

void CopyRxStatus(ReplySpan r, FmrParameters& p) {
  p.frequencyHz = le::GetU32(r, 4);
  p.stereo = le::GetU8(r, 8);
  p.pilotFrequencyHz = le::GetU32(r, 12);
  p.rssi = le::GetS16(r, 16);
  GetRxAudio(r, 18, p);
  GetBytes(r, 36, p.rxStatusReserved);
  p.rxStatusWord = le::GetU16(r, 44);
  p.rdsRxErrors = le::GetU16(r, 46);
}

void CopyRxTune(ReplySpan r, FmrParameters& p) {
  p.frequencyHz = le::GetU32(r, 4);
  p.rssi = le::GetS16(r, 8);
  p.stereo = le::GetU8(r, 10);
}

void CopyRxAudioWrite(ReplySpan r, FmrParameters& p) {
  p.stereo = le::GetU8(r, 2);
}

void CopyRxAudio(ReplySpan r, FmrParameters& p) {
  GetRxAudio(r, 2, p);
  p.stereo = le::GetU8(r, 20);
}

void CopyRds(ReplySpan r, FmrParameters& p) {
  p.rdsGroupCount = le::GetU8(r, 2);
  GetWords(r, 4, p.rdsBlocks);  // 16 groups of blocks A..D
  GetWords(r, 132, p.rdsGroupStatus);
  p.rdsReplyWord = le::GetU16(r, 164);
}

void CopyRssi(ReplySpan r, FmrParameters& p) {
  p.frequencyHz = le::GetU32(r, 4);
  p.pilotFrequencyHz = le::GetU32(r, 8);
  p.rssi = le::GetS16(r, 12);
  p.stereo = le::GetU8(r, 14);
}

void CopyRegister(ReplySpan r, FmrParameters& p) {
  p.regData = le::GetU32(r, 4);
}

void CopyGain(ReplySpan r, FmrParameters& p) {
  p.agcOn = le::GetU32(r, 4);
  p.lnaGain = le::GetU8(r, 8);
  p.ppfGain = le::GetU8(r, 9);
  p.externalLnaOn = le::GetU32(r, 12);
  p.externalLnaOffset = le::GetS8(r, 16);
  p.supplyVoltage = le::GetU8(r, 17);
  p.txOutputPower = le::GetS16(r, 18);
  p.intLnaReduction = le::GetU8(r, 20);
}

void CopyTxScan(ReplySpan r, FmrParameters& p) {
  p.txScanResultHz = le::GetU32(r, 4);
  p.txScanResultRssi = le::GetS16(r, 8);
}

void CopyTxStatus(ReplySpan r, FmrParameters& p) {
  p.frequencyHz = le::GetU32(r, 4);
  p.txOutputPower = le::GetS16(r, 8);
  p.bandMaxHz = le::GetU32(r, 12);
  p.bandMinHz = le::GetU32(r, 16);
  p.channelSpacing = le::GetU32(r, 20);
  p.preEmphasis = le::GetS8(r, 24);  // low byte of a 32-bit field
  p.txAudioMode = le::GetU8(r, 28);
  p.freqDeviationHz = le::GetU32(r, 32);
  p.pilotDeviationHz = le::GetU16(r, 36);
  p.rdsDeviationHz = le::GetU16(r, 38);
  p.rfMute = le::GetU32(r, 40);
  p.pilotOn = le::GetU32(r, 44);
  p.rdsState = static_cast<FmrSwitch>(le::GetU8(r, 48));
  p.volume = le::GetU16(r, 52);
  p.mute = le::GetU8(r, 56);
  p.modulationOn = le::GetU32(r, 60);
}

void CopyRdsBlocks(ReplySpan r, FmrParameters& p) {
  p.rdsBufferWord = le::GetU32(r, 4);
  p.rdsGroupCount = le::GetU8(r, 8);
  GetWords(r, 10, p.rdsBlocks);
}

void CopyTxRds(ReplySpan r, FmrParameters& p) {
  p.rdsState = static_cast<FmrSwitch>(le::GetU8(r, 2));
  p.rdsStackOn = le::GetU8(r, 3);
  p.rdsFeatures = le::GetU32(r, 4);
  p.rdsDeviationHz = le::GetU16(r, 8);
  p.rdsDecoderMode = static_cast<RdsDecoderMode>(le::GetU8(r, 10));
  p.rdsPi = le::GetU16(r, 12);
  GetBytes(r, 14, p.rdsRadioText);
  GetBytes(r, 78, p.rdsPsName);
  p.rdsPsMode = le::GetU8(r, 142);
  p.rdsPsRate = le::GetU8(r, 143);
  GetBytes(r, 144, p.rdsRtPlus);
  p.rdsPty = le::GetU8(r, 152);
  GetWords(r, 154, p.rdsAfList);
}

void CopyPowerState(ReplySpan r, FmrParameters& p) {
  p.powerState = static_cast<PowerState>(le::GetU32(r, 32));
}

void CopyRadioInfo(ReplySpan r, FmrParameters& p) {
  p.radioInfoWord = le::GetU32(r, 4);
}
