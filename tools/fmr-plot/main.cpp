// fmr-plot: draws the first-generation panel's RSSI scan log as an SVG.
#include <iostream>
#include <string>
#include <vector>

#include "fmr-plot/cli.h"

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  const std::vector<std::string> args(argv + 1, argv + argc);
  return fmrplot::Run(args, std::cin, std::cout, std::cerr);
}
