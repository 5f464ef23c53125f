#include "gen1/fmr_replies.h"

#include "common/le_bytes.h"

namespace {

template <size_t N>
void GetChars(ReplySpan r, size_t offset, std::array<char, N>& text) {
  for (size_t i = 0; i < N; ++i) text[i] = static_cast<char>(le::GetU8(r, offset + i));
}

// 16 groups of four blocks from `offset` on.
void GetRdsBlocks(ReplySpan r, size_t offset, FmrParameters& p) {
  for (size_t i = 0; i < p.rdsBlocks.size(); ++i) p.rdsBlocks[i] = le::GetU16(r, offset + 2 * i);
}

}  // namespace

void CopyRxStatus(ReplySpan r, FmrParameters& p) {
  p.frequencyHz = le::GetU32(r, 4);
  p.stereo = le::GetU8(r, 8);
  p.pilotFrequencyHz = le::GetU32(r, 12);
  p.rssi = le::GetS16(r, 16);
  p.volume = le::GetU16(r, 18);
  p.mute = le::GetU8(r, 20);
  p.outputPath = le::GetU8(r, 21);
  p.deEmphasis = le::GetU8(r, 22);
  p.sncOn = le::GetU8(r, 23);
  p.sncStep = le::GetU16(r, 24);
  p.sncLowThreshold = le::GetS16(r, 26);
  p.sncHighThreshold = le::GetS16(r, 28);
  p.softMuteOn = le::GetU8(r, 30);
  p.softMuteStep = le::GetU16(r, 32);
  p.softMuteThreshold = le::GetS16(r, 34);
  for (size_t i = 0; i < p.rxStatusReserved.size(); ++i) {
    p.rxStatusReserved[i] = le::GetU8(r, 36 + i);
  }
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
  p.volume = le::GetU16(r, 2);
  p.mute = le::GetU8(r, 4);
  p.outputPath = le::GetU8(r, 5);
  p.deEmphasis = le::GetU8(r, 6);
  p.sncOn = le::GetU8(r, 7);
  p.sncStep = le::GetU16(r, 8);
  p.sncLowThreshold = le::GetS16(r, 10);
  p.sncHighThreshold = le::GetS16(r, 12);
  p.softMuteOn = le::GetU8(r, 14);
  p.softMuteStep = le::GetU16(r, 16);
  p.softMuteThreshold = le::GetS16(r, 18);
  p.stereo = le::GetU8(r, 20);
}

void CopyRds(ReplySpan r, FmrParameters& p) {
  p.rdsGroupCount = le::GetU8(r, 2);
  GetRdsBlocks(r, 4, p);
  for (size_t g = 0; g < kRdsRxGroups; ++g) p.rdsGroupStatus[g] = le::GetU16(r, 132 + 2 * g);
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
  p.rdsState = le::GetU8(r, 48);
  p.volume = le::GetU16(r, 52);
  p.mute = le::GetU8(r, 56);
  p.modulationOn = le::GetU32(r, 60);
}

void CopyRdsBlocks(ReplySpan r, FmrParameters& p) {
  p.rdsBufferWord = le::GetU32(r, 4);
  p.rdsGroupCount = le::GetU8(r, 8);
  GetRdsBlocks(r, 10, p);
}

void CopyTxRds(ReplySpan r, FmrParameters& p) {
  p.rdsState = le::GetU8(r, 2);
  p.rdsStackOn = le::GetU8(r, 3);
  p.rdsFeatures = le::GetU32(r, 4);
  p.rdsDeviationHz = le::GetU16(r, 8);
  p.rdsDecoderMode = le::GetU8(r, 10);
  p.rdsPi = le::GetU16(r, 12);
  GetChars(r, 14, p.rdsRadioText);
  GetChars(r, 78, p.rdsPsName);
  p.rdsPsMode = le::GetU8(r, 142);
  p.rdsPsRate = le::GetU8(r, 143);
  GetChars(r, 144, p.rdsRtPlus);
  p.rdsPty = le::GetU8(r, 152);
  for (size_t i = 0; i < kRdsAfEntries; ++i) p.rdsAfList[i] = le::GetU16(r, 154 + 2 * i);
}

void CopyPowerState(ReplySpan r, FmrParameters& p) {
  p.powerState = le::GetU32(r, 32);
}

void CopyRadioInfo(ReplySpan r, FmrParameters& p) {
  p.radioInfoWord = le::GetU32(r, 4);
}
