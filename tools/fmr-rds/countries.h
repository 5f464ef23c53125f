// The country of a station from the country code (the top nibble of its PI)
// and the extended country code a 1A group carries.
#pragma once

#include <cstdint>
#include <string_view>

namespace fmrrds {

// "United Kingdom" for ECC E1 with country code C; "" when the pair names no
// country in the table.
std::string_view CountryName(uint8_t extended_country_code, uint16_t pi);

}  // namespace fmrrds
