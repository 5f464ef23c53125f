// Checks in scripts: "verify NAME OP VALUE [UNIT]" read, and a measured
// value judged against it. OP is one of =, !=, <, <=, >, >=, "in LOW..HIGH"
// or "~ REGEX". How two values compare depends on the kind of what NAME
// reads (value_kind.h): an RDS value has its own kind, and a limit that
// does not suit it is refused when the script is read; a control's value
// compares as a number against a number limit (a text then never equals
// it) and as text against any other limit, quoted or not.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "measure/value_kind.h"

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
  KindOfValue kind;  // of what `name` reads
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

// A value as verdict and sample lines show it: a number or a code bare,
// else (and a text value always) in double quotes with quotes, backslashes
// and control bytes escaped.
std::string ShownValue(const std::string& text, KindOfValue kind, bool quoted = false);

// A code of at most `digits` hexadecimal digits, with or without 0x.
[[nodiscard]] std::optional<unsigned> CodeIn(std::string_view text, unsigned digits);

// Words separated by white space of any kind; a word in double quotes
// keeps its white space, and of its backslashes only \" and \\ are escapes
// (a pattern's \d stays \d). nullopt for an unterminated quote.
struct Word {
  std::string text;
  bool quoted = false;
};
[[nodiscard]] std::optional<std::vector<Word>> SplitWords(std::string_view text);

// White space as the script reader takes it: blank, tab, vertical tab, form
// feed, carriage return and line feed.
[[nodiscard]] constexpr bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\r' || c == '\n';
}

}  // namespace benchora
