// The reply records of the first-generation radio, unpacked field by field
// from fixed offsets (little-endian) into the parameter block. Bytes 0 and 1
// of every reply are the status word and are not copied.
#pragma once

#include <cstdint>
#include <span>

#include "gen1/fmr_parameters.h"

using ReplySpan = std::span<const uint8_t>;
// Copies one reply's fields into the parameter block.
using ReplyCopy = void (*)(ReplySpan reply, FmrParameters& params);

void CopyRxStatus(ReplySpan reply, FmrParameters& p);      // id 0x03, 48 bytes
void CopyRxTune(ReplySpan reply, FmrParameters& p);        // id 0x04, 12 bytes
void CopyRxAudioWrite(ReplySpan reply, FmrParameters& p);  // id 0x05, 4 bytes
void CopyRxAudio(ReplySpan reply, FmrParameters& p);       // id 0x06, 22 bytes
void CopyRds(ReplySpan reply, FmrParameters& p);           // id 0x07, 168 bytes
void CopyRssi(ReplySpan reply, FmrParameters& p);          // id 0x08, 16 bytes
void CopyRegister(ReplySpan reply, FmrParameters& p);      // id 0x0C, 8 bytes
void CopyGain(ReplySpan reply, FmrParameters& p);          // id 0x0E, 24 bytes
void CopyTxScan(ReplySpan reply, FmrParameters& p);        // id 0x14, 12 bytes
void CopyTxStatus(ReplySpan reply, FmrParameters& p);      // id 0x18, 64 bytes
void CopyRdsBlocks(ReplySpan reply, FmrParameters& p);     // id 0x1A, 252 bytes
void CopyTxRds(ReplySpan reply, FmrParameters& p);         // id 0x1B, 204 bytes
void CopyPowerState(ReplySpan reply, FmrParameters& p);    // id 0x23, 56 bytes
void CopyRadioInfo(ReplySpan reply, FmrParameters& p);     // id 0x3A, 16 bytes
