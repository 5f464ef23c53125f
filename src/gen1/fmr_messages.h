// The test-function messages of the first-generation radio, one row each:
// its message id, the sizes of its request and reply records, the packing of
// the request from the parameter block and the copy of the reply's fields
// into it. Every operation of the command set is one row of this table.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "gen1/fmr_replies.h"
#include "gen1/fmr_requests.h"

namespace gen1 {

enum class FmrMessage : uint8_t {
  kRxPowerOn,
  kRxPowerOff,
  kReadRxStatus,
  kRxTune,
  kWriteRxAudio,
  kReadRxAudio,
  kAccessRds,
  kAccessRssi,
  kAccessRegister,
  kWriteGain,
  kReadGain,
  kSetAntenna,
  kSetTestTone,
  kTxPowerOn,
  kTxPowerOff,
  kTxTune,
  kTxScan,
  kWriteTxAudio,
  kWriteTxRds,
  kSetChirp,
  kReadTxStatus,
  kSendRdsGroups,
  kReadRdsBlocks,
  kReadTxRds,
  kReadPowerState,
  kReadRadioInfo,
};

struct FmrMessageRow {
  FmrMessage message;     // the row's own name: rows stand in enumerator order
  uint16_t id;            // message id on the wire
  uint16_t request_size;  // 0: sent without a request
  uint16_t reply_size;    // status word included
  RequestPack pack;       // nullptr exactly when request_size is 0
  ReplyCopy copy;         // nullptr: only the status word is looked at
};

// clang-format off
inline constexpr std::array<FmrMessageRow, 26> kFmrMessages = {{
    {FmrMessage::kRxPowerOn, 0x01, 52, 2, PackRxPowerOn, nullptr},
    {FmrMessage::kRxPowerOff, 0x02, 0, 2, nullptr, nullptr},
    {FmrMessage::kReadRxStatus, 0x03, 0, 48, nullptr, CopyRxStatus},
    {FmrMessage::kRxTune, 0x04, 28, 12, PackRxTune, CopyRxTune},
    {FmrMessage::kWriteRxAudio, 0x05, 20, 4, PackRxAudio, CopyRxAudioWrite},
    {FmrMessage::kReadRxAudio, 0x06, 0, 22, nullptr, CopyRxAudio},
    {FmrMessage::kAccessRds, 0x07, 2, 168, PackRds, CopyRds},
    {FmrMessage::kAccessRssi, 0x08, 8, 16, PackRssi, CopyRssi},
    {FmrMessage::kAccessRegister, 0x0C, 12, 8, PackRegister, CopyRegister},
    {FmrMessage::kWriteGain, 0x0D, 20, 2, PackGain, nullptr},
    {FmrMessage::kReadGain, 0x0E, 0, 24, nullptr, CopyGain},
    {FmrMessage::kSetAntenna, 0x0F, 4, 2, PackAntenna, nullptr},
    {FmrMessage::kSetTestTone, 0x10, 36, 2, PackTestTone, nullptr},
    {FmrMessage::kTxPowerOn, 0x11, 48, 2, PackTxPowerOn, nullptr},
    {FmrMessage::kTxPowerOff, 0x12, 0, 2, nullptr, nullptr},
    {FmrMessage::kTxTune, 0x13, 40, 2, PackTxTune, nullptr},
    {FmrMessage::kTxScan, 0x14, 16, 12, PackTxScan, CopyTxScan},
    {FmrMessage::kWriteTxAudio, 0x15, 20, 2, PackTxAudio, nullptr},
    {FmrMessage::kWriteTxRds, 0x16, 204, 2, PackTxRds, nullptr},
    {FmrMessage::kSetChirp, 0x17, 4, 2, PackChirp, nullptr},
    {FmrMessage::kReadTxStatus, 0x18, 0, 64, nullptr, CopyTxStatus},
    {FmrMessage::kSendRdsGroups, 0x19, 162, 4, PackRdsGroups, nullptr},  // reply byte 2: groups taken
    {FmrMessage::kReadRdsBlocks, 0x1A, 0, 252, nullptr, CopyRdsBlocks},
    {FmrMessage::kReadTxRds, 0x1B, 0, 204, nullptr, CopyTxRds},
    {FmrMessage::kReadPowerState, 0x23, 0, 56, nullptr, CopyPowerState},
    {FmrMessage::kReadRadioInfo, 0x3A, 0, 16, nullptr, CopyRadioInfo},
}};
// clang-format on

constexpr const FmrMessageRow& MessageRow(FmrMessage message) {
  return kFmrMessages[static_cast<size_t>(message)];
}

// Where a message's request starts among the request records held back to
// back, and how many bytes they take together.
constexpr size_t RequestOffset(FmrMessage message) {
  size_t offset = 0;
  for (size_t i = 0; i < static_cast<size_t>(message); ++i) offset += kFmrMessages[i].request_size;
  return offset;
}
inline constexpr size_t kFmrRequestBytes =
    RequestOffset(FmrMessage::kReadRadioInfo) + MessageRow(FmrMessage::kReadRadioInfo).request_size;

constexpr bool RowsInEnumeratorOrder() {
  for (size_t i = 0; i < kFmrMessages.size(); ++i) {
    if (static_cast<size_t>(kFmrMessages[i].message) != i) return false;
  }
  return true;
}
static_assert(RowsInEnumeratorOrder());

// The request records, all rebuilt from the parameter block before any
// operation that sends parameters. Padding bytes are never written: they
// keep the zero the records start with.
class FmrRequests {
 public:
  std::span<uint8_t> Of(FmrMessage message) {
    return std::span(bytes_).subspan(RequestOffset(message), MessageRow(message).request_size);
  }
  std::span<const uint8_t> Of(FmrMessage message) const {
    return std::span(bytes_).subspan(RequestOffset(message), MessageRow(message).request_size);
  }

 private:
  std::array<uint8_t, kFmrRequestBytes> bytes_{};
};

// Rebuilds every record from `params`. Of the transmit RDS groups only those
// below rdsTxGroupCount (at most 20) are rewritten.
void BuildRequests(const FmrParameters& params, FmrRequests& requests);

}  // namespace gen1
