// Every test-function operation: its message id, every field of its request
// and reply records (written down here independently of the library) and
// what each kind of failure logs, leaving the parameter block alone.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <tuple>
#include <vector>

#include "gen1/kelbo_fmr_function.h"
#include "recording_host.h"
#include "ui/headless/headless_services.h"

namespace {

using testing_host::HostAnswer;
using testing_host::RecordingHost;
using testing_host::StatusReply;

// An integer member (or wire flag) of the parameter block as a number,
// sign-extended for a signed member; `set` first stores its low bytes (a
// narrower member keeps fewer).
template <typename T>
int64_t Access(T& member, const uint64_t* set) {
  if (set != nullptr) member = static_cast<T>(*set);
  return static_cast<int64_t>(member);
}

// `count` members of `width` bytes each, back to back from `offset`.
struct Field {
  size_t offset, width;
  int64_t (*access)(gen1::FmrParameters& p, size_t index, const uint64_t* set);
  size_t count = 1;
};
using Fields = std::vector<Field>;

// clang-format off
#define F(offset, width, name) Field{offset, width, [](gen1::FmrParameters& p, size_t, const uint64_t* v) { return Access(p.name, v); }}
#define A(offset, width, name) \
  Field{offset, width, [](gen1::FmrParameters& p, size_t i, const uint64_t* v) { return Access(p.name[i], v); }, \
        std::tuple_size_v<decltype(gen1::FmrParameters::name)>}
// clang-format on

// Copies every member of `fields` between `p` and the little-endian record
// `bytes`: into the record when `pack`, else out of it.
void Transfer(gen1::FmrParameters& p, const Fields& fields, std::vector<uint8_t>& bytes,
              bool pack) {
  for (const Field& f : fields) {
    for (size_t i = 0, at = f.offset; i < f.count; ++i, at += f.width) {
      uint64_t value = 0;
      for (size_t b = 0; !pack && b < f.width; ++b) value |= uint64_t{bytes.at(at + b)} << (8 * b);
      const int64_t now = f.access(p, i, pack ? nullptr : &value);
      for (size_t b = 0; pack && b < f.width; ++b)
        bytes.at(at + b) = static_cast<uint8_t>(now >> (8 * b));
    }
  }
}

struct Operation {
  const char* name;
  bool (*run)(gen1::CKelboFMRFunction&);
  uint16_t id;
  size_t request_size, reply_size;  // a request size of 0: sent without one
  Fields request, reply;
};

#define RUN(call) [](gen1::CKelboFMRFunction& f) { return f.call(); }

// clang-format off
// The blocks several records share, from `at` on: the transmit RDS settings
// (from their state byte), receive tuning and audio, transmit modulation
// (pre-emphasis sign-extended) and gain.
Fields TxRds(size_t at) {
  return {F(at, 1, rdsState), F(at + 1, 1, rdsStackOn), F(4, 4, rdsFeatures), F(8, 2, rdsDeviationHz),
          F(10, 1, rdsDecoderMode), F(12, 2, rdsPi), A(14, 1, rdsRadioText), A(78, 1, rdsPsName),
          F(142, 1, rdsPsMode), F(143, 1, rdsPsRate), A(144, 1, rdsRtPlus), F(152, 1, rdsPty), A(154, 2, rdsAfList)};
}
Fields RxTuning(size_t at) {
  return {F(at, 4, frequencyHz), F(at + 4, 2, scanMinRssi), F(at + 6, 1, forceMono), F(at + 8, 4, bandMaxHz),
          F(at + 12, 4, bandMinHz), F(at + 16, 4, channelSpacing), F(at + 20, 1, sideband)};
}
Fields RxAudio(size_t at) {
  return {F(at, 2, volume), F(at + 2, 1, mute), F(at + 3, 1, outputPath), F(at + 4, 1, deEmphasis),
          F(at + 5, 1, sncOn), F(at + 6, 2, sncStep), F(at + 8, 2, sncLowThreshold), F(at + 10, 2, sncHighThreshold),
          F(at + 12, 1, softMuteOn), F(at + 14, 2, softMuteStep), F(at + 16, 2, softMuteThreshold)};
}
Fields TxModulation(size_t at) {
  return {F(at, 4, preEmphasis), F(at + 4, 1, txAudioMode), F(at + 8, 4, freqDeviationHz),
          F(at + 12, 2, pilotDeviationHz), F(at + 14, 2, rdsDeviationHz), F(at + 16, 4, rfMute), F(at + 20, 4, pilotOn)};
}
Fields Gain(size_t at) {
  return {F(at, 4, agcOn), F(at + 4, 1, lnaGain), F(at + 5, 1, ppfGain), F(at + 8, 4, externalLnaOn),
          F(at + 12, 1, externalLnaOffset), F(at + 13, 1, supplyVoltage), F(at + 14, 2, txOutputPower),
          F(at + 16, 1, intLnaReduction)};
}
Fields operator+(Fields a, const Fields& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// Per message every field of its request and reply records.
const std::vector<Operation>& Operations() {
  static const std::vector<Operation> operations = {
      {"RxPowerOn", RUN(RxPowerOn), 0x01, 52, 2, RxTuning(0) + RxAudio(22) + Fields{F(40, 1, rdsState),
       F(41, 1, rdsDecoderMode), F(42, 1, rssiState), F(44, 2, rssiOffset), F(46, 2, rssiLowAlert), F(48, 2, rssiHighAlert)}, {}},
      {"RxPowerOff", RUN(RxPowerOff), 0x02, 0, 2, {}, {}},
      {"ReadRxStatus", RUN(ReadRxStatus), 0x03, 0, 48, {}, Fields{F(4, 4, frequencyHz), F(8, 1, stereo),
       F(12, 4, pilotFrequencyHz), F(16, 2, rssi)} + RxAudio(18) + Fields{A(36, 1, rxStatusReserved), F(44, 2, rxStatusWord), F(46, 2, rdsRxErrors)}},
      {"RxTune", RUN(RxTune), 0x04, 28, 12, Fields{F(0, 1, tuneAction)} + RxTuning(4), {F(4, 4, frequencyHz), F(8, 2, rssi), F(10, 1, stereo)}},
      {"WriteRxAudio", RUN(WriteRxAudio), 0x05, 20, 4, RxAudio(0) + Fields{F(18, 1, forceMono)}, {F(2, 1, stereo)}},
      {"ReadRxAudio", RUN(ReadRxAudio), 0x06, 0, 22, {}, RxAudio(2) + Fields{F(20, 1, stereo)}},
      {"AccessRds", RUN(AccessRds), 0x07, 2, 168, {F(0, 1, rdsState), F(1, 1, rdsDecoderMode)},
       {F(2, 1, rdsGroupCount), A(4, 2, rdsBlocks), A(132, 2, rdsGroupStatus), F(164, 2, rdsReplyWord)}},
      {"AccessRssi", RUN(AccessRssi), 0x08, 8, 16, {F(0, 1, rssiAccess), F(1, 1, rssiState), F(2, 2, rssiOffset), F(4, 2, rssiLowAlert),
       F(6, 2, rssiHighAlert)}, {F(4, 4, frequencyHz), F(8, 4, pilotFrequencyHz), F(12, 2, rssi), F(14, 1, stereo)}},
      {"AccessRegister", RUN(AccessRegister), 0x0C, 12, 8, {F(0, 4, regAccess), F(4, 2, regAddress), F(8, 4, regData)}, {F(4, 4, regData)}},
      {"WriteGain", RUN(WriteGain), 0x0D, 20, 2, Gain(0), {}},
      {"ReadGain", RUN(ReadGain), 0x0E, 0, 24, {}, Gain(4)},
      {"SetAntenna", RUN(SetAntenna), 0x0F, 4, 2, {F(0, 4, antenna)}, {}},
      {"SetTestTone", RUN(SetTestTone), 0x10, 36, 2, {F(0, 4, mode), F(4, 4, toneOn), F(8, 2, toneLeftFreqHz), F(12, 4, toneLeftAmplitude),
       F(16, 4, toneLeftPhase), F(20, 2, toneRightFreqHz), F(24, 4, toneRightAmplitude), F(28, 4, toneRightPhase), F(32, 1, txAudioMode),
       F(33, 1, outputPath)}, {}},
      {"TxPowerOn", RUN(TxPowerOn), 0x11, 48, 2, Fields{F(0, 4, frequencyHz), F(4, 2, txOutputPower), F(8, 4, bandMaxHz),
       F(12, 4, bandMinHz), F(16, 4, channelSpacing)} + TxModulation(20) + Fields{F(44, 1, rdsState)}, {}},
      {"TxPowerOff", RUN(TxPowerOff), 0x12, 0, 2, {}, {}},
      {"TxTune", RUN(TxTune), 0x13, 40, 2, Fields{F(0, 4, frequencyHz), F(4, 4, bandMaxHz), F(8, 4, bandMinHz)} + TxModulation(16), {}},
      {"TxScan", RUN(TxScan), 0x14, 16, 12, {F(0, 4, txScanStartHz), F(4, 4, txScanStopHz), F(8, 4, channelSpacing), F(12, 2, txScanMinRssi)},
       {F(4, 4, txScanResultHz), F(8, 2, txScanResultRssi)}},
      {"WriteTxAudio", RUN(WriteTxAudio), 0x15, 20, 2, {F(0, 4, volume), F(4, 4, mute), F(8, 4, modulationOn), F(12, 4, preEmphasis),
       F(16, 1, txAudioMode)}, {}},
      {"WriteTxRds", RUN(WriteTxRds), 0x16, 204, 2, TxRds(0), {}},
      {"SetChirp", RUN(SetChirp), 0x17, 4, 2, {F(0, 4, chirpOn)}, {}},
      {"ReadTxStatus", RUN(ReadTxStatus), 0x18, 0, 64, {}, {F(4, 4, frequencyHz), F(8, 2, txOutputPower), F(12, 4, bandMaxHz),
       F(16, 4, bandMinHz), F(20, 4, channelSpacing), F(24, 1, preEmphasis), F(28, 1, txAudioMode), F(32, 4, freqDeviationHz),
       F(36, 2, pilotDeviationHz), F(38, 2, rdsDeviationHz), F(40, 4, rfMute), F(44, 4, pilotOn), F(48, 1, rdsState), F(52, 2, volume),
       F(56, 1, mute), F(60, 4, modulationOn)}},
      {"SendRdsGroups", [](gen1::CKelboFMRFunction& f) { uint8_t accepted = 0; return f.SendRdsGroups(accepted); }, 0x19, 162, 4,
       {F(0, 1, rdsTxGroupCount), Field{2, 2, [](gen1::FmrParameters& p, size_t i, const uint64_t* v) { return Access(p.rdsTxGroups[i / 4][i % 4], v); },
        4 * gen1::kRdsTxGroups}}, {}},
      {"ReadRdsBlocks", RUN(ReadRdsBlocks), 0x1A, 0, 252, {}, {F(4, 4, rdsBufferWord), F(8, 1, rdsGroupCount), A(10, 2, rdsBlocks)}},
      {"ReadTxRds", RUN(ReadTxRds), 0x1B, 0, 204, {}, TxRds(2)},
      {"ReadPowerState", RUN(ReadPowerState), 0x23, 0, 56, {}, {F(32, 4, powerState)}},
      {"ReadRadioInfo", RUN(ReadRadioInfo), 0x3A, 0, 16, {}, {F(4, 4, radioInfoWord)}},
  };
  return operations;
}
// clang-format on

// A block in which every member any request carries has its own value (the
// group count thereby above 20): no zero byte and the top bit of every byte
// set, so a member packed at the wrong offset, with the wrong width or sign,
// or from the wrong member shows.
gen1::FmrParameters Filled() {
  gen1::FmrParameters p;
  unsigned next = 0;
  for (const Operation& op : Operations()) {
    for (const Field& f : op.request) {
      for (size_t i = 0; i < f.count; ++i, ++next) {
        uint64_t value = 0;
        for (unsigned b = 0; b < 4; ++b)
          value |= uint64_t{0x80u | ((next * 37 + b * 11 + 5) & 0x7Fu)} << (8 * b);
        f.access(p, i, &value);
      }
    }
  }
  return p;
}

class Records : public ::testing::Test {
 protected:
  ui::HeadlessServices services;
  RecordingHost host;
  gen1::CKelboFMRFunction radio{host.Context(services)};
};
class OperationTest : public Records, public ::testing::WithParamInterface<Operation> {};

TEST_P(OperationTest, PacksItsRequestAndCopiesItsReplyFields) {
  const Operation& op = GetParam();
  gen1::FmrParameters expected = Filled();
  radio.parameters() = expected;
  HostAnswer answer = StatusReply(op.reply_size);
  for (size_t i = 2; i < op.reply_size; ++i) answer.reply[i] = static_cast<uint8_t>(0x35 + 7 * i);
  host.Queue(answer);
  std::vector<uint8_t> request(op.request_size, 0);
  Transfer(expected, op.request, request, true);
  Transfer(expected, op.reply, answer.reply, false);

  EXPECT_TRUE(op.run(radio));

  ASSERT_EQ(host.calls.size(), 1u);
  const testing_host::HostCall& call = host.calls[0];
  EXPECT_EQ(call.channel, common::HostChannel::kTestFunction);
  EXPECT_EQ(call.message_id, op.id);
  EXPECT_EQ(call.request_null, op.request_size == 0);
  EXPECT_EQ(call.request, request);  // the whole record: padding stays zero
  EXPECT_TRUE(radio.parameters() == expected) << "a reply field was not copied, or another changed";
  EXPECT_EQ(host.Transcript(), "Sending to mobile...|OK");
}

// A failed host call with its error text, or a reply `delta` bytes off its
// length with status word `status` whose fields would all change the block.
// clang-format off
const struct { const char* host_error; int delta; uint16_t status; const char* log; } kFailures[] = {
    {"Target not responding", 0, 1, "!ERROR: MERSH_DLL_ERROR|Target not responding"},
    {"No errors", 0, 1, "!ERROR: MERSH_DLL_ERROR|!Error! Probably rejected before any communication was made"},
    {nullptr, -2, 1, "!ERROR: OUTPUT_SIZE_NOT_MATCH"}, {nullptr, 1, 1, "!ERROR: OUTPUT_SIZE_NOT_MATCH"},
    {nullptr, 0, 0, "!ERROR: FMR_STATUS_ERROR"}, {nullptr, 0, 0x0101, "!ERROR: FMR_STATUS_ERROR"}};
// clang-format on

TEST_P(OperationTest, EveryFailureLogsItsLinesAndLeavesTheBlockAlone) {
  for (const auto& f : kFailures) {
    SCOPED_TRACE(f.log);
    radio.parameters() = Filled();
    host.Clear();
    const size_t size = GetParam().reply_size;
    HostAnswer answer = StatusReply(size + std::min(f.delta, 0), f.status);
    for (size_t i = 2; i < answer.reply.size(); ++i) answer.reply[i] = 0xE7;
    if (f.delta > 0) answer.length = static_cast<uint16_t>(size + f.delta);
    host.Queue(f.host_error != nullptr ? testing_host::HostFailure(f.host_error) : answer);
    EXPECT_FALSE(GetParam().run(radio));
    EXPECT_EQ(host.Transcript(), std::string("Sending to mobile...|") + f.log);
    EXPECT_TRUE(radio.parameters() == Filled());
  }
}

INSTANTIATE_TEST_SUITE_P(Records, OperationTest, ::testing::ValuesIn(Operations()),
                         [](const auto& test) { return std::string(test.param.name); });

TEST_F(Records, RdsGroupsAboveTheCountKeepTheirBytesAndTheRadioReportsWhatItTook) {
  gen1::FmrParameters& p = radio.parameters();
  p = Filled();
  HostAnswer answer = StatusReply(4);
  answer.reply[2] = 7;
  host.Queue(answer);
  uint8_t accepted = 0;
  EXPECT_TRUE(radio.SendRdsGroups(accepted));
  EXPECT_EQ(accepted, 7);
  const std::vector<uint8_t> first = host.calls.back().request;

  for (auto& group : p.rdsTxGroups) group = {0xAAAA, 0xBBBB, 0xCCCC, 0xDDDD};
  p.rdsTxGroupCount = 3;
  answer.reply[0] = 2;  // status error: the count is left alone
  host.Queue(answer);
  accepted = 99;
  EXPECT_FALSE(radio.SendRdsGroups(accepted));
  EXPECT_EQ(accepted, 99);
  // Only the count and the first three groups change.
  std::vector<uint8_t> expected = first;
  expected[0] = 3;
  for (size_t i = 2; i < 26; i += 2)
    expected[i] = expected[i + 1] = static_cast<uint8_t>(0xAA + 0x11 * ((i - 2) / 2 % 4));
  EXPECT_EQ(host.calls.back().request, expected);
}

TEST_F(Records, UnknownResultCodeIsNotDefined) {
  EXPECT_FALSE(radio.MapResult(static_cast<gen1::SendOutcome>(4)));
  EXPECT_FALSE(radio.MapResult(static_cast<gen1::SendOutcome>(255)));
  EXPECT_TRUE(radio.MapResult(gen1::SendOutcome::kCarried));
  EXPECT_EQ(host.Transcript(), "!ERROR: ERROR_NOT_DEFINED|!ERROR: ERROR_NOT_DEFINED|OK");
}

}  // namespace
