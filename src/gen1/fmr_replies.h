// The reply records of the first-generation radio, unpacked field by field
// from fixed offsets (little-endian) into the parameter block. Bytes 0 and 1
// of every reply are the status word and are not copied. Which message
// brings which record, and its length: the message table (fmr_messages.h).
#pragma once

#include <cstdint>
#include <span>

#include "gen1/fmr_parameters.h"

namespace gen1 {

using ReplySpan = std::span<const uint8_t>;
// Copies one reply's fields into the parameter block.
using ReplyCopy = void (*)(ReplySpan reply, FmrParameters& params);

void CopyRxStatus(ReplySpan reply, FmrParameters& p);
void CopyRxTune(ReplySpan reply, FmrParameters& p);
void CopyRxAudioWrite(ReplySpan reply, FmrParameters& p);
void CopyRxAudio(ReplySpan reply, FmrParameters& p);
void CopyRds(ReplySpan reply, FmrParameters& p);
void CopyRssi(ReplySpan reply, FmrParameters& p);
void CopyRegister(ReplySpan reply, FmrParameters& p);
void CopyGain(ReplySpan reply, FmrParameters& p);
void CopyTxScan(ReplySpan reply, FmrParameters& p);
void CopyTxStatus(ReplySpan reply, FmrParameters& p);
void CopyRdsBlocks(ReplySpan reply, FmrParameters& p);
void CopyTxRds(ReplySpan reply, FmrParameters& p);
void CopyPowerState(ReplySpan reply, FmrParameters& p);
void CopyRadioInfo(ReplySpan reply, FmrParameters& p);

}  // namespace gen1
