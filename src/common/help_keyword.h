#pragma once

#include <cstdint>
#include <string>

namespace common {

// Help keyword `index` of the panel help table; the empty entry 0 for any
// index outside 0..9.
std::string HelpKeyword(int32_t index);

}  // namespace common
