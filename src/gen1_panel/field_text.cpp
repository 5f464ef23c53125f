#include "gen1_panel/field_text.h"

#include "common/convert.h"
#include "common/format.h"

namespace gen1_panel {

uint32_t HexOrDecimalValue(const std::string& text, int8_t hex_count) {
  if (text.find("0x") != std::string::npos && text.size() > 2) {
    return common::HexToInt(text.c_str() + 2, hex_count);
  }
  return static_cast<uint32_t>(common::DecimalValue(text));
}

std::string HexText(uint32_t value, int8_t width) {
  return "0x" + common::FormatNumber(value, 16, width, 0);
}

}  // namespace gen1_panel
