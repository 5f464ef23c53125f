// The check patterns' dialect: what every construct matches (UTF-8 text
// included), the patterns that made the earlier matcher run away, and the
// exact message for every pattern that is refused.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>

#include "text/pattern.h"

namespace {

using tooltext::Pattern;

struct MatchCase {
  std::string pattern;
  std::string subject;
  bool matches;
};

std::string Repeated(const std::string& piece, size_t times) {
  std::string out;
  for (size_t i = 0; i < times; ++i) out += piece;
  return out;
}

std::string Nested(size_t depth) {
  return Repeated("(", depth) + "a" + Repeated(")", depth);
}

TEST(Pattern, SearchesAsTheDialectSays) {
  const MatchCase kCases[] = {
      // Literals and the search: anywhere in the text, case counts.
      {"", "", true},
      {"", "abc", true},
      {"Rock", "Radio Rock 101", true},
      {"rock", "Radio Rock 101", false},
      {"abc", "ab", false},
      {"abc", "xxabxabcx", true},
      {"aab", "aaab", true},
      {" ", "a b", true},
      // Anchors: the whole text's start and end, never a line's.
      {"^Rock", "Rock 101", true},
      {"^Rock", "Radio Rock", false},
      {"101$", "Rock 101", true},
      {"101$", "101 Rock", false},
      {"^$", "", true},
      {"^$", "a", false},
      {"^b", "a\nb", false},
      {"a$", "a\nb", false},
      {"^a|b$", "xb", true},
      {"a^b", "ab", false},
      {"(^|x)b", "ab", false},
      {"(^|x)b", "b", true},
      {"(^a)*b", "xb", true},
      {"(^a)+b", "xab", false},
      // The dot: one unit, anything but a line feed.
      {"^.$", "x", true},
      {"^.$", "\n", false},
      {"^.$", "\r", true},
      {"^.$", "", false},
      {"a.c", "abc", true},
      {"a.c", "ac", false},
      // Classes, ranges, negation and escapes inside.
      {"^[abc]$", "b", true},
      {"^[abc]$", "d", false},
      {"^[a-z0-9]+$", "rock101", true},
      {"^[a-z0-9]+$", "Rock101", false},
      {"^[^a-z]$", "A", true},
      {"^[^a-z]$", "q", false},
      {"^[^a-z]$", "\n", true},
      {"^[^^]$", "^", false},
      {"^[^^]$", "a", true},
      {"^[^a]$", "^", true},
      {"^[a-a]$", "a", true},
      {"^[-a]+$", "a-a", true},
      {"^[a-]+$", "-a", true},
      {"^[a-c-e]+$", "-ae", true},
      {"^[a-c-e]$", "d", false},
      {"^[\\]\\[\\\\\\-^]+$", "[]\\-^", true},
      {"^[.*+?]+$", ".*+?", true},
      {"^[.]$", "x", false},
      {"^[[]$", "[", true},
      {"^[\\d]$", "7", true},
      {"^[\\w.]+$", "a_1.b", true},
      {"^[\\s]$", "\t", true},
      {"^[^\\d]$", "7", false},
      {"^[\\D]$", "x", true},
      {"^[\\W\\d]+$", "1-2", true},
      {"^[\\S]$", " ", false},
      {"^[\\b]$", "\b", true},
      {"^[\\x41-\\x43]+$", "ABC", true},
      {"^[\\t\\n]+$", "\t\n", true},
      {"[]", "abc", false},
      {"^[^]$", "\n", true},
      // Class escapes in their ASCII meanings.
      {"^\\d+$", "0123456789", true},
      {"^\\d$", "a", false},
      {"^\\D$", "a", true},
      {"^\\D$", "5", false},
      {"^\\w+$", "AZaz09_", true},
      {"^\\w$", "-", false},
      {"^\\W$", "-", true},
      {"^\\W$", "_", false},
      {"^\\s+$", " \t\n\v\f\r", true},
      {"^\\s$", "x", false},
      {"^\\S$", "x", true},
      {"^\\S$", "\v", false},
      // Word boundaries.
      {"\\bRock\\b", "Radio Rock 101", true},
      {"\\bRock\\b", "Radio Rocks", false},
      {"\\bock", "Rock", false},
      {"\\Bock", "Rock", true},
      {"\\B", "", true},
      {"\\b", "", false},
      {"\\b", "-", false},
      {"a\\b", "a", true},
      {"^\\b", "_", true},
      {"\\b$", "-", false},
      {"\\Ba", "_a", true},
      // Groups and alternation.
      {"^(ab)+$", "ababab", true},
      {"^(ab)+$", "abba", false},
      {"^(?:ab)+$", "abab", true},
      {"^(a|bc|d)$", "bc", true},
      {"^(a|bc|d)$", "b", false},
      {"^(a|)$", "", true},
      {"^()$", "", true},
      {"^(|x)y$", "y", true},
      {"^(a|b)(c|d)$", "bd", true},
      {"^(a|b)(c|d)$", "bb", false},
      {"cat|dog", "hotdog", true},
      {"^((a|b)c)+$", "acbc", true},
      // Quantifiers, greedy and lazy, and counted repeats.
      {"^a*$", "", true},
      {"^a*$", "aaa", true},
      {"^a*$", "aab", false},
      {"^a+$", "", false},
      {"^a+$", "a", true},
      {"^a+$", "aa", true},
      {"^ab?c$", "ac", true},
      {"^ab?c$", "abc", true},
      {"^ab?c$", "abbc", false},
      {"^a*?b$", "aab", true},
      {"^a+?$", "aa", true},
      {"^a??$", "a", true},
      {"^a{3}$", "aaa", true},
      {"^a{3}$", "aa", false},
      {"^a{3}$", "aaaa", false},
      {"^a{2,}$", "a", false},
      {"^a{2,}$", "aa", true},
      {"^a{2,}$", "aaaaa", true},
      {"^a{2,3}$", "a", false},
      {"^a{2,3}$", "aa", true},
      {"^a{2,3}$", "aaa", true},
      {"^a{2,3}$", "aaaa", false},
      {"^a{0}$", "", true},
      {"^a{0}$", "a", false},
      {"^a{0,0}b$", "b", true},
      {"^a{0,2}$", "aa", true},
      {"^a{0,2}$", "aaa", false},
      {"^a{2,3}?$", "aaa", true},
      {"^a{2,}?$", "aaaa", true},
      {"^(ab){2}$", "abab", true},
      {"^(a|bc){2,3}$", "bca", true},
      {"^(a|bc){2,3}$", "bcabca", false},
      {"^(a*)*$", "aaa", true},
      {"^(a*)+b$", "b", true},
      {"^(a?){3}a{3}$", "aaa", true},
      {"^(\\b)*a$", "a", true},
      {"^(){2,}$", "", true},
      {"^(a|)+b$", "aab", true},
      {"^x{1000}$", Repeated("x", 1000), true},
      {"^x{1000}$", Repeated("x", 999), false},
      {"^x{1,1000}$", Repeated("x", 1001), false},
      // Escapes outside classes.
      {"^\\\\\\.\\*\\+\\?\\(\\)\\[\\]\\{\\}\\|\\^\\$\\/\\-$", "\\.*+?()[]{}|^$/-", true},
      {"^\\t\\n\\r\\f\\v$", "\t\n\r\f\v", true},
      {"^a\\0b$", std::string("a\0b", 3), true},
      {"^\\x41\\x7a$", "Az", true},
      {"^\\u0041$", "A", true},
      {"^\\u00c4$", "\xC3\x84", true},
      {"^\\xC4$", "\xC3\x84", true},
      {"^\\xC4$", "\xC4", false},
      {"^\\u20AC$", "\xE2\x82\xAC", true},
      {"^\\!\\ \\\"\\,\\%$", "! \",%", true},
      // UTF-8: a code point is one unit, for the dot and for classes.
      {"^.{8}$", "B\xC3\x84R 98,1", true},
      {"^.{8}$", "B\xC3\x84R 98,12", false},
      {"^.$", "\xE2\x82\xAC", true},
      {"^.$", "\xF0\x9F\x8E\xB5", true},
      {"^\xC3\x84+$", "\xC3\x84\xC3\x84", true},
      {"^[\xC3\x84\xC3\x96]$", "\xC3\x96", true},
      {"^[\xC3\x84-\xC3\x9C]$", "\xC3\x96", true},
      {"^[\xC3\x84-\xC3\x9C]$", "\xC3\x83", false},
      {"^[^a]$", "\xC3\x84", true},
      {"^\\W$", "\xC3\x84", true},
      {"^\\w$", "\xC3\x84", false},
      {"\\b", "\xC3\x84", false},
      // Bytes that are not UTF-8 are units of their own: matched by the dot
      // and negated classes, never by a character.
      {"^.$", "\xFF", true},
      {"^..$", "\xC3", false},
      {"^.$", "\xC3", true},
      {"^.a$", std::string("\xC3") + "a", true},
      {"^..$", "\xC0\x80", true},            // overlong NUL
      {"^...$", "\xED\xA0\x80", true},       // a surrogate
      {"^....$", "\xF4\x90\x80\x80", true},  // past U+10FFFF
      {"^..$", "\xE2\x82", true},            // cut short
      {"^..a$", std::string("\xE2\x82") + "a", true},
      {"^...$", "\xE0\x80\x80", true},  // overlong
      {"^....$", "\xF0\x8F\xBF\xBF", true},
      {"^.$", "\xDF\xBF", true},
      {"^.$", "\xF4\x8F\xBF\xBF", true},
      {"^.\\x82$", "\xE2\x82", false},
      {"^[^a]$", "\xFF", true},
      {"^\\D\\W\\S$", "\xFD\xFE\xFF", true},
      {"^[\\s\\S]$", "\x80", true},
      {"^[^\\W]$", "\x80", false},
      {"^[\\x00-\\uFFFF]$", "\xFF", false},
      {"\\u00FF", "\xFF", false},
      {"^a.b$", std::string("a\xFF") + "b", true},
      {"^\\u00E9t\\u00E9$", "\xC3\xA9t\xC3\xA9", true},
      // The patterns that ran away with the earlier matcher just answer.
      {"^(\\w+\\s?)*$", "Radio Rock 101 the best hits all day!", false},
      {"^(\\w+\\s?)*$", "Radio Rock 101 the best hits all day", true},
      {"^(a|b)*$", Repeated("ab", 7500), true},
      {"^(a|b)*$", Repeated("ab", 7500) + "!", false},
      {"(a*)*b", Repeated("a", 5000), false},
      {"(x+x+)+y", Repeated("x", 5000), false},
      {"^(a|a)*$", Repeated("a", 5000) + "b", false},
  };
  for (const MatchCase& c : kCases) {
    std::string error;
    const std::optional<Pattern> pattern = Pattern::Compile(c.pattern, error);
    ASSERT_TRUE(pattern.has_value()) << c.pattern << ": " << error;
    EXPECT_EQ(error, "") << c.pattern;
    EXPECT_EQ(pattern->Search(c.subject), c.matches)
        << "/" << c.pattern << "/ on \"" << c.subject.substr(0, 60) << "\"";
  }
}

struct RefusalCase {
  std::string pattern;
  std::string message;
};

TEST(Pattern, RefusesWithAReasonAndAPlace) {
  const RefusalCase kCases[] = {
      {"(a)\\1", "backreferences are not supported (at 4: \\1)"},
      {"a\\12", "backreferences are not supported (at 2: \\12)"},
      {"(?<n>a)\\k<n>", "named groups are not supported (at 1: (?<)"},
      {"\\k<n>", "backreferences are not supported (at 1: \\k)"},
      {"a(?=b)", "look-around is not supported (at 2: (?=)"},
      {"a(?!b)", "look-around is not supported (at 2: (?!)"},
      {"(?<=a)b", "look-around is not supported (at 1: (?<=)"},
      {"(?<!a)b", "look-around is not supported (at 1: (?<!)"},
      {"(?'n'a)", "named groups are not supported (at 1: (?')"},
      {"(?P<n>a)", "named groups are not supported (at 1: (?P<)"},
      {"(?i)rock", "this kind of group is not supported (at 1: (?i)"},
      {"(?", "this kind of group is not supported (at 1: (?)"},
      {"\\q", "unknown escape (at 1: \\q)"},
      {"\\cA", "unknown escape (at 1: \\c)"},
      {"\\p{L}", "unknown escape (at 1: \\p)"},
      {"\\\xC3\x84", "unknown escape (at 1: \\\xC3\x84)"},
      {"[\\B]", "unknown escape in a class (at 2: \\B)"},
      {"[\\q]", "unknown escape in a class (at 2: \\q)"},
      {"[\\1]", "octal escapes are not supported (at 2: \\1)"},
      {"\\01", "octal escapes are not supported (at 1: \\01)"},
      {"ab\\", "the pattern ends in a lone backslash (at 3: \\)"},
      {"\\x4", "\\x needs two hexadecimal digits (at 1: \\x4)"},
      {"\\xg0", "\\x needs two hexadecimal digits (at 1: \\x)"},
      {"\\u12G4", "\\u needs four hexadecimal digits (at 1: \\u12)"},
      {"*a", "a quantifier needs something to repeat (at 1: *)"},
      {"a|+", "a quantifier needs something to repeat (at 3: +)"},
      {"(?a)", "this kind of group is not supported (at 1: (?a)"},
      {"(*)", "a quantifier needs something to repeat (at 2: *)"},
      {"^*", "a quantifier needs something to repeat (at 2: *)"},
      {"a$?", "a quantifier needs something to repeat (at 3: ?)"},
      {"\\b+", "a quantifier needs something to repeat (at 3: +)"},
      {"a**", "a quantifier needs something to repeat (at 3: *)"},
      {"a*??", "a quantifier needs something to repeat (at 4: ?)"},
      {"a{2}{3}", "a quantifier needs something to repeat (at 5: {3})"},
      {"{2}", "a quantifier needs something to repeat (at 1: {2})"},
      {"a{", "'{' is not a repeat count {n}, {n,} or {n,m}; write \\{ for the character (at 2: {)"},
      {"a{,3}",
       "'{' is not a repeat count {n}, {n,} or {n,m}; write \\{ for the character (at 2: {)"},
      {"a{1, 2}",
       "'{' is not a repeat count {n}, {n,} or {n,m}; write \\{ for the character (at 2: {)"},
      {"a{2}{",
       "'{' is not a repeat count {n}, {n,} or {n,m}; write \\{ for the character (at 5: {)"},
      {"a}", "unbalanced brace, '}' without '{'; write \\} for the character (at 2: })"},
      {"a]", "unbalanced bracket, ']' without '['; write \\] for the character (at 2: ])"},
      {"[]]", "unbalanced bracket, ']' without '['; write \\] for the character (at 3: ])"},
      {"ab[cd", "unbalanced bracket, '[' never closed (at 3: [)"},
      {"[a-", "unbalanced bracket, '[' never closed (at 1: [)"},
      {"[\\]", "unbalanced bracket, '[' never closed (at 1: [)"},
      {"(ab", "unbalanced parenthesis, '(' never closed (at 1: ()"},
      {"((a)", "unbalanced parenthesis, '(' never closed (at 1: ()"},
      {"ab)", "unbalanced parenthesis, ')' without '(' (at 3: ))"},
      {"(a))", "unbalanced parenthesis, ')' without '(' (at 4: ))"},
      {"[z-a]", "reversed range (at 2: z-a)"},
      {"[\xC3\x9C-\xC3\x84]", "reversed range (at 2: \xC3\x9C-\xC3\x84)"},
      {"[\\d-z]", "a range needs a single character at both ends (at 2: \\d-z)"},
      {"[a-\\w]", "a range needs a single character at both ends (at 2: a-\\w)"},
      {"[[:alpha:]]", "named classes and collating elements are not supported (at 2: [:)"},
      {"[[=a=]]", "named classes and collating elements are not supported (at 2: [=)"},
      {"[[.a.]]", "named classes and collating elements are not supported (at 2: [.)"},
      {"a{3,2}", "a repeat count's lower bound is above its upper bound (at 2: {3,2})"},
      {"a{1001}", "repeat counts above 1000 are not supported (at 2: {1001})"},
      {"a{0,1001}", "repeat counts above 1000 are not supported (at 2: {0,1001})"},
      {"a{99999999999,}", "repeat counts above 1000 are not supported (at 2: {99999999999,})"},
      {"x(abcde){1000}",
       "the pattern would compile to more than 5000 instructions (at 2: (abcde){1000})"},
      {"(abcde){999}abcde",
       "the pattern would compile to more than 5000 instructions (at 1: (abcde){999}abcde)"},
      {"(abcd){0,1000}",
       "the pattern would compile to more than 5000 instructions (at 1: (abcd){0,1000})"},
      {"((a{100}){100})",
       "the pattern would compile to more than 5000 instructions (at 1: ((a{100}){100}))"},
      {"(a|b|c){900}(d|e){9}",
       "the pattern would compile to more than 5000 instructions (at 1: (a|b|c){900})"},
      {"(a|b|c){700}(d|e){700}",
       "the pattern would compile to more than 5000 instructions (at 1: (a|b|c){700}(d|e){700})"},
      {Nested(33), "groups nest deeper than 32 (at 33: ()"},
      {Repeated("a", 257), "patterns are limited to 256 bytes (this one has 257)"},
      {"a\xFF", "the pattern is not valid UTF-8 (at 2: \\xFF)"},
      {"\xC3\x84\xC3", "the pattern is not valid UTF-8 (at 2: \\xC3)"},
      {"a\n(?=", "look-around is not supported (at 3: (?=)"},
      {"a\x01\\q", "unknown escape (at 3: \\q)"},
      {"(?\x01)", "this kind of group is not supported (at 1: (?\\x01)"},
  };
  for (const RefusalCase& c : kCases) {
    std::string error;
    EXPECT_FALSE(Pattern::Compile(c.pattern, error).has_value()) << c.pattern;
    EXPECT_EQ(error, c.message) << c.pattern;
  }
}

TEST(Pattern, ReadsASubjectOnlyWithinItsView) {
  std::string error;
  const std::optional<Pattern> two_units = Pattern::Compile("^..$", error);
  ASSERT_TRUE(two_units.has_value());
  // The euro sign's first two bytes: cut short, whatever follows in memory.
  EXPECT_TRUE(two_units->Search(std::string_view("\xE2\x82\xAC", 2)));
}

// The bounds themselves are accepted, and a program is as large as the
// bound on its size reckons: that size is the work per character.
TEST(Pattern, TheBoundsThemselvesAreAcceptedAtTheSizeReckoned) {
  const std::pair<std::string, size_t> kCases[] = {
      {Nested(32), 2},  // a, match
      {Repeated("a", 256), 257},
      {"(abcde){999}abcd", 5000},  // the largest program
      {"(abcd){0,999}", 4996},     // a split before each optional copy
      {"a{1000}", 1001},
      {"a{1000,}", 1002},  // the last copy loops back
      {"a*", 4},           // split, a, jump back
      {"a|b|c", 8},        // split, a, jump, split, b, jump, c
      {"^\\b(?:x|)$", 7},  // assertions take one each
  };
  for (const auto& [text, size] : kCases) {
    std::string error;
    const std::optional<Pattern> pattern = Pattern::Compile(text, error);
    ASSERT_TRUE(pattern.has_value()) << text << ": " << error;
    EXPECT_EQ(pattern->size(), size) << text;
  }
}

}  // namespace
