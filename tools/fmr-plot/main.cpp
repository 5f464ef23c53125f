// fmr-plot: draws the first-generation panel's RSSI scan log, or
// benchora's measurement CSV, as an SVG.
#include <csignal>
#include <iostream>
#include <string>
#include <vector>

#include "fmr-plot/cli.h"
#include "fmr-plot/plot_output.h"

int main(int argc, char** argv) {
#ifndef _WIN32
  // A reader that went away makes writes fail with EPIPE, reported as a
  // failed write, instead of ending the program without a word.
  std::signal(SIGPIPE, SIG_IGN);
#endif
  std::ios::sync_with_stdio(false);
  const std::vector<std::string> args(argv + 1, argv + argc);
  const int status = fmrplot::Run(args, std::cin, std::cout, std::cerr);
  return status == 0 ? fmrplot::CloseStandardOutput(std::cerr) : status;
}
