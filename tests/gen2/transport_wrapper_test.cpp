// The transport session against the TESSIC.dll test doubles: exact log
// lines and message boxes of opening, exchanging and closing.
#include "gen2/transport_wrapper.h"

#include <gtest/gtest.h>

#include <tuple>

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

// A wrapper's session and channel, as "session/channel".
std::string Ids(const TransportWrapper& wrapper) {
  return std::to_string(wrapper.session_id()) + "/" + std::to_string(wrapper.channel_id());
}

class TransportWrapperTest : public ::testing::Test {
 protected:
  void SetUp() override { TransportWrapper::Unload(); }
  void TearDown() override { TransportWrapper::Unload(); }
  // The boxes shown since the last call, their texts.
  std::vector<std::string> Boxes() {
    std::vector<std::string> texts;
    for (const ui::ShownMessage& box : services_.TakeMessages().messages) texts.push_back(box.text);
    return texts;
  }

  ui::HeadlessServices services_;
  testing_host::RecordingHost log_;
};

class CompleteDoubleTest : public TransportWrapperTest {
 protected:
  TessicDouble double_;
};

// The log of each opening, then the session and channel ids it keeps.
TEST_F(CompleteDoubleTest, OpeningLogsEachStepAndStopsAtTheFirstFailure) {
  const std::string opening =
      "Successfully load TESSIC DLL|SetupComport()|"
      "TESSIC_SessionOpen(\"" +
      MANAGED_IF::TransportConnectionText() + "\", \"\");|";
  const std::tuple<int32_t, int32_t, std::string> cases[] = {
      {7, 9, "Port open. Session id = 7, dedicated channel = 9 7/9"},
      {-4, 9, "!Error setting connection. Session id = -4 -1/-1"},
      {7, -2,
       "!ERROR: Dedicated channel could not be opened. Session id = 7, dedicated channel = -2 "
       "7/-2"},
  };
  for (const auto& [session_result, channel_result, log] : cases) {
    double_->session_result = session_result;
    double_->channel_result = channel_result;
    log_.Clear();
    TransportWrapper wrapper(log_.Context(services_));
    wrapper.Open();
    EXPECT_EQ(log_.Transcript() + " " + Ids(wrapper), opening + log);
    wrapper.Abandon();
  }
  EXPECT_TRUE(Boxes().empty());
  // Exchanges still go out on a negative channel, but no status counts.
  TransportWrapper wrapper(log_.Context(services_));
  wrapper.Open();
  double_->queued.push_back({0, "1"});
  const T_Result result = wrapper.Exchange("at@audapp:fmrx_enable()");
  EXPECT_EQ(double_->sent_channels.back(), -2);
  EXPECT_EQ(std::to_string(result.code) + " " + result.text, "3 1");
  log_.Clear();
  EXPECT_TRUE(wrapper.Close());
  EXPECT_EQ(log_.Transcript() + " " + Ids(wrapper),
            "TESSIC_SessionClose(7);|Port closed okay. -1/-1");
}

TEST_F(TransportWrapperTest, ALibraryLackingAnEntryPointOrMissingIsReportedInBoxesOnly) {
  {
    TessicDouble missing(TessicDouble::Variant::kMissingDedChClose);
    TransportWrapper wrapper(log_.Context(services_));
    wrapper.Open();
    EXPECT_EQ(Boxes(),
              (std::vector<std::string>{"The following functions were not loaded in TESSIC.DLL:\n"
                                        "TESSIC_DedChClose\n",
                                        kCannotLoad + missing.path() + kCannotStart}));
    EXPECT_EQ(missing->CallCount("TESSIC_SessionOpen"), 0);
    EXPECT_EQ(wrapper.session_id(), -1);
  }
  TransportWrapper::Unload();
  const testing_files::TestFolder empty("SONVIO_PROGRAM_DIR");
  TransportWrapper wrapper(log_.Context(services_));
  wrapper.Open();
  EXPECT_EQ(Boxes(), std::vector<std::string>{kCannotLoad + (empty.path() / "TESSIC.dll").string() +
                                              kCannotStart});
  EXPECT_TRUE(log_.log.empty());
  EXPECT_EQ(wrapper.session_id(), -1);
  // Without a library an exchange sends nothing and fails.
  EXPECT_NE(wrapper.Exchange("at@audapp:fmrx_enable()").code, kResultOk);
}

// The receives of one exchange, how often the command went out, and the
// result's code and text.
TEST_F(CompleteDoubleTest, StatusesDecideResendsTerminatorAndCode) {
  const std::string filled(0x10000, 'A');  // the whole capacity, no terminator
  const std::tuple<std::vector<gen2_test::DoubleAnswer>, size_t, std::string> cases[] = {
      {{{0, "a b"}}, 1, "0 a b\r\nOK\r\n"},
      {{{-2, "bad"}}, 1, "3 bad\r\nERROR\r\n"},
      {{{-3, "x"}, {-3, "y"}, {0, "z"}}, 1, "0 z\r\nOK\r\n"},  // pending twice
      {{{-1, "x"}, {-1, "y"}, {-1, "z"}}, 3, "3 "},            // failed thrice
      {{{-1, ""}, {-3, ""}, {0, "v"}}, 2, "0 v\r\nOK\r\n"},
      {{{0, "", true}}, 1, "0 " + filled + "\r\nOK\r\n"},
  };
  TransportWrapper wrapper(log_.Context(services_));
  wrapper.Open();
  const std::string command = "at@audapp:fmrx_set_volume(1,112)";
  for (const auto& [receives, sends, outcome] : cases) {
    SCOPED_TRACE(outcome.substr(0, 12));
    log_.Clear();
    double_->sent.clear();
    double_->queued.assign(receives.begin(), receives.end());
    const T_Result result = wrapper.Exchange(command);
    EXPECT_EQ(std::to_string(result.code) + " " + result.text, outcome);
    EXPECT_EQ(double_->sent, std::vector<std::string>(sends, command));
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
