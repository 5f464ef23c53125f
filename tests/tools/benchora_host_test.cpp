// benchora's own logic: the host's side of the automation call (against a
// fake plug-in), transcript lines, scripts, and what it makes of a command's
// problems: the directive that expects them, the mark after the command, and
// the reason a --strict run stops.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "command_check.h"
#include "message_boxes.h"
#include "plugin_host.h"
#include "script.h"
#include "transcript.h"

namespace {

using namespace benchora;
using enum ProblemKind;

// A failure to load is run end to end (e2e_benchora_test).
TEST(PluginHost, EveryReplyComesWholeAndEveryCommandRunsOnce) {
  PluginHost plugin;
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
  EXPECT_EQ(LogLineText("Enabled FMR test mode\r\nOK", 1), "LOG[1] Enabled FMR test mode\\r\\nOK");
  EXPECT_EQ(LogLineText("v\x1b]0;x\a\ty\x7f", 0), "LOG[0] v\\x1B]0;x\\x07\\ty\\x7F");
  EXPECT_EQ(LogLineText(nullptr, 1), "LOG[1] ");
}

// Reads `lines` as the script "s", line by line; `error` holds the first
// error of Add or Finish.
std::vector<ScriptCommand> Read(const std::vector<std::string>& lines, std::string& error) {
  ScriptReader reader;
  std::vector<ScriptCommand> commands;
  int number = 0;
  for (const std::string& line : lines) {
    if (!reader.Add(line, "s:" + std::to_string(++number), commands, error)) return commands;
  }
  (void)reader.Finish(error);
  return commands;
}

TEST(BenchoraScript, DirectivesGoWithTheNextCommand) {
  std::string error;
  const std::vector<ScriptCommand> commands =
      Read({"# a comment", "", "  get LReady\r", "@expect error Configure audio", "  @expect box",
            "click btn_onoff", "type LEName  # kept"},
           error);
  EXPECT_EQ(error, "");
  ASSERT_EQ(commands.size(), 3u);
  EXPECT_EQ(commands[0].text, "get LReady");
  EXPECT_EQ(commands[0].origin, "s:3");
  EXPECT_TRUE(commands[0].expected.empty());
  EXPECT_EQ(commands[1].origin, "s:6");
  ASSERT_EQ(commands[1].expected.size(), 2u);
  EXPECT_EQ(commands[1].expected[0].kind, kErrorLine);
  EXPECT_EQ(commands[1].expected[0].text, "Configure audio");
  EXPECT_EQ(commands[1].expected[1].kind, kBox);
  EXPECT_EQ(commands[1].expected[1].text, "");
  EXPECT_EQ(commands[2].text, "type LEName  # kept");  // a typed text may hold '#'
  EXPECT_TRUE(commands[2].expected.empty());
}

// Scripts that cannot be read are run end to end (e2e_benchora_test).
TEST(BenchoraScript, MalformedDirectivesAreErrors) {
  const std::string needs = "s:1: @expect needs error, box or refused";
  const std::pair<std::string, std::string> cases[] = {
      {"@expect warning x", needs},
      {"@expect", needs},
      {"@frob", "s:1: unknown directive '@frob'"},
      {"@expect refused", "s:1: @expect with no command after it"},
  };
  for (const auto& [line, message] : cases) {
    std::string error;
    Read({line}, error);
    EXPECT_EQ(error.rfind(message, 0), 0u) << error;
  }
}

// An error line unexpected or expected, and a message box expected but
// absent, are run end to end (e2e_benchora_test); here the other verdicts.
TEST(BenchoraCheck, MarksAndStrictFailures) {
  struct Case {
    const char* name;
    std::vector<Problem> problems;
    std::vector<Expectation> expected;
    const char* mark;     // "" for none
    const char* failure;  // "" for none
  };
  const Case cases[] = {
      {"clean", {}, {}, "", ""},
      {"one box of two expected",
       {{kBox, "Warning: Input Value Out Of Range(1 ~ 32767)"}, {kBox, "The register address"}},
       {{kBox, "Out Of Range"}},
       "2 message boxes (1 expected)",
       "unexpected message box: The register address"},
      {"any refusal",
       {{kRefused, "error: no control named X"}},
       {{kRefused, ""}},
       "refused (expected)",
       ""},
      {"text of another kind does not count",
       {{kErrorLine, "Out Of Range"}},
       {{kBox, "Out Of Range"}},
       "1 error line, expected a message box with \"Out Of Range\", none came",
       "unexpected error line: Out Of Range"},
  };
  for (const Case& c : cases) {
    CommandCheck check;
    for (const Problem& p : c.problems) check.Add(p);
    const Verdict verdict = check.Judge(c.expected);
    EXPECT_EQ(verdict.mark.value_or(""), c.mark) << c.name;
    EXPECT_EQ(verdict.failure.value_or(""), c.failure) << c.name;
  }
}

TEST(BenchoraCheck, DialogsRepliesBecomeBoxLines) {
  const ShownBoxes shown = ParseDialogsReply(
      "(3 older message boxes dropped)\nWarning\tOut of range\\n(1 ~ 2)\n"
      "\tThe register address is incorrect.");
  EXPECT_EQ(shown.notes, std::vector<std::string>{"(3 older message boxes dropped)"});
  EXPECT_EQ(shown.boxes, (std::vector<std::string>{"Warning: Out of range\\n(1 ~ 2)",
                                                   "The register address is incorrect."}));
  EXPECT_EQ(DialogLine(shown.boxes[1]), "DIALOG The register address is incorrect.");
  EXPECT_TRUE(ParseDialogsReply("").boxes.empty());
}

}  // namespace
