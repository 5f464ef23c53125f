// Check patterns (tooltext::Pattern) against std::regex's ECMAScript
// grammar, which benchora's `~` checks used before.
//
// Input: byte 0 gives the pattern's length (0 to 24), then the pattern's
// bytes, then up to 40 bytes of subject. Both are mapped to printable ASCII
// (the pattern's other bytes to characters of the pattern syntax), where
// both matchers mean the same: no line ends, which std::regex's dot also
// refuses, and no bytes beyond ASCII, which it does not read as UTF-8.
//
// Checks: when both compile the pattern, both find a match or neither does
// (unless \x or \u names a code point above 0x7F, which std::regex reads as
// a byte, a documented difference).
// A pattern std::regex refuses is refused here too (the dialect has nothing
// std::regex lacks). A refusal is one printable line. The raw bytes also go
// through, as pattern and as subject, for the sanitizers.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <regex>
#include <string>
#include <string_view>

#include "fuzz_input.h"
#include "text/pattern.h"
#include "text/utf8_unit.h"

namespace {

constexpr size_t kPatternBytes = 24;
constexpr size_t kSubjectBytes = 40;

// What the bytes outside printable ASCII stand for.
constexpr std::string_view kSyntax = "()[]{}|*+?.^$\\-,:=!<>0123abdDwWsSbBxuk";
constexpr std::string_view kSubjectUnits = "ab _-0Z!";

bool Printable(uint8_t byte) {
  return byte >= 0x20 && byte < 0x7F;
}

std::string Mapped(std::string_view bytes, std::string_view others) {
  std::string out;
  for (const char c : bytes) {
    const auto byte = static_cast<uint8_t>(c);
    out += Printable(byte) ? c : others[byte % others.size()];
  }
  return out;
}

[[noreturn]] void Fail(const char* what, const std::string& pattern, const std::string& subject) {
  std::fprintf(stderr, "failed: %s\npattern: %s\nsubject: %s\n", what, pattern.c_str(),
               subject.c_str());
  std::abort();
}

// One line, printable, valid UTF-8: the message is shown as it is.
bool OneLine(const std::string& message) {
  for (size_t at = 0; at < message.size();) {
    const tooltext::Utf8Unit unit = tooltext::DecodeUnit(message, at);
    if (unit.value < 0x20 || unit.value == 0x7F || unit.value >= tooltext::kStrayByteBase) {
      return false;
    }
    at += unit.length;
  }
  return !message.empty();
}

std::optional<tooltext::Pattern> Compiled(std::string_view text) {
  std::string error;
  std::optional<tooltext::Pattern> pattern = tooltext::Pattern::Compile(text, error);
  if (!pattern && !OneLine(error)) Fail("a refusal is one printable line", std::string(text), "");
  if (pattern && pattern->size() > tooltext::kLargestProgram) {
    Fail("the program stays within its bound", std::string(text), "");
  }
  return pattern;
}

std::optional<std::regex> Standard(const std::string& pattern, std::regex::flag_type extra = {}) {
  try {
    return std::regex(pattern, std::regex::ECMAScript | extra);
  } catch (const std::regex_error&) {
    return std::nullopt;
  }
}

// The same with std::regex's automaton search (a library extension): its
// backtracking search can take exponential time on the patterns here.
std::optional<std::regex> StandardAutomaton(const std::string& pattern) {
#if defined(__GLIBCXX__)
  return Standard(pattern, std::regex_constants::__polynomial);
#else
  return Standard(pattern);
#endif
}

// std::regex's answer, nullopt when it gives up (error_complexity,
// error_stack).
std::optional<bool> StandardSearch(const std::regex& pattern, const std::string& subject) {
  try {
    return std::regex_search(subject, pattern);
  } catch (const std::regex_error&) {
    return std::nullopt;
  }
}

// Whether the pattern has a \xHH or \uHHHH above 0x7F: a code point here,
// a byte to std::regex over char (\u1042 is 'B' there), a documented
// difference.
bool EscapesBeyondAscii(const std::string& pattern) {
  for (size_t at = 0; at + 1 < pattern.size(); ++at) {
    if (pattern[at] != '\\') continue;
    ++at;
    const size_t digits = pattern[at] == 'x' ? 2 : pattern[at] == 'u' ? 4 : 0;
    if (digits == 0 || at + digits >= pattern.size()) continue;
    unsigned long value = 0;
    for (size_t i = 1; i <= digits; ++i) {
      const char c = pattern[at + i];
      const int digit = c >= '0' && c <= '9'   ? c - '0'
                        : c >= 'a' && c <= 'f' ? c - 'a' + 10
                        : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                               : -1;
      if (digit < 0) break;
      value = value * 16 + static_cast<unsigned long>(digit);
    }
    if (value > 0x7F) return true;
  }
  return false;
}

// Patterns std::regex cannot run away with in its backtracking search: one
// quantifier at most and no alternation.
bool Tame(const std::string& pattern) {
  size_t quantifiers = 0;
  for (const char c : pattern) {
    if (c == '|') return false;
    quantifiers += c == '*' || c == '+' || c == '?' || c == '{';
  }
  return quantifiers <= 1;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view raw(reinterpret_cast<const char*>(data), size);
  fuzz::FuzzInput in(data, size);
  const std::string_view raw_pattern = in.Bytes(in.U8() % (kPatternBytes + 1));
  const std::string_view raw_subject = in.Bytes(kSubjectBytes);

  // The raw bytes: any pattern text, any subject.
  if (const auto pattern = Compiled(raw_pattern)) (void)pattern->Search(raw);
  if (!raw.empty()) (void)Compiled(raw.substr(1));

  const std::string pattern = Mapped(raw_pattern, kSyntax);
  const std::string subject = Mapped(raw_subject, kSubjectUnits);
  const std::optional<tooltext::Pattern> ours = Compiled(pattern);
  // A construct the dialect refuses: std::regex's verdict does not
  // matter, and its reading of some of them is undefined behaviour (the
  // digits of a long backreference overflow).
  if (!ours) return 0;
  (void)ours->Search(raw);
  if (EscapesBeyondAscii(pattern)) return 0;  // a documented difference
  const std::optional<std::regex> theirs = StandardAutomaton(pattern);
  if (!theirs) Fail("std::regex refuses a pattern the dialect accepts", pattern, subject);
  const bool found = ours->Search(subject);
  const std::optional<bool> expected = StandardSearch(*theirs, subject);
  if (expected && *expected != found) Fail("std::regex answers otherwise", pattern, subject);
  if (Tame(pattern)) {
    const std::optional<std::regex> backtracking = Standard(pattern);
    const std::optional<bool> answer =
        backtracking ? StandardSearch(*backtracking, subject) : std::nullopt;
    if (answer && *answer != found) {
      Fail("std::regex's backtracking search answers otherwise", pattern, subject);
    }
  }
  return 0;
}
