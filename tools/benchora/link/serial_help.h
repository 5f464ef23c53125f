// What benchora adds when the transport cannot open the handset's serial
// port: what to check, in the order it usually goes wrong.
#pragma once

#include <string>
#include <vector>

#include "serial_link.h"

namespace benchora {

// The lines for a serial `target` (a text tessic::NamesSerialPort accepts)
// under the platform's naming: for a device path, whether it is there and
// may be opened; for a COM port, where its number is found.
[[nodiscard]] std::vector<std::string> SerialConnectionHelp(const std::string& target,
                                                            tessic::SerialNaming naming);

}  // namespace benchora
