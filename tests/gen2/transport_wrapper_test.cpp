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

// Opening as it goes is pinned by the second-generation tour's first lines.
TEST_F(CompleteDoubleTest, ASessionOrChannelThatCannotBeOpenedIsReported) {
  double_->session_result = -5;
  TransportWrapper failed(log_.Context(services_));
  failed.Open();
  EXPECT_EQ(log_.log.back(), (LogLine{"Error setting connection. Session id = -5", 0}));
  EXPECT_EQ(failed.session_id(), -1);
  EXPECT_EQ(failed.channel_id(), -1);
  EXPECT_EQ(double_->CallCount("TESSIC_DedChOpen"), 0);

  double_->session_result = 7;
  double_->channel_result = -2;
  TransportWrapper wrapper(log_.Context(services_));
  wrapper.Open();
  EXPECT_EQ(log_.log.back(), (LogLine{"ERROR: Dedicated channel could not be opened. Session id = "
                                      "7, dedicated channel = -2",
                                      0}));
  EXPECT_EQ(wrapper.session_id(), 7);
  EXPECT_EQ(wrapper.channel_id(), -2);
  // Exchanges still go out on the negative channel, but no status counts.
  double_->queued.push_back({0, "1"});
  const T_Result result = wrapper.Exchange("at@audapp:fmrx_enable()");
  EXPECT_EQ(double_->sent_channels.back(), -2);
  EXPECT_EQ(result.text, "1");
  EXPECT_NE(result.code, kResultOk);
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
    // The entry points that were found stay bound.
    EXPECT_NE(Tessic().entries[kTessicSessionOpen], nullptr);
    EXPECT_EQ(Tessic().entries[kTessicDedChClose], nullptr);
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

struct ExchangeCase {
  const char* name;
  std::vector<std::pair<int32_t, const char*>> receives;
  int sends;
  const char* text;
  int8_t code;
};

void PrintTo(const ExchangeCase& c, std::ostream* os) {
  *os << c.name;
}

class ExchangeTest : public CompleteDoubleTest,
                     public ::testing::WithParamInterface<ExchangeCase> {};

TEST_P(ExchangeTest, StatusesDecideResendsTerminatorAndCode) {
  const ExchangeCase& c = GetParam();
  TransportWrapper wrapper(log_.Context(services_));
  wrapper.Open();
  log_.Clear();
  for (const auto& [status, text] : c.receives) double_->queued.push_back({status, text});

  const std::string command = "at@audapp:fmrx_set_volume(1,112)";
  const T_Result result = wrapper.Exchange(command);

  EXPECT_EQ(result.text, c.text);
  EXPECT_EQ(result.code, c.code);
  EXPECT_EQ(double_->sent, std::vector<std::string>(static_cast<size_t>(c.sends), command));
  EXPECT_EQ(double_->sent_lengths.at(0), static_cast<int32_t>(command.size()));
  EXPECT_EQ(double_->sent_channels.at(0), 9);
  EXPECT_EQ(log_.log, (std::vector<LogLine>{{command, 1}}));
  // The hourglass while waiting, the default cursor again afterwards.
  EXPECT_EQ(services_.cursor_changes(), 2u);
  EXPECT_EQ(services_.CurrentCursor(), ui::Cursor::kDefault);
}

INSTANTIATE_TEST_SUITE_P(
    Statuses, ExchangeTest,
    ::testing::Values(
        ExchangeCase{"Positive", {{0, "a b"}}, 1, "a b\r\nOK\r\n", 0},
        ExchangeCase{"ErrorReply", {{-2, "bad"}}, 1, "bad\r\nERROR\r\n", 3},
        ExchangeCase{"PendingTwice", {{-3, "x"}, {-3, "y"}, {0, "z"}}, 1, "z\r\nOK\r\n", 0},
        ExchangeCase{"FailedThrice", {{-1, "x"}, {-1, "y"}, {-1, "z"}}, 3, "", 3},
        ExchangeCase{
            "FailedOnceThenPositive", {{-1, ""}, {-3, ""}, {0, "v"}}, 2, "v\r\nOK\r\n", 0}),
    [](const auto& param_info) { return std::string(param_info.param.name); });

TEST_F(CompleteDoubleTest, AReplyThatFillsTheReceiveBufferStillGetsItsTerminator) {
  TransportWrapper wrapper(log_.Context(services_));
  wrapper.Open();
  double_->queued.push_back({0, "", true});
  const T_Result result = wrapper.Exchange("at@audapp:fmrx_get_rds_data()");
  EXPECT_EQ(result.code, kResultOk);
  EXPECT_EQ(result.text, std::string(0x10000, 'A') + "\r\nOK\r\n");
}

TEST_F(CompleteDoubleTest, OnlyAClosedSessionUnloadsTheLibrary) {
  struct Case {
    bool open, abandon;
    uint8_t close_result;
    const char* log;  // of an explicit close (when open) and the destructor
    bool loaded;
  };
  const std::string kClose = "TESSIC_SessionClose(7);|";
  const Case cases[] = {{false, false, 1, "", true},  // never opened
                        {true, true, 1, "", true},    // abandoned
                        {true, false, 0, "!Error closing port.", true},
                        {true, false, 1, "Port closed okay.", false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.log);
    double_->close_result = c.close_result;
    TransportWrapper loader(log_.Context(services_));
    loader.Load(double_.path());
    {
      TransportWrapper wrapper(log_.Context(services_));
      if (c.open) wrapper.Open();
      if (c.abandon) wrapper.Abandon();
      log_.Clear();
      if (c.close_result == 0) {  // a session that will not close keeps its ids
        EXPECT_FALSE(wrapper.Close());
        EXPECT_EQ(wrapper.session_id(), 7);
        EXPECT_EQ(wrapper.channel_id(), 9);
      }
    }  // the destructor closes what is open
    const std::string once = *c.log ? kClose + c.log : "";
    EXPECT_EQ(log_.Transcript(), c.close_result == 0 ? once + "|" + once : once);
    EXPECT_EQ(Tessic().library.IsLoaded(), c.loaded);
    for (void* entry : Tessic().entries) EXPECT_EQ(entry != nullptr, c.loaded);
  }
}

}  // namespace
}  // namespace MANAGED_IF
