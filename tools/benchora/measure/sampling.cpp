#include "measure/sampling.h"

#include <algorithm>
#include <charconv>

#include "measure/measurement.h"
#include "measure/verdict.h"

namespace benchora {
namespace {

std::optional<uint32_t> Count(std::string_view text, uint32_t most) {
  uint32_t value = 0;
  const char* end = text.data() + text.size();
  const auto [last, error] = std::from_chars(text.data(), end, value);
  if (text.empty() || error != std::errc() || last != end || value == 0 || value > most) {
    return std::nullopt;
  }
  return value;
}

}  // namespace

std::optional<SampleRequest> ParseSample(std::string_view arguments, std::string& error) {
  std::vector<std::string_view> words;
  for (size_t at = 0; at < arguments.size();) {
    while (at < arguments.size() && IsBlank(arguments[at])) ++at;
    const size_t start = at;
    while (at < arguments.size() && !IsBlank(arguments[at])) ++at;
    if (at > start) words.push_back(arguments.substr(start, at - start));
  }
  SampleRequest request;
  const std::optional<uint32_t> every =
      words.size() > 0 ? Count(words[0], kLongestSampleInterval) : std::nullopt;
  const std::optional<uint32_t> count =
      words.size() > 1 ? Count(words[1], kMostSamples) : std::nullopt;
  if (!every || !count || words.size() < 3 || words.size() - 2 > kMostSampledValues) {
    error =
        "sample EVERY_MS COUNT NAME[:UNIT]... (EVERY_MS 1 to 3600000, COUNT 1 to 100000, "
        "at most 16 names)";
    return std::nullopt;
  }
  request.every_ms = *every;
  request.count = *count;
  for (size_t i = 2; i < words.size(); ++i) {
    const size_t colon = words[i].find(':');
    SampledValue value{std::string(words[i].substr(0, colon)), ""};
    if (colon != std::string_view::npos) value.unit = words[i].substr(colon + 1);
    if (value.name.empty()) {
      error = "sample: a name is missing before :" + value.unit;
      return std::nullopt;
    }
    if (!LookUpName(value.name, error)) return std::nullopt;
    request.values.push_back(std::move(value));
  }
  return request;
}

}  // namespace benchora
