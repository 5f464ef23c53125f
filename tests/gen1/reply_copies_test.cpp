// Reply copies: after a full success exactly the fields of the reply's
// layout change, each read at its offset with its width and sign.
#include <gtest/gtest.h>

#include <vector>

#include "filled_parameters.h"
#include "gen1/kelbo_fmr_function.h"
#include "recording_host.h"

using testing_host::HostAnswer;
using testing_host::RecordingHost;
using testing_host::StatusReply;

namespace {

// Reads the test's reply pattern, independently of the library's helpers.
struct Reader {
  const std::vector<uint8_t>& bytes;
  uint32_t u(size_t offset, size_t width) const {
    uint32_t value = 0;
    for (size_t i = 0; i < width; ++i)
      value |= static_cast<uint32_t>(bytes.at(offset + i)) << (8 * i);
    return value;
  }
  uint8_t u8(size_t o) const { return static_cast<uint8_t>(u(o, 1)); }
  uint16_t u16(size_t o) const { return static_cast<uint16_t>(u(o, 2)); }
  uint32_t u32(size_t o) const { return u(o, 4); }
  int8_t s8(size_t o) const { return static_cast<int8_t>(u8(o)); }
  int16_t s16(size_t o) const { return static_cast<int16_t>(u16(o)); }
  template <size_t N>
  std::array<char, N> chars(size_t o) const {
    std::array<char, N> text{};
    for (size_t i = 0; i < N; ++i) text[i] = static_cast<char>(bytes.at(o + i));
    return text;
  }
};

struct ReplyCase {
  const char* name;
  bool (*operation)(CKelboFMRFunction&);
  uint16_t id;
  size_t size;
  void (*expect)(const Reader& r, FmrParameters& p);  // applies the reply's fields
};

void Blocks(const Reader& r, size_t offset, FmrParameters& p) {
  for (size_t i = 0; i < 64; ++i) p.rdsBlocks[i] = r.u16(offset + 2 * i);
}

const ReplyCase kReplies[] = {
    {"ReadRxStatus", [](CKelboFMRFunction& f) { return f.ReadRxStatus(); }, 0x03, 48,
     [](const Reader& r, FmrParameters& p) {
       p.frequencyHz = r.u32(4);
       p.stereo = r.u8(8);
       p.pilotFrequencyHz = r.u32(12);
       p.rssi = r.s16(16);
       p.volume = r.u16(18);
       p.mute = r.u8(20);
       p.outputPath = r.u8(21);
       p.deEmphasis = r.u8(22);
       p.sncOn = r.u8(23);
       p.sncStep = r.u16(24);
       p.sncLowThreshold = r.s16(26);
       p.sncHighThreshold = r.s16(28);
       p.softMuteOn = r.u8(30);
       p.softMuteStep = r.u16(32);
       p.softMuteThreshold = r.s16(34);
       for (size_t i = 0; i < 8; ++i) p.rxStatusReserved[i] = r.u8(36 + i);
       p.rxStatusWord = r.u16(44);
       p.rdsRxErrors = r.u16(46);
     }},
    {"RxTune", [](CKelboFMRFunction& f) { return f.RxTune(); }, 0x04, 12,
     [](const Reader& r, FmrParameters& p) {
       p.frequencyHz = r.u32(4);
       p.rssi = r.s16(8);
       p.stereo = r.u8(10);
     }},
    {"WriteRxAudio", [](CKelboFMRFunction& f) { return f.WriteRxAudio(); }, 0x05, 4,
     [](const Reader& r, FmrParameters& p) { p.stereo = r.u8(2); }},
    {"ReadRxAudio", [](CKelboFMRFunction& f) { return f.ReadRxAudio(); }, 0x06, 22,
     [](const Reader& r, FmrParameters& p) {
       p.volume = r.u16(2);
       p.mute = r.u8(4);
       p.outputPath = r.u8(5);
       p.deEmphasis = r.u8(6);
       p.sncOn = r.u8(7);
       p.sncStep = r.u16(8);
       p.sncLowThreshold = r.s16(10);
       p.sncHighThreshold = r.s16(12);
       p.softMuteOn = r.u8(14);
       p.softMuteStep = r.u16(16);
       p.softMuteThreshold = r.s16(18);
       p.stereo = r.u8(20);
     }},
    {"AccessRds", [](CKelboFMRFunction& f) { return f.AccessRds(); }, 0x07, 168,
     [](const Reader& r, FmrParameters& p) {
       p.rdsGroupCount = r.u8(2);
       Blocks(r, 4, p);
       for (size_t g = 0; g < 16; ++g) p.rdsGroupStatus[g] = r.u16(132 + 2 * g);
       p.rdsReplyWord = r.u16(164);
     }},
    {"AccessRssi", [](CKelboFMRFunction& f) { return f.AccessRssi(); }, 0x08, 16,
     [](const Reader& r, FmrParameters& p) {
       p.frequencyHz = r.u32(4);
       p.pilotFrequencyHz = r.u32(8);
       p.rssi = r.s16(12);
       p.stereo = r.u8(14);
     }},
    {"AccessRegister", [](CKelboFMRFunction& f) { return f.AccessRegister(); }, 0x0C, 8,
     [](const Reader& r, FmrParameters& p) { p.regData = r.u32(4); }},
    {"ReadGain", [](CKelboFMRFunction& f) { return f.ReadGain(); }, 0x0E, 24,
     [](const Reader& r, FmrParameters& p) {
       p.agcOn = r.u32(4);
       p.lnaGain = r.u8(8);
       p.ppfGain = r.u8(9);
       p.externalLnaOn = r.u32(12);
       p.externalLnaOffset = r.s8(16);
       p.supplyVoltage = r.u8(17);
       p.txOutputPower = r.s16(18);
       p.intLnaReduction = r.u8(20);
     }},
    {"TxScan", [](CKelboFMRFunction& f) { return f.TxScan(); }, 0x14, 12,
     [](const Reader& r, FmrParameters& p) {
       p.txScanResultHz = r.u32(4);
       p.txScanResultRssi = r.s16(8);
     }},
    {"ReadTxStatus", [](CKelboFMRFunction& f) { return f.ReadTxStatus(); }, 0x18, 64,
     [](const Reader& r, FmrParameters& p) {
       p.frequencyHz = r.u32(4);
       p.txOutputPower = r.s16(8);
       p.bandMaxHz = r.u32(12);
       p.bandMinHz = r.u32(16);
       p.channelSpacing = r.u32(20);
       p.preEmphasis = r.s8(24);
       p.txAudioMode = r.u8(28);
       p.freqDeviationHz = r.u32(32);
       p.pilotDeviationHz = r.u16(36);
       p.rdsDeviationHz = r.u16(38);
       p.rfMute = r.u32(40);
       p.pilotOn = r.u32(44);
       p.rdsState = r.u8(48);
       p.volume = r.u16(52);
       p.mute = r.u8(56);
       p.modulationOn = r.u32(60);
     }},
    {"ReadRdsBlocks", [](CKelboFMRFunction& f) { return f.ReadRdsBlocks(); }, 0x1A, 252,
     [](const Reader& r, FmrParameters& p) {
       p.rdsBufferWord = r.u32(4);
       p.rdsGroupCount = r.u8(8);
       Blocks(r, 10, p);
     }},
    {"ReadTxRds", [](CKelboFMRFunction& f) { return f.ReadTxRds(); }, 0x1B, 204,
     [](const Reader& r, FmrParameters& p) {
       p.rdsState = r.u8(2);
       p.rdsStackOn = r.u8(3);
       p.rdsFeatures = r.u32(4);
       p.rdsDeviationHz = r.u16(8);
       p.rdsDecoderMode = r.u8(10);
       p.rdsPi = r.u16(12);
       p.rdsRadioText = r.chars<64>(14);
       p.rdsPsName = r.chars<64>(78);
       p.rdsPsMode = r.u8(142);
       p.rdsPsRate = r.u8(143);
       p.rdsRtPlus = r.chars<8>(144);
       p.rdsPty = r.u8(152);
       for (size_t i = 0; i < 25; ++i) p.rdsAfList[i] = r.u16(154 + 2 * i);
     }},
    {"ReadPowerState", [](CKelboFMRFunction& f) { return f.ReadPowerState(); }, 0x23, 56,
     [](const Reader& r, FmrParameters& p) { p.powerState = r.u32(32); }},
    {"ReadRadioInfo", [](CKelboFMRFunction& f) { return f.ReadRadioInfo(); }, 0x3A, 16,
     [](const Reader& r, FmrParameters& p) { p.radioInfoWord = r.u32(4); }},
    // Replies that carry nothing but the status word.
    {"RxPowerOn", [](CKelboFMRFunction& f) { return f.RxPowerOn(); }, 0x01, 2, nullptr},
    {"RxPowerOff", [](CKelboFMRFunction& f) { return f.RxPowerOff(); }, 0x02, 2, nullptr},
    {"WriteGain", [](CKelboFMRFunction& f) { return f.WriteGain(); }, 0x0D, 2, nullptr},
    {"SetAntenna", [](CKelboFMRFunction& f) { return f.SetAntenna(); }, 0x0F, 2, nullptr},
    {"SetTestTone", [](CKelboFMRFunction& f) { return f.SetTestTone(); }, 0x10, 2, nullptr},
    {"TxPowerOn", [](CKelboFMRFunction& f) { return f.TxPowerOn(); }, 0x11, 2, nullptr},
    {"TxPowerOff", [](CKelboFMRFunction& f) { return f.TxPowerOff(); }, 0x12, 2, nullptr},
    {"TxTune", [](CKelboFMRFunction& f) { return f.TxTune(); }, 0x13, 2, nullptr},
    {"WriteTxAudio", [](CKelboFMRFunction& f) { return f.WriteTxAudio(); }, 0x15, 2, nullptr},
    {"WriteTxRds", [](CKelboFMRFunction& f) { return f.WriteTxRds(); }, 0x16, 2, nullptr},
    {"SetChirp", [](CKelboFMRFunction& f) { return f.SetChirp(); }, 0x17, 2, nullptr},
};

// A reply of `size` bytes with status 1 and a byte pattern behind it.
HostAnswer PatternReply(size_t size) {
  HostAnswer answer = StatusReply(size);
  for (size_t i = 2; i < size; ++i) answer.reply[i] = static_cast<uint8_t>(0x35 + 7 * i);
  return answer;
}

void PrintTo(const ReplyCase& c, std::ostream* out) {
  *out << c.name;
}

class ReplyCopy : public ::testing::TestWithParam<ReplyCase> {
 protected:
  RecordingHost host;
  CKelboFMRFunction radio;
};

TEST_P(ReplyCopy, CopiesExactlyTheReplyFields) {
  const ReplyCase& c = GetParam();
  radio.parameters() = FilledParameters();
  const HostAnswer answer = PatternReply(c.size);
  host.Queue(answer);
  FmrParameters expected = radio.parameters();
  if (c.expect != nullptr) c.expect(Reader{answer.reply}, expected);

  EXPECT_TRUE(c.operation(radio));

  EXPECT_EQ(host.calls.at(0).message_id, c.id);
  EXPECT_TRUE(radio.parameters() == expected);
  EXPECT_EQ(host.LogTexts(), (std::vector<std::string>{"Sending to mobile...", "OK"}));
}

INSTANTIATE_TEST_SUITE_P(Replies, ReplyCopy, ::testing::ValuesIn(kReplies),
                         [](const auto& test) { return std::string(test.param.name); });

TEST(ReplyCopy, SendRdsGroupsReportsTheAcceptedCount) {
  RecordingHost host;
  CKelboFMRFunction radio;
  HostAnswer answer = StatusReply(4);
  answer.reply[2] = 7;
  host.Queue(answer);
  uint8_t accepted = 0;
  EXPECT_TRUE(radio.SendRdsGroups(accepted));
  EXPECT_EQ(accepted, 7);

  answer.reply[0] = 2;  // status error: the count is left alone
  host.Queue(answer);
  accepted = 99;
  EXPECT_FALSE(radio.SendRdsGroups(accepted));
  EXPECT_EQ(accepted, 99);
}

}  // namespace
