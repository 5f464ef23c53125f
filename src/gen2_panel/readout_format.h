// Texts of the second-generation read-outs.
#pragma once

#include <cstddef>
#include <string>

#include "gen2/aud_app_records.h"

namespace gen2_panel {

// One RDS report entry as a line: its seven values in report order, each as
// "0xHHHH " of its low 16 bits, joined by one blank.
std::string RdsEntryLine(const MANAGED_IF::T_RdsReport& report, size_t entry);

// The firmware part of a version text: from the first "FW" to the end, less
// the text's last character. Empty when there is no "FW".
std::string FirmwareVersionPart(const std::string& version);
// The software-package part: from the first "SW" up to the first "FW" that
// follows it, or to the end of the text when none follows. Empty when there
// is no "SW".
std::string PackageVersionPart(const std::string& version);

}  // namespace gen2_panel
