// "sample EVERY_MS COUNT NAME[:UNIT]...": read the named values COUNT
// times, each after EVERY_MS milliseconds of the panel's own time (its
// timers, and so its polling, run in between; nothing is clicked).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace benchora {

struct SampledValue {
  std::string name;  // as for verify: a control, CONTROL.KEY or rds.FIELD
  std::string unit;
};

struct SampleRequest {
  uint32_t every_ms = 0;
  uint32_t count = 0;
  std::vector<SampledValue> values;
};

inline constexpr uint32_t kLongestSampleInterval = 3'600'000;  // an hour
inline constexpr uint32_t kMostSamples = 100'000;
inline constexpr size_t kMostSampledValues = 16;

// The arguments after "sample". nullopt with `error` set when malformed.
// Names are checked as far as they can be before the run (an rds. name must
// name an RDS value).
[[nodiscard]] std::optional<SampleRequest> ParseSample(std::string_view arguments,
                                                       std::string& error);

}  // namespace benchora
