// The host's side of loading the plug-in and of the automation call.
#include <gtest/gtest.h>

#include <string>

#include "plugin_host.h"
#include "transcript.h"

namespace {

using benchora::PluginHost;

// The run counter at the start of a "long N" reply.
int RunOf(const std::string& reply) {
  return std::stoi(reply.substr(4, reply.find(' ', 4) - 4));
}

TEST(PluginHost, EveryReplyComesWholeAndEveryCommandRunsOnce) {
  PluginHost plugin;
  std::string error;
  ASSERT_TRUE(plugin.Load(FAKE_PLUGIN_PATH, error)) << error;
  int runs = 0;
  std::string reply;
  // Around the first buffer's size, and far beyond it (80 message boxes).
  for (const size_t size : {10u, 4095u, 4096u, 4097u, 12000u}) {
    ASSERT_TRUE(plugin.Automate("long " + std::to_string(size), reply));
    EXPECT_EQ(reply.size(), size);
    EXPECT_EQ(RunOf(reply), ++runs) << size << " bytes";
  }
  EXPECT_FALSE(plugin.Automate("none", reply));
  EXPECT_EQ(reply, "");
}

// A re-fetch that answers more than the first call announced is cut to the
// buffer, never read past it.
TEST(PluginHost, ARefetchLongerThanAnnouncedStaysInsideTheBuffer) {
  PluginHost plugin;
  std::string error;
  ASSERT_TRUE(plugin.Load(FAKE_PLUGIN_PATH, error)) << error;
  std::string reply;
  ASSERT_TRUE(plugin.Automate("grow", reply));
  EXPECT_EQ(reply, std::string(4100, 'g'));
}

// The loader's own words, not the text of whatever errno held.
TEST(PluginHost, ALoadFailureSaysWhyInTheLoadersWords) {
  struct Case {
    const char* path;
    const char* why;
  };
  const Case cases[] = {
      {"/etc/passwd", "invalid ELF header"},
      {"/no/such/Sonvio.dll", "No such file or directory"},
  };
  for (const Case& c : cases) {
    PluginHost plugin;
    std::string error;
    EXPECT_FALSE(plugin.Load(c.path, error));
    EXPECT_NE(error.find(c.why), std::string::npos) << error;
    EXPECT_EQ(error.find("Success"), std::string::npos) << error;
  }
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
