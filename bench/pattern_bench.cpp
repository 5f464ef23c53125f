// Check patterns on the texts that make a backtracking matcher explore an
// exponential (or high-degree polynomial) number of paths: a word run with
// a stray '!' at its end, letters that two alternatives both take, and so
// on. The search costs the text's length times the program's size, so the
// time per character must stay the same from 64 characters to 100,000.
#include <benchmark/benchmark.h>

#include <optional>
#include <string>

#include "text/pattern.h"

namespace {

// `piece` repeated to `length` characters, the last of them `tail`.
std::string Text(const std::string& piece, const std::string& tail, size_t length) {
  std::string text;
  while (text.size() + tail.size() < length) text += piece;
  text.resize(length - tail.size());
  return text + tail;
}

void BM_Search(benchmark::State& state, const char* pattern_text, const std::string& piece,
               const std::string& tail) {
  const auto length = static_cast<size_t>(state.range(0));
  const std::string text = Text(piece, tail, length);
  std::string error;
  const std::optional<tooltext::Pattern> pattern = tooltext::Pattern::Compile(pattern_text, error);
  if (!pattern) {
    state.SkipWithError(error.c_str());
    return;
  }
  if (pattern->Search(text)) {
    state.SkipWithError("the text matches; it should make the search try every path");
    return;
  }
  for (auto _ : state) benchmark::DoNotOptimize(pattern->Search(text));
  state.SetLabel(std::string(pattern_text) + " (" + std::to_string(pattern->size()) +
                 " instructions)");
  // Seconds per character.
  state.counters["per_char"] =
      benchmark::Counter(static_cast<double>(state.iterations()) * static_cast<double>(length),
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

#define PATTERN_BENCH(name, pattern, piece, tail)          \
  BENCHMARK_CAPTURE(BM_Search, name, pattern, piece, tail) \
      ->Arg(64)                                            \
      ->Arg(1000)                                          \
      ->Arg(100000)                                        \
      ->Unit(benchmark::kMicrosecond)

PATTERN_BENCH(word_runs, R"(^(\w+\s?)*$)", "Radio Rock 101 ", "!");
PATTERN_BENCH(either_letter, R"(^(a|b)*$)", "ab", "!");
PATTERN_BENCH(star_of_star, R"((a*)*b)", "a", "");
PATTERN_BENCH(plus_pairs, R"((x+x+)+y)", "x", "");
PATTERN_BENCH(same_twice, R"(^(a|a)*$)", "a", "!");
PATTERN_BENCH(three_dot_stars, R"(.*.*.*=.*)", "key value ", "");
PATTERN_BENCH(one_or_two, R"((a|aa)+$)", "a", "!");
PATTERN_BENCH(counted_near_cap, R"((a{1,1000})+b)", "a", "");

}  // namespace

BENCHMARK_MAIN();
