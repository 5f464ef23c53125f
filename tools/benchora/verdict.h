// Checks in scripts: "verify NAME OP VALUE [UNIT]" read, and a measured
// value judged against it. OP is one of =, !=, <, <=, >, >=, "in LOW..HIGH"
// or "~ REGEX". A value in double quotes is compared as text ("ROCK 95 ");
// otherwise two numbers compare as numbers and anything else as text.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace benchora {

enum class CompareOp {
  kEqual,
  kNotEqual,
  kLess,
  kLessEqual,
  kGreater,
  kGreaterEqual,
  kIn,
  kMatches
};

struct CheckSpec {
  std::string name;  // a control, CONTROL.KEY of its `get` state, or rds.FIELD
  CompareOp op = CompareOp::kEqual;
  std::string value;  // the limit; LOW for `in`; the pattern for `~`
  std::string high;   // HIGH for `in`
  bool quoted = false;
  std::string unit;
};

// The arguments after "verify". nullopt with `error` set when malformed.
[[nodiscard]] std::optional<CheckSpec> ParseCheck(std::string_view arguments, std::string& error);

struct Judgement {
  bool pass = false;
  std::string low;  // the limits as the reports show them; empty when open
  std::string high;
  std::string why;  // for a FAIL that is not a value out of its limits
};

[[nodiscard]] Judgement Judge(const CheckSpec& check, const std::string& measured);

// "= 95400000", "in 25..40", "~ ^ROCK": the limits as written.
std::string LimitText(const CheckSpec& check);

// The verdict line: "PASS LERSSI: measured 35, limits in 25..40 dBuV".
std::string VerdictLine(const CheckSpec& check, const std::string& where,
                        const std::optional<std::string>& measured, const Judgement& judgement);

// A value as verdict lines show it: a number bare, else in double quotes
// with quotes, backslashes and control bytes escaped (also when `quoted`).
std::string ShownValue(const std::string& text, bool quoted);

// A number as the checks read one: decimal (with a fraction or exponent)
// or hexadecimal with 0x.
[[nodiscard]] std::optional<double> NumberIn(std::string_view text);

// Words separated by blanks; a word in double quotes keeps its blanks and
// takes \" and \\ escapes. nullopt for an unterminated quote.
struct Word {
  std::string text;
  bool quoted = false;
};
[[nodiscard]] std::optional<std::vector<Word>> SplitWords(std::string_view text);

}  // namespace benchora
