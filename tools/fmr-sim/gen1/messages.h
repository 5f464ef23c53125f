// The first-generation handset's message set as the host carries it: the
// test-function message ids with their request and reply sizes, the status
// words the radio answers with, and the ids of the audio and info requests.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace fmrsim::gen1 {

// Host function table slots that reach the handset.
inline constexpr int kSlotAudioRequest = 15;
inline constexpr int kSlotAtCommand = 54;
inline constexpr int kSlotInfoRequest = 56;
inline constexpr int kSlotTestFunction = 77;

// Status word at bytes 0 to 1 of every binary reply.
inline constexpr uint16_t kStatusOk = 1;
inline constexpr uint16_t kStatusBadRequest = 2;  // request of the wrong size
inline constexpr uint16_t kStatusRejected = 3;    // a value the radio cannot carry out

enum : uint16_t {
  kProbe = 0x00,
  kRxPowerOn = 0x01,
  kRxPowerOff = 0x02,
  kReadRxStatus = 0x03,
  kRxTune = 0x04,
  kWriteRxAudio = 0x05,
  kReadRxAudio = 0x06,
  kAccessRds = 0x07,
  kAccessRssi = 0x08,
  kAccessRegister = 0x0C,
  kWriteGain = 0x0D,
  kReadGain = 0x0E,
  kSetAntenna = 0x0F,
  kSetTestTone = 0x10,
  kTxPowerOn = 0x11,
  kTxPowerOff = 0x12,
  kTxTune = 0x13,
  kTxScan = 0x14,
  kWriteTxAudio = 0x15,
  kWriteTxRds = 0x16,
  kSetChirp = 0x17,
  kReadTxStatus = 0x18,
  kSendRdsGroups = 0x19,
  kReadRdsBlocks = 0x1A,
  kReadTxRds = 0x1B,
  kReadPowerState = 0x23,
  kReadRadioInfo = 0x3A,
};

struct MessageShape {
  uint16_t id;
  uint16_t request_bytes;
  uint16_t reply_bytes;
};

inline constexpr std::array<MessageShape, 27> kTestFunctions{{
    {kProbe, 0, 6},           {kRxPowerOn, 52, 2},      {kRxPowerOff, 0, 2},
    {kReadRxStatus, 0, 48},   {kRxTune, 28, 12},        {kWriteRxAudio, 20, 4},
    {kReadRxAudio, 0, 22},    {kAccessRds, 2, 168},     {kAccessRssi, 8, 16},
    {kAccessRegister, 12, 8}, {kWriteGain, 20, 2},      {kReadGain, 0, 24},
    {kSetAntenna, 4, 2},      {kSetTestTone, 36, 2},    {kTxPowerOn, 48, 2},
    {kTxPowerOff, 0, 2},      {kTxTune, 40, 2},         {kTxScan, 16, 12},
    {kWriteTxAudio, 20, 2},   {kWriteTxRds, 204, 2},    {kSetChirp, 4, 2},
    {kReadTxStatus, 0, 64},   {kSendRdsGroups, 162, 4}, {kReadRdsBlocks, 0, 252},
    {kReadTxRds, 0, 204},     {kReadPowerState, 0, 56}, {kReadRadioInfo, 0, 16},
}};

// The shape of a test-function message, or null for an id the radio does
// not know.
constexpr const MessageShape* FindTestFunction(uint16_t id) {
  for (const MessageShape& m : kTestFunctions) {
    if (m.id == id) return &m;
  }
  return nullptr;
}

// What the tuner can reach: the synthesiser's range and the finest raster.
inline constexpr uint32_t kSynthLowHz = 64000000;
inline constexpr uint32_t kSynthHighHz = 108000000;
inline constexpr uint32_t kMinSpacingHz = 10000;

// Longest reply of any message; the simulator builds replies in a buffer of
// this size before handing them to the caller.
inline constexpr size_t kMaxReplyBytes = 252;

// Audio request (slot 15): set the audio destination.
inline constexpr uint16_t kAudioOutputId = 4;
inline constexpr MessageShape kAudioOutput{kAudioOutputId, 24, 4};

// Info request (slot 56): a text selected by (selector, index); reply byte 0
// is 1 when the text exists, the zero-terminated text follows.
inline constexpr uint16_t kInfoTextId = 8;
inline constexpr uint16_t kInfoTextRequestBytes = 2;
inline constexpr uint8_t kVersionSelector = 0x32;

// Text replies (slots 54 and 56) never exceed the 200 bytes every caller's
// buffer holds, terminating zero included.
inline constexpr size_t kTextReplyCapacity = 200;

}  // namespace fmrsim::gen1
