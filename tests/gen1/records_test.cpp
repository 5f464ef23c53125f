// Every test-function operation: its message id, every field of its request
// and reply records (written down here independently of the library) and
// what each kind of failure logs, leaving the parameter block alone.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <span>
#include <tuple>
#include <type_traits>
#include <variant>
#include <vector>

#include "gen1/kelbo_fmr_function.h"
#include "recording_host.h"
#include "ui/headless/headless_services.h"

namespace {

using testing_host::HostAnswer;
using testing_host::RecordingHost;
using testing_host::StatusReply;

// One integer member (or wire flag) of the parameter block, whatever its
// type.
struct Member {
  std::variant<uint8_t*, int8_t*, uint16_t*, int16_t*, uint32_t*, char*, gen1::FmrSwitch*,
               gen1::RdsDecoderMode*, gen1::RssiAccess*, gen1::RegAccess*, gen1::TuneAction*,
               gen1::TestSignal*, gen1::PowerState*>
      at;
  // The value, sign-extended for a signed member.
  int64_t Get() const {
    return std::visit([](auto* m) { return static_cast<int64_t>(*m); }, at);
  }
  // Stores the low bytes of `value` (a narrower member keeps fewer).
  void Set(uint64_t value) const {
    std::visit([value](auto* m) { *m = static_cast<std::remove_pointer_t<decltype(m)>>(value); },
               at);
  }
};

// `count` members of `width` bytes each, back to back from `offset`.
struct Field {
  size_t offset, width;
  Member (*member)(gen1::FmrParameters& p, size_t index);
  size_t count = 1;
};
using Fields = std::vector<Field>;

// clang-format off
#define F(offset, width, name) Field{offset, width, [](gen1::FmrParameters& p, size_t) { return Member{&p.name}; }}
#define A(offset, width, name) \
  Field{offset, width, [](gen1::FmrParameters& p, size_t i) { return Member{&p.name[i]}; }, \
        std::tuple_size_v<decltype(gen1::FmrParameters::name)>}
// clang-format on

// Calls `fn` with each member of `fields` in `p`, its offset and width.
template <typename Fn>
void Each(gen1::FmrParameters& p, const Fields& fields, Fn fn) {
  for (const Field& f : fields) {
    for (size_t i = 0; i < f.count; ++i) fn(f.member(p, i), f.offset + f.width * i, f.width);
  }
}

// The record `fields` make of `p`, `size` bytes, the rest zero.
std::vector<uint8_t> Pack(gen1::FmrParameters p, const Fields& fields, size_t size) {
  std::vector<uint8_t> bytes(size, 0);
  Each(p, fields, [&bytes](Member m, size_t at, size_t width) {
    for (size_t b = 0; b < width; ++b) bytes.at(at + b) = static_cast<uint8_t>(m.Get() >> (8 * b));
  });
  return bytes;
}

// `p` with the members of `fields` read from `reply`.
gen1::FmrParameters Unpack(gen1::FmrParameters p, const Fields& fields,
                           std::span<const uint8_t> reply) {
  Each(p, fields, [reply](Member m, size_t at, size_t width) {
    uint64_t value = 0;
    for (size_t b = 0; b < width; ++b) value |= uint64_t{reply[at + b]} << (8 * b);
    m.Set(value);
  });
  return p;
}

// Gives every member of `fields` its own value in `p`: no zero byte and the
// top bit of every byte set, so a member packed at the wrong offset, with
// the wrong width or sign, or from the wrong member shows.
void FillDistinct(gen1::FmrParameters& p, const Fields& fields, unsigned& next) {
  Each(p, fields, [&next](Member m, size_t, size_t) {
    uint64_t value = 0;
    for (unsigned b = 0; b < 4; ++b)
      value |= uint64_t{0x80u | ((next * 37 + b * 11 + 5) & 0x7Fu)} << (8 * b);
    m.Set(value);
    ++next;
  });
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
       {F(0, 1, rdsTxGroupCount), Field{2, 2, [](gen1::FmrParameters& p, size_t i) { return Member{&p.rdsTxGroups[i / 4][i % 4]}; },
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
// group count thereby above 20).
gen1::FmrParameters Filled() {
  gen1::FmrParameters p;
  unsigned next = 0;
  for (const Operation& op : Operations()) FillDistinct(p, op.request, next);
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
  const gen1::FmrParameters before = Filled();
  radio.parameters() = before;
  HostAnswer answer = StatusReply(op.reply_size);
  for (size_t i = 2; i < op.reply_size; ++i) answer.reply[i] = static_cast<uint8_t>(0x35 + 7 * i);
  host.Queue(answer);
  const std::vector<uint8_t> request = Pack(before, op.request, op.request_size);
  gen1::FmrParameters expected = Unpack(before, op.reply, answer.reply);

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
  const std::vector<uint8_t>& second = host.calls.back().request;
  ASSERT_EQ(second.size(), 162u);
  EXPECT_EQ(second[0], 3);
  for (size_t i = 2; i < 26; i += 2) EXPECT_EQ(second[i], 0xAA + 0x11 * ((i - 2) / 2 % 4)) << i;
  EXPECT_TRUE(std::equal(second.begin() + 26, second.end(), first.begin() + 26));
}

TEST_F(Records, UnknownResultCodeIsNotDefined) {
  EXPECT_FALSE(radio.MapResult(static_cast<gen1::SendOutcome>(4)));
  EXPECT_FALSE(radio.MapResult(static_cast<gen1::SendOutcome>(255)));
  EXPECT_TRUE(radio.MapResult(gen1::SendOutcome::kCarried));
  EXPECT_EQ(host.Transcript(), "!ERROR: ERROR_NOT_DEFINED|!ERROR: ERROR_NOT_DEFINED|OK");
}

}  // namespace
