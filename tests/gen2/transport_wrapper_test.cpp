// The transport session against the TESSIC.dll test doubles: exact log
// lines and message boxes of opening, exchanging and closing.
#include "gen2/transport_wrapper.h"

#include <gtest/gtest.h>

#include "gen2/tessic_binding.h"
#include "recording_host.h"
#include "tessic_double.h"
#include "test_folder.h"
#include "ui/headless/headless_services.h"

namespace MANAGED_IF {
namespace {

using gen2_test::TessicDouble;
using testing_host::LogLine;

constexpr char kCannotLoad[] = "Cannot load TESSIC DLL:\n\"";
constexpr char kCannotStart[] = "\"\nThe Vorn mode cannot be started without this DLL.";

class TransportWrapperTest : public ::testing::Test {
 protected:
  void SetUp() override { TransportWrapper::Unload(); }
  void TearDown() override { TransportWrapper::Unload(); }

  ui::HeadlessServices services_;
  testing_host::RecordingHost log_;
};

class CompleteDoubleTest : public TransportWrapperTest {
 protected:
  TessicDouble double_;
};

TEST_F(CompleteDoubleTest, OpeningLogsEachStepAndStopsAtTheFirstFailure) {
  const std::string opening =
      "Successfully load TESSIC DLL|SetupComport()|"
      "TESSIC_SessionOpen(\"FMR/TCPIPc_127.0.0.1:27018\", \"\");|";
  const struct {
    int32_t session_result, channel_result;
    std::string log;
    int32_t session, channel;
  } cases[] = {
      {7, 9, opening + "Port open. Session id = 7, dedicated channel = 9", 7, 9},
      {-4, 9, opening + "!Error setting connection. Session id = -4", -1, -1},
      {7, -2,
       opening + "!ERROR: Dedicated channel could not be opened. Session id = 7, dedicated "
                 "channel = -2",
       7, -2},
  };
  for (const auto& c : cases) {
    double_->session_result = c.session_result;
    double_->channel_result = c.channel_result;
    log_.Clear();
    TransportWrapper wrapper(log_.Context(services_));
    wrapper.Open();
    EXPECT_EQ(log_.Transcript(), c.log);
    EXPECT_EQ(wrapper.session_id(), c.session);
    EXPECT_EQ(wrapper.channel_id(), c.channel);
    wrapper.Abandon();
  }
  EXPECT_TRUE(services_.TakeMessages().messages.empty());
  // Exchanges still go out on a negative channel, but no status counts.
  TransportWrapper wrapper(log_.Context(services_));
  wrapper.Open();
  double_->queued.push_back({0, "1"});
  const T_Result result = wrapper.Exchange("at@audapp:fmrx_enable()");
  EXPECT_EQ(double_->sent_channels.back(), -2);
  EXPECT_EQ(result.text, "1");
  EXPECT_NE(result.code, kResultOk);
  log_.Clear();
  EXPECT_TRUE(wrapper.Close());
  EXPECT_EQ(log_.Transcript(), "TESSIC_SessionClose(7);|Port closed okay.");
  EXPECT_EQ(wrapper.session_id(), -1);
  EXPECT_EQ(wrapper.channel_id(), -1);
}

TEST_F(TransportWrapperTest, ALibraryLackingAnEntryPointOrMissingIsReportedInBoxesOnly) {
  {
    TessicDouble missing(TessicDouble::Variant::kMissingDedChClose);
    TransportWrapper wrapper(log_.Context(services_));
    wrapper.Open();
    const std::vector<ui::ShownMessage> boxes = services_.TakeMessages().messages;
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text,
              "The following functions were not loaded in TESSIC.DLL:\nTESSIC_DedChClose\n");
    EXPECT_EQ(boxes[1].text, kCannotLoad + missing.path() + kCannotStart);
    EXPECT_EQ(missing->CallCount("TESSIC_SessionOpen"), 0);
    EXPECT_EQ(wrapper.session_id(), -1);
  }
  TransportWrapper::Unload();
  const testing_files::TestFolder empty("SONVIO_PROGRAM_DIR");
  TransportWrapper wrapper(log_.Context(services_));
  wrapper.Open();
  const std::vector<ui::ShownMessage> boxes = services_.TakeMessages().messages;
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, kCannotLoad + (empty.path() / "TESSIC.dll").string() + kCannotStart);
  EXPECT_TRUE(log_.log.empty());
  EXPECT_EQ(wrapper.session_id(), -1);
  // Without a library an exchange sends nothing and fails.
  EXPECT_NE(wrapper.Exchange("at@audapp:fmrx_enable()").code, kResultOk);
}

TEST_F(CompleteDoubleTest, StatusesDecideResendsTerminatorAndCode) {
  const std::string filled(0x10000, 'A');  // the whole capacity, no terminator
  const struct {
    std::vector<gen2_test::DoubleAnswer> receives;
    size_t sends;
    std::string text;
    int8_t code;
  } cases[] = {
      {{{0, "a b"}}, 1, "a b\r\nOK\r\n", 0},
      {{{-2, "bad"}}, 1, "bad\r\nERROR\r\n", 3},
      {{{-3, "x"}, {-3, "y"}, {0, "z"}}, 1, "z\r\nOK\r\n", 0},  // pending twice
      {{{-1, "x"}, {-1, "y"}, {-1, "z"}}, 3, "", 3},            // failed thrice
      {{{-1, ""}, {-3, ""}, {0, "v"}}, 2, "v\r\nOK\r\n", 0},
      {{{0, "", true}}, 1, filled + "\r\nOK\r\n", 0},
  };
  TransportWrapper wrapper(log_.Context(services_));
  wrapper.Open();
  const std::string command = "at@audapp:fmrx_set_volume(1,112)";
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text.substr(0, 12));
    log_.Clear();
    double_->sent.clear();
    double_->queued.assign(c.receives.begin(), c.receives.end());
    const T_Result result = wrapper.Exchange(command);
    EXPECT_EQ(result.text, c.text);
    EXPECT_EQ(result.code, c.code);
    EXPECT_EQ(double_->sent, std::vector<std::string>(c.sends, command));
    EXPECT_EQ(double_->sent_channels.back(), 9);
    EXPECT_EQ(log_.log, (std::vector<LogLine>{{command, 1}}));
    EXPECT_EQ(services_.CurrentCursor(), ui::Cursor::kDefault);
  }
}

// A session that will not close keeps its library loaded; a closed
// one unloads it.
TEST_F(CompleteDoubleTest, OnlyAClosedSessionUnloadsTheLibrary) {
  for (const uint8_t close_result : {uint8_t{0}, uint8_t{1}}) {
    double_->close_result = close_result;
    TransportWrapper loader(log_.Context(services_));
    loader.Load(double_.path());
    {
      TransportWrapper wrapper(log_.Context(services_));
      wrapper.Open();
      log_.Clear();
      if (close_result == 0) {
        EXPECT_FALSE(wrapper.Close());
      }
    }  // the destructor closes what is open
    EXPECT_EQ(log_.LogTexts().at(1),
              close_result == 1 ? "Port closed okay." : "Error closing port.");
    EXPECT_EQ(Tessic().library.IsLoaded(), close_result == 0);
  }
}

}  // namespace
}  // namespace MANAGED_IF
