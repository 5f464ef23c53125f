// The programme-type names the transmit settings offer, indexed by the
// programme type code: the RDS table and the R(B)DS table.
#pragma once

#include <array>
#include <string_view>

namespace gen1_panel {

using ProgrammeTypeNames = std::array<std::string_view, 32>;

const ProgrammeTypeNames& RdsProgrammeTypes();
const ProgrammeTypeNames& RbdsProgrammeTypes();

}  // namespace gen1_panel
