// The syntax tree of a check pattern, read from its text with every
// construct the matcher cannot honour in linear time (backreferences,
// look-around) refused, and the text's length, its nesting and its repeat
// counts bounded. docs/patterns.md describes the dialect.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "text/unit_set.h"

namespace tooltext {

inline constexpr size_t kLongestPatternBytes = 256;
inline constexpr int kDeepestGroupNesting = 32;
inline constexpr int kLargestRepeatCount = 1000;
inline constexpr int kUnboundedRepeat = -1;

enum class Assertion : uint8_t { kTextStart, kTextEnd, kWordBoundary, kNotWordBoundary };

enum class NodeKind : uint8_t {
  kEmpty,        // matches the empty text
  kUnits,        // one unit out of `units`
  kAssertion,    // `assertion` holds here
  kSequence,     // `children` one after the other
  kAlternation,  // one of `children`
  kRepeat,       // `children[0]` from `min` to `max` times (kUnboundedRepeat: no limit)
};

struct PatternNode {
  NodeKind kind = NodeKind::kEmpty;
  Assertion assertion = Assertion::kTextStart;
  UnitSet units;
  std::vector<size_t> children;  // indices into PatternSyntax::nodes
  int min = 0;
  int max = 0;
  // Where the node's text lies in the pattern, in bytes, for messages.
  size_t begin = 0;
  size_t end = 0;
};

struct PatternSyntax {
  std::vector<PatternNode> nodes;
  size_t root = 0;
};

// The tree, or nullopt with `error` set to one line: what is refused and
// where, as "backreferences are not supported (at 4: \1)" (the position
// counts characters from 1).
[[nodiscard]] std::optional<PatternSyntax> ParsePattern(std::string_view text, std::string& error);

// "(at N: EXCERPT)" for the bytes [begin, end) of `text`, N counting
// characters from 1.
[[nodiscard]] std::string Where(std::string_view text, size_t begin, size_t end);

}  // namespace tooltext
