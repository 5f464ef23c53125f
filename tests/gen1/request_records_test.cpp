// Byte-exact request records: every operation that sends parameters packs
// each field at its offset, little-endian, with its width, and leaves the
// padding zero.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "filled_parameters.h"
#include "gen1/kelbo_fmr_function.h"
#include "host/host_interface.h"
#include "recording_host.h"

using testing_host::RecordingHost;
using testing_host::StatusReply;

namespace {

struct Field {
  size_t offset;
  size_t width;
  uint64_t value;  // written little-endian over `width` bytes
};
using Fields = std::vector<Field>;

struct RequestCase {
  const char* name;
  bool (*operation)(CKelboFMRFunction&);
  uint16_t id;
  size_t size;
  uint16_t reply_size;
  Fields (*layout)(const FmrParameters&);
};

uint64_t Sx32(int value) {
  return static_cast<uint32_t>(static_cast<int32_t>(value));
}
uint64_t U(int16_t value) {
  return static_cast<uint16_t>(value);
}

template <size_t N>
void AddChars(Fields& fields, size_t offset, const std::array<char, N>& text) {
  for (size_t i = 0; i < N; ++i) fields.push_back({offset + i, 1, static_cast<uint8_t>(text[i])});
}

const RequestCase kRequests[] = {
    {"RxPowerOn", [](CKelboFMRFunction& f) { return f.RxPowerOn(); }, 0x01, 52, 2,
     [](const FmrParameters& p) {
       return Fields{{0, 4, p.frequencyHz},
                     {4, 2, U(p.scanMinRssi)},
                     {6, 1, p.forceMono},
                     {8, 4, p.bandMaxHz},
                     {12, 4, p.bandMinHz},
                     {16, 4, p.channelSpacing},
                     {20, 1, p.sideband},
                     {22, 2, p.volume},
                     {24, 1, p.mute},
                     {25, 1, p.outputPath},
                     {26, 1, p.deEmphasis},
                     {27, 1, p.sncOn},
                     {28, 2, p.sncStep},
                     {30, 2, U(p.sncLowThreshold)},
                     {32, 2, U(p.sncHighThreshold)},
                     {34, 1, p.softMuteOn},
                     {36, 2, p.softMuteStep},
                     {38, 2, U(p.softMuteThreshold)},
                     {40, 1, p.rdsState},
                     {41, 1, p.rdsDecoderMode},
                     {42, 1, p.rssiState},
                     {44, 2, U(p.rssiOffset)},
                     {46, 2, U(p.rssiLowAlert)},
                     {48, 2, U(p.rssiHighAlert)}};
     }},
    {"RxTune", [](CKelboFMRFunction& f) { return f.RxTune(); }, 0x04, 28, 12,
     [](const FmrParameters& p) {
       return Fields{{0, 1, p.tuneAction},      {4, 4, p.frequencyHz}, {8, 2, U(p.scanMinRssi)},
                     {10, 1, p.forceMono},      {12, 4, p.bandMaxHz},  {16, 4, p.bandMinHz},
                     {20, 4, p.channelSpacing}, {24, 1, p.sideband}};
     }},
    {"WriteRxAudio", [](CKelboFMRFunction& f) { return f.WriteRxAudio(); }, 0x05, 20, 4,
     [](const FmrParameters& p) {
       return Fields{{0, 2, p.volume},
                     {2, 1, p.mute},
                     {3, 1, p.outputPath},
                     {4, 1, p.deEmphasis},
                     {5, 1, p.sncOn},
                     {6, 2, p.sncStep},
                     {8, 2, U(p.sncLowThreshold)},
                     {10, 2, U(p.sncHighThreshold)},
                     {12, 1, p.softMuteOn},
                     {14, 2, p.softMuteStep},
                     {16, 2, U(p.softMuteThreshold)},
                     {18, 1, p.forceMono}};
     }},
    {"AccessRds", [](CKelboFMRFunction& f) { return f.AccessRds(); }, 0x07, 2, 168,
     [](const FmrParameters& p) {
       return Fields{{0, 1, p.rdsState}, {1, 1, p.rdsDecoderMode}};
     }},
    {"AccessRssi", [](CKelboFMRFunction& f) { return f.AccessRssi(); }, 0x08, 8, 16,
     [](const FmrParameters& p) {
       return Fields{{0, 1, p.rssiAccess},
                     {1, 1, p.rssiState},
                     {2, 2, U(p.rssiOffset)},
                     {4, 2, U(p.rssiLowAlert)},
                     {6, 2, U(p.rssiHighAlert)}};
     }},
    {"AccessRegister", [](CKelboFMRFunction& f) { return f.AccessRegister(); }, 0x0C, 12, 8,
     [](const FmrParameters& p) {
       return Fields{{0, 4, p.regAccess}, {4, 2, p.regAddress}, {8, 4, p.regData}};
     }},
    {"WriteGain", [](CKelboFMRFunction& f) { return f.WriteGain(); }, 0x0D, 20, 2,
     [](const FmrParameters& p) {
       return Fields{{0, 4, p.agcOn},
                     {4, 1, p.lnaGain},
                     {5, 1, p.ppfGain},
                     {8, 4, p.externalLnaOn},
                     {12, 1, static_cast<uint8_t>(p.externalLnaOffset)},
                     {13, 1, p.supplyVoltage},
                     {14, 2, U(p.txOutputPower)},
                     {16, 1, p.intLnaReduction}};
     }},
    {"SetAntenna", [](CKelboFMRFunction& f) { return f.SetAntenna(); }, 0x0F, 4, 2,
     [](const FmrParameters& p) {
       return Fields{{0, 4, p.antenna}};
     }},
    {"SetTestTone", [](CKelboFMRFunction& f) { return f.SetTestTone(); }, 0x10, 36, 2,
     [](const FmrParameters& p) {
       return Fields{{0, 4, p.mode},
                     {4, 4, p.toneOn},
                     {8, 2, p.toneLeftFreqHz},
                     {12, 4, p.toneLeftAmplitude},
                     {16, 4, p.toneLeftPhase},
                     {20, 2, p.toneRightFreqHz},
                     {24, 4, p.toneRightAmplitude},
                     {28, 4, p.toneRightPhase},
                     {32, 1, p.txAudioMode},
                     {33, 1, p.outputPath}};
     }},
    {"TxPowerOn", [](CKelboFMRFunction& f) { return f.TxPowerOn(); }, 0x11, 48, 2,
     [](const FmrParameters& p) {
       return Fields{
           {0, 4, p.frequencyHz},     {4, 2, U(p.txOutputPower)}, {8, 4, p.bandMaxHz},
           {12, 4, p.bandMinHz},      {16, 4, p.channelSpacing},  {20, 4, Sx32(p.preEmphasis)},
           {24, 1, p.txAudioMode},    {28, 4, p.freqDeviationHz}, {32, 2, p.pilotDeviationHz},
           {34, 2, p.rdsDeviationHz}, {36, 4, p.rfMute},          {40, 4, p.pilotOn},
           {44, 1, p.rdsState}};
     }},
    {"TxTune", [](CKelboFMRFunction& f) { return f.TxTune(); }, 0x13, 40, 2,
     [](const FmrParameters& p) {
       return Fields{{0, 4, p.frequencyHz},       {4, 4, p.bandMaxHz},
                     {8, 4, p.bandMinHz},         {16, 4, Sx32(p.preEmphasis)},
                     {20, 1, p.txAudioMode},      {24, 4, p.freqDeviationHz},
                     {28, 2, p.pilotDeviationHz}, {30, 2, p.rdsDeviationHz},
                     {32, 4, p.rfMute},           {36, 4, p.pilotOn}};
     }},
    {"TxScan", [](CKelboFMRFunction& f) { return f.TxScan(); }, 0x14, 16, 12,
     [](const FmrParameters& p) {
       return Fields{{0, 4, p.txScanStartHz},
                     {4, 4, p.txScanStopHz},
                     {8, 4, p.channelSpacing},
                     {12, 2, U(p.txScanMinRssi)}};
     }},
    {"WriteTxAudio", [](CKelboFMRFunction& f) { return f.WriteTxAudio(); }, 0x15, 20, 2,
     [](const FmrParameters& p) {
       return Fields{{0, 4, p.volume},
                     {4, 4, p.mute},
                     {8, 4, p.modulationOn},
                     {12, 4, Sx32(p.preEmphasis)},
                     {16, 1, p.txAudioMode}};
     }},
    {"WriteTxRds", [](CKelboFMRFunction& f) { return f.WriteTxRds(); }, 0x16, 204, 2,
     [](const FmrParameters& p) {
       Fields fields{{0, 1, p.rdsState},       {1, 1, p.rdsStackOn},      {4, 4, p.rdsFeatures},
                     {8, 2, p.rdsDeviationHz}, {10, 1, p.rdsDecoderMode}, {12, 2, p.rdsPi},
                     {142, 1, p.rdsPsMode},    {143, 1, p.rdsPsRate},     {152, 1, p.rdsPty}};
       AddChars(fields, 14, p.rdsRadioText);
       AddChars(fields, 78, p.rdsPsName);
       AddChars(fields, 144, p.rdsRtPlus);
       for (size_t i = 0; i < kRdsAfEntries; ++i)
         fields.push_back({154 + 2 * i, 2, p.rdsAfList[i]});
       return fields;
     }},
    {"SetChirp", [](CKelboFMRFunction& f) { return f.SetChirp(); }, 0x17, 4, 2,
     [](const FmrParameters& p) {
       return Fields{{0, 4, p.chirpOn}};
     }},
    {"SendRdsGroups",
     [](CKelboFMRFunction& f) {
       uint8_t accepted = 0;
       return f.SendRdsGroups(accepted);
     },
     0x19, 162, 4,
     [](const FmrParameters& p) {
       Fields fields{{0, 1, p.rdsTxGroupCount}};
       for (size_t g = 0; g < kRdsTxGroups; ++g) {
         for (size_t b = 0; b < 4; ++b)
           fields.push_back({2 + 8 * g + 2 * b, 2, p.rdsTxGroups[g][b]});
       }
       return fields;
     }},
};

void PrintTo(const RequestCase& c, std::ostream* out) {
  *out << c.name;
}

std::vector<uint8_t> ExpectedBytes(size_t size, const Fields& fields) {
  std::vector<uint8_t> bytes(size, 0);
  for (const Field& f : fields) {
    for (size_t i = 0; i < f.width; ++i)
      bytes.at(f.offset + i) = static_cast<uint8_t>(f.value >> (8 * i));
  }
  return bytes;
}

class RequestRecord : public ::testing::TestWithParam<RequestCase> {
 protected:
  RecordingHost host;
  CKelboFMRFunction radio;
};

TEST_P(RequestRecord, PacksEveryFieldAtItsOffset) {
  const RequestCase& c = GetParam();
  radio.parameters() = FilledParameters();
  const std::vector<uint8_t> expected = ExpectedBytes(c.size, c.layout(radio.parameters()));
  host.Queue(StatusReply(c.reply_size));

  EXPECT_TRUE(c.operation(radio));

  ASSERT_EQ(host.calls.size(), 1u);
  EXPECT_EQ(host.calls[0].slot, kSlotSendTestFunction);
  EXPECT_EQ(host.calls[0].message_id, c.id);
  EXPECT_EQ(host.calls[0].request, expected);
}

INSTANTIATE_TEST_SUITE_P(Records, RequestRecord, ::testing::ValuesIn(kRequests),
                         [](const auto& test) { return std::string(test.param.name); });

struct EmptyRequestCase {
  const char* name;
  bool (*operation)(CKelboFMRFunction&);
  uint16_t id;
};

TEST(RequestRecord, OperationsWithoutParametersSendNothing) {
  const EmptyRequestCase cases[] = {
      {"RxPowerOff", [](CKelboFMRFunction& f) { return f.RxPowerOff(); }, 0x02},
      {"ReadRxStatus", [](CKelboFMRFunction& f) { return f.ReadRxStatus(); }, 0x03},
      {"ReadRxAudio", [](CKelboFMRFunction& f) { return f.ReadRxAudio(); }, 0x06},
      {"ReadGain", [](CKelboFMRFunction& f) { return f.ReadGain(); }, 0x0E},
      {"TxPowerOff", [](CKelboFMRFunction& f) { return f.TxPowerOff(); }, 0x12},
      {"ReadTxStatus", [](CKelboFMRFunction& f) { return f.ReadTxStatus(); }, 0x18},
      {"ReadRdsBlocks", [](CKelboFMRFunction& f) { return f.ReadRdsBlocks(); }, 0x1A},
      {"ReadTxRds", [](CKelboFMRFunction& f) { return f.ReadTxRds(); }, 0x1B},
      {"ReadPowerState", [](CKelboFMRFunction& f) { return f.ReadPowerState(); }, 0x23},
      {"ReadRadioInfo", [](CKelboFMRFunction& f) { return f.ReadRadioInfo(); }, 0x3A},
  };
  RecordingHost host;
  CKelboFMRFunction radio;
  for (const EmptyRequestCase& c : cases) {
    host.Clear();
    c.operation(radio);
    ASSERT_EQ(host.calls.size(), 1u) << c.name;
    EXPECT_EQ(host.calls[0].message_id, c.id) << c.name;
    EXPECT_TRUE(host.calls[0].request_null) << c.name;
  }
}

TEST(RequestRecord, EverySendingOperationRebuildsAllRecords) {
  RecordingHost host;
  CKelboFMRFunction radio;
  host.Queue(StatusReply(2));
  radio.parameters().frequencyHz = 98500000;
  radio.SetAntenna();  // sends only the antenna, but rebuilds the tune records too
  EXPECT_EQ(radio.requests().rxTune[4], static_cast<uint8_t>(98500000));
  EXPECT_EQ(radio.requests().txPowerOn[0], static_cast<uint8_t>(98500000));

  host.Queue(StatusReply(48, 0));
  radio.parameters().frequencyHz = 0;
  radio.ReadRxStatus();  // sends no parameters: the records stay as they were
  EXPECT_EQ(radio.requests().rxTune[4], static_cast<uint8_t>(98500000));
}

TEST(RequestRecord, RdsGroupsAboveTheCountAreNotRewritten) {
  RecordingHost host;
  CKelboFMRFunction radio;
  FmrParameters& p = radio.parameters();
  p = FilledParameters();  // 20 groups
  host.Queue(StatusReply(4));
  uint8_t accepted = 0;
  radio.SendRdsGroups(accepted);
  const std::vector<uint8_t> first = host.calls.back().request;

  for (auto& group : p.rdsTxGroups) group = {0xAAAA, 0xBBBB, 0xCCCC, 0xDDDD};
  p.rdsTxGroupCount = 3;
  host.Queue(StatusReply(4));
  radio.SendRdsGroups(accepted);
  const std::vector<uint8_t>& second = host.calls.back().request;

  ASSERT_EQ(second.size(), 162u);
  EXPECT_EQ(second[0], 3);
  std::vector<uint8_t> new_groups;
  for (int g = 0; g < 3; ++g)
    new_groups.insert(new_groups.end(), {0xAA, 0xAA, 0xBB, 0xBB, 0xCC, 0xCC, 0xDD, 0xDD});
  EXPECT_EQ(std::vector<uint8_t>(second.begin() + 2, second.begin() + 26), new_groups);
  EXPECT_TRUE(std::equal(second.begin() + 26, second.end(), first.begin() + 26));
}

TEST(RequestRecord, RdsGroupCountAboveTwentyPacksTwentyGroups) {
  RecordingHost host;
  CKelboFMRFunction radio;
  radio.parameters() = FilledParameters();
  radio.parameters().rdsTxGroupCount = 200;
  host.Queue(StatusReply(4));
  uint8_t accepted = 0;
  radio.SendRdsGroups(accepted);
  ASSERT_EQ(host.calls.back().request.size(), 162u);
  EXPECT_EQ(host.calls.back().request[0], 200);
  EXPECT_EQ(host.calls.back().request[161], 0x61);  // block D of group 19, high byte
}

}  // namespace
