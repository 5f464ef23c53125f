// The progress lines of a station's handset run, as the station reads them
// back from the run's file (ApplyFeedLine).
//
// Input: the file's bytes, lines separated by line feeds.
//
// Checks: a line's fields written again read back as the same fields; a
// line taken changes the state only as its kind says (a record adds one
// record, and counts a passed check, or a failed check or problem, once);
// a line refused changes nothing.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "report/progress_feed.h"

namespace {

void Require(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "failed: %s\n", what);
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  benchora::FeedState state;
  while (!text.empty()) {
    const size_t end = text.find('\n');
    const std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);

    if (const auto fields = benchora::FeedFields(line)) {
      std::string again = benchora::FeedLine(*fields);
      Require(again.back() == '\n' && again.find('\n') == again.size() - 1,
              "a written line is one line");
      again.pop_back();
      Require(benchora::FeedFields(again) == fields, "fields written again read back alike");
    }
    const size_t records = state.records.size();
    const int passed = state.passed;
    const int failed = state.failed;
    const size_t step = state.step;
    if (!benchora::ApplyFeedLine(line, state)) {
      Require(state.records.size() == records && state.passed == passed && state.failed == failed &&
                  state.step == step,
              "a refused line changes nothing");
      continue;
    }
    if (line.starts_with("record\t")) {
      Require(state.records.size() == records + 1, "a record adds one record");
      Require((state.passed - passed) + (state.failed - failed) <= 1, "a record counts once");
    } else {
      Require(state.records.size() == records && state.passed == passed && state.failed == failed,
              "only a record adds a record");
    }
  }
  return 0;
}
