// The command set over the TESSIC.dll double: every method's command text
// and outcome, and every field of every reply record decoded from its place
// in the reply.
#include "gen2/aud_app.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <string_view>

#include "all_methods.h"
#include "recording_host.h"
#include "tessic_double.h"
#include "ui/headless/headless_services.h"

namespace MANAGED_IF {
namespace {

class AudAppTest : public ::testing::Test {
 protected:
  AudAppTest() {
    TransportWrapper::Unload();
    TransportWrapper fresh(log_.Context(services_));
    app_ = std::make_unique<aud_app>(fresh);
  }
  ~AudAppTest() override {
    app_.reset();
    TransportWrapper::Unload();
  }
  void Reply(const std::string& command, const std::string& text, int32_t status = 0) {
    double_->replies["at@audapp:" + command] = {status, text};
  }

  ui::HeadlessServices services_;
  testing_host::RecordingHost log_;
  gen2_test::TessicDouble double_;
  std::unique_ptr<aud_app> app_;
};

// Writes take the exchange's code; reads fail unless the reply decodes, and
// after an error reply leave their records as they were.
TEST_F(AudAppTest, EveryMethodSendsItsTextAndReturnsTheOutcome) {
  for (const int32_t status : {0, -2}) {
    Reply("", "", status);
    Records records;
    for (const Method& m : AllMethods(records)) {
      double_->sent.clear();
      double_->sent_lengths.clear();
      const bool read = std::string(m.text).find("_get_") != std::string::npos;
      EXPECT_EQ(m.call(*app_), status == 0 && !read ? 0 : 3) << m.text << " " << status;
      EXPECT_EQ(double_->sent, std::vector<std::string>{m.text});
      EXPECT_EQ(double_->sent_lengths, std::vector<int32_t>{int32_t(std::string(m.text).size())});
    }
    EXPECT_EQ(records.data, T_DynamicData{});
    EXPECT_EQ(records.config, T_StaticConfig{});
    EXPECT_EQ(records.version, T_Version{});
    EXPECT_EQ(records.seek, T_AutoSeekReport{});
    EXPECT_EQ(records.rds, T_RdsReport{});
  }
}

template <size_t N>
std::array<uint8_t, N> Chars(std::string_view text) {
  std::array<uint8_t, N> chars{};
  std::copy(text.begin(), text.end(), chars.begin());
  return chars;
}

// Each record from a reply whose values all differ, then with one value
// too few and one too many (both fail; decoding never reads past "OK").
TEST_F(AudAppTest, EveryReplyFieldIsDecodedFromItsPlace) {
  // The records as the replies below fill them, fields in reply order.
  Records r;
  const T_DynamicData data{1, 2, 3, 4, -5, 6, 7, -8, 9, 10, -11, 12, -13};
  const T_StaticConfig static_config{1,  2,   3,  4,  5,  6,   7,  -8, 9,  -10, -11,
                                     12, -13, 14, 15, 16, -17, 18, 19, 20, 44,  22};
  const T_Version version_record{Chars<16>("MAKER"), Chars<16>("HW-7"), Chars<24>("EXT"),
                                 Chars<100>("SW1 FW2 ")};
  T_AutoSeekReport report{.station_count = 7};  // 263 in one byte
  T_RdsReport rds_report;
  std::string seek = "263 ", levels, rds, version;
  for (uint16_t i = 0; i < 50; ++i) {
    seek += std::to_string(report.frequencies[i] = 1000u + i) + " ";
    levels += std::to_string(report.rssi[i] = static_cast<int16_t>(-i)) + " ";
  }
  seek += levels;
  for (const long long base : {0, 100, 200, 300, 70000, 80000, -90000})
    for (int i = 0; i < 28; ++i) rds += std::to_string(base + (base < 0 ? -i : i)) + " ";
  for (uint16_t i = 0; i < 28; ++i) {
    rds_report.block_a[i] = i;
    rds_report.block_b[i] = 100 + i;
    rds_report.block_c[i] = 200 + i;
    rds_report.block_d[i] = 300 + i;
    rds_report.column5[i] = 70000u + i;
    rds_report.column6[i] = 80000u + i;
    rds_report.column7[i] = -90000 - i;
  }
  for (const auto& [text, size] : {std::pair<std::string_view, size_t>{"MAKER", 16},
                                   {"HW-7", 16},
                                   {"EXT", 24},
                                   {"SW1 FW2 ", 100}}) {
    for (size_t i = 0; i < size; ++i)
      version += std::to_string(i < text.size() ? text[i] : 0) + " ";
  }

  const struct {
    const char* command;
    std::string reply;
    std::function<int32_t()> call;
    std::function<bool()> decoded;
  } cases[] = {
      {"fmrx_get_dynamic_data", "1 2 3 4 -5 6 7 -8 9 10 -11 12 -13 ",
       [&] { return app_->fmrx_get_dynamic_data(r.data); }, [&] { return r.data == data; }},
      {"fmrx_get_static_config", "1 2 3 4 5 6 7 -8 9 -10 -11 12 -13 14 15 16 -17 18 19 20 300 22 ",
       [&] { return app_->fmrx_get_static_config(r.config); },
       [&] { return r.config == static_config; }},
      {"fmrx_get_auto_seek_report", seek, [&] { return app_->fmrx_get_auto_seek_report(r.seek); },
       [&] { return r.seek == report; }},
      {"fmrx_get_rds_data", rds, [&] { return app_->fmrx_get_rds_data(r.rds); },
       [&] { return r.rds == rds_report; }},
      {"fmr_get_version", version, [&] { return app_->fmr_get_version(r.version); },
       [&] { return r.version == version_record; }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.command);
    Reply(c.command, c.reply);
    EXPECT_EQ(c.call(), 0);
    EXPECT_TRUE(c.decoded());
    const size_t last = c.reply.rfind(' ', c.reply.size() - 2);
    Reply(c.command, c.reply.substr(0, last + 1));
    EXPECT_EQ(c.call(), 3);
    Reply(c.command, c.reply + "0");
    EXPECT_EQ(c.call(), 3);
  }
}

}  // namespace
}  // namespace MANAGED_IF
