// fmr-rds: decodes the RDS groups of the first-generation panel's decode log.
#include <iostream>
#include <string>
#include <vector>

#include "fmr-rds/cli.h"

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  const std::vector<std::string> args(argv + 1, argv + argc);
  return fmrrds::Run(args, std::cin, std::cout, std::cerr);
}
