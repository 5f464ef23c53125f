// What benchora adds when the plug-in's transport cannot connect to the AT
// server: which address was used and, when nothing answers there, how to
// start the simulated handset.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "link/at_server_setup.h"

namespace benchora {

// Whether a log line of the plug-in reports that its transport session
// could not be set up.
bool IsConnectionFailure(std::string_view log_line);

// The lines to print after such a failure. Only a loopback address is
// tried, and only while the plug-in holds no connection (the simulated
// server serves one client at a time).
std::vector<std::string> ConnectionHelp(const AtServerSetup& setup);

// Before the plug-in loads: when nothing answers at the loopback HOST:PORT
// the second-generation transport is pointed at, the lines that say so
// ("no AT server answers at ADDRESS") and what to do; else none.
std::vector<std::string> NoServerHelp(const AtServerSetup& setup);

}  // namespace benchora
