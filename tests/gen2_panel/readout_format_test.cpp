// RDS report lines and the parts of a version text.
#include "gen2_panel/readout_format.h"

#include <gtest/gtest.h>

namespace {

TEST(RdsEntryLineTest, ThirtyTwoBitColumnsShowTheirLow16Bits) {
  MANAGED_IF::T_RdsReport report;
  report.block_a[5] = 0xABCD;
  report.column5[5] = 0xFFFF1234u;
  report.column6[5] = 0x10000u;
  report.column7[5] = -2;
  EXPECT_EQ(RdsEntryLine(report, 5), "0xABCD  0x0000  0x0000  0x0000  0x1234  0x0000  0xFFFE ");
}

struct VersionCase {
  const char* text;
  const char* package;
  const char* firmware;
};

TEST(VersionPartsTest, SoftwarePackageAndFirmwareParts) {
  const VersionCase cases[] = {
      {"SW1.2 FW3.4X", "SW1.2 ", "FW3.4"},
      {"ID SW_A.7 FW_B.2\n", "SW_A.7 ", "FW_B.2"},
      {"SW1.2 only", "SW1.2 only", ""},  // no firmware part: the package runs to the end
      {"FW3.4X", "", "FW3.4"},           // no package part
      // Firmware named first: the package part ends before it starts, so empty.
      {"FW3.4 SW1.2X", "", "FW3.4 SW1.2"},
      {"", "", ""},
  };
  for (const VersionCase& c : cases) {
    EXPECT_EQ(PackageVersionPart(c.text), c.package) << c.text;
    EXPECT_EQ(FirmwareVersionPart(c.text), c.firmware) << c.text;
  }
}

}  // namespace
