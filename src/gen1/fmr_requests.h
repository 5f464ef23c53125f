// The binary request records of the first-generation radio, packed from the
// parameter block field by field at fixed offsets (little-endian). Padding
// bytes are never written. Which message carries which record, and its
// size: the message table (fmr_messages.h).
#pragma once

#include <cstdint>
#include <span>

#include "gen1/fmr_parameters.h"

namespace gen1 {

using RequestSpan = std::span<uint8_t>;
// Packs one request record from the parameter block.
using RequestPack = void (*)(const FmrParameters& params, RequestSpan request);

void PackRxPowerOn(const FmrParameters& p, RequestSpan r);
void PackRxTune(const FmrParameters& p, RequestSpan r);
void PackRxAudio(const FmrParameters& p, RequestSpan r);
void PackRds(const FmrParameters& p, RequestSpan r);
void PackRssi(const FmrParameters& p, RequestSpan r);
void PackRegister(const FmrParameters& p, RequestSpan r);
void PackGain(const FmrParameters& p, RequestSpan r);
void PackAntenna(const FmrParameters& p, RequestSpan r);
void PackTestTone(const FmrParameters& p, RequestSpan r);
void PackTxPowerOn(const FmrParameters& p, RequestSpan r);
void PackTxTune(const FmrParameters& p, RequestSpan r);
void PackTxScan(const FmrParameters& p, RequestSpan r);
void PackTxAudio(const FmrParameters& p, RequestSpan r);
void PackTxRds(const FmrParameters& p, RequestSpan r);
void PackChirp(const FmrParameters& p, RequestSpan r);
// Of the transmit RDS groups only those below rdsTxGroupCount (at most 20)
// are written.
void PackRdsGroups(const FmrParameters& p, RequestSpan r);

}  // namespace gen1
