// The fmr-rds command line beyond the tour's decode log (e2e_tour_test):
// texts outside printable ASCII, problem lines and their limit, exit status.
#include <gtest/gtest.h>

#include <algorithm>

#include "fmr-rds/cli.h"
#include "tool_run.h"

namespace rdstest {
namespace {

RunResult RunRds(const std::vector<std::string>& args, const std::string& input) {
  return RunTool(&fmrrds::Run, args, input);
}

TEST(RdsCliTest, TextsOutsidePrintableAsciiAreEscaped) {
  // PS bytes 0x22 ("), 0x5C (\), 0x0A and 0xE9 (an accented letter in the RDS set).
  const std::string log =
      "C201 01C8 E0CD 225C\nC201 01C9 E0CD 0AE9\nC201 01CA E0CD 4142\nC201 01CB E0CD 4344\n";
  EXPECT_NE(RunRds({"--summary", "--json"}, log).out.find("\"ps\":\"\\\"\\\\\\n\\u00e9ABCD\""),
            std::string::npos);
  EXPECT_NE(RunRds({"--summary"}, log).out.find("PS        \"\\x22\\x5C\\x0A\\xE9ABCD\""),
            std::string::npos);
}

TEST(RdsCliTest, MalformedLinesAreReportedWithTheirNumbersUpToALimit) {
  const RunResult r = RunRds({}, "C201 01C8 E0CD 434C\nnot rds\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "fmr-rds: <stdin>:2: not a record header, block line or status line\n");
  std::string garbage;
  for (int i = 0; i < 150; ++i) garbage += "garbage\n";
  const RunResult flood = RunRds({"--summary", "--json"}, garbage);
  EXPECT_EQ(flood.status, 1);  // no group at all: not RDS data
  EXPECT_EQ(std::count(flood.err.begin(), flood.err.end(), '\n'),
            static_cast<long>(fmrrds::kMaxReportedProblems) + 1);
  EXPECT_NE(flood.out.find("\"malformed_lines\":150"), std::string::npos);
  EXPECT_EQ(RunRds({"--frobnicate"}, "").status, 2);
}

}  // namespace
}  // namespace rdstest
