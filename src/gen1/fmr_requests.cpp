#include "gen1/fmr_requests.h"

#include <algorithm>
#include <span>

#include "common/le_bytes.h"
#include "gen1/fmr_messages.h"

namespace gen1 {

namespace {

template <size_t N>
void PutChars(RequestSpan r, size_t offset, const std::array<char, N>& text) {
  for (size_t i = 0; i < N; ++i) common::le::PutU8(r, offset + i, static_cast<uint8_t>(text[i]));
}

// The receive tuning block (21 bytes from `at`), which the receive
// power-on request starts with and the tune request carries at byte 4.
void PutRxTuning(const FmrParameters& p, RequestSpan r, size_t at) {
  common::le::PutU32(r, at + 0, p.frequencyHz);
  common::le::PutS16(r, at + 4, p.scanMinRssi);
  common::le::PutU8(r, at + 6, p.forceMono);
  common::le::PutU32(r, at + 8, p.bandMaxHz);
  common::le::PutU32(r, at + 12, p.bandMinHz);
  common::le::PutU32(r, at + 16, p.channelSpacing);
  common::le::PutU8(r, at + 20, p.sideband);
}

// The receive audio block (18 bytes from `at`), carried by the receive
// power-on request at byte 22 and by the audio request at byte 0.
void PutRxAudio(const FmrParameters& p, RequestSpan r, size_t at) {
  common::le::PutU16(r, at + 0, p.volume);
  common::le::PutU8(r, at + 2, p.mute);
  common::le::PutU8(r, at + 3, p.outputPath);
  common::le::PutU8(r, at + 4, p.deEmphasis);
  common::le::PutU8(r, at + 5, p.sncOn);
  common::le::PutU16(r, at + 6, p.sncStep);
  common::le::PutS16(r, at + 8, p.sncLowThreshold);
  common::le::PutS16(r, at + 10, p.sncHighThreshold);
  common::le::PutU8(r, at + 12, p.softMuteOn);
  common::le::PutU16(r, at + 14, p.softMuteStep);
  common::le::PutS16(r, at + 16, p.softMuteThreshold);
}

// The transmit modulation block (24 bytes from `at`), carried by the
// transmit power-on request at byte 20 and the transmit tune request at 16.
void PutTxModulation(const FmrParameters& p, RequestSpan r, size_t at) {
  common::le::PutS32(r, at + 0, p.preEmphasis);
  common::le::PutU8(r, at + 4, p.txAudioMode);
  common::le::PutU32(r, at + 8, p.freqDeviationHz);
  common::le::PutU16(r, at + 12, p.pilotDeviationHz);
  common::le::PutU16(r, at + 14, p.rdsDeviationHz);
  common::le::PutU32(r, at + 16, p.rfMute);
  common::le::PutU32(r, at + 20, p.pilotOn);
}

}  // namespace

void PackRxPowerOn(const FmrParameters& p, RequestSpan r) {
  PutRxTuning(p, r, 0);
  PutRxAudio(p, r, 22);
  common::le::PutU8(r, 40, WireValue(p.rdsState));
  common::le::PutU8(r, 41, WireValue(p.rdsDecoderMode));
  common::le::PutU8(r, 42, WireValue(p.rssiState));
  common::le::PutS16(r, 44, p.rssiOffset);
  common::le::PutS16(r, 46, p.rssiLowAlert);
  common::le::PutS16(r, 48, p.rssiHighAlert);
}

void PackRxTune(const FmrParameters& p, RequestSpan r) {
  common::le::PutU8(r, 0, WireValue(p.tuneAction));
  PutRxTuning(p, r, 4);
}

void PackRxAudio(const FmrParameters& p, RequestSpan r) {
  PutRxAudio(p, r, 0);
  common::le::PutU8(r, 18, p.forceMono);
}

void PackRds(const FmrParameters& p, RequestSpan r) {
  common::le::PutU8(r, 0, WireValue(p.rdsState));
  common::le::PutU8(r, 1, WireValue(p.rdsDecoderMode));
}

void PackRssi(const FmrParameters& p, RequestSpan r) {
  common::le::PutU8(r, 0, WireValue(p.rssiAccess));
  common::le::PutU8(r, 1, WireValue(p.rssiState));
  common::le::PutS16(r, 2, p.rssiOffset);
  common::le::PutS16(r, 4, p.rssiLowAlert);
  common::le::PutS16(r, 6, p.rssiHighAlert);
}

void PackRegister(const FmrParameters& p, RequestSpan r) {
  common::le::PutU32(r, 0, WireValue(p.regAccess));
  common::le::PutU16(r, 4, p.regAddress);
  common::le::PutU32(r, 8, p.regData);
}

void PackGain(const FmrParameters& p, RequestSpan r) {
  common::le::PutU32(r, 0, p.agcOn);
  common::le::PutU8(r, 4, p.lnaGain);
  common::le::PutU8(r, 5, p.ppfGain);
  common::le::PutU32(r, 8, p.externalLnaOn);
  common::le::PutS8(r, 12, p.externalLnaOffset);
  common::le::PutU8(r, 13, p.supplyVoltage);
  common::le::PutS16(r, 14, p.txOutputPower);
  common::le::PutU8(r, 16, p.intLnaReduction);
}

void PackTestTone(const FmrParameters& p, RequestSpan r) {
  common::le::PutU32(r, 0, p.mode);
  common::le::PutU32(r, 4, WireValue(p.toneOn));
  common::le::PutU16(r, 8, p.toneLeftFreqHz);
  common::le::PutU32(r, 12, p.toneLeftAmplitude);
  common::le::PutU32(r, 16, p.toneLeftPhase);
  common::le::PutU16(r, 20, p.toneRightFreqHz);
  common::le::PutU32(r, 24, p.toneRightAmplitude);
  common::le::PutU32(r, 28, p.toneRightPhase);
  common::le::PutU8(r, 32, p.txAudioMode);
  common::le::PutU8(r, 33, p.outputPath);
}

void PackTxPowerOn(const FmrParameters& p, RequestSpan r) {
  common::le::PutU32(r, 0, p.frequencyHz);
  common::le::PutS16(r, 4, p.txOutputPower);
  common::le::PutU32(r, 8, p.bandMaxHz);
  common::le::PutU32(r, 12, p.bandMinHz);
  common::le::PutU32(r, 16, p.channelSpacing);
  PutTxModulation(p, r, 20);
  common::le::PutU8(r, 44, WireValue(p.rdsState));
}

// Bytes 12 to 15 have no source field and stay as they are.
void PackTxTune(const FmrParameters& p, RequestSpan r) {
  common::le::PutU32(r, 0, p.frequencyHz);
  common::le::PutU32(r, 4, p.bandMaxHz);
  common::le::PutU32(r, 8, p.bandMinHz);
  PutTxModulation(p, r, 16);
}

void PackTxScan(const FmrParameters& p, RequestSpan r) {
  common::le::PutU32(r, 0, p.txScanStartHz);
  common::le::PutU32(r, 4, p.txScanStopHz);
  common::le::PutU32(r, 8, p.channelSpacing);
  common::le::PutS16(r, 12, p.txScanMinRssi);
}

void PackTxAudio(const FmrParameters& p, RequestSpan r) {
  common::le::PutU32(r, 0, p.volume);
  common::le::PutU32(r, 4, p.mute);
  common::le::PutU32(r, 8, p.modulationOn);
  common::le::PutS32(r, 12, p.preEmphasis);
  common::le::PutU8(r, 16, p.txAudioMode);
}

void PackTxRds(const FmrParameters& p, RequestSpan r) {
  common::le::PutU8(r, 0, WireValue(p.rdsState));
  common::le::PutU8(r, 1, p.rdsStackOn);
  common::le::PutU32(r, 4, p.rdsFeatures);
  common::le::PutU16(r, 8, p.rdsDeviationHz);
  common::le::PutU8(r, 10, WireValue(p.rdsDecoderMode));
  common::le::PutU16(r, 12, p.rdsPi);
  PutChars(r, 14, p.rdsRadioText);
  PutChars(r, 78, p.rdsPsName);
  common::le::PutU8(r, 142, p.rdsPsMode);
  common::le::PutU8(r, 143, p.rdsPsRate);
  PutChars(r, 144, p.rdsRtPlus);
  common::le::PutU8(r, 152, p.rdsPty);
  for (size_t i = 0; i < kRdsAfEntries; ++i) common::le::PutU16(r, 154 + 2 * i, p.rdsAfList[i]);
}

void PackRdsGroups(const FmrParameters& p, RequestSpan r) {
  common::le::PutU8(r, 0, p.rdsTxGroupCount);
  const size_t count = std::min<size_t>(p.rdsTxGroupCount, kRdsTxGroups);
  for (size_t g = 0; g < count; ++g) {
    for (size_t block = 0; block < 4; ++block) {
      common::le::PutU16(r, 2 + 8 * g + 2 * block, p.rdsTxGroups[g][block]);
    }
  }
}

void PackAntenna(const FmrParameters& p, RequestSpan r) {
  common::le::PutU32(r, 0, p.antenna);
}

void PackChirp(const FmrParameters& p, RequestSpan r) {
  common::le::PutU32(r, 0, WireValue(p.chirpOn));
}

void BuildRequests(const FmrParameters& p, FmrRequests& q) {
  for (const FmrMessageRow& message : kFmrMessages) {
    if (message.pack != nullptr) message.pack(p, q.Of(message.message));
  }
}

}  // namespace gen1
