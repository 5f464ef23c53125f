#include "verdict.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <regex>

namespace benchora {
namespace {

// Longer patterns are refused: the matcher's cost grows with them.
constexpr size_t kLongestPattern = 256;

struct OpName {
  std::string_view word;
  CompareOp op;
};
constexpr OpName kOps[] = {{"=", CompareOp::kEqual},   {"!=", CompareOp::kNotEqual},
                           {"<", CompareOp::kLess},    {"<=", CompareOp::kLessEqual},
                           {">", CompareOp::kGreater}, {">=", CompareOp::kGreaterEqual},
                           {"in", CompareOp::kIn},     {"~", CompareOp::kMatches}};

std::string_view OpWord(CompareOp op) {
  for (const OpName& name : kOps) {
    if (name.op == op) return name.word;
  }
  return "?";
}

std::optional<std::regex> Pattern(const std::string& text) {
  try {
    return std::regex(text, std::regex::ECMAScript);
  } catch (const std::regex_error&) {
    return std::nullopt;
  }
}

// Control bytes as \xHH, and with `quotes` quote marks and backslashes
// escaped: one printable line whatever a panel or a script holds.
std::string Escaped(const std::string& text, bool quotes) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F) {
      ((out += "\\x") += kHex[byte >> 4]) += kHex[byte & 0x0F];
      continue;
    }
    if (quotes && (c == '"' || c == '\\')) out += '\\';
    out += c;
  }
  return out;
}

// A text as the verdict line shows it: numbers bare, texts quoted.
std::string Shown(const std::string& text, bool quoted) {
  if (!quoted && NumberIn(text)) return text;
  return "\"" + Escaped(text, true) + "\"";
}

}  // namespace

std::string ShownValue(const std::string& text, bool quoted) {
  return Shown(text, quoted);
}

namespace {

bool Compare(CompareOp op, double a, double b) {
  switch (op) {
    case CompareOp::kEqual:
      return a == b;
    case CompareOp::kNotEqual:
      return a != b;
    case CompareOp::kLess:
      return a < b;
    case CompareOp::kLessEqual:
      return a <= b;
    case CompareOp::kGreater:
      return a > b;
    case CompareOp::kGreaterEqual:
      return a >= b;
    case CompareOp::kIn:
    case CompareOp::kMatches:
      break;
  }
  return false;
}

}  // namespace

std::optional<double> NumberIn(std::string_view text) {
  if (text.empty() || text.size() > 64 || std::isspace(static_cast<unsigned char>(text.front()))) {
    return std::nullopt;
  }
  const std::string s(text);
  char* end = nullptr;
  errno = 0;
  const bool hex = s.starts_with("0x") || s.starts_with("0X");
  const double value = hex ? static_cast<double>(std::strtoull(s.c_str() + 2, &end, 16))
                           : std::strtod(s.c_str(), &end);
  if (end != s.c_str() + s.size() || errno != 0 || (hex && s.size() == 2)) return std::nullopt;
  // strtod also reads "inf", "nan" and hexadecimal fractions: not numbers a panel shows.
  for (const char c : s) {
    if (!hex && std::isalpha(static_cast<unsigned char>(c)) && c != 'e' && c != 'E')
      return std::nullopt;
  }
  return value;
}

std::optional<std::vector<Word>> SplitWords(std::string_view text) {
  std::vector<Word> words;
  size_t i = 0;
  while (true) {
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    if (i >= text.size()) return words;
    Word word;
    if (text[i] == '"') {
      word.quoted = true;
      for (++i;; ++i) {
        if (i >= text.size()) return std::nullopt;
        if (text[i] == '"') break;
        if (text[i] == '\\' && i + 1 < text.size()) ++i;
        word.text += text[i];
      }
      ++i;
    } else {
      while (i < text.size() && text[i] != ' ' && text[i] != '\t') word.text += text[i++];
    }
    words.push_back(std::move(word));
  }
}

std::optional<CheckSpec> ParseCheck(std::string_view arguments, std::string& error) {
  constexpr char kSyntax[] =
      "verify NAME OP VALUE [UNIT] (OP: = != < <= > >= in LOW..HIGH ~ REGEX)";
  const std::optional<std::vector<Word>> words = SplitWords(arguments);
  if (!words) {
    error = "a quote is not closed: " + std::string(kSyntax);
    return std::nullopt;
  }
  if (words->size() < 3 || words->size() > 4 || (*words)[0].quoted || (*words)[1].quoted) {
    error = kSyntax;
    return std::nullopt;
  }
  CheckSpec check;
  check.name = (*words)[0].text;
  const std::string& op = (*words)[1].text;
  bool known = false;
  for (const OpName& name : kOps) {
    if (name.word == op) {
      check.op = name.op;
      known = true;
    }
  }
  if (!known) {
    error = "unknown comparison '" + op + "': " + kSyntax;
    return std::nullopt;
  }
  const Word& value = (*words)[2];
  check.value = value.text;
  check.quoted = value.quoted;
  if (words->size() == 4) check.unit = (*words)[3].text;
  if (check.op == CompareOp::kIn) {
    const size_t dots = value.text.find("..");
    std::optional<double> low, high;
    if (!value.quoted && dots != std::string::npos) {
      low = NumberIn(std::string_view(value.text).substr(0, dots));
      high = NumberIn(std::string_view(value.text).substr(dots + 2));
    }
    if (!low.has_value() || !high.has_value() || low.value_or(0) > high.value_or(0)) {
      error = "in needs LOW..HIGH, two numbers, the lower first, not " + value.text;
      return std::nullopt;
    }
    check.high = value.text.substr(dots + 2);
    check.value = value.text.substr(0, dots);
  } else if (check.op == CompareOp::kMatches) {
    if (check.value.size() > kLongestPattern || !Pattern(check.value)) {
      error = "not a regular expression (of at most 256 characters): " + check.value;
      return std::nullopt;
    }
  } else if (check.op != CompareOp::kEqual && check.op != CompareOp::kNotEqual &&
             (value.quoted || !NumberIn(check.value))) {
    error = op + " compares numbers, not " + Shown(check.value, value.quoted);
    return std::nullopt;
  }
  return check;
}

Judgement Judge(const CheckSpec& check, const std::string& measured) {
  Judgement j;
  const std::optional<double> number = check.quoted ? std::nullopt : NumberIn(measured);
  switch (check.op) {
    case CompareOp::kEqual:
      j.low = j.high = check.value;
      break;
    case CompareOp::kLess:
    case CompareOp::kLessEqual:
      j.high = check.value;
      break;
    case CompareOp::kGreater:
    case CompareOp::kGreaterEqual:
      j.low = check.value;
      break;
    case CompareOp::kIn:
      j.low = check.value;
      j.high = check.high;
      break;
    case CompareOp::kNotEqual:
    case CompareOp::kMatches:
      break;
  }
  if (check.op == CompareOp::kMatches) {
    const std::optional<std::regex> pattern = Pattern(check.value);
    try {
      j.pass = pattern && std::regex_search(measured, *pattern);
    } catch (const std::regex_error&) {
      j.why = "the pattern is too costly for this text";
    }
    return j;
  }
  // ParseCheck made sure that the limits of <, <=, >, >= and in are numbers.
  const std::optional<double> limit = check.quoted ? std::nullopt : NumberIn(check.value);
  const double value_number = number.value_or(0);
  const double limit_number = limit.value_or(0);
  if (check.op == CompareOp::kEqual || check.op == CompareOp::kNotEqual) {
    const bool same = number.has_value() && limit.has_value() ? value_number == limit_number
                                                              : measured == check.value;
    j.pass = same == (check.op == CompareOp::kEqual);
    return j;
  }
  if (!number.has_value()) {
    j.why = "not a number";
    return j;
  }
  if (check.op == CompareOp::kIn) {
    j.pass = value_number >= limit_number && value_number <= NumberIn(check.high).value_or(0);
  } else {
    j.pass = Compare(check.op, value_number, limit_number);
  }
  return j;
}

std::string LimitText(const CheckSpec& check) {
  if (check.op == CompareOp::kIn) return "in " + check.value + ".." + check.high;
  return std::string(OpWord(check.op)) + " " + Shown(check.value, check.quoted);
}

std::string VerdictLine(const CheckSpec& check, const std::string& where,
                        const std::optional<std::string>& measured, const Judgement& judgement) {
  std::string line = judgement.pass ? "PASS " : "FAIL ";
  line += Escaped(check.name, false);
  if (!where.empty()) line += " (" + Escaped(where, false) + ")";
  line += ": measured ";
  line += measured ? Shown(*measured, check.quoted) : "nothing";
  line += ", limits " + LimitText(check);
  if (!check.unit.empty()) line += " " + Escaped(check.unit, false);
  if (!judgement.why.empty()) line += " (" + Escaped(judgement.why, false) + ")";
  return line;
}

}  // namespace benchora
