// The host's side of the automation call, and its transcript lines.
#include <gtest/gtest.h>

#include <string>

#include "plugin_host.h"
#include "transcript.h"

namespace {

// A failure to load is run end to end (e2e_benchora_test).
TEST(PluginHost, EveryReplyComesWholeAndEveryCommandRunsOnce) {
  benchora::PluginHost plugin;
  std::string reply;
  ASSERT_TRUE(plugin.Load(FAKE_PLUGIN_PATH, reply)) << reply;
  int runs = 0;
  // Around the first buffer's size, and far beyond it (80 message boxes).
  for (const size_t size : {10u, 4095u, 4096u, 4097u, 12000u}) {
    ASSERT_TRUE(plugin.Automate("long " + std::to_string(size), reply));
    EXPECT_EQ(reply.size(), size);
    EXPECT_EQ(reply.substr(0, reply.find(' ', 4) + 1), "run " + std::to_string(++runs) + " ");
  }
  // A re-fetch that answers more than the first call announced is cut to
  // the buffer, never read past it.
  ASSERT_TRUE(plugin.Automate("grow", reply));
  EXPECT_EQ(reply, std::string(4100, 'g'));
  EXPECT_FALSE(plugin.Automate("none", reply));
  EXPECT_EQ(reply, "");
}

// A handset's text with line ends and escape sequences stays one
// transcript line and cannot drive the terminal that shows it.
TEST(Transcript, LogLinesCarryNoRawControlBytes) {
  EXPECT_EQ(benchora::LogLineText("Enabled FMR test mode\r\nOK", 1),
            "LOG[1] Enabled FMR test mode\\r\\nOK");
  EXPECT_EQ(benchora::LogLineText("v\x1b]0;x\a\ty\x7f", 0), "LOG[0] v\\x1B]0;x\\x07\\ty\\x7F");
  EXPECT_EQ(benchora::LogLineText(nullptr, 1), "LOG[1] ");
}

}  // namespace
