// What each user action puts on the wire: its log lines, the message ids in
// order and the bytes its handler sets in the request (tune action, access
// direction, on/off states, frequency steps), in both modes.
#include <sstream>

#include "common/le_bytes.h"
#include "panel_fixture.h"

namespace {

// "u8@0=1 s16@8=-31 ..." as the record holds it: each word names a type and
// an offset, and its value is read from `record`.
std::string Decode(const std::vector<uint8_t>& record, const std::string& fields) {
  std::istringstream words(fields);
  std::string out;
  for (std::string word; words >> word;) {
    const std::string type = word.substr(0, word.find('@'));
    const size_t at = std::stoul(word.substr(word.find('@') + 1));
    int64_t value = -1;
    if (at + std::stoul(type.substr(1)) / 8 <= record.size()) {
      if (type == "u8") value = common::le::GetU8(record, at);
      if (type == "u16") value = common::le::GetU16(record, at);
      if (type == "s16") value = common::le::GetS16(record, at);
      if (type == "u32") value = common::le::GetU32(record, at);
    }
    out += (out.empty() ? "" : " ") + type + "@" + std::to_string(at) + "=" + std::to_string(value);
  }
  return out;
}

// After switching the radio on in a mode, the commands given: the log ("*"
// stands for "Sending to mobile...|OK"), every message sent in order, and
// fields of the last requests sent (one "|"-separated part per request, the
// last part for the last request): a switch's off row covers its on click.
constexpr bool kRx = false;
constexpr bool kTx = true;
// clang-format off
struct Action { const char* name; bool transmit; const char* commands; const char* log; Ids ids; const char* fields; };
const Action kActions[] = {
    {"TuneUp", kRx, "type LEFrequency 98000000; click BtnTuneUp", "Tune up station.|*", {0x04}, "u8@0=0 u32@4=98100000"},
    {"TuneDown", kRx, "type LEFrequency 98000000; click BtnTuneDown", "Tune down station.|*", {0x04}, "u8@0=0 u32@4=97900000"},
    {"SeekUp", kRx, "click BtnSeekUp", "Seek up station.|*", {0x04}, "u8@0=1 u32@4=87500000"},
    {"SeekDown", kRx, "click BtnSeekDown", "Seek down station.|*", {0x04}, "u8@0=2 u32@4=87500000"},
    {"WriteStation", kRx, "type LEFrequency 95400000; click BtnWriteFrequency", "Write station.|*", {0x04}, "u8@0=0 u32@4=95400000"},
    {"ReadStation", kRx, "click BtnReadFrequency", "Read station.|*", {0x03}, ""},
    {"Refresh", kRx, "click BtnRefresh", "Read FM Radio current status|*", {0x03}, ""},
    {"ReadAudio", kRx, "click BtnReadAudio", "Read audio control.|*", {0x06}, ""},
    {"WriteAudio", kRx, "check CBMono 1; click BtnWriteAudio", "Write audio control.|*", {0x05}, "u8@18=1"},
    {"WriteRssi", kRx, "click BtnReadRSSI; click BtnWriteRSSI", "Read RSSI.|*|Write RSSI.|*", {0x08, 0x08}, "u8@0=1 u8@1=255|u8@0=0 u8@1=255"},
    {"RssiOff", kRx, "click btn_rssi; click btn_rssi", "Turn on RSSI subscribe|*|Turn off RSSI subscribe|*", {0x08, 0x08}, "u8@1=1|u8@1=0"},
    {"ReadRds", kRx, "click BtnReadRDS", "Read RDS.|*", {0x07}, "u8@0=255 u8@1=255"},
    {"WriteRds", kRx, "select CBDecode 1; click BtnWriteRDS", "Write RDS.|*", {0x07}, "u8@0=255 u8@1=255"},
    {"RdsOff", kRx, "click btn_rds; click btn_rds", "Turn on RDS subscribe|*|Turn off RDS subscribe|*", {0x07, 0x07}, "u8@0=1 u8@1=255|u8@0=0 u8@1=255"},
    {"ReadRegister", kRx, "type LERegAddress 0x0010; type LERegData 0x12345678; click BtnReadReg", "Read register.|*", {0x0C}, "u32@0=0 u16@4=16 u32@8=305419896"},
    {"WriteRegister", kRx, "type LERegAddress 0x0010; type LERegData 0x12345678; click BtnWriteReg", "Write register.|*", {0x0C}, "u32@0=1 u16@4=16 u32@8=305419896"},
    {"WriteGain", kRx, "click btn_gain_write", "Write Gain Control.|*", {0x0D}, ""},
    {"ReadGain", kTx, "click Btn_gain_read", "Read gain control.|*", {0x0E}, ""},
    {"Antenna", kRx, "select CBAntenna 0", "Set Antenna|*", {0x0F}, "u32@0=0"},
    {"ToneOn", kRx, "click btn_test_tone", "Test tone on.|*", {0x10}, "u32@0=0 u32@4=1"},
    {"ToneOff", kTx, "click btn_test_tone; click btn_test_tone", "Test tone on.|*|Test tone off.|*", {0x10, 0x10}, "u32@0=1 u32@4=0"},
    {"ChirpOff", kTx, "click btn_chirp; click btn_chirp", "Chirp on.|*|Chirp off.|*", {0x17, 0x17}, "u32@0=1|u32@0=0"},
    {"OutputHeadset", kRx, "select CBOutput 0; click btn_set_output", "Configure destination to: headset|*", {4}, "u16@0=1 u16@4=0"},
    {"OutputSpeaker", kRx, "select CBOutput 2; click btn_set_output", "Configure destination to: backspeaker|*", {4}, "u16@0=1 u16@4=2"},
    {"OutputNone", kRx, "click btn_set_output", "Configure destination to: backspeaker|*", {4}, "u16@0=1 u16@4=255"},
    {"ReadCp", kTx, "type LERegAddress 0x8740; type LERegData 0x00ABC800; click BtnWriteReg; click btn_readcp",
     "Write register.|*|Sending to mobile...|Read register.|*|CP value:5497", {0x0C, 8, 0x0C}, "u32@0=0 u16@4=34624"},
    {"PowerOn", kRx, "click BtnFMRDisable; click BtnFMREnable", "FMR OFF|*|FMR ON|*|Read FM Radio current status|*", {0x02, 0x01, 0x03}, "u8@40=255 u8@41=255 u8@42=255"},
    {"TxPowerOn", kTx, "click BtnFMRDisable; click BtnFMREnable", "FMR OFF|*|FMR ON|*|Read FM Radio current status|*", {0x12, 0x11, 0x18}, "u8@44=255"},
    {"TxTuneUp", kTx, "type LEFrequency 98000000; click BtnTuneUp", "Tune up station.|*", {0x13}, "u32@0=98100000"},
    {"TxTuneDown", kTx, "type LEFrequency 98000000; click BtnTuneDown", "Tune down station.|*", {0x13}, "u32@0=97900000"},
    {"TxWriteStation", kTx, "type LEFrequency 95400000; click BtnWriteFrequency", "Write station.|*", {0x13}, "u32@0=95400000"},
    {"TxReadStation", kTx, "click BtnReadFrequency", "Read station.|*", {0x18}, ""},
    {"TxRefresh", kTx, "click BtnRefresh", "Read FM Radio current status|*", {0x18}, ""},
    {"TxReadAudio", kTx, "click BtnReadAudio", "Read audio control.|*", {0x18}, ""},
    {"TxWriteAudio", kTx, "check CBMute 1; click BtnWriteAudio", "Write audio control.|*", {0x15}, "u32@4=1"},
    {"TxReadRds", kTx, "click BtnReadRDS", "Read RDS.|*", {0x1B}, ""},
    {"TxWriteRds", kTx, "click BtnWriteRDS", "Write RDS.|*", {0x16}, "u8@0=255 u8@1=1"},
    {"TxRdsOff", kTx, "click btn_rds; click btn_rds", "*|Turn on RDS subscribe|Turn off RDS subscribe|*", {0x16, 0x16}, "u8@0=1 u8@1=1|u8@0=0"},
    {"TxScan", kTx, "type le_start_freq 88000000; type le_stop_freq 107000000; type LEMASRSSI2 -5; click btnTxScan",
     "TX Scan.|*", {0x14}, "u32@0=88000000 u32@4=107000000 u32@8=100000 s16@12=-5"},
};
// clang-format on

class WireTest : public PanelTest, public ::testing::WithParamInterface<Action> {};

TEST_P(WireTest, LogsSendsAndSetsItsBytes) {
  const Action& a = GetParam();
  PowerOn(a.transmit);
  ASSERT_EQ(Run(a.commands).find("error"), std::string::npos) << Run(a.commands);
  std::string log = a.log;
  for (size_t at; (at = log.find('*')) != std::string::npos;)
    log.replace(at, 1, "Sending to mobile...|OK");
  EXPECT_EQ(host.Transcript(), log);
  EXPECT_EQ(SentIds(), a.ids);
  std::vector<std::string> parts;
  std::istringstream in(a.fields);
  for (std::string part; std::getline(in, part, '|');) parts.push_back(part);
  std::vector<std::string> decoded(parts.size());
  auto call = host.calls.rbegin();
  for (size_t i = parts.size(); i-- > 0;) {
    while (call != host.calls.rend() && call->request.empty()) ++call;
    decoded[i] =
        Decode(call != host.calls.rend() ? (call++)->request : std::vector<uint8_t>{}, parts[i]);
  }
  EXPECT_EQ(decoded, parts);
  EXPECT_EQ(Dialogs(), "");
}

INSTANTIATE_TEST_SUITE_P(Actions, WireTest, ::testing::ValuesIn(kActions),
                         [](const auto& test) { return std::string(test.param.name); });

// One channel up or down inside the band, the band's edge beyond it; in
// both modes, for each band and spacing.
TEST_F(PanelTest, TuneStepsOneChannelAndStopsAtTheBandEdge) {
  // clang-format off
  const struct { int band; int spacing; const char* from; bool up; uint32_t sent; } rows[] = {  // band 2: 80 to 100 MHz
      {0, 0, "98000000", true, 98050000}, {0, 1, "98000000", false, 97900000}, {0, 2, "107900000", true, 108000000},
      {0, 2, "87600000", false, 87500000}, {0, 0, "107980000", true, 108000000}, {0, 1, "87550000", false, 87500000},
      {1, 0, "89980000", true, 90000000}, {1, 1, "76050000", false, 76000000}, {1, 2, "80000000", true, 80200000},
      {1, 2, "80000000", false, 79800000}, {2, 1, "99950000", true, 100000000}, {2, 0, "80020000", false, 80000000},
      {2, 2, "90000000", true, 90200000}, {2, 0, "90000000", false, 89950000}};
  // clang-format on
  PowerOn(false);
  for (const bool transmit : {false, true}) {
    if (transmit) Run("click BtnFMRDisable; select CBTMode 1; click BtnFMREnable");
    for (const auto& row : rows) {
      SCOPED_TRACE(std::string(row.from) + (row.up ? " up" : " down") + (transmit ? " tx" : ""));
      Run("select CBBandSelection " + std::to_string(row.band) + "; select CBChannelSpacing " +
          std::to_string(row.spacing));
      if (row.band == 2) {
        ASSERT_EQ(Run("type LEMINFreq 80000000; type LEMAXFreq 100000000"), "ok; ok");
      }
      ASSERT_EQ(Run(std::string("type LEFrequency ") + row.from + "; click " +
                    (row.up ? "BtnTuneUp" : "BtnTuneDown")),
                "ok; ok");
      const testing_host::HostCall* tune = LastCall(transmit ? 0x13 : 0x04);
      ASSERT_NE(tune, nullptr);
      EXPECT_EQ(common::le::GetU32(tune->request, transmit ? 0 : 4), row.sent);
      EXPECT_EQ(Shown("LEFrequency"), std::to_string(row.sent));
    }
  }
}

}  // namespace
