// The command set over the TESSIC.dll double: every method's command text
// and outcome, and every field of every reply record decoded from its place
// in the reply.
#include "gen2/aud_app.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <type_traits>

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
    EXPECT_TRUE(records == Records{});
  }
}

// Each record from a reply whose values all differ, then with one value
// too few and one too many (both fail; decoding never reads past "OK").
TEST_F(AudAppTest, EveryReplyFieldIsDecodedFromItsPlace) {
  // The records as the replies below fill them, fields in reply order.
  Records want;
  want.data = {1, 2, 3, 4, -5, 6, 7, -8, 9, 10, -11, 12, -13};
  want.config = {1,  2,   3,  4,  5,  6,   7,  -8, 9,  -10, -11,
                 12, -13, 14, 15, 16, -17, 18, 19, 20, 44,  22};
  // Sets a field of `want` to `value` as its type holds it, and writes the
  // value into `reply`.
  const auto put = [](std::string& reply, auto& field, long long value) {
    field = static_cast<std::remove_reference_t<decltype(field)>>(value);
    reply += std::to_string(value) + " ";
  };
  std::string seek, levels, rds, version;
  put(seek, want.seek.station_count, 263);  // 7 in one byte
  for (int i = 0; i < 50; ++i) {
    put(seek, want.seek.frequencies[i], 1000 + i);
    put(levels, want.seek.rssi[i], -i);
  }
  const auto column = [&](auto& values, long long base) {
    for (int i = 0; i < 28; ++i) put(rds, values[i], base < 0 ? base - i : base + i);
  };
  column(want.rds.block_a, 0);
  column(want.rds.block_b, 100);
  column(want.rds.block_c, 200);
  column(want.rds.block_d, 300);
  column(want.rds.column5, 70000);
  column(want.rds.column6, 80000);
  column(want.rds.column7, -90000);
  const auto chars = [&](auto& field, std::string_view text) {
    for (size_t i = 0; i < field.size(); ++i) put(version, field[i], i < text.size() ? text[i] : 0);
  };
  chars(want.version.manufacturer_id, "MAKER");
  chars(want.version.hardware_id, "HW-7");
  chars(want.version.hardware_id_ext, "EXT");
  chars(want.version.version_text, "SW1 FW2 ");

  const std::pair<std::string, std::string> cases[] = {
      {"fmrx_get_dynamic_data()", "1 2 3 4 -5 6 7 -8 9 10 -11 12 -13 "},
      {"fmrx_get_static_config()",
       "1 2 3 4 5 6 7 -8 9 -10 -11 12 -13 14 15 16 -17 18 19 20 300 22 "},
      {"fmrx_get_auto_seek_report()", seek + levels},
      {"fmrx_get_rds_data()", rds},
      {"fmr_get_version()", version},
  };
  Records r;
  const std::vector<Method> methods = AllMethods(r);
  for (const auto& one_case : cases) {
    // Named copies, not structured bindings: the lambda below captures the
    // command, which clang 14 refuses for a binding.
    const std::string& command = one_case.first;
    const std::string& reply = one_case.second;
    SCOPED_TRACE(command);
    const auto call = std::find_if(methods.begin(), methods.end(), [&](const Method& m) {
                        return m.text == "at@audapp:" + command;
                      })->call;
    Reply(command, reply);
    EXPECT_EQ(call(*app_), 0);
    Reply(command, reply.substr(0, reply.rfind(' ', reply.size() - 2) + 1));
    EXPECT_EQ(call(*app_), 3);
    Reply(command, reply + "0");
    EXPECT_EQ(call(*app_), 3);
  }
  // The failed decodings wrote the same values or none.
  EXPECT_TRUE(r == want);
}

}  // namespace
}  // namespace MANAGED_IF
