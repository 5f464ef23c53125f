// Programme-type names, as the first-generation panel offers them for the
// RDS (Europe) and R(B)DS (North America) decoder modes.
#pragma once

#include <cstdint>
#include <string_view>

namespace fmrrds {

enum class PtyTable { kRds, kRbds };

// The name of programme type `code` (only its low five bits count).
std::string_view ProgrammeTypeName(PtyTable table, uint8_t code);

}  // namespace fmrrds
