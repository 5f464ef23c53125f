#include "text/pattern_syntax.h"

#include <algorithm>
#include <utility>

#include "text/utf8_unit.h"

namespace tooltext {
namespace {

bool IsDigit(uint32_t c) {
  return c >= '0' && c <= '9';
}

bool IsAsciiLetter(uint32_t c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

int HexValue(uint32_t c) {
  if (IsDigit(c)) return static_cast<int>(c - '0');
  if (c >= 'a' && c <= 'f') return static_cast<int>(c - 'a' + 10);
  if (c >= 'A' && c <= 'F') return static_cast<int>(c - 'A' + 10);
  return -1;
}

// What an escape stands for: an assertion (\b, \B) or a set of units.
struct Escape {
  std::optional<Assertion> assertion;
  UnitSet units;
};

// A repeat count {n}, {n,} or {n,m} read from the text.
struct Count {
  int min = 0;
  int max = 0;
  size_t end = 0;  // just past the '}'
};

class Parser {
 public:
  Parser(std::string_view text, std::string& error) : text_(text), error_(error) {}

  std::optional<PatternSyntax> Run() {
    const std::optional<size_t> root = Alternation(0);
    if (!root) return std::nullopt;
    if (!AtEnd()) {
      // Sequence() stops only at '|' and ')', and Alternation() takes every '|'.
      Refuse("unbalanced parenthesis, ')' without '('", pos_, pos_ + 1);
      return std::nullopt;
    }
    PatternSyntax syntax;
    syntax.nodes = std::move(nodes_);
    syntax.root = *root;
    return syntax;
  }

 private:
  bool AtEnd() const { return pos_ >= text_.size(); }
  uint32_t At(size_t at) const { return at < text_.size() ? DecodeUnit(text_, at).value : 0; }
  uint32_t Peek() const { return At(pos_); }
  size_t After(size_t at) const {
    return at < text_.size() ? at + DecodeUnit(text_, at).length : at;
  }
  uint32_t Take() {
    const uint32_t c = Peek();
    pos_ = After(pos_);
    return c;
  }

  void Refuse(const std::string& what, size_t begin, size_t end) {
    error_ = what + " " + Where(text_, begin, std::min(end, text_.size()));
  }

  size_t Add(PatternNode node) {
    nodes_.push_back(std::move(node));
    return nodes_.size() - 1;
  }
  size_t AddUnits(UnitSet units, size_t begin) {
    PatternNode node;
    node.kind = NodeKind::kUnits;
    node.units = std::move(units);
    node.begin = begin;
    node.end = pos_;
    return Add(std::move(node));
  }
  size_t AddList(NodeKind kind, std::vector<size_t> children, size_t begin) {
    if (children.size() == 1) return children[0];
    PatternNode node;
    node.kind = children.empty() ? NodeKind::kEmpty : kind;
    node.children = std::move(children);
    node.begin = begin;
    node.end = pos_;
    return Add(std::move(node));
  }

  // Alternation: sequences separated by '|'.
  std::optional<size_t> Alternation(int depth) {
    const size_t begin = pos_;
    std::vector<size_t> options;
    while (true) {
      const std::optional<size_t> option = Sequence(depth);
      if (!option) return std::nullopt;
      options.push_back(*option);
      if (AtEnd() || Peek() != '|') break;
      ++pos_;
    }
    return AddList(NodeKind::kAlternation, std::move(options), begin);
  }

  // Sequence: terms up to a '|', a ')' or the end.
  std::optional<size_t> Sequence(int depth) {
    const size_t begin = pos_;
    std::vector<size_t> terms;
    while (!AtEnd() && Peek() != '|' && Peek() != ')') {
      const std::optional<size_t> term = Term(depth);
      if (!term) return std::nullopt;
      terms.push_back(*term);
    }
    return AddList(NodeKind::kSequence, std::move(terms), begin);
  }

  static bool StartsQuantifier(uint32_t c) { return c == '*' || c == '+' || c == '?' || c == '{'; }

  // Term: an atom with at most one quantifier (and its lazy '?').
  std::optional<size_t> Term(int depth) {
    const size_t begin = pos_;
    bool repeatable = true;
    const std::optional<size_t> atom = Atom(depth, repeatable);
    if (!atom || AtEnd() || !StartsQuantifier(Peek())) return atom;
    const size_t quantifier = pos_;
    const std::optional<Count> count = Quantifier();
    if (!count) return std::nullopt;
    if (!repeatable) {
      Refuse("a quantifier needs something to repeat", quantifier, count->end);
      return std::nullopt;
    }
    pos_ = count->end;
    if (!AtEnd() && Peek() == '?') ++pos_;  // lazy: the same matches, found in another order
    if (!AtEnd() && StartsQuantifier(Peek())) {
      const size_t extra = pos_;
      const std::optional<Count> again = Quantifier();
      if (again) Refuse("a quantifier needs something to repeat", extra, again->end);
      return std::nullopt;
    }
    PatternNode node;
    node.kind = NodeKind::kRepeat;
    node.children = {*atom};
    node.min = count->min;
    node.max = count->max;
    node.begin = begin;
    node.end = pos_;
    return Add(std::move(node));
  }

  // The quantifier at pos_ (left there), with its counts; refuses a '{'
  // that is no repeat count and counts out of bounds.
  std::optional<Count> Quantifier() {
    const uint32_t c = Peek();
    if (c == '*') return Count{0, kUnboundedRepeat, pos_ + 1};
    if (c == '+') return Count{1, kUnboundedRepeat, pos_ + 1};
    if (c == '?') return Count{0, 1, pos_ + 1};
    size_t at = pos_ + 1;
    Count count;
    if (!Number(at, count.min)) return BadBrace();
    if (At(at) == '}') {
      count.max = count.min;
    } else if (At(at) == ',') {
      ++at;
      if (At(at) == '}') {
        count.max = kUnboundedRepeat;
      } else if (!Number(at, count.max) || At(at) != '}') {
        return BadBrace();
      }
    } else {
      return BadBrace();
    }
    count.end = at + 1;
    if (count.min > kLargestRepeatCount || count.max > kLargestRepeatCount) {
      Refuse("repeat counts above " + std::to_string(kLargestRepeatCount) + " are not supported",
             pos_, count.end);
      return std::nullopt;
    }
    if (count.max != kUnboundedRepeat && count.min > count.max) {
      Refuse("a repeat count's lower bound is above its upper bound", pos_, count.end);
      return std::nullopt;
    }
    return count;
  }

  std::optional<Count> BadBrace() {
    Refuse("'{' is not a repeat count {n}, {n,} or {n,m}; write \\{ for the character", pos_,
           pos_ + 1);
    return std::nullopt;
  }

  // Decimal digits at `at` (moved past them); values above the largest
  // count read as one more than it.
  bool Number(size_t& at, int& value) const {
    if (!IsDigit(At(at))) return false;
    value = 0;
    for (; IsDigit(At(at)); ++at) {
      value = std::min(value * 10 + static_cast<int>(At(at) - '0'), kLargestRepeatCount + 1);
    }
    return true;
  }

  // Atom: one unit, a class, an assertion or a group. `repeatable` is
  // cleared for assertions, which a quantifier may not follow.
  std::optional<size_t> Atom(int depth, bool& repeatable) {
    const size_t begin = pos_;
    const uint32_t c = Peek();
    switch (c) {
      case '^':
      case '$': {
        ++pos_;
        repeatable = false;
        return AddAssertion(c == '^' ? Assertion::kTextStart : Assertion::kTextEnd, begin);
      }
      case '.':
        ++pos_;
        return AddUnits(UnitSet::AnyButLineFeed(), begin);
      case '[':
        return Class();
      case '(':
        return Group(depth);
      case '*':
      case '+':
      case '?':
      case '{': {
        const std::optional<Count> count = Quantifier();
        if (count) Refuse("a quantifier needs something to repeat", begin, count->end);
        return std::nullopt;
      }
      case '}':
        Refuse("unbalanced brace, '}' without '{'; write \\} for the character", begin, begin + 1);
        return std::nullopt;
      case ']':
        Refuse("unbalanced bracket, ']' without '['; write \\] for the character", begin,
               begin + 1);
        return std::nullopt;
      case '\\': {
        std::optional<Escape> escape = EscapeAt(false);
        if (!escape) return std::nullopt;
        if (escape->assertion) {
          repeatable = false;
          return AddAssertion(*escape->assertion, begin);
        }
        return AddUnits(std::move(escape->units), begin);
      }
      default:
        Take();
        return AddUnits(UnitSet::Of(c), begin);
    }
  }

  size_t AddAssertion(Assertion assertion, size_t begin) {
    PatternNode node;
    node.kind = NodeKind::kAssertion;
    node.assertion = assertion;
    node.begin = begin;
    node.end = pos_;
    return Add(std::move(node));
  }

  // Group: ( ... ) or (?: ... ); captures are not reported, so both are the same.
  std::optional<size_t> Group(int depth) {
    const size_t begin = pos_;
    ++pos_;
    if (depth + 1 > kDeepestGroupNesting) {
      Refuse("groups nest deeper than " + std::to_string(kDeepestGroupNesting), begin, pos_);
      return std::nullopt;
    }
    if (Peek() == '?' && !AtEnd()) {
      const uint32_t kind = At(pos_ + 1);
      const uint32_t third = At(pos_ + 2);
      if (kind == ':') {
        pos_ += 2;
      } else if (kind == '=' || kind == '!') {
        Refuse("look-around is not supported", begin, pos_ + 2);
        return std::nullopt;
      } else if (kind == '<' && (third == '=' || third == '!')) {
        Refuse("look-around is not supported", begin, pos_ + 3);
        return std::nullopt;
      } else if (kind == '<' || kind == '\'' || (kind == 'P' && third == '<')) {
        Refuse("named groups are not supported", begin, pos_ + (kind == 'P' ? 3 : 2));
        return std::nullopt;
      } else {
        Refuse("this kind of group is not supported", begin, After(pos_ + 1));
        return std::nullopt;
      }
    }
    const std::optional<size_t> inner = Alternation(depth + 1);
    if (!inner) return std::nullopt;
    if (AtEnd()) {
      Refuse("unbalanced parenthesis, '(' never closed", begin, begin + 1);
      return std::nullopt;
    }
    ++pos_;  // ')'
    nodes_[*inner].begin = begin;
    nodes_[*inner].end = pos_;
    return inner;
  }

  // Class: [...] or [^...] of units, ranges and class escapes.
  std::optional<size_t> Class() {
    const size_t begin = pos_;
    ++pos_;
    const bool negated = !AtEnd() && Peek() == '^';
    if (negated) ++pos_;
    UnitSet units;
    while (true) {
      if (AtEnd()) {
        Refuse("unbalanced bracket, '[' never closed", begin, begin + 1);
        return std::nullopt;
      }
      if (Peek() == ']') break;
      const size_t item = pos_;
      std::optional<UnitSet> first = ClassAtom();
      if (!first) return std::nullopt;
      // A '-' between two members makes a range; first or last it is itself.
      const bool range =
          !AtEnd() && Peek() == '-' && After(pos_) < text_.size() && At(After(pos_)) != ']';
      if (!range) {
        units.Add(*first);
        continue;
      }
      ++pos_;
      const std::optional<UnitSet> last = ClassAtom();
      if (!last) return std::nullopt;
      const std::optional<uint32_t> low = first->Single();
      const std::optional<uint32_t> high = last->Single();
      if (!low || !high) {
        Refuse("a range needs a single character at both ends", item, pos_);
        return std::nullopt;
      }
      if (*low > *high) {
        Refuse("reversed range", item, pos_);
        return std::nullopt;
      }
      units.Add(UnitSet::Range(*low, *high));
    }
    ++pos_;  // ']'
    return AddUnits(negated ? units.Complement() : units, begin);
  }

  std::optional<UnitSet> ClassAtom() {
    const uint32_t c = Peek();
    if (c == '\\') {
      std::optional<Escape> escape = EscapeAt(true);
      if (!escape) return std::nullopt;
      return std::move(escape->units);
    }
    if (c == '[') {
      const uint32_t next = At(pos_ + 1);
      if (next == ':' || next == '.' || next == '=') {
        Refuse("named classes and collating elements are not supported", pos_, pos_ + 2);
        return std::nullopt;
      }
    }
    Take();
    return UnitSet::Of(c);
  }

  // The escape at pos_ (a backslash), in a class or outside one.
  std::optional<Escape> EscapeAt(bool in_class) {
    const size_t begin = pos_;
    ++pos_;
    if (AtEnd()) {
      Refuse("the pattern ends in a lone backslash", begin, pos_);
      return std::nullopt;
    }
    const uint32_t c = Take();
    Escape escape;
    switch (c) {
      case 'd':
      case 'D':
        escape.units = c == 'd' ? UnitSet::Digit() : UnitSet::Digit().Complement();
        return escape;
      case 'w':
      case 'W':
        escape.units = c == 'w' ? UnitSet::Word() : UnitSet::Word().Complement();
        return escape;
      case 's':
      case 'S':
        escape.units = c == 's' ? UnitSet::Space() : UnitSet::Space().Complement();
        return escape;
      case 'b':
        // In a class \b is the backspace character.
        if (in_class) {
          escape.units = UnitSet::Of('\b');
        } else {
          escape.assertion = Assertion::kWordBoundary;
        }
        return escape;
      case 'B':
        if (in_class) break;
        escape.assertion = Assertion::kNotWordBoundary;
        return escape;
      case 't':
        escape.units = UnitSet::Of('\t');
        return escape;
      case 'n':
        escape.units = UnitSet::Of('\n');
        return escape;
      case 'r':
        escape.units = UnitSet::Of('\r');
        return escape;
      case 'f':
        escape.units = UnitSet::Of('\f');
        return escape;
      case 'v':
        escape.units = UnitSet::Of('\v');
        return escape;
      case 'x':
      case 'u':
        return HexEscape(c == 'x' ? 2 : 4, begin);
      case 'k':
        Refuse("backreferences are not supported", begin, pos_);
        return std::nullopt;
      default:
        break;
    }
    if (IsDigit(c)) {
      if (c == '0' && !IsDigit(Peek())) {
        escape.units = UnitSet::Of(0);
        return escape;
      }
      while (IsDigit(Peek())) ++pos_;
      Refuse(in_class || c == '0' ? "octal escapes are not supported"
                                  : "backreferences are not supported",
             begin, pos_);
      return std::nullopt;
    }
    if (IsAsciiLetter(c) || c >= 0x80) {
      Refuse(in_class ? "unknown escape in a class" : "unknown escape", begin, pos_);
      return std::nullopt;
    }
    // Any other ASCII character escaped is itself: \. \* \\ \/ \- and so on.
    escape.units = UnitSet::Of(c);
    return escape;
  }

  // \xHH or \uHHHH: the code point with that value.
  std::optional<Escape> HexEscape(int digits, size_t begin) {
    uint32_t value = 0;
    for (int i = 0; i < digits; ++i) {
      const int digit = HexValue(Peek());
      if (AtEnd() || digit < 0) {
        Refuse(std::string("\\") + text_[begin + 1] + " needs " + (digits == 2 ? "two" : "four") +
                   " hexadecimal digits",
               begin, pos_);
        return std::nullopt;
      }
      value = value * 16 + static_cast<uint32_t>(digit);
      ++pos_;
    }
    Escape escape;
    escape.units = UnitSet::Of(value);
    return escape;
  }

  std::string_view text_;
  std::string& error_;
  size_t pos_ = 0;
  std::vector<PatternNode> nodes_;
};

}  // namespace

std::string Where(std::string_view text, size_t begin, size_t end) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  size_t position = 1;
  for (size_t at = 0; at < begin; at += DecodeUnit(text, at).length) ++position;
  std::string excerpt;
  for (size_t at = begin; at < end;) {
    const Utf8Unit unit = DecodeUnit(text, at);
    if (unit.value < 0x20 || unit.value == 0x7F || unit.value >= kStrayByteBase) {
      const auto byte = static_cast<unsigned char>(text[at]);
      ((excerpt += "\\x") += kHex[byte >> 4]) += kHex[byte & 0x0F];
    } else {
      excerpt += text.substr(at, unit.length);
    }
    at += unit.length;
  }
  return "(at " + std::to_string(position) + ": " + excerpt + ")";
}

std::optional<PatternSyntax> ParsePattern(std::string_view text, std::string& error) {
  if (text.size() > kLongestPatternBytes) {
    error = "patterns are limited to " + std::to_string(kLongestPatternBytes) +
            " bytes (this one has " + std::to_string(text.size()) + ")";
    return std::nullopt;
  }
  for (size_t at = 0; at < text.size();) {
    const Utf8Unit unit = DecodeUnit(text, at);
    if (unit.value >= kStrayByteBase) {
      error = "the pattern is not valid UTF-8 " + Where(text, at, at + 1);
      return std::nullopt;
    }
    at += unit.length;
  }
  return Parser(text, error).Run();
}

}  // namespace tooltext
