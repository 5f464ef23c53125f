// A parameter block in which every field holds its own value, with no zero
// byte where the field's width allows, so a field packed at the wrong
// offset, with the wrong width or from the wrong field shows up.
#pragma once

#include <cstring>

#include "gen1/fmr_parameters.h"

inline FmrParameters FilledParameters() {
  FmrParameters p;
  p.frequencyHz = 0x15A1B2C3;
  p.scanMinRssi = -3;  // 0xFFFD
  p.forceMono = 0x21;
  p.bandMaxHz = 0x16A2B3C4;
  p.bandMinHz = 0x17A3B4C5;
  p.channelSpacing = 0x18A4B5C6;
  p.sideband = 0x22;
  p.volume = 0x7A31;
  p.mute = 0x23;
  p.outputPath = 0x24;
  p.deEmphasis = 0x25;
  p.sncOn = 0x26;
  p.sncStep = 0x1B27;
  p.sncLowThreshold = -40;  // 0xFFD8
  p.sncHighThreshold = 0x1C28;
  p.softMuteOn = 0x29;
  p.softMuteStep = 0x1D2A;
  p.softMuteThreshold = -300;  // 0xFED4
  p.rdsState = 0x2B;
  p.rdsDecoderMode = 0x2C;
  p.rssiState = 0x2D;
  p.rssiOffset = -5;
  p.rssiLowAlert = 0x1E2E;
  p.rssiHighAlert = 0x1F2F;
  p.tuneAction = 0x02;
  p.rssiAccess = 0x31;
  p.regAccess = 0x19A5B6C7;
  p.regAddress = 0x8A34;
  p.regData = 0x1AA6B7C8;
  p.agcOn = 0x1BA7B8C9;
  p.lnaGain = 0x35;
  p.ppfGain = 0x36;
  p.externalLnaOn = 0x1CA8B9CA;
  p.externalLnaOffset = -7;  // 0xF9
  p.supplyVoltage = 0x37;
  p.txOutputPower = -120;  // 0xFF88
  p.intLnaReduction = 0x38;
  p.antenna = 0x1DA9BACB;
  p.mode = 0x1EAABBCC;
  p.toneOn = 0x1FABBCCD;
  p.toneLeftFreqHz = 0x2139;
  p.toneLeftAmplitude = 0x20ACBDCE;
  p.toneLeftPhase = 0x21ADBECF;
  p.toneRightFreqHz = 0x223A;
  p.toneRightAmplitude = 0x22AEBFD0;
  p.toneRightPhase = 0x23AFC0D1;
  p.preEmphasis = -2;  // sign-extended where a record widens it
  p.txAudioMode = 0x3B;
  p.freqDeviationHz = 0x24B0C1D2;
  p.pilotDeviationHz = 0x233C;
  p.rdsDeviationHz = 0x243D;
  p.rfMute = 0x25B1C2D3;
  p.pilotOn = 0x26B2C3D4;
  p.modulationOn = 0x27B3C4D5;
  p.rdsPi = 0xC2F1;
  for (size_t i = 0; i < kRdsTextBytes; ++i) {
    p.rdsRadioText[i] = static_cast<char>('A' + i % 26);
    p.rdsPsName[i] = static_cast<char>('a' + i % 26);
  }
  std::memcpy(p.rdsRtPlus.data(), "RTPLUS+!", kRdsRtPlusBytes);
  p.rdsPsMode = 0x3E;
  p.rdsPsRate = 0x3F;
  p.rdsPty = 0x41;
  for (size_t i = 0; i < kRdsAfEntries; ++i) p.rdsAfList[i] = static_cast<uint16_t>(0x5101 + i);
  p.chirpOn = 0x28B4C5D6;
  p.txScanStartHz = 0x29B5C6D7;
  p.txScanStopHz = 0x2AB6C7D8;
  p.txScanMinRssi = -9;
  p.rdsStackOn = 0x42;
  p.rdsFeatures = 0x2BB7C8D9;
  p.rdsTxGroupCount = 20;
  for (size_t g = 0; g < kRdsTxGroups; ++g) {
    for (size_t b = 0; b < 4; ++b) p.rdsTxGroups[g][b] = static_cast<uint16_t>(0x6100 + 4 * g + b);
  }
  return p;
}
