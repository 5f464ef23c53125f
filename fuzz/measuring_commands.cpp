// benchora's measuring commands as scripts give them and the values they
// read: "verify" and "sample" arguments, a `get` state the plug-in replies
// with, and the measurement CSV fmr-plot draws as time series.
//
// Input: texts separated by zero bytes, taken in turns: verify arguments,
// a measured value, sample arguments, a `get` reply, a CSV file.
//
// Checks: a verdict line is one line without control bytes; a check that
// parses judges its own limit text's value consistently (= passes on the
// value it names when that is a number); every sampled value has a name;
// every CSV series has a name and points, every point and limit is within
// the plot's range (comment lines, quoted line breaks and formula-guarded
// cells included), and a refused file names its reason.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "fmr-plot/sample_log.h"
#include "fuzz_input.h"
#include "measure/measurement.h"
#include "measure/sampling.h"
#include "measure/verdict.h"

namespace {

void Require(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "failed: %s\n", what);
  std::abort();
}

bool Printable(const std::string& text) {
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::FuzzInput in(data, size);
  const std::string arguments(in.Until('\0'));
  const std::string measured(in.Until('\0'));
  const std::string sample(in.Until('\0'));
  const std::string reply(in.Until('\0'));
  const std::string csv(in.Rest());

  std::string error;
  if (const auto check = benchora::ParseCheck(arguments, error)) {
    const benchora::Judgement judgement = benchora::Judge(*check, measured);
    Require(Printable(benchora::VerdictLine(*check, "group", measured, judgement)),
            "verdict line printable");
    if (check->op == benchora::CompareOp::kEqual &&
        check->kind.kind != benchora::ValueKind::kCode) {
      Require(benchora::Judge(*check, check->value).pass, "= passes on its own value");
    }
  } else {
    Require(!error.empty(), "a refusal says why");
  }
  if (const auto sampling = benchora::ParseSample(sample, error)) {
    Require(sampling->count > 0 && sampling->every_ms > 0 && !sampling->values.empty(),
            "sample limits");
    for (const benchora::SampledValue& value : sampling->values)
      Require(!value.name.empty(), "name");
  }
  (void)benchora::MainValue(reply);
  (void)benchora::StateValue(reply, measured);

  const fmrplot::SampleLog log = fmrplot::ReadSampleLog(csv);
  const auto plottable = [](const fmrplot::SamplePoint& p) {
    return p.time_ms >= 0 && p.time_ms <= fmrplot::kMostTimeMs && p.value >= -fmrplot::kMostValue &&
           p.value <= fmrplot::kMostValue;
  };
  for (const fmrplot::SampleSeries& series : log.series) {
    Require(!series.points.empty() && !series.name.empty(), "a series has a name and points");
    for (const fmrplot::SamplePoint& p : series.points) Require(plottable(p), "sample in range");
    for (const fmrplot::SamplePoint& p : series.checks) Require(plottable(p), "check in range");
    for (size_t i = 0; i < series.limits.size(); ++i) {
      const fmrplot::LimitLine& limit = series.limits[i];
      Require(limit.low || limit.high, "a limit is a low or a high one");
      Require(std::abs(limit.value) <= fmrplot::kMostValue, "limit in range");
      Require(i == 0 || series.limits[i - 1].value < limit.value, "limits ascending, distinct");
    }
  }
  Require(log.series.empty() != log.error.empty(), "either series or an error");
  Require(log.error_line == 0 || !log.error.empty(), "a refused line comes with its reason");
  return 0;
}
