// The numbers in the measurement CSV's cells. A cell is a number when it
// is one whole decimal number ("-12.5", "95.4e6", "+3"); "inf", "nan" and
// their kin, and a decimal number too large for a double ("1e999"), are
// numbers that are not finite, which no plot can place. Everything else
// (texts, hexadecimal codes, blanks around a number) is a text.
#pragma once

#include <string_view>

namespace fmrplot {

enum class CellKind { kText, kNumber, kNotFinite };

struct CellNumber {
  CellKind kind = CellKind::kText;
  double value = 0;  // set for kNumber
};

[[nodiscard]] CellNumber ReadCellNumber(std::string_view cell);

}  // namespace fmrplot
