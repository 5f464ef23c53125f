// benchora's scripts and what it makes of a command's problems: the
// directive that expects them, the mark after the command, and the reason a
// --strict run stops.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "command_check.h"
#include "message_boxes.h"
#include "script.h"

namespace {

using namespace benchora;

TEST(BenchoraScript, DirectivesGoWithTheNextCommand) {
  ScriptReader reader;
  std::vector<ScriptCommand> commands;
  std::string error;
  const char* lines[] = {"# a comment",        "",
                         "  get LReady\r",     "@expect error Configure audio",
                         "  @expect box",      "click btn_onoff",
                         "type LEName  # kept"};
  int number = 0;
  for (const char* line : lines) {
    ASSERT_TRUE(reader.Add(line, "t.txt:" + std::to_string(++number), commands, error)) << error;
  }
  ASSERT_TRUE(reader.Finish(error));
  ASSERT_EQ(commands.size(), 3u);
  EXPECT_EQ(commands[0].text, "get LReady");
  EXPECT_EQ(commands[0].origin, "t.txt:3");
  EXPECT_TRUE(commands[0].expected.empty());
  EXPECT_EQ(commands[1].origin, "t.txt:6");
  ASSERT_EQ(commands[1].expected.size(), 2u);
  EXPECT_EQ(commands[1].expected[0].kind, ProblemKind::kErrorLine);
  EXPECT_EQ(commands[1].expected[0].text, "Configure audio");
  EXPECT_EQ(commands[1].expected[1].kind, ProblemKind::kBox);
  EXPECT_EQ(commands[1].expected[1].text, "");
  EXPECT_EQ(commands[2].text, "type LEName  # kept");  // a typed text may hold '#'
  EXPECT_TRUE(commands[2].expected.empty());
}

// Scripts that cannot be read are run end to end (e2e_benchora_test).
TEST(BenchoraScript, MalformedDirectivesAreErrors) {
  struct Case {
    const char* line;
    const char* error;
  };
  const Case cases[] = {
      {"@expect warning x", "s:1: @expect needs error, box or refused"},
      {"@expect", "s:1: @expect needs error, box or refused"},
      {"@frob", "s:1: unknown directive '@frob'"},
  };
  for (const Case& c : cases) {
    ScriptReader reader;
    std::vector<ScriptCommand> commands;
    std::string error;
    EXPECT_FALSE(reader.Add(c.line, "s:1", commands, error));
    EXPECT_EQ(error.rfind(c.error, 0), 0u) << error;
  }

  ScriptReader reader;
  std::vector<ScriptCommand> commands;
  std::string error;
  ASSERT_TRUE(reader.Add("@expect refused", "s:9", commands, error));
  EXPECT_FALSE(reader.Finish(error));
  EXPECT_EQ(error, "s:9: @expect with no command after it");
}

Problem Line(const char* text) {
  return {ProblemKind::kErrorLine, text};
}
Problem Box(const char* text) {
  return {ProblemKind::kBox, text};
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
       {Box("Warning: Input Value Out Of Range(1 ~ 32767)"), Box("The register address")},
       {{ProblemKind::kBox, "Out Of Range"}},
       "2 message boxes (1 expected)",
       "unexpected message box: The register address"},
      {"any refusal",
       {{ProblemKind::kRefused, "error: no control named X"}},
       {{ProblemKind::kRefused, ""}},
       "refused (expected)",
       ""},
      {"text of another kind does not count",
       {Line("Out Of Range")},
       {{ProblemKind::kBox, "Out Of Range"}},
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
