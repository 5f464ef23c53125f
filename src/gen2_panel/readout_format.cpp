#include "gen2_panel/readout_format.h"

#include "common/format.h"

namespace gen2_panel {

namespace {

std::string Low16(uint32_t value) {
  return common::FormatRegisterHex(static_cast<int16_t>(static_cast<uint16_t>(value & 0xFFFFu)));
}

}  // namespace

std::string RdsEntryLine(const MANAGED_IF::T_RdsReport& report, size_t entry) {
  const uint32_t values[] = {report.block_a[entry],
                             report.block_b[entry],
                             report.block_c[entry],
                             report.block_d[entry],
                             report.column5[entry],
                             report.column6[entry],
                             static_cast<uint32_t>(report.column7[entry])};
  std::string line;
  for (size_t i = 0; i < std::size(values); ++i) {
    if (i > 0) line += ' ';
    line += Low16(values[i]);
  }
  return line;
}

std::string FirmwareVersionPart(const std::string& version) {
  const size_t fw = version.find("FW");
  if (fw == std::string::npos) return {};
  // The device ends its version text with one character that is not shown.
  return version.substr(fw, version.size() - 1 - fw);
}

std::string PackageVersionPart(const std::string& version) {
  const size_t sw = version.find("SW");
  if (sw == std::string::npos) return {};
  // From the first "SW" to just before the first "FW" of the whole text:
  // a text naming its firmware first has no package part. Without any
  // "FW" the package part runs to the end.
  const size_t fw = version.find("FW");
  if (fw == std::string::npos) return version.substr(sw);
  return fw > sw ? version.substr(sw, fw - sw) : std::string();
}

}  // namespace gen2_panel
