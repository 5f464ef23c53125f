// --json: one JSON object per record on standard output, written by the
// JSON library from report text, so every line parses whatever the radio
// sent.
#pragma once

#include <string>

#include "report/record.h"

namespace benchora {

// The record's JSON object without a line end; `dut` is added when not empty.
[[nodiscard]] std::string JsonLine(const Record& record, const std::string& dut);

}  // namespace benchora
