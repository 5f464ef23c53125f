// benchora --station: the commands run on every handset of a station file
// at once, one child process per handset (the plug-in keeps module-wide
// state: one panel per host, as a bench PC runs one host per phone). Each
// handset gets a folder OUT/NAME of its own: its program folder (the panel's
// logs and settings), transcript, progress and reports. The station follows
// each run's progress file, shows it, and writes one report of all of them.
#pragma once

#include <string>
#include <vector>

#include "options.h"
#include "station/station_file.h"

namespace benchora {

// The arguments of one handset's run, beside its folder `folder`.
[[nodiscard]] std::vector<std::string> HandsetArguments(const Options& options,
                                                        const StationHandset& handset,
                                                        const std::string& plugin,
                                                        const std::string& folder);

// Runs the station; the exit status: 0 when every handset passed, 1 when
// one did not, 2 for a station file or output that is refused, 128 + the
// signal's number when a signal stopped it.
[[nodiscard]] int RunStation(const Options& options);

}  // namespace benchora
