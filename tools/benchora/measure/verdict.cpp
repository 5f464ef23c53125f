#include "measure/verdict.h"

#include "measure/measurement.h"
#include "text/pattern.h"
#include "text/strict_number.h"

namespace benchora {
namespace {

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

bool Orders(CompareOp op) {
  return op != CompareOp::kEqual && op != CompareOp::kNotEqual && op != CompareOp::kMatches;
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

// Whether the check compares numbers: the name reads a number, or a
// control's value meets a number limit.
bool ComparesNumbers(const CheckSpec& check) {
  if (check.kind.kind == ValueKind::kNumber) return true;
  return check.kind.kind == ValueKind::kAny && !check.quoted &&
         tooltext::ParseReal(check.value).has_value();
}

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

// The limit checked against the kind of what the name reads; an error
// text when it does not suit it.
std::optional<std::string> LimitProblem(const CheckSpec& check, const std::string& op) {
  const std::string& name = check.name;
  if (check.op == CompareOp::kMatches) {
    std::string error;
    if (!tooltext::Pattern::Compile(check.value, error)) {
      return "not a pattern: " + error + " (docs/patterns.md has what " + op + " takes)";
    }
    return std::nullopt;
  }
  switch (check.kind.kind) {
    case ValueKind::kCode:
      if (Orders(check.op)) return name + " is a code: compare it with =, != or ~, not " + op;
      if (!CodeIn(check.value, check.kind.code_digits)) {
        return name + " is a code of up to " + std::to_string(check.kind.code_digits) +
               " hexadecimal digits (like C204 or 0xC204), not " + check.value;
      }
      return std::nullopt;
    case ValueKind::kText:
      if (Orders(check.op)) return name + " is a text: compare it with =, != or ~, not " + op;
      return std::nullopt;
    case ValueKind::kNumber:
      if (check.op != CompareOp::kIn && (check.quoted || !tooltext::ParseReal(check.value))) {
        return name + " is a number, not " + ShownValue(check.value, {}, check.quoted);
      }
      return std::nullopt;
    case ValueKind::kAny:
      if (Orders(check.op) && check.op != CompareOp::kIn &&
          (check.quoted || !tooltext::ParseReal(check.value))) {
        return op + " compares numbers, not " + ShownValue(check.value, {}, check.quoted);
      }
      return std::nullopt;
  }
  return std::nullopt;
}

}  // namespace

std::string ShownValue(const std::string& text, KindOfValue kind, bool quoted) {
  const bool bare = kind.kind == ValueKind::kCode ||
                    (kind.kind != ValueKind::kText && !quoted && tooltext::ParseReal(text));
  if (bare) return Escaped(text, false);
  return "\"" + Escaped(text, true) + "\"";
}

std::optional<unsigned> CodeIn(std::string_view text, unsigned digits) {
  if (text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    text.remove_prefix(2);
  }
  if (text.empty() || text.size() > digits) return std::nullopt;
  unsigned value = 0;
  for (const char c : text) {
    unsigned digit = 0;
    if (c >= '0' && c <= '9') {
      digit = static_cast<unsigned>(c - '0');
    } else if (c >= 'A' && c <= 'F') {
      digit = static_cast<unsigned>(c - 'A' + 10);
    } else if (c >= 'a' && c <= 'f') {
      digit = static_cast<unsigned>(c - 'a' + 10);
    } else {
      return std::nullopt;
    }
    value = value * 16 + digit;
  }
  return value;
}

std::optional<std::vector<Word>> SplitWords(std::string_view text) {
  std::vector<Word> words;
  size_t i = 0;
  while (true) {
    while (i < text.size() && IsBlank(text[i])) ++i;
    if (i >= text.size()) return words;
    Word word;
    if (text[i] == '"') {
      word.quoted = true;
      for (++i;; ++i) {
        if (i >= text.size()) return std::nullopt;
        if (text[i] == '"') break;
        // \" and \\ are the escapes; any other backslash is the word's own.
        if (text[i] == '\\' && i + 1 < text.size() && (text[i + 1] == '"' || text[i + 1] == '\\'))
          ++i;
        word.text += text[i];
      }
      ++i;
    } else {
      while (i < text.size() && !IsBlank(text[i])) word.text += text[i++];
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
  const std::optional<KindOfValue> kind = LookUpName(check.name, error);
  if (!kind) return std::nullopt;
  check.kind = *kind;
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
      low = tooltext::ParseReal(std::string_view(value.text).substr(0, dots));
      high = tooltext::ParseReal(std::string_view(value.text).substr(dots + 2));
    }
    if (!low.has_value() || !high.has_value() || low.value_or(0) > high.value_or(0)) {
      error = "in needs LOW..HIGH, two numbers, the lower first, not " + value.text;
      return std::nullopt;
    }
    check.high = value.text.substr(dots + 2);
    check.value = value.text.substr(0, dots);
  }
  if (const std::optional<std::string> problem = LimitProblem(check, op)) {
    error = *problem;
    return std::nullopt;
  }
  return check;
}

Judgement Judge(const CheckSpec& check, const std::string& measured) {
  Judgement j;
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
    // ParseCheck refused patterns that do not compile.
    std::string error;
    const std::optional<tooltext::Pattern> pattern = tooltext::Pattern::Compile(check.value, error);
    j.pass = pattern && pattern->Search(measured);
    return j;
  }
  const bool equality = check.op == CompareOp::kEqual || check.op == CompareOp::kNotEqual;
  if (check.kind.kind == ValueKind::kCode) {
    const std::optional<unsigned> code = CodeIn(measured, check.kind.code_digits);
    if (!code) {
      j.why = "not a code";
      return j;
    }
    j.pass =
        (*code == CodeIn(check.value, check.kind.code_digits)) == (check.op == CompareOp::kEqual);
    return j;
  }
  if (!ComparesNumbers(check)) {
    // ParseCheck let only = and != through for texts.
    j.pass = (measured == check.value) == (check.op == CompareOp::kEqual);
    return j;
  }
  // A number limit: a reading that is no number neither equals nor differs
  // from it, it was simply not a number.
  const std::optional<double> number = tooltext::ParseReal(measured);
  if (!number) {
    j.why = "not a number";
    return j;
  }
  const double limit = tooltext::ParseReal(check.value).value_or(0);
  if (check.op == CompareOp::kIn) {
    j.pass = *number >= limit && *number <= tooltext::ParseReal(check.high).value_or(0);
  } else {
    j.pass = equality ? (*number == limit) == (check.op == CompareOp::kEqual)
                      : Compare(check.op, *number, limit);
  }
  return j;
}

std::string LimitText(const CheckSpec& check) {
  if (check.op == CompareOp::kIn) return "in " + check.value + ".." + check.high;
  return std::string(OpWord(check.op)) + " " + ShownValue(check.value, check.kind, check.quoted);
}

std::string VerdictLine(const CheckSpec& check, const std::string& where,
                        const std::optional<std::string>& measured, const Judgement& judgement) {
  std::string line = judgement.pass ? "PASS " : "FAIL ";
  line += Escaped(check.name, false);
  if (!where.empty()) line += " (" + Escaped(where, false) + ")";
  line += ": measured ";
  line += measured ? ShownValue(*measured, check.kind, check.quoted) : "nothing";
  line += ", limits " + LimitText(check);
  if (!check.unit.empty()) line += " " + Escaped(check.unit, false);
  if (!judgement.why.empty()) line += " (" + Escaped(judgement.why, false) + ")";
  return line;
}

}  // namespace benchora
