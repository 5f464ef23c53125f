// The regular expressions of benchora's `~` checks. Radio text comes from
// anyone with a transmitter, so a search must cost the same for every text
// of a length, whatever the pattern: the pattern is compiled to a Thompson
// automaton that follows all its paths through the text at once, in time
// proportional to the text's length times the program's size (at most
// kLargestProgram), with memory for one program's worth of states and no
// recursion per character. The dialect, what it refuses and its bounds are
// in docs/patterns.md.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "text/pattern_program.h"

namespace tooltext {

class Pattern {
 public:
  // The pattern compiled; nullopt with `error` set to a one-line reason naming what is refused
  // and where (e.g. "backreferences are not supported (at 4: \1)").
  [[nodiscard]] static std::optional<Pattern> Compile(std::string_view text, std::string& error);

  // True when the pattern matches somewhere in `subject` (a search, as std::regex_search).
  [[nodiscard]] bool Search(std::string_view subject) const;

  // The compiled program's instruction count: the work per character.
  [[nodiscard]] size_t size() const { return program_.code.size(); }

 private:
  explicit Pattern(PatternProgram program) : program_(std::move(program)) {}

  PatternProgram program_;
};

}  // namespace tooltext
