// What went wrong in one command (it was refused, it logged error lines, it
// showed message boxes) held against what the script expected: the mark
// benchora prints after the command, and the reason a --strict run stops.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "script/script.h"

namespace benchora {

struct Problem {
  ProblemKind kind = ProblemKind::kErrorLine;
  std::string text;  // the reply, the log line, or the box as benchora shows it
  // What failed, when more is known than `text` says: for an error line the
  // action and the exchange behind it ("Set FM RX station:
  // at@audapp:fmrx_set_station(0,95400000,10,0) answered ERROR").
  std::string detail;
};

struct Verdict {
  std::optional<std::string> mark;       // "1 error line (expected), 1 message box"
  std::optional<std::string> failure;    // the first thing not expected, for --strict
  std::optional<std::string> directive;  // the directive that would expect it
};

class CommandCheck {
 public:
  void Add(Problem problem) { problems_.push_back(std::move(problem)); }
  bool empty() const { return problems_.empty(); }

  // Every problem that an expectation covers is expected; an expectation
  // that covers none is not met.
  Verdict Judge(const std::vector<Expectation>& expected) const;

 private:
  std::vector<Problem> problems_;
};

}  // namespace benchora
