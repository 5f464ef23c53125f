// The fmr-plot command line: options, reading the scan log, writing the SVG.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace fmrplot {

std::string UsageText();

// The whole program: 0 written, 1 the output file could not be written,
// 2 bad options or a log that cannot be plotted (missing, empty, header
// only, not a scan log).
int Run(const std::vector<std::string>& args, std::istream& standard_input, std::ostream& out,
        std::ostream& err);

}  // namespace fmrplot
