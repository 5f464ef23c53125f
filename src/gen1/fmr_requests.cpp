#include "gen1/fmr_requests.h"

#include <algorithm>
#include <span>

#include "common/le_bytes.h"
#include "gen1/fmr_messages.h"

namespace {

template <size_t N>
void PutChars(RequestSpan r, size_t offset, const std::array<char, N>& text) {
  for (size_t i = 0; i < N; ++i) le::PutU8(r, offset + i, static_cast<uint8_t>(text[i]));
}

// The receive tuning block (21 bytes from `at`), which the receive
// power-on request starts with and the tune request carries at byte 4.
void PutRxTuning(const FmrParameters& p, RequestSpan r, size_t at) {
  le::PutU32(r, at + 0, p.frequencyHz);
  le::PutS16(r, at + 4, p.scanMinRssi);
  le::PutU8(r, at + 6, p.forceMono);
  le::PutU32(r, at + 8, p.bandMaxHz);
  le::PutU32(r, at + 12, p.bandMinHz);
  le::PutU32(r, at + 16, p.channelSpacing);
  le::PutU8(r, at + 20, p.sideband);
}

// The receive audio block (18 bytes from `at`), carried by the receive
// power-on request at byte 22 and by the audio request at byte 0.
void PutRxAudio(const FmrParameters& p, RequestSpan r, size_t at) {
  le::PutU16(r, at + 0, p.volume);
  le::PutU8(r, at + 2, p.mute);
  le::PutU8(r, at + 3, p.outputPath);
  le::PutU8(r, at + 4, p.deEmphasis);
  le::PutU8(r, at + 5, p.sncOn);
  le::PutU16(r, at + 6, p.sncStep);
  le::PutS16(r, at + 8, p.sncLowThreshold);
  le::PutS16(r, at + 10, p.sncHighThreshold);
  le::PutU8(r, at + 12, p.softMuteOn);
  le::PutU16(r, at + 14, p.softMuteStep);
  le::PutS16(r, at + 16, p.softMuteThreshold);
}

// The transmit modulation block (24 bytes from `at`), carried by the
// transmit power-on request at byte 20 and the transmit tune request at 16.
void PutTxModulation(const FmrParameters& p, RequestSpan r, size_t at) {
  le::PutS32(r, at + 0, p.preEmphasis);
  le::PutU8(r, at + 4, p.txAudioMode);
  le::PutU32(r, at + 8, p.freqDeviationHz);
  le::PutU16(r, at + 12, p.pilotDeviationHz);
  le::PutU16(r, at + 14, p.rdsDeviationHz);
  le::PutU32(r, at + 16, p.rfMute);
  le::PutU32(r, at + 20, p.pilotOn);
}

}  // namespace

void PackRxPowerOn(const FmrParameters& p, RequestSpan r) {
  PutRxTuning(p, r, 0);
  PutRxAudio(p, r, 22);
  le::PutU8(r, 40, WireValue(p.rdsState));
  le::PutU8(r, 41, WireValue(p.rdsDecoderMode));
  le::PutU8(r, 42, WireValue(p.rssiState));
  le::PutS16(r, 44, p.rssiOffset);
  le::PutS16(r, 46, p.rssiLowAlert);
  le::PutS16(r, 48, p.rssiHighAlert);
}

void PackRxTune(const FmrParameters& p, RequestSpan r) {
  le::PutU8(r, 0, WireValue(p.tuneAction));
  PutRxTuning(p, r, 4);
}

void PackRxAudio(const FmrParameters& p, RequestSpan r) {
  PutRxAudio(p, r, 0);
  le::PutU8(r, 18, p.forceMono);
}

void PackRds(const FmrParameters& p, RequestSpan r) {
  le::PutU8(r, 0, WireValue(p.rdsState));
  le::PutU8(r, 1, WireValue(p.rdsDecoderMode));
}

void PackRssi(const FmrParameters& p, RequestSpan r) {
  le::PutU8(r, 0, WireValue(p.rssiAccess));
  le::PutU8(r, 1, WireValue(p.rssiState));
  le::PutS16(r, 2, p.rssiOffset);
  le::PutS16(r, 4, p.rssiLowAlert);
  le::PutS16(r, 6, p.rssiHighAlert);
}

void PackRegister(const FmrParameters& p, RequestSpan r) {
  le::PutU32(r, 0, WireValue(p.regAccess));
  le::PutU16(r, 4, p.regAddress);
  le::PutU32(r, 8, p.regData);
}

void PackGain(const FmrParameters& p, RequestSpan r) {
  le::PutU32(r, 0, p.agcOn);
  le::PutU8(r, 4, p.lnaGain);
  le::PutU8(r, 5, p.ppfGain);
  le::PutU32(r, 8, p.externalLnaOn);
  le::PutS8(r, 12, p.externalLnaOffset);
  le::PutU8(r, 13, p.supplyVoltage);
  le::PutS16(r, 14, p.txOutputPower);
  le::PutU8(r, 16, p.intLnaReduction);
}

void PackTestTone(const FmrParameters& p, RequestSpan r) {
  le::PutU32(r, 0, p.mode);
  le::PutU32(r, 4, WireValue(p.toneOn));
  le::PutU16(r, 8, p.toneLeftFreqHz);
  le::PutU32(r, 12, p.toneLeftAmplitude);
  le::PutU32(r, 16, p.toneLeftPhase);
  le::PutU16(r, 20, p.toneRightFreqHz);
  le::PutU32(r, 24, p.toneRightAmplitude);
  le::PutU32(r, 28, p.toneRightPhase);
  le::PutU8(r, 32, p.txAudioMode);
  le::PutU8(r, 33, p.outputPath);
}

void PackTxPowerOn(const FmrParameters& p, RequestSpan r) {
  le::PutU32(r, 0, p.frequencyHz);
  le::PutS16(r, 4, p.txOutputPower);
  le::PutU32(r, 8, p.bandMaxHz);
  le::PutU32(r, 12, p.bandMinHz);
  le::PutU32(r, 16, p.channelSpacing);
  PutTxModulation(p, r, 20);
  le::PutU8(r, 44, WireValue(p.rdsState));
}

// Bytes 12 to 15 have no source field and stay as they are.
void PackTxTune(const FmrParameters& p, RequestSpan r) {
  le::PutU32(r, 0, p.frequencyHz);
  le::PutU32(r, 4, p.bandMaxHz);
  le::PutU32(r, 8, p.bandMinHz);
  PutTxModulation(p, r, 16);
}

void PackTxScan(const FmrParameters& p, RequestSpan r) {
  le::PutU32(r, 0, p.txScanStartHz);
  le::PutU32(r, 4, p.txScanStopHz);
  le::PutU32(r, 8, p.channelSpacing);
  le::PutS16(r, 12, p.txScanMinRssi);
}

void PackTxAudio(const FmrParameters& p, RequestSpan r) {
  le::PutU32(r, 0, p.volume);
  le::PutU32(r, 4, p.mute);
  le::PutU32(r, 8, p.modulationOn);
  le::PutS32(r, 12, p.preEmphasis);
  le::PutU8(r, 16, p.txAudioMode);
}

void PackTxRds(const FmrParameters& p, RequestSpan r) {
  le::PutU8(r, 0, WireValue(p.rdsState));
  le::PutU8(r, 1, p.rdsStackOn);
  le::PutU32(r, 4, p.rdsFeatures);
  le::PutU16(r, 8, p.rdsDeviationHz);
  le::PutU8(r, 10, WireValue(p.rdsDecoderMode));
  le::PutU16(r, 12, p.rdsPi);
  PutChars(r, 14, p.rdsRadioText);
  PutChars(r, 78, p.rdsPsName);
  le::PutU8(r, 142, p.rdsPsMode);
  le::PutU8(r, 143, p.rdsPsRate);
  PutChars(r, 144, p.rdsRtPlus);
  le::PutU8(r, 152, p.rdsPty);
  for (size_t i = 0; i < kRdsAfEntries; ++i) le::PutU16(r, 154 + 2 * i, p.rdsAfList[i]);
}

void PackRdsGroups(const FmrParameters& p, RequestSpan r) {
  le::PutU8(r, 0, p.rdsTxGroupCount);
  const size_t count = std::min<size_t>(p.rdsTxGroupCount, kRdsTxGroups);
  for (size_t g = 0; g < count; ++g) {
    for (size_t block = 0; block < 4; ++block) {
      le::PutU16(r, 2 + 8 * g + 2 * block, p.rdsTxGroups[g][block]);
    }
  }
}

void PackAntenna(const FmrParameters& p, RequestSpan r) {
  le::PutU32(r, 0, p.antenna);
}

void PackChirp(const FmrParameters& p, RequestSpan r) {
  le::PutU32(r, 0, WireValue(p.chirpOn));
}

void BuildRequests(const FmrParameters& p, FmrRequests& q) {
  for (const FmrMessageRow& message : kFmrMessages) {
    if (message.pack != nullptr) message.pack(p, q.Of(message.message));
  }
}
