// A pattern's syntax tree as a program for a Thompson automaton: one
// instruction per unit to take, per choice, per jump and per assertion.
// Repeat counts are written out, so the program's size (the cost of each
// character of a search) is bounded here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "text/pattern_syntax.h"
#include "text/unit_set.h"

namespace tooltext {

inline constexpr size_t kLargestProgram = 5000;

enum class Op : uint8_t {
  kUnit,    // take the unit `arg`
  kSet,     // take a unit of sets[arg]
  kSplit,   // go on at `arg` and at `arg2`
  kJump,    // go on at `arg`
  kAssert,  // go on at the next instruction when Assertion(arg) holds here
  kMatch,   // the pattern matched
};

struct Instruction {
  Op op = Op::kMatch;
  uint32_t arg = 0;
  uint32_t arg2 = 0;
};

struct PatternProgram {
  std::vector<Instruction> code;  // starts at 0
  std::vector<UnitSet> sets;
  // Every match begins at the start of the text (the pattern starts with ^).
  bool anchored = false;
};

// The program for `syntax` (read from `text`, for messages), or nullopt with
// `error` set when it would exceed kLargestProgram instructions.
[[nodiscard]] std::optional<PatternProgram> BuildProgram(const PatternSyntax& syntax,
                                                         std::string_view text, std::string& error);

}  // namespace tooltext
