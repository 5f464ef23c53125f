#include "script/command_check.h"

#include <algorithm>
#include <array>

namespace benchora {
namespace {

// "1 error line", "2 message boxes", "refused".
std::string Count(ProblemKind kind, size_t n) {
  switch (kind) {
    case ProblemKind::kRefused:
      return "refused";
    case ProblemKind::kErrorLine:
      return std::to_string(n) + (n == 1 ? " error line" : " error lines");
    case ProblemKind::kBox:
      return std::to_string(n) + (n == 1 ? " message box" : " message boxes");
  }
  return {};
}

const char* Noun(ProblemKind kind) {
  switch (kind) {
    case ProblemKind::kRefused:
      return "refused command";
    case ProblemKind::kErrorLine:
      return "error line";
    case ProblemKind::kBox:
      return "message box";
  }
  return "";
}

const char* DirectiveKind(ProblemKind kind) {
  switch (kind) {
    case ProblemKind::kRefused:
      return "refused";
    case ProblemKind::kErrorLine:
      return "error";
    case ProblemKind::kBox:
      return "box";
  }
  return "";
}

// "an error line with "TEXT"".
std::string Described(const Expectation& e) {
  const std::string noun = Noun(e.kind);
  return (e.kind == ProblemKind::kErrorLine ? "an " : "a ") + noun +
         (e.text.empty() ? "" : " with \"" + e.text + "\"");
}

}  // namespace

Verdict CommandCheck::Judge(const std::vector<Expectation>& expected) const {
  std::vector<bool> covered(problems_.size(), false);
  std::vector<bool> met(expected.size(), false);
  for (size_t i = 0; i < problems_.size(); ++i) {
    for (size_t j = 0; j < expected.size(); ++j) {
      if (expected[j].kind == problems_[i].kind &&
          problems_[i].text.find(expected[j].text) != std::string::npos) {
        covered[i] = true;
        met[j] = true;
      }
    }
  }

  std::vector<std::string> parts;
  constexpr std::array kKinds = {ProblemKind::kRefused, ProblemKind::kErrorLine, ProblemKind::kBox};
  for (const ProblemKind kind : kKinds) {
    size_t n = 0;
    size_t as_expected = 0;
    for (size_t i = 0; i < problems_.size(); ++i) {
      if (problems_[i].kind != kind) continue;
      ++n;
      if (covered[i]) ++as_expected;
    }
    if (n == 0) continue;
    std::string part = Count(kind, n);
    if (as_expected == n) {
      part += " (expected)";
    } else if (as_expected > 0) {
      part += " (" + std::to_string(as_expected) + " expected)";
    }
    parts.push_back(part);
  }
  for (size_t j = 0; j < expected.size(); ++j) {
    if (!met[j]) parts.push_back("expected " + Described(expected[j]) + ", none came");
  }

  Verdict verdict;
  if (!parts.empty()) {
    std::string mark;
    for (const std::string& part : parts) mark += (mark.empty() ? "" : ", ") + part;
    verdict.mark = mark;
  }
  const auto surprise = std::find(covered.begin(), covered.end(), false);
  if (surprise != covered.end()) {
    const Problem& p = problems_[static_cast<size_t>(surprise - covered.begin())];
    verdict.failure =
        std::string("unexpected ") + Noun(p.kind) + ": " + (p.detail.empty() ? p.text : p.detail);
    verdict.directive = std::string("@expect ") + DirectiveKind(p.kind) + " [TEXT]";
  } else if (const auto unmet = std::find(met.begin(), met.end(), false); unmet != met.end()) {
    verdict.failure = "expected " + Described(expected[static_cast<size_t>(unmet - met.begin())]) +
                      ", but none came";
  }
  return verdict;
}

}  // namespace benchora
