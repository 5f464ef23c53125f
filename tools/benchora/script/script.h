// The automation commands benchora runs, as written in scripts, -e options
// and interactive input: each command with where it came from and what the
// script expects to go wrong in it.
//
// Script syntax, one item per line:
//   a command          sent to the plug-in as it stands (leading blanks dropped)
//   # text             a comment; blank lines are skipped too
//   @expect KIND [TEXT]
//                      the next command is expected to go wrong this way:
//                      KIND error (it logs an error line), box (it shows a
//                      message box) or refused (its reply is "error: ...");
//                      TEXT, when given, is part of that line, of the box's
//                      caption or text, or of the reply. Several may precede
//                      one command; each must then be met.
// benchora's measuring commands (verify, sample) are checked as they are
// read, so a malformed one stops the run before it starts.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace benchora {

// What can go wrong in a command.
enum class ProblemKind { kRefused, kErrorLine, kBox };

struct Expectation {
  ProblemKind kind = ProblemKind::kErrorLine;
  std::string text;  // empty: any text
};

struct ScriptCommand {
  std::string text;
  std::string origin;  // "tours/gen1.txt:12", "-e 3", "stdin:4"
  std::vector<Expectation> expected;
};

// The arguments of a command with the verb `verb` ("verify X = 1" ->
// "X = 1"); nullopt when the command has another verb.
std::optional<std::string_view> CommandArguments(std::string_view command, std::string_view verb);

// The directive's one-line syntax, for help texts and messages.
inline constexpr char kExpectSyntax[] = "@expect error|box|refused [TEXT]";

// Turns lines into commands: comments and blank lines are skipped,
// directives are kept for the command that follows them.
class ScriptReader {
 public:
  // One line from `origin`. A command is appended to `commands` with the
  // directives read before it. False with `error` set (naming the origin)
  // for a malformed directive.
  bool Add(std::string_view line, const std::string& origin, std::vector<ScriptCommand>& commands,
           std::string& error);
  // False with `error` set when a directive is still waiting for its command.
  bool Finish(std::string& error) const;

 private:
  std::vector<Expectation> pending_;
  std::string pending_origin_;
};

// Adds the commands of the script file at `path`. False with `error` set
// when the file cannot be read (missing, a folder, unreadable) or holds a
// malformed directive.
bool ReadScript(const std::string& path, ScriptReader& reader, std::vector<ScriptCommand>& commands,
                std::string& error);

}  // namespace benchora
