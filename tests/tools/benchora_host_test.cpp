// benchora's own logic: the host's side of the automation call (against a
// fake plug-in), transcript lines, and the verdicts on a command's problems.
// Loading, scripts, directives, dialogs and the usual --strict verdicts are
// run end to end (e2e_benchora_test, e2e_tour_test).
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "host/help_path.h"
#include "host/plugin_host.h"
#include "measure/transport_events.h"
#include "report/transcript.h"
#include "script/command_check.h"

namespace {

using namespace benchora;
using enum ProblemKind;

TEST(PluginHost, EveryReplyComesWholeAndEveryCommandRunsOnce) {
  PluginHost plugin;
  std::string reply;
  ASSERT_TRUE(plugin.Load(FAKE_PLUGIN_PATH, reply)) << reply;
  int runs = 0;
  // Around the first buffer's size, and far beyond it (80 message boxes).
  for (const size_t size : {4095u, 4096u, 12000u}) {
    ASSERT_TRUE(plugin.Automate("long " + std::to_string(size), reply));
    EXPECT_EQ(reply.size(), size);
    EXPECT_EQ(reply.substr(0, reply.find(' ', 4) + 1), "run " + std::to_string(++runs) + " ");
  }
  // A re-fetch that answers more than the first call announced is cut to
  // the buffer, never read past it.
  ASSERT_TRUE(plugin.Automate("grow", reply));
  EXPECT_EQ(reply, std::string(4100, 'g'));
  EXPECT_FALSE(plugin.Automate("none", reply));
}

// A handset's text with line ends and escape sequences stays one
// transcript line and cannot drive the terminal that shows it.
TEST(Transcript, LogLinesCarryNoRawControlBytes) {
  EXPECT_EQ(LogLineText("v\r\n\x1b]0;x\a\ty\x7f", 0), "LOG[0] v\\r\\n\\x1B]0;x\\x07\\ty\\x7F");
  EXPECT_EQ(LogLineText(nullptr, 1), "LOG[1] ");
}

TEST(BenchoraCheck, MarksAndStrictFailuresBeyondTheEndToEndRuns) {
  CommandCheck boxes;
  boxes.Add({kBox, "Warning: Input Value Out Of Range(1 ~ 32767)", {}});
  boxes.Add({kBox, "The register address", {}});
  Verdict verdict = boxes.Judge({{kBox, "Out Of Range"}});
  EXPECT_EQ(verdict.mark, "2 message boxes (1 expected)");
  EXPECT_EQ(verdict.failure, "unexpected message box: The register address");
  // Text of another kind does not count.
  CommandCheck line;
  line.Add({kErrorLine, "Out Of Range", {}});
  verdict = line.Judge({{kBox, "Out Of Range"}});
  EXPECT_EQ(verdict.mark, "1 error line, expected a message box with \"Out Of Range\", none came");
  EXPECT_EQ(verdict.failure, "unexpected error line: Out Of Range");
  // An error line is expected by its own text, and reported with what
  // failed behind it.
  CommandCheck exchange;
  exchange.Add({kErrorLine, "Error", "Set FM RX station: at@audapp:x() answered +CME ERROR: 3"});
  EXPECT_EQ(exchange.Judge({{kErrorLine, "Error"}}).failure, std::nullopt);
  EXPECT_EQ(exchange.Judge({{kErrorLine, "answered"}}).failure,
            "unexpected error line: Set FM RX station: at@audapp:x() answered +CME ERROR: 3");
}

// The transport's events tell how the last exchange of a command ended;
// an error answer is named by its final line.
TEST(TransportEvents, OutcomeOfTheLastExchange) {
  struct Step {
    const char* event;
    const char* text;
  };
  struct Case {
    std::vector<Step> steps;
    const char* command;
    std::optional<std::string> outcome;
  };
  const Case cases[] = {
      {{{"sent", "at@a:x()"}, {"reply ERROR", ""}}, "at@a:x()", "answered ERROR"},
      {{{"sent", "at@a:x()"}, {"reply ERROR", "1, 2\r\n+CME ERROR: 3"}},
       "at@a:x()",
       "answered +CME ERROR: 3"},
      {{{"sent", "at@a:x()"}, {"reply ERROR", "+CMS ERROR: 500\r\n\r\n"}},
       "at@a:x()",
       "answered +CMS ERROR: 500"},
      {{{"sent", "at@a:x()"}, {"reply OK", "1"}}, "at@a:x()", "answered OK"},
      {{{"sent", "at@a:x()"}, {"no whole reply in time", ""}},
       "at@a:x()",
       "got no whole reply in time"},
      {{{"sent", "at@a:x()"}, {"link lost", ""}}, "at@a:x()", "lost the link"},
      {{{"sending failed:", "at@a:x()"}}, "at@a:x()", "could not be sent"},
      {{{"connecting again failed:", "refused"}},
       "at@a:x()",
       "could not be sent: the link did not open again (refused)"},
      // Still waiting, or another command's exchange: nothing known.
      {{{"sent", "at@a:x()"}}, "at@a:x()", std::nullopt},
      {{{"sent", "at@a:y()"}, {"reply ERROR", ""}}, "at@a:x()", std::nullopt},
      {{{"sent", "at@a:x()"}, {"reply ERROR", ""}, {"sent", "at@a:x()"}}, "at@a:x()", std::nullopt},
  };
  for (const Case& c : cases) {
    TransportEvents events;
    for (const Step& step : c.steps) events.OnEvent(step.event, step.text);
    EXPECT_EQ(events.OutcomeOf(c.command), c.outcome) << c.steps.back().event;
  }
}

// F1 on the Windows frame: the keyword from the form's state line (the
// first line of `snapshot`; a caption that mentions help does not count),
// and its help file beside the plug-in, else beside benchora.
TEST(HelpPath, KeywordOfTheFormAndItsFileBesideThePluginOrTheHost) {
  EXPECT_EQ(HelpKeywordOfState("P: kind=Form caption=\"a help=\\\"x\\\"\" "
                               "help=\"D:\\\\h\\\\S.chm::/p.html#A\" bounds=0,0,9,9\n"
                               "B: kind=Button caption=\"help\""),
            "D:\\h\\S.chm::/p.html#A");
  EXPECT_EQ(HelpKeywordOfState("kind=Form help=\"\"\nX: kind=Form help=\"y\""), "");

  constexpr char kKeyword[] = "SonvioHelp.chm::/SonvioHelp/Sonvio.html#SONVIO";
  const std::vector<std::string> folders = {FolderOf("C:\\dll\\Sonvio.dll"), "C:\\bin\\",
                                            "C:\\dll\\"};
  struct Case {
    const char* keyword;
    std::set<std::string> files;
    const char* result;  // the url, or the error
  };
  const Case cases[] = {
      {kKeyword,
       {"C:\\bin\\SonvioHelp.chm"},
       "C:\\bin\\SonvioHelp.chm::/SonvioHelp/Sonvio.html#SONVIO"},
      {kKeyword,
       {"C:\\bin\\SonvioHelp.chm", "C:\\dll\\SonvioHelp.chm"},
       "C:\\dll\\SonvioHelp.chm::/SonvioHelp/Sonvio.html#SONVIO"},
      {kKeyword,
       {"C:\\dll\\SonvioHelp.chm::/SonvioHelp/Sonvio.html"},
       "cannot open SonvioHelp.chm::/SonvioHelp/Sonvio.html#SONVIO: no file "
       "C:\\dll\\SonvioHelp.chm, C:\\bin\\SonvioHelp.chm"},
      {"E:\\x.chm::/a.html", {"E:\\x.chm"}, "E:\\x.chm::/a.html"},
      {"", {"C:\\dll\\"}, "the panel names no help topic"},
  };
  for (const Case& c : cases) {
    std::string error;
    const auto topic = ResolveHelpTopic(
        c.keyword, folders, [&](const std::string& path) { return c.files.contains(path); }, error);
    EXPECT_EQ(topic ? topic->url : error, c.result) << c.keyword;
  }
}

}  // namespace
