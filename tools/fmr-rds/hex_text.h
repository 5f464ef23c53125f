// Small pieces of reading and writing hexadecimal text lines.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace fmrrds {

bool IsBlank(char c);
// The blank-separated fields of a line.
std::vector<std::string_view> Tokens(std::string_view line);
std::string_view WithoutHexPrefix(std::string_view token);
// Exactly `count` hexadecimal digits.
std::optional<uint16_t> HexValue(std::string_view digits, size_t count);

// The interchange line of one group: four blocks of four upper-case digits,
// "----" for a block that is not usable, after the time when there is one.
std::string HexGroupLine(const std::array<uint16_t, 4>& blocks, const std::array<bool, 4>& usable,
                         std::string_view time);

}  // namespace fmrrds
