#include "fmr-rds/countries.h"

namespace fmrrds {
namespace {

// Rows of the European table, extended country codes E0 to E4, indexed by
// the PI country code 1 to F (index 0 unused).
constexpr std::string_view kEurope[5][16] = {
    {"", "Germany", "Algeria", "Andorra", "Israel", "Italy", "Belgium", "Russia", "Palestine",
     "Albania", "Austria", "Hungary", "Malta", "Germany", "", "Egypt"},
    {"", "Greece", "Cyprus", "San Marino", "Switzerland", "Jordan", "Finland", "Luxembourg",
     "Bulgaria", "Denmark", "Gibraltar", "Iraq", "United Kingdom", "Libya", "Romania", "France"},
    {"", "Morocco", "Czechia", "Poland", "Vatican City", "Slovakia", "Syria", "Tunisia", "",
     "Liechtenstein", "Iceland", "Monaco", "Lithuania", "Serbia", "Spain", "Norway"},
    {"", "Montenegro", "Ireland", "Turkey", "North Macedonia", "", "", "", "Netherlands", "Latvia",
     "Lebanon", "Azerbaijan", "Croatia", "Kazakhstan", "Sweden", "Belarus"},
    {"", "Moldova", "Estonia", "Kyrgyzstan", "", "", "Ukraine", "Kosovo", "Portugal", "Slovenia",
     "Armenia", "", "Georgia", "", "", "Bosnia and Herzegovina"},
};

}  // namespace

std::string_view CountryName(uint8_t extended_country_code, uint16_t pi) {
  const unsigned row = extended_country_code - 0xE0u;
  const unsigned column = pi >> 12;
  if (row >= 5 || column == 0) return {};
  return kEurope[row][column];
}

}  // namespace fmrrds
