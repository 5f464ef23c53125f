// Outcome of an operation: one log line per failure kind with its flag, and
// a parameter block that no failed reply touches.
#include <gtest/gtest.h>

#include "filled_parameters.h"
#include "gen1/kelbo_fmr_function.h"
#include "recording_host.h"

using testing_host::HostAnswer;
using testing_host::HostFailure;
using testing_host::LogLine;
using testing_host::RecordingHost;
using testing_host::StatusReply;

namespace {

struct FailureCase {
  const char* name;
  HostAnswer (*answer)(size_t expected_size);
  std::vector<LogLine> log;
};

HostAnswer NonZeroReply(size_t size, uint16_t status) {
  HostAnswer answer = StatusReply(size, status);
  for (size_t i = 2; i < size; ++i) answer.reply[i] = 0xE7;
  return answer;
}

const FailureCase kFailures[] = {
    {"HostCallFailed",
     [](size_t) { return HostFailure("Target not responding"); },
     {{"Sending to mobile...", 1}, {"ERROR: MERSH_DLL_ERROR", 0}, {"Target not responding", 1}}},
    {"HostRejectedWithoutError",
     [](size_t) { return HostFailure("No errors"); },
     {{"Sending to mobile...", 1},
      {"ERROR: MERSH_DLL_ERROR", 0},
      {"Error! Probably rejected before any communication was made", 0}}},
    {"ReplyTwoBytesShort",
     [](size_t size) { return NonZeroReply(size - 2, 1); },
     {{"Sending to mobile...", 1}, {"ERROR: OUTPUT_SIZE_NOT_MATCH", 0}}},
    {"ReplyOneByteLong",
     [](size_t size) {
       HostAnswer answer = NonZeroReply(size, 1);
       answer.length = static_cast<uint16_t>(size + 1);
       return answer;
     },
     {{"Sending to mobile...", 1}, {"ERROR: OUTPUT_SIZE_NOT_MATCH", 0}}},
    {"StatusZero",
     [](size_t size) { return NonZeroReply(size, 0); },
     {{"Sending to mobile...", 1}, {"ERROR: FMR_STATUS_ERROR", 0}}},
    {"StatusHighByteSet",
     [](size_t size) { return NonZeroReply(size, 0x0101); },
     {{"Sending to mobile...", 1}, {"ERROR: FMR_STATUS_ERROR", 0}}},
};

struct Operation {
  const char* name;
  bool (*run)(CKelboFMRFunction&);
  size_t reply_size;
};

const Operation kOperations[] = {
    {"RxPowerOn", [](CKelboFMRFunction& f) { return f.RxPowerOn(); }, 2},
    {"ReadRxStatus", [](CKelboFMRFunction& f) { return f.ReadRxStatus(); }, 48},
    {"RxTune", [](CKelboFMRFunction& f) { return f.RxTune(); }, 12},
    {"ReadTxStatus", [](CKelboFMRFunction& f) { return f.ReadTxStatus(); }, 64},
    {"ReadRdsBlocks", [](CKelboFMRFunction& f) { return f.ReadRdsBlocks(); }, 252},
    {"ReadTxRds", [](CKelboFMRFunction& f) { return f.ReadTxRds(); }, 204},
};

void PrintTo(const FailureCase& c, std::ostream* out) {
  *out << c.name;
}
void PrintTo(const Operation& c, std::ostream* out) {
  *out << c.name;
}

class FailedOperation : public ::testing::TestWithParam<std::tuple<FailureCase, Operation>> {};

TEST_P(FailedOperation, LogsItsLinesAndLeavesTheBlockAlone) {
  const auto& [failure, operation] = GetParam();
  RecordingHost host;
  CKelboFMRFunction radio;
  radio.parameters() = FilledParameters();
  const FmrParameters before = radio.parameters();
  host.Queue(failure.answer(operation.reply_size));

  EXPECT_FALSE(operation.run(radio));

  EXPECT_EQ(host.log, failure.log);
  EXPECT_TRUE(radio.parameters() == before);
}

INSTANTIATE_TEST_SUITE_P(Mapping, FailedOperation,
                         ::testing::Combine(::testing::ValuesIn(kFailures),
                                            ::testing::ValuesIn(kOperations)),
                         [](const auto& test) {
                           return std::string(std::get<0>(test.param).name) + "_" +
                                  std::get<1>(test.param).name;
                         });

TEST(MapResult, UnknownCodeIsNotDefined) {
  RecordingHost host;
  CKelboFMRFunction radio;
  EXPECT_FALSE(radio.MapResult(4));
  EXPECT_FALSE(radio.MapResult(255));
  EXPECT_TRUE(radio.MapResult(0));
  EXPECT_EQ(host.log,
            (std::vector<LogLine>{
                {"ERROR: ERROR_NOT_DEFINED", 0}, {"ERROR: ERROR_NOT_DEFINED", 0}, {"OK", 1}}));
}

}  // namespace
